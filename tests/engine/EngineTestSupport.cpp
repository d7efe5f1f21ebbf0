#include "EngineTestSupport.h"

#include "engine/EngineLoader.h"
#include "shell/PathUtils.h"

#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

ComPtr<IEnumCtrl> g_root;
std::int32_t g_pdfKey = 0;

std::int32_t FindPdfAdapter(IEnumCtrl& root)
{
    ComPtr<IEnumAdapterKeys> keys;
    if (FAILED(root.GetAdapterEnum(keys.put())))
        return 0;
    std::int32_t key = 0;
    ULONG fetched = 0;
    while (keys->Next(1, &key, &fetched) == S_OK) {
        TFileObjectInfo info{};
        if (SUCCEEDED(root.GetAdapterInfo(key, &info)) &&
            QString::fromUtf16(info.FileType) == QLatin1String(".pdf"))
            return key;
    }
    return 0;
}

QPDFObjectHandle Parse(const std::string& text)
{
    return QPDFObjectHandle::parse(text);
}

// Builds generated bookmarks; named destinations go into one sorted name tree leaf.
class OutlineBuilder
{
public:
    OutlineBuilder(QPDF& pdf, std::vector<QPDFObjectHandle> pages) : pdf_(pdf), pages_(std::move(pages)) {}

    void build(const std::vector<OutlineSpec>& items)
    {
        QPDFObjectHandle outlines = pdf_.makeIndirectObject(Parse("<< /Type /Outlines >>"));
        link(outlines, items);
        pdf_.getRoot().replaceKey("/Outlines", outlines);
        if (names_.getArrayNItems() > 0) {
            QPDFObjectHandle tree = QPDFObjectHandle::newDictionary();
            tree.replaceKey("/Names", names_);
            QPDFObjectHandle nameDictionary = QPDFObjectHandle::newDictionary();
            nameDictionary.replaceKey("/Dests", pdf_.makeIndirectObject(tree));
            pdf_.getRoot().replaceKey("/Names", nameDictionary);
        }
    }

private:
    void link(QPDFObjectHandle parent, const std::vector<OutlineSpec>& items)
    {
        QPDFObjectHandle previous;
        for (const OutlineSpec& spec : items) {
            QPDFObjectHandle item = pdf_.makeIndirectObject(QPDFObjectHandle::newDictionary());
            item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(spec.title));
            item.replaceKey("/Parent", parent);
            setDestination(item, spec);
            if (previous.isInitialized()) {
                previous.replaceKey("/Next", item);
                item.replaceKey("/Prev", previous);
            } else {
                parent.replaceKey("/First", item);
            }
            parent.replaceKey("/Last", item);
            previous = item;
            link(item, spec.children);
        }
        parent.replaceKey("/Count", QPDFObjectHandle::newInteger(static_cast<long long>(items.size())));
    }

    QPDFObjectHandle explicitDestination(const OutlineSpec& spec)
    {
        QPDFObjectHandle destination = QPDFObjectHandle::newArray();
        destination.appendItem(pages_.at(static_cast<std::size_t>(spec.page)));
        destination.appendItem(QPDFObjectHandle::newName(spec.type));
        if (spec.type == "/XYZ") {
            destination.appendItem(QPDFObjectHandle::newReal(spec.left, 2));
            destination.appendItem(QPDFObjectHandle::newReal(spec.top, 2));
            destination.appendItem(QPDFObjectHandle::newNull());
        } else if (spec.type == "/FitH" || spec.type == "/FitBH") {
            destination.appendItem(QPDFObjectHandle::newReal(spec.top, 2));
        }
        return destination;
    }

    void setDestination(QPDFObjectHandle item, const OutlineSpec& spec)
    {
        switch (spec.kind) {
        case DestKind::Direct:
            item.replaceKey("/Dest", explicitDestination(spec));
            break;
        case DestKind::NamedDictionary: {
            char name[16];
            std::snprintf(name, sizeof name, "d%05d", nameCount_++);
            QPDFObjectHandle wrapped = QPDFObjectHandle::newDictionary();
            wrapped.replaceKey("/D", explicitDestination(spec));
            names_.appendItem(QPDFObjectHandle::newString(name));
            names_.appendItem(pdf_.makeIndirectObject(wrapped));
            item.replaceKey("/Dest", QPDFObjectHandle::newString(name));
            break;
        }
        case DestKind::GoToAction: {
            QPDFObjectHandle action = Parse("<< /S /GoTo >>");
            action.replaceKey("/D", explicitDestination(spec));
            item.replaceKey("/A", action);
            break;
        }
        case DestKind::Remote:
            item.replaceKey("/A", Parse("<< /S /GoToR /F (other.pdf) /D [0 /Fit] >>"));
            break;
        case DestKind::None:
            break;
        }
    }

    QPDF& pdf_;
    std::vector<QPDFObjectHandle> pages_;
    QPDFObjectHandle names_ = QPDFObjectHandle::newArray();
    int nameCount_ = 0;
};

} // namespace

std::u16string Wide(const QString& text)
{
    return text.toStdU16String();
}

QString CorpusFolder()
{
    return QStringLiteral(TAVLO_CORPUS_DIR);
}

QString CorpusFile(const QString& name)
{
    const QString path = CorpusFolder() + QLatin1Char('/') + name;
    if (!QFileInfo(path).isFile())
        ADD_FAILURE() << "test document missing: " << path.toStdString();
    return path;
}

void EngineTest::SetUpTestSuite()
{
    if (g_root)
        return;
    g_root = CreateEngineEnumCtrl();
    ASSERT_TRUE(g_root) << "the engine module did not load";
    std::int32_t count = 0;
    const std::u16string plugins = Wide(ApplicationFolder() + QStringLiteral("plugins"));
    ASSERT_EQ(g_root->EnumAdapters(plugins.c_str(), &count), S_OK);
    g_pdfKey = FindPdfAdapter(*g_root);
    ASSERT_NE(g_pdfKey, 0) << "no PDF adapter in the plugins folder";
}

void EngineTest::TearDownTestSuite() {}

IEnumCtrl& EngineTest::Root()
{
    return *g_root;
}

std::int32_t EngineTest::PdfKey()
{
    return g_pdfKey;
}

ComPtr<IDocObject> EngineTest::NewDocument()
{
    ComPtr<IDocObject> document;
    EXPECT_EQ(Root().CreateDocObject(PdfKey(), document.put()), S_OK);
    return document;
}

ComPtr<IOperationCtrl> EngineTest::NewOperation()
{
    ComPtr<IOperationCtrl> operation;
    EXPECT_EQ(Root().CreateOperation(nullptr, nullptr, operation.put()), S_OK);
    return operation;
}

std::int32_t EngineTest::OpenForReading(IDocObject& document, const QString& path)
{
    std::int32_t result = 0;
    EXPECT_EQ(document.Open(Wide(path).c_str(), kOpenRead, &result), S_OK);
    return result;
}

std::int32_t EngineTest::OpenForWriting(IDocObject& document, const QString& path)
{
    std::int32_t result = 0;
    EXPECT_EQ(document.Open(Wide(path).c_str(), kOpenCreate, &result), S_OK);
    return result;
}

std::int32_t EngineTest::EncryptTypeOf(const QString& path)
{
    const std::u16string name = Wide(path);
    TEncrypteInfo info{name.c_str(), 0};
    EXPECT_EQ(ControlRecord(*NewDocument(), kControlEncryption, &info), S_OK);
    return info.EncryptType;
}

std::int32_t EngineTest::PageCountOf(const QString& path, const QString& userPassword,
                                     const QString& ownerPassword)
{
    return PageCountOn(*NewDocument(), path, userPassword, ownerPassword);
}

std::int32_t EngineTest::PageCountOn(IDocObject& document, const QString& path,
                                     const QString& userPassword, const QString& ownerPassword)
{
    const std::u16string name = Wide(path);
    const std::u16string user = Wide(userPassword);
    const std::u16string owner = Wide(ownerPassword);
    TPasswdInfo info{name.c_str(), owner.c_str(), user.c_str(), -1};
    EXPECT_EQ(ControlRecord(document, kControlPageCount, &info), S_OK);
    return info.PageCount;
}

HRESULT NotifyRecorder::OnNotify(std::int32_t kind, const std::int32_t* data)
{
    Reaction reaction;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        reaction = reaction_;
    }
    if (reaction)
        reaction(kind, data[0], data[1]);
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back({kind, data[0], data[1], std::this_thread::get_id()});
    changed_.notify_all();
    return S_OK;
}

void NotifyRecorder::setReaction(Reaction reaction)
{
    std::lock_guard<std::mutex> lock(mutex_);
    reaction_ = std::move(reaction);
}

bool NotifyRecorder::waitForEvent(std::int32_t event, int count, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        int seen = 0;
        for (const Entry& entry : entries_)
            seen += entry.kind == kNotifyEvent && entry.second == event ? 1 : 0;
        return seen >= count;
    });
}

int NotifyRecorder::eventCount(std::int32_t event) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    int seen = 0;
    for (const Entry& entry : entries_)
        seen += entry.kind == kNotifyEvent && entry.second == event ? 1 : 0;
    return seen;
}

std::vector<NotifyRecorder::Entry> NotifyRecorder::entries() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_;
}

std::vector<std::int32_t> NotifyRecorder::errors() const
{
    std::vector<std::int32_t> codes;
    for (const Entry& entry : entries()) {
        if (entry.kind == kNotifyLibraryError || entry.kind == kNotifyError)
            codes.push_back(entry.second);
    }
    return codes;
}

CopySession::CopySession() : recorder_(MakeComObject<NotifyRecorder>())
{
    EXPECT_EQ(g_root->CreateOperation(nullptr, nullptr, operation_.put()), S_OK);
    EXPECT_EQ(operation_->Advise(recorder_.get(), &cookie_), S_OK);
}

CopySession::~CopySession()
{
    operation_->Unadvise(cookie_);
}

bool CopySession::copy(IDocObject& input, IDocObject& output, int first, int last)
{
    EXPECT_EQ(operation_->SetDocuments(&input, &output), S_OK);
    EXPECT_EQ(operation_->CopyPages(first, last), S_OK);
    return recorder_->waitForEvent(kEventPageDone, ++copies_);
}

void WriteTestPdf(const QString& path, int pageCount, const std::vector<OutlineSpec>& outline,
                  const std::vector<int>& rotations)
{
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle font =
        pdf.makeIndirectObject(Parse("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"));
    QPDFPageDocumentHelper pages(pdf);
    for (int i = 0; i < pageCount; ++i) {
        QPDFObjectHandle page = pdf.makeIndirectObject(
            Parse("<< /Type /Page /MediaBox [0 0 612 792] /Resources << /Font << >> >> >>"));
        page.getKey("/Resources").getKey("/Font").replaceKey("/F1", font);
        page.replaceKey("/Contents",
                        QPDFObjectHandle::newStream(
                            &pdf, "BT /F1 24 Tf 72 700 Td (Page " + std::to_string(i + 1) + ") Tj ET"));
        if (static_cast<std::size_t>(i) < rotations.size() && rotations[static_cast<std::size_t>(i)] != 0)
            page.replaceKey("/Rotate", QPDFObjectHandle::newInteger(rotations[static_cast<std::size_t>(i)]));
        pages.addPage(page, false);
    }
    if (!outline.empty())
        OutlineBuilder(pdf, pdf.getAllPages()).build(outline);
    const std::string fileName = path.toStdString(); // the writer keeps the pointer
    QPDFWriter writer(pdf, fileName.c_str());
    writer.write();
}

std::vector<std::string> PageContents(const QString& path, const QString& password)
{
    // qpdf keeps the name it is given: both strings live until the document is done.
    const std::string name = path.toStdString();
    const std::string passwordBytes = password.toStdString();
    QPDF pdf;
    pdf.processFile(name.c_str(), passwordBytes.c_str());
    std::vector<std::string> contents;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        std::string data;
        Pl_String sink("page contents", nullptr, data);
        page.pipeContents(&sink);
        contents.push_back(data);
    }
    return contents;
}

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

OutlineSpec Mark(const char* title, int page, double top, std::vector<OutlineSpec> children)
{
    OutlineSpec spec;
    spec.title = title;
    spec.page = page;
    spec.top = top;
    spec.children = std::move(children);
    return spec;
}

OutlineSpec Mark(const char* title, int page, std::vector<OutlineSpec> children)
{
    return Mark(title, page, 720, std::move(children));
}

std::vector<int> PageNumbersOf(const QString& path)
{
    std::vector<int> pages;
    for (const std::string& content : PageContents(path)) {
        const auto at = content.find("Page ");
        pages.push_back(at == std::string::npos ? -1 : std::atoi(content.c_str() + at + 5));
    }
    return pages;
}
