#include "CorpusManifest.h"
#include "EngineTestSupport.h"

#include "Orvane_HeapLog/HeapLogApi.h"
#include "engine/EngineLoader.h"
#include "shell/PathUtils.h"
#include "shell/RunLog.h"

#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>

namespace {

class QueryTest : public EngineTest
{
};

std::int32_t ExpectedEncryptType(const CorpusEntry& entry)
{
    if (entry.pages == -2)
        return kEncryptUnreadable;
    if (entry.encryption == QLatin1String("user-password"))
        return kEncryptOpenPassword;
    if (entry.encryption == QLatin1String("owner-only"))
        return kEncryptNoOpenPassword;
    return kEncryptNone;
}

TEST_F(QueryTest, EncryptionAndPageCountsMatchTheCorpusManifest)
{
    const std::vector<CorpusEntry> corpus = ReadCorpusManifest();
    for (const CorpusEntry& entry : corpus) {
        SCOPED_TRACE(entry.file.toStdString());
        const QString path = CorpusFile(entry.file);
        EXPECT_EQ(EncryptTypeOf(path), ExpectedEncryptType(entry));
        EXPECT_EQ(PageCountOf(path), entry.pages < 0 ? -1 : entry.pages);
        if (entry.encryption != QLatin1String("user-password"))
            continue;
        EXPECT_EQ(PageCountOf(path, entry.password), entry.pagesWithPassword());
        EXPECT_EQ(PageCountOf(path, {}, entry.ownerPassword()), entry.pagesWithPassword());
        EXPECT_EQ(PageCountOf(path, QStringLiteral("wrong"), QStringLiteral("wrong too")), -1);
    }
}

TEST_F(QueryTest, ReadOpenAnswersPagesPasswordFailureOrOtherFailure)
{
    struct Case
    {
        const char* file;
        const char* userPassword; // given to Control(103) first; nullptr: no query
        std::int32_t expected;
    };
    const Case cases[] = {
        {"pdflatex-4-pages.pdf", nullptr, 4},
        {"qpdf-damaged-no-startxref.pdf", nullptr, 30},
        {"qpdf-enc-aes256-owner-only.pdf", nullptr, 30},
        {"libreoffice-writer-password.pdf", nullptr, -1},
        {"libreoffice-writer-password.pdf", "wrong", -1},
        {"libreoffice-writer-password.pdf", "openpassword", 1},
        {"qpdf-enc-rc4-128-user-view.pdf", "view", 30},
        {"qpdf-unopenable-issue-101.pdf", nullptr, 0},
        {"unreadablemetadata.pdf", nullptr, 0}, // repaired, but no page survives
        {"no-such-file.pdf", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " / " + (c.userPassword ? c.userPassword : "-"));
        const QString name = QString::fromUtf8(c.file);
        const QString path = name.startsWith(u"no-such") ? CorpusFolder() + u'/' + name
                                                         : CorpusFile(name);
        ComPtr<IDocObject> document = NewDocument();
        if (c.userPassword != nullptr)
            PageCountOn(*document, path, QString::fromUtf8(c.userPassword));
        EXPECT_EQ(OpenForReading(*document, path), c.expected);
        std::int32_t pages = 0;
        document->GetPageCount(&pages);
        EXPECT_EQ(pages, c.expected > 0 ? c.expected : -1);
        EXPECT_EQ(document->Close(), S_OK);
    }
}

TEST_F(QueryTest, ADocumentHeldElsewhereIsSharedOnlyWhileUnchangedAndWithItsPassword)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("doc.pdf"));
    WriteTestPdf(path, 3);
    ComPtr<IDocObject> holder = NewDocument();
    ASSERT_EQ(OpenForReading(*holder, path), 3);
    ComPtr<IDocObject> second = NewDocument();
    EXPECT_EQ(OpenForReading(*second, path), 3);
    // Rewritten while held: the next reader sees the new file.
    WriteTestPdf(path, 5);
    ComPtr<IDocObject> third = NewDocument();
    EXPECT_EQ(OpenForReading(*third, path), 5);
    EXPECT_EQ(PageContents(path).size(), 5u);
    for (IDocObject* document : {holder.get(), second.get(), third.get()})
        EXPECT_EQ(document->Close(), S_OK);

    const QString locked = CorpusFile(QStringLiteral("libreoffice-writer-password.pdf"));
    ComPtr<IDocObject> unlocked = NewDocument();
    PageCountOn(*unlocked, locked, QStringLiteral("openpassword"));
    ASSERT_EQ(OpenForReading(*unlocked, locked), 1);
    struct Case
    {
        const char* userPassword; // nullptr: no query first
        std::int32_t expected;
    };
    for (const Case c : {Case{nullptr, -1}, Case{"wrong", -1}, Case{"openpassword", 1}}) {
        SCOPED_TRACE(c.userPassword ? c.userPassword : "-");
        ComPtr<IDocObject> other = NewDocument();
        if (c.userPassword != nullptr)
            PageCountOn(*other, locked, QString::fromUtf8(c.userPassword));
        EXPECT_EQ(OpenForReading(*other, locked), c.expected);
        other->Close();
    }
    EXPECT_EQ(unlocked->Close(), S_OK);
}

TEST_F(QueryTest, PdfAdapterReadsAndWritesVersion17)
{
    std::int32_t count = 0;
    ComPtr<IEnumCtrl> root = CreateEngineEnumCtrl();
    const std::u16string plugins = Wide(ApplicationFolder() + QStringLiteral("plugins"));
    ASSERT_EQ(root->EnumAdapters(plugins.c_str(), &count), S_OK);
    ASSERT_GE(count, 1);
    TFileObjectInfo info{};
    ASSERT_EQ(root->GetAdapterInfo(PdfKey(), &info), S_OK);
    EXPECT_EQ(QString::fromUtf16(info.FileType), QLatin1String(".pdf"));
    EXPECT_EQ(QString::fromUtf16(info.Version), QLatin1String("1.7"));
    EXPECT_EQ(info.Capabilities, kAdapterCanRead | kAdapterCanWrite);
    EXPECT_EQ(root->GetAdapterInfo(-5, &info), E_INVALIDARG);
    ComPtr<IDocObject> document;
    EXPECT_EQ(root->CreateDocObject(-5, document.put()), E_INVALIDARG);
}

TEST_F(QueryTest, AdapterFilesThatAreIncompleteOrForeignArePassedOver)
{
    QTemporaryDir folder;
    const auto write = [&](const char* name, const char* text) {
        QFile file(folder.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("a.adapter", "[Adapter]\nKey=7\nEngine=qpdf\nFileType=.pdf\nVersion=1.7\nRead=true\n");
    write("b.adapter", "[Adapter]\nKey=7\nEngine=qpdf\nFileType=.pdf\nVersion=2.0\nRead=true\n");
    write("c.adapter", "[Adapter]\nEngine=qpdf\nFileType=.pdf\nVersion=1.7\nRead=true\n");
    write("d.adapter", "[Adapter]\nKey=9\nEngine=other\nFileType=.pdf\nVersion=1.7\nRead=true\n");
    write("e.adapter", "[Adapter]\nKey=10\nEngine=qpdf\nFileType=.pdf\nVersion=1.7\n");
    write("f.adapter", "[Adapter]\nKey=x\nEngine=qpdf\nFileType=.pdf\nVersion=1.7\nRead=true\n");
    write("g.txt", "[Adapter]\nKey=11\nEngine=qpdf\nFileType=.pdf\nVersion=1.7\nRead=true\n");

    ComPtr<IEnumCtrl> root = CreateEngineEnumCtrl();
    std::int32_t count = 0;
    ASSERT_EQ(root->EnumAdapters(Wide(folder.path()).c_str(), &count), S_OK);
    EXPECT_EQ(count, 1);
    ComPtr<IEnumAdapterKeys> keys;
    ASSERT_EQ(root->GetAdapterEnum(keys.put()), S_OK);
    std::int32_t found[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(keys->Next(2, found, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(found[0], 7);

    ASSERT_EQ(root->EnumAdapters(u"/no/such/folder", &count), S_OK);
    EXPECT_EQ(count, 0);
}

TEST_F(QueryTest, EnumeratorClonesKeepTheirPosition)
{
    ComPtr<IEnumAdapterKeys> keys;
    ASSERT_EQ(Root().GetAdapterEnum(keys.put()), S_OK);
    std::int32_t key = 0;
    ASSERT_EQ(keys->Next(1, &key, nullptr), S_OK);
    ComPtr<IEnumAdapterKeys> clone;
    ASSERT_EQ(keys->Clone(clone.put()), S_OK);
    ULONG fetched = 1;
    EXPECT_EQ(clone->Next(1, &key, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    ASSERT_EQ(clone->Reset(), S_OK);
    EXPECT_EQ(clone->Next(1, &key, nullptr), S_OK);
    EXPECT_EQ(key, PdfKey());
}

class RecordingLog final : public IHeapLog
{
public:
    int ContractVersion() const noexcept override { return kHeapLogContractVersion; }
    const char* FilePath() const noexcept override { return ""; }
    void Append(const char16_t* text) noexcept override { lines.append(QString::fromUtf16(text)); }

    QStringList lines;
};

TEST_F(QueryTest, LoaderLogsBothLinesWhenTheModuleIsMissing)
{
    RecordingLog log;
    SetLogSink(&log);
    QTemporaryDir emptyFolder;
    const ComPtr<IEnumCtrl> root = CreateEngineEnumCtrl(emptyFolder.path());
    SetLogSink(nullptr);
    EXPECT_FALSE(root);
    EXPECT_EQ(log.lines, QStringList({QStringLiteral("LoadLibrary OrvaneBusDocs.dll Faild."),
                                      QStringLiteral("GetProcAddress DllGetClassObject Faild.")}));
}

TEST_F(QueryTest, ClassFactoryServesOnlyEnumCtrlWithoutAggregation)
{
    QLibrary module(ApplicationFolder() + EngineModuleName());
    const auto entry = reinterpret_cast<DllGetClassObjectFunction>(module.resolve("DllGetClassObject"));
    ASSERT_NE(entry, nullptr);
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(entry(IID_IEnumCtrl, IID_IClassFactory, factory.putVoid()), CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(entry(CLSID_EnumCtrl, IID_IClassFactory, factory.putVoid()), S_OK);
    ComPtr<IUnknown> object;
    EXPECT_EQ(factory->CreateInstance(&Root(), IID_IUnknown, object.putVoid()), CLASS_E_NOAGGREGATION);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, object.putVoid()), S_OK);
    EXPECT_TRUE(object.As<IEnumCtrl>());
    EXPECT_FALSE(object.As<IDocObject>());
}

} // namespace
