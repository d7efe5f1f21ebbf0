#include "../engine/CorpusManifest.h"
#include "../engine/EngineTestSupport.h"
#include "../engine/NavigationCheck.h"
#include "../model/ModelTestSupport.h"

#include "model/TavloProj.h"
#include "shell/ProductConfig.h"
#include "split/PageList.h"
#include "split/TavloConvert.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace {

// A copy of the file that opens only with the user password (AES-256). Made in this process:
// a fork here would upset the thread sanitizer's view of the engine's threads.
void WriteEncrypted(const QString& source, const QString& target, const char* userPassword)
{
    const std::string sourceName = source.toStdString();
    const std::string targetName = target.toStdString();
    QPDF pdf;
    pdf.processFile(sourceName.c_str());
    QPDFWriter writer(pdf, targetName.c_str());
    writer.setR6EncryptionParameters(userPassword, "owner", true, true, true, true, true, true,
                                     qpdf_r3p_full, true);
    writer.write();
}

TEST(ConvertTest, OverallPercentRoundsHalfToEven)
{
    struct Case
    {
        int index, percent, count, expected;
    };
    for (const Case c : {Case{1, 50, 4, 38}, Case{0, 50, 4, 12}, Case{0, 0, 1, 0},
                         Case{0, 100, 1, 100}, Case{2, 50, 4, 62}, Case{0, 50, 0, 0}})
        EXPECT_EQ(TConvert::OverallPercent(c.index, c.percent, c.count), c.expected)
            << c.index << " " << c.percent << " " << c.count;
}

// Where the engine works, and how many outputs it makes at once.
struct TEngineSetup
{
    std::int32_t threading;
    int jobs;
};

// One split run over generated documents, through the real engine, which works on its own
// thread or on the test's (then from the event loop that Take runs), making one output at a
// time or several on workers of its own.
class SplitRunTest : public ::testing::TestWithParam<TEngineSetup>
{
protected:
    void SetUp() override
    {
        // Stopped runs go to the trash: keep it inside the test's folder.
        qputenv("XDG_DATA_HOME", FFolder.filePath(QStringLiteral("data")).toUtf8());
        ProductConfig().InFormat = ffPdf;
        ProductConfig().OutFormat = ffPdf;
        ProductConfig().CustomPath = false;
        ProductConfig().CustomDir.clear();
        FJob = std::make_unique<TTavloProj>();
        FRun = std::make_unique<TTavloConvert>(*FJob);
        FRun->SetWindow(&FQueue);
        FRun->SetEngineThreading(GetParam().threading);
        FRun->SetJobs(GetParam().jobs);
        ASSERT_TRUE(FRun->Ready());
    }

    void TearDown() override
    {
        FRun.reset();
        FJob.reset();
    }

    QString Folder() const { return FFolder.path() + QStringLiteral("/"); }

    TFileInfo& AddDocument(const QString& name, int pages)
    {
        const QString path = Folder() + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteTestPdf(path, pages);
        TFileInfo& document = *FJob->Files()->NewItem();
        document.SetSource(path);
        EXPECT_TRUE(FRun->CheckDocument(document));
        document.SetPageScore(QStringLiteral("All"));
        return document;
    }

    // Makes the file the job's only document, all its pages; whether the run accepts it.
    bool UseOnly(const QString& path)
    {
        FJob->Files()->Clear();
        TFileInfo& document = *FJob->Files()->NewItem();
        document.SetSource(path);
        document.SetPageScore(QStringLiteral("All"));
        return FRun->CheckDocument(document);
    }

    // The next run message, or none within the timeout.
    std::optional<TRunMessage> Take(std::chrono::milliseconds timeout)
    {
        if (GetParam().threading != kThreadingCaller)
            return FQueue.Take(timeout);
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (std::optional<TRunMessage> message = FQueue.Take(std::chrono::milliseconds(0)))
                return message;
            if (std::chrono::steady_clock::now() >= deadline)
                return std::nullopt;
            // One turn of the event loop, so one step of the engine at most: a test that acts
            // after some messages finds the run where those messages left it.
            QCoreApplication::processEvents();
            if (std::optional<TRunMessage> message = FQueue.Take(std::chrono::milliseconds(1)))
                return message;
        }
    }

    // Waits for the end of the run and answers its lParam (-1 when none came).
    qintptr WaitForEnd()
    {
        while (std::optional<TRunMessage> message = Take(std::chrono::seconds(20))) {
            FMessages.push_back(*message);
            if (message->message == WM_SPLIT_DONE && message->lParam != kDoneInput)
                return message->lParam;
        }
        return -1;
    }

    // Starts and waits; the run's lParam.
    qintptr Run()
    {
        EXPECT_TRUE(FRun->Start());
        return WaitForEnd();
    }

    std::vector<qintptr> Errors() const
    {
        std::vector<qintptr> errors;
        for (const TRunMessage& m : FMessages) {
            if (m.message == WM_SPLIT_ERROR)
                errors.push_back(m.lParam);
        }
        return errors;
    }

    TAllPagesWordScope FAllWord;
    QTemporaryDir FFolder;
    std::unique_ptr<TTavloProj> FJob;
    std::unique_ptr<TTavloConvert> FRun;
    TRunMessageQueue FQueue;
    std::vector<TRunMessage> FMessages;
};

TEST_P(SplitRunTest, EveryTwoPagesOfFive)
{
    TFileInfo& document = AddDocument(QStringLiteral("doc.pdf"), 5);
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(2);
    ASSERT_EQ(Run(), kDoneRun);
    EXPECT_EQ(FRun->EngineThreading(), GetParam().threading);
    const QString out = Folder() + QStringLiteral("doc/");
    EXPECT_EQ(FilesIn(out), (QStringList{QStringLiteral("doc(1).pdf"), QStringLiteral("doc(2).pdf"),
                                         QStringLiteral("doc(3).pdf")}));
    EXPECT_EQ(PageNumbersOf(out + QStringLiteral("doc(1).pdf")), (std::vector<int>{1, 2}));
    EXPECT_EQ(PageNumbersOf(out + QStringLiteral("doc(2).pdf")), (std::vector<int>{3, 4}));
    EXPECT_EQ(PageNumbersOf(out + QStringLiteral("doc(3).pdf")), (std::vector<int>{5}));
    EXPECT_EQ(document.FileStatus(), fsFinish);
    EXPECT_EQ(document.OutFile(), out + QStringLiteral("doc(3).pdf"));
    EXPECT_TRUE(Errors().empty());
}

// The run makes a folder of its own next to whatever is there, named exactly after the
// document, and never writes into a folder it did not make.
TEST_P(SplitRunTest, OutputFolderIsMadeAnewBesideWhatIsThere)
{
    struct Case
    {
        QString document;
        QStringList taken; // folders of the user's ("name/") or dangling links ("name")
        QString folder;    // the run's folder
    };
    const QString longName = QString(236, u'x');
    const std::vector<Case> cases = {
        {QStringLiteral("doc.pdf"), {QStringLiteral("doc/"), QStringLiteral("doc(1)/")}, QStringLiteral("doc(2)")},
        {QStringLiteral("doc.pdf"), {QStringLiteral("doc")}, QStringLiteral("doc(1)")},
        {QStringLiteral("report .pdf"), {QStringLiteral("report/")}, QStringLiteral("report ")},
        {QStringLiteral("tab\t.pdf"), {QStringLiteral("tab/")}, QStringLiteral("tab\t")},
        {QStringLiteral("nbsp\u00A0.pdf"), {QStringLiteral("nbsp/")}, QStringLiteral("nbsp\u00A0")},
        {QStringLiteral("My Docs /doc.pdf"), {QStringLiteral("My Docs/doc/")}, QStringLiteral("My Docs /doc")},
        // A name near the file system's limit still leaves room for the outputs' own names.
        {longName + QStringLiteral(".pdf"), {}, longName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document.toStdString());
        QDir(Folder()).removeRecursively();
        QDir().mkpath(Folder());
        for (const QString& taken : c.taken) {
            if (taken.endsWith(u'/')) {
                ASSERT_TRUE(QDir().mkpath(Folder() + taken));
                QFile mine(Folder() + taken + QStringLiteral("mine.txt"));
                ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
            } else {
                ASSERT_TRUE(QFile::link(Folder() + QStringLiteral("nowhere"), Folder() + taken));
            }
        }
        FJob->Files()->Clear();
        AddDocument(c.document, 10);
        FJob->Method()->SetOption(soAverge);
        FJob->Method()->SetAvgSplitNum(3);
        ASSERT_EQ(Run(), kDoneRun);
        const QString out = Folder() + c.folder + u'/';
        EXPECT_EQ(FRun->OutFolder(), out);
        const QString base = QFileInfo(c.document).completeBaseName();
        EXPECT_EQ(PageNumbersOf(out + base + QStringLiteral("(1).pdf")), (std::vector<int>{1, 2, 3, 4}));
        EXPECT_EQ(PageNumbersOf(out + base + QStringLiteral("(2).pdf")), (std::vector<int>{5, 6, 7}));
        EXPECT_EQ(PageNumbersOf(out + base + QStringLiteral("(3).pdf")), (std::vector<int>{8, 9, 10}));
        for (const QString& taken : c.taken) {
            if (taken.endsWith(u'/')) {
                EXPECT_EQ(FilesIn(Folder() + taken), QStringList{QStringLiteral("mine.txt")});
            }
        }
    }
}

// Names the file system cannot hold, or that would leave the run's folder, are refused before
// anything is written, with a message that names them; the folder made for the plan goes.
TEST_P(SplitRunTest, UnusableOutputNamesAreRefusedBeforeTheRun)
{
    struct Case
    {
        QString document;
        QString outFile; // a custom output, or empty for every page
        QString named;   // what the message names
    };
    const QString tooLong = QString(250, u'y');
    const std::vector<Case> cases = {
        {tooLong + QStringLiteral(".pdf"), {}, tooLong + QStringLiteral("(1).pdf")},
        {QStringLiteral("doc.pdf"), QString(252, u'z') + QStringLiteral(".pdf"), QString(252, u'z')},
        {QStringLiteral("doc.pdf"), QStringLiteral("../x.pdf"), QStringLiteral("../x.pdf")},
        {QStringLiteral("doc.pdf"), QStringLiteral("sub/x.pdf"), QStringLiteral("sub/x.pdf")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outFile.toStdString());
        FJob->Files()->Clear();
        FJob->Method()->AdvDefine()->Clear();
        TFileInfo& document = AddDocument(c.document, 3);
        FJob->Method()->SetOption(c.outFile.isEmpty() ? soEveryPage : soCustom);
        FJob->Method()->SetEveryPageNum(1);
        if (!c.outFile.isEmpty()) {
            TAdvDefine* definition = FJob->Method()->AdvDefine()->NewItem();
            definition->SetOutFile(c.outFile);
            definition->SetPageStr(QStringLiteral("1-2"));
        }
        EXPECT_FALSE(FRun->Start());
        EXPECT_EQ(FRun->LastRefusal(), TStartRefusal::PlanningFailed);
        EXPECT_TRUE(FRun->LastRefusalText().contains(c.named)) << FRun->LastRefusalText().toStdString();
        EXPECT_FALSE(QFileInfo::exists(FRun->OutFolder()));
        EXPECT_EQ(document.FileStatus(), fsNew);
    }
}

// A set stop flag ends planning: nothing starts and nothing is left.
TEST_P(SplitRunTest, AStopFlagEndsPlanning)
{
    AddDocument(QStringLiteral("doc.pdf"), 30);
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(1);
    const std::atomic<bool> stop{true};
    FRun->SetStopFlag(&stop);
    EXPECT_FALSE(FRun->Start());
    EXPECT_EQ(FRun->LastRefusal(), TStartRefusal::Stopped);
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("doc")));
    EXPECT_THROW(FRun->PlanOnly(), EPlanStopped);
}

TEST_P(SplitRunTest, RangeWithOtherPagesInCustomFolder)
{
    QTemporaryDir custom;
    ProductConfig().CustomPath = true;
    ProductConfig().CustomDir = custom.path();
    AddDocument(QStringLiteral("doc.pdf"), 6);
    FJob->Method()->SetOption(soPageRange);
    FJob->Method()->RangeStr()->SetRangeStr(QStringLiteral("1-3,5"));
    FJob->Method()->RangeStr()->SetNeedOtherPage(true);
    ASSERT_EQ(Run(), kDoneRun);
    const QString out = custom.path() + QStringLiteral("/doc/");
    EXPECT_EQ(PageNumbersOf(out + QStringLiteral("doc(1).pdf")), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(PageNumbersOf(out + QStringLiteral("doc(2).pdf")), (std::vector<int>{4, 6}));
}

TEST_P(SplitRunTest, CustomOutputsOfTwoDocumentsShareTheirFiles)
{
    AddDocument(QStringLiteral("a/doc.pdf"), 3);
    AddDocument(QStringLiteral("b/other.pdf"), 4);
    FJob->Method()->SetOption(soCustom);
    for (const auto& [name, pages] : {std::pair{"first.pdf", "3,1"}, std::pair{"second.pdf", "2-3"}}) {
        TAdvDefine* definition = FJob->Method()->AdvDefine()->NewItem();
        definition->SetOutFile(QString::fromUtf8(name));
        definition->SetPageStr(QString::fromUtf8(pages));
    }
    ASSERT_EQ(Run(), kDoneRun);
    const QString out = Folder() + QStringLiteral("a/doc/");
    // Pages of the second document follow those of the first; page n of "other" is "Page n".
    EXPECT_EQ(PageNumbersOf(out + QStringLiteral("first.pdf")), (std::vector<int>{3, 1, 3, 1}));
    EXPECT_EQ(PageNumbersOf(out + QStringLiteral("second.pdf")), (std::vector<int>{2, 3, 2, 3}));
}

TEST_P(SplitRunTest, PlanWithoutPagesIsRefusedWithItsReason)
{
    // No bookmarks at all, and bookmarks shallower than the level asked for.
    for (const std::vector<OutlineSpec>& outline :
         {std::vector<OutlineSpec>{}, std::vector<OutlineSpec>{Mark("One", 0), Mark("Two", 1)}}) {
        const QString path = Folder() + QStringLiteral("doc.pdf");
        WriteTestPdf(path, 3, outline);
        FJob->Files()->Clear();
        TFileInfo& document = *FJob->Files()->NewItem();
        document.SetSource(path);
        ASSERT_TRUE(FRun->CheckDocument(document));
        document.SetPageScore(QStringLiteral("All"));
        FJob->Method()->SetOption(soBookMarkLever);
        FJob->Method()->BookMarkOption()->SetLevelNum(2);
        // As the window has it: even then an empty folder is not worth the trash.
        FRun->SetDiscardToTrash(true);
        EXPECT_FALSE(FRun->Start());
        EXPECT_EQ(FRun->LastRefusal(), TStartRefusal::NothingPlanned);
        EXPECT_EQ(document.FileStatus(), fsNew);
        EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("doc")));
        EXPECT_TRUE(FilesIn(Folder() + QStringLiteral("data/Trash/info")).isEmpty());
        EXPECT_FALSE(Take(std::chrono::milliseconds(0)).has_value());
    }
}

TEST_P(SplitRunTest, BookmarksWithHigherLevelsAndBothPages)
{
    const QString path = Folder() + QStringLiteral("book.pdf");
    // A.2 starts low on page 3, so with both pages that page ends A.1 too.
    WriteTestPdf(path, 7,
                 {Mark("A", 0, 720, {Mark("A.1", 0), Mark("A.2", 2, 300)}),
                  Mark("B", 4, 720, {Mark("B.1", 5)})});
    TFileInfo& document = *FJob->Files()->NewItem();
    document.SetSource(path);
    ASSERT_TRUE(FRun->CheckDocument(document));
    document.SetPageScore(QStringLiteral("All"));
    EXPECT_EQ(FRun->GetBookmarkLevelCount(document), 2);
    std::vector<TBookmarkTreeNode> tree;
    EXPECT_EQ(FRun->FillBookmarkTree(document, tree), 0);
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].Title, QStringLiteral("A"));
    ASSERT_EQ(tree[0].Children.size(), 2u);
    EXPECT_EQ(tree[0].Children[1].Title, QStringLiteral("A.2"));
    EXPECT_EQ(tree[1].Children[0].Title, QStringLiteral("B.1"));

    struct Case
    {
        bool higher, both;
        std::vector<std::vector<int>> outputs;
    };
    for (const Case& c : {Case{false, false, {{1, 2}, {3, 4}, {6, 7}}},
                          Case{true, true, {{1, 2, 3}, {3, 4}, {6, 7}, {1, 2, 3, 4}, {5, 6, 7}}}}) {
        FJob->Method()->SetOption(soBookMarkLever);
        FJob->Method()->BookMarkOption()->SetLevelNum(2);
        FJob->Method()->BookMarkOption()->SetSaveHigherLevel(c.higher);
        FJob->Method()->BookMarkOption()->SetBothPage(c.both);
        ASSERT_EQ(Run(), kDoneRun);
        const QString out = FRun->OutFolder();
        ASSERT_EQ(FilesIn(out).size(), static_cast<qsizetype>(c.outputs.size()));
        for (size_t k = 0; k < c.outputs.size(); ++k)
            EXPECT_EQ(PageNumbersOf(out + QStringLiteral("book(%1).pdf").arg(k + 1)), c.outputs[k]) << k;
    }
    EXPECT_TRUE(QFileInfo::exists(Folder() + QStringLiteral("book(1)")));
}

TEST_P(SplitRunTest, PasswordProtectedInput)
{
    const QString plain = Folder() + QStringLiteral("plain.pdf");
    WriteTestPdf(plain, 3);
    const QString locked = Folder() + QStringLiteral("locked.pdf");
    WriteEncrypted(plain, locked, "secret");
    TFileInfo& document = *FJob->Files()->NewItem();
    document.SetSource(locked);
    EXPECT_TRUE(FRun->CheckDocument(document));
    EXPECT_TRUE(document.UserPass());
    EXPECT_FALSE(document.IsAccessible());
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(2);

    // Without its password the document is planned as one without pages and passed over.
    document.SetPageScore(QStringLiteral("All"));
    EXPECT_FALSE(FRun->Start());
    EXPECT_EQ(FRun->LastRefusal(), TStartRefusal::NothingPlanned);

    document.SetUserPassword(QStringLiteral("secret"));
    EXPECT_TRUE(FRun->CheckDocument(document));
    EXPECT_TRUE(document.IsAccessible());
    EXPECT_EQ(document.TotalPage(), 3);
    ASSERT_EQ(Run(), kDoneRun);
    EXPECT_EQ(PageNumbersOf(FRun->OutFolder() + QStringLiteral("locked(1).pdf")), (std::vector<int>{1, 2}));
    EXPECT_EQ(PageNumbersOf(FRun->OutFolder() + QStringLiteral("locked(2).pdf")), (std::vector<int>{3}));
}

TEST_P(SplitRunTest, CorpusFilesSplitPageByPage)
{
    const std::vector<CorpusEntry> corpus = ReadCorpusManifest();
    for (const CorpusEntry& entry : corpus) {
        if (entry.pages <= 0 && entry.password.isEmpty())
            continue;
        SCOPED_TRACE(entry.file.toStdString());
        const QString copy = Folder() + entry.file;
        ASSERT_TRUE(QFile::copy(CorpusFile(entry.file), copy));
        FJob->Files()->Clear();
        TFileInfo& document = *FJob->Files()->NewItem();
        document.SetSource(copy);
        document.SetUserPassword(entry.password);
        ASSERT_TRUE(FRun->CheckDocument(document));
        document.SetPageScore(QStringLiteral("All"));
        FJob->Method()->SetOption(soEveryPage);
        FJob->Method()->SetEveryPageNum(3);
        ASSERT_EQ(Run(), kDoneRun);
        const std::vector<std::string> input = PageContents(copy, entry.password);
        std::vector<std::string> output;
        const QString base = QFileInfo(copy).completeBaseName();
        for (int k = 1; k <= (static_cast<int>(input.size()) + 2) / 3; ++k) {
            const std::vector<std::string> part =
                PageContents(FRun->OutFolder() + base + QStringLiteral("(%1).pdf").arg(k), {});
            output.insert(output.end(), part.begin(), part.end());
        }
        EXPECT_EQ(output.size(), input.size());
        EXPECT_TRUE(output == input);
    }
}

using TMethodSetting = std::function<void(TMethod&)>;

TMethodSetting EveryMethod(int n)
{
    return [n](TMethod& m) {
        m.SetOption(soEveryPage);
        m.SetEveryPageNum(n);
    };
}

TMethodSetting BookmarkMethod(int level, bool higher, bool both)
{
    return [=](TMethod& m) {
        m.SetOption(soBookMarkLever);
        m.BookMarkOption()->SetLevelNum(level);
        m.BookMarkOption()->SetSaveHigherLevel(higher);
        m.BookMarkOption()->SetBothPage(both);
    };
}

// The range and, in a second output, the other pages.
TMethodSetting RangeMethod(const char* pages)
{
    return [pages](TMethod& m) {
        m.SetOption(soPageRange);
        m.RangeStr()->SetRangeStr(QString::fromLatin1(pages));
        m.RangeStr()->SetNeedOtherPage(true);
    };
}

TMethodSetting CustomMethod(std::vector<std::pair<const char*, const char*>> parts)
{
    return [parts](TMethod& m) {
        m.SetOption(soCustom);
        m.AdvDefine()->Clear();
        for (const auto& [name, pages] : parts) {
            TAdvDefine* definition = m.AdvDefine()->NewItem();
            definition->SetOutFile(QString::fromLatin1(name));
            definition->SetPageStr(QString::fromLatin1(pages));
        }
    };
}

TMethodSetting PartsMethod(int n)
{
    return [n](TMethod& m) {
        m.SetOption(soAverge);
        m.SetAvgSplitNum(n);
    };
}

// The run's outputs as its page map planned them, for an independent reading.
std::vector<TPlannedOutput> PlannedOutputs(const TTavloConvert& run)
{
    const TPageList& map = *run.PageList();
    std::vector<TPlannedOutput> outputs;
    for (int i = 0; i < map.Count(); ++i) {
        const TConvPageInfo& entry = *map.Items(i);
        const QString path = entry.OutPage()->FileName();
        auto output = std::find_if(outputs.begin(), outputs.end(),
                                   [&path](const TPlannedOutput& o) { return o.path == path; });
        if (output == outputs.end())
            output = outputs.insert(outputs.end(),
                                    TPlannedOutput{path, {}, run.LeadBookmarkOf(path) - 1});
        output->pages.push_back(entry.InPage()->PageValue() - 1);
    }
    return outputs;
}

TEST_P(SplitRunTest, OutputsKeepTheirBookmarksAndLinksLandOnTheRightPageOfTheRightFile)
{
    // Chapter B starts low on page 3, below the end of A.1: with both pages, that page goes
    // to both chapters, and B's file starts with B, not with the end of A.
    const QString chapters = Folder() + QStringLiteral("chapters.pdf");
    WriteTestPdf(chapters, 6,
                 {Mark("A", 0, 720, {Mark("A.1", 2)}), Mark("B", 2, 300, {Mark("B.1", 4)})});
    struct Case
    {
        QString file;
        TMethodSetting method;
        bool crossFileLinks;
        bool navigation = true;
    };
    const auto every = EveryMethod;
    const auto bookmarks = BookmarkMethod;
    const auto range = RangeMethod;
    const auto custom = CustomMethod;
    const auto corpus = [](const char* name) { return CorpusFile(QString::fromUtf8(name)); };
    const Case cases[] = {
        {corpus("geotopo-komprimiert.pdf"), every(25), true},
        {corpus("geotopo-komprimiert.pdf"), bookmarks(1, false, true), true},
        {corpus("geotopo-komprimiert.pdf"), range("1-10,40-60,100"), true},
        {corpus("geotopo-komprimiert.pdf"), custom({{"b.pdf", "50-117"}, {"a.pdf", "1-49"}}), true},
        {corpus("mistitled-outlines.pdf"), bookmarks(2, true, false), false},
        {corpus("Gliederung-Übersicht-Größe.pdf"), every(1), true},
        // Four sections start on page 2: the three without a page of their own stay there.
        {corpus("Gliederung-Übersicht-Größe.pdf"), bookmarks(1, false, false), false},
        {corpus("qpdf-page-labels-and-outlines.pdf"), every(7), false},
        {corpus("qpdf-outlines-old-root-dests.pdf"), bookmarks(3, false, false), false},
        {chapters, bookmarks(2, true, true), false},
        {corpus("qpdf-page-labels-and-outlines.pdf"), every(7), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        ASSERT_TRUE(UseOnly(c.file));
        ProductConfig().CustomPath = true;
        ProductConfig().CustomDir = Folder();
        c.method(*FJob->Method());
        FRun->SetKeepNavigation(c.navigation);
        ASSERT_EQ(Run(), kDoneRun);
        const TNavigationCheck check =
            CheckNavigation(c.file, {}, PlannedOutputs(*FRun));
        if (!c.navigation) { // bare copies, as asked: not one bookmark
            EXPECT_EQ(check.bookmarksKept + check.strayBookmarks, 0);
            continue;
        }
        for (const std::string& fault : check.faults)
            ADD_FAILURE() << fault;
        EXPECT_EQ(check.bookmarksKept, check.bookmarksExpected);
        EXPECT_EQ(check.sameFileWorking, check.sameFileLinks);
        EXPECT_EQ(check.crossFileWorking, check.crossFileLinks);
        EXPECT_EQ(check.crossFileLinks > 0, c.crossFileLinks);
        EXPECT_EQ(check.deadLinks + check.strayBookmarks, 0);
    }
}

// References inside a bookmark's colour or the viewer preferences were written as they
// stood, naming whatever the output numbered so; a view of ten thousand numbers was copied
// into each of the fifty links that lead to it.
TEST_P(SplitRunTest, NavigationCopiesValuesAndOnlyTheViewADestinationTakes)
{
    std::string view, links;
    for (int i = 0; i < 10000; ++i)
        view += " 1";
    for (int i = 0; i < 50; ++i)
        links += "<< /Type /Annot /Subtype /Link /Rect [0 0 9 9] /Dest (long) >>";
    // One object a line, as the writer's recovery finds them.
    const std::string text =
        "%PDF-1.7\n1 0 obj << /Type /Catalog /Pages 2 0 R /Outlines 5 0 R /ViewerPreferences"
        " << /Direction 10 0 R >> /Names << /Dests << /Names [(long) [3 0 R /XYZ 0 0 0" +
        view +
        "]] >> >> >> endobj\n2 0 obj << /Type /Pages /Count 2 /Kids [3 0 R 4 0 R] >> endobj"
        "\n3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >> endobj\n4 0 obj"
        " << /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Annots [" +
        links +
        "] >> endobj"
        "\n5 0 obj << /First 6 0 R /Last 6 0 R >> endobj\n6 0 obj << /Title (A) /Parent 5 0 R"
        " /Dest [3 0 R /Fit] /C [7 0 R 8 0 R 9 0 R] >> endobj\n7 0 obj 0.5 endobj\n8 0 obj 0.25"
        " endobj\n9 0 obj 1 endobj\n10 0 obj /R2L endobj\ntrailer << /Root 1 0 R >>\n";
    QPDF hostile; // without a cross-reference table: written again, it is sound
    hostile.setSuppressWarnings(true);
    hostile.processMemoryFile("hostile", text.data(), text.size());
    const std::string input = (Folder() + QStringLiteral("hostile.pdf")).toStdString();
    QPDFWriter(hostile, input.c_str()).write();
    ASSERT_TRUE(UseOnly(QString::fromStdString(input)));
    EveryMethod(1)(*FJob->Method());
    ASSERT_EQ(Run(), kDoneRun);

    const std::vector<TPlannedOutput> outputs = PlannedOutputs(*FRun);
    ASSERT_EQ(outputs.size(), 2u);
    for (const TPlannedOutput& output : outputs)
        EXPECT_LT(QFileInfo(output.path).size(), QFileInfo(QString::fromStdString(input)).size());
    QPDF first;
    first.processFile(outputs[0].path.toStdString().c_str());
    QPDFObjectHandle root = first.getRoot();
    EXPECT_EQ(root.getKey("/Outlines").getKey("/First").getKey("/C").unparseResolved(),
              "[ 0.5 0.25 1 ]");
    EXPECT_TRUE(root.getKey("/ViewerPreferences").getKey("/Direction").isNameAndEquals("/R2L"));
}

// Every file of the folder and its bytes.
std::map<QString, QByteArray> FolderContents(const QString& folder)
{
    std::map<QString, QByteArray> contents;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        contents[QDir(folder).relativeFilePath(file.fileName())] = file.readAll();
    }
    return contents;
}

// One setup is enough: each test runs the same split with several numbers of jobs.
class SplitJobsTest : public SplitRunTest
{
};

TEST_P(SplitJobsTest, EveryNumberOfJobsWritesTheSameBytes)
{
    const struct
    {
        const char* file;
        const char* password;
        TMethodSetting method;
    } cases[] = {
        {"qpdf-enc-aes256-user-view.pdf", "view", EveryMethod(3)},
        {"pikepdf-dd0293-owner-only-aes128.pdf", "", EveryMethod(1)},
        {"libreoffice-form.pdf", "", CustomMethod({{"a.pdf", "1"}, {"b.pdf", "1"}})},
        {"geotopo-komprimiert.pdf", "", BookmarkMethod(2, true, true)},
        {"qpdf-page-labels-and-outlines.pdf", "", RangeMethod("1-5,9,20-22")},
        {"mistitled-outlines.pdf", "", PartsMethod(3)},
    };
    ProductConfig().CustomPath = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::map<QString, QByteArray> first;
        for (const int jobs : {1, 2, 4}) {
            SCOPED_TRACE(jobs);
            FJob->Files()->Clear();
            TFileInfo& document = *FJob->Files()->NewItem();
            document.SetSource(CorpusFile(QString::fromUtf8(c.file)));
            document.SetUserPassword(QString::fromUtf8(c.password));
            ASSERT_TRUE(FRun->CheckDocument(document));
            document.SetPageScore(QStringLiteral("All"));
            c.method(*FJob->Method());
            ProductConfig().CustomDir = Folder() + QString::number(jobs);
            QDir().mkpath(ProductConfig().CustomDir);
            FRun->SetJobs(jobs);
            ASSERT_EQ(Run(), kDoneRun);
            const std::map<QString, QByteArray> written = FolderContents(FRun->OutFolder());
            EXPECT_GE(written.size(), 2u);
            if (jobs == 1)
                first = written;
            else
                EXPECT_TRUE(written == first) << "outputs differ from those of one job";
        }
    }
}

// The document's title set to a text of the PDF's own syntax, or to anything else.
void SetTitle(const QString& path, const std::string& title)
{
    const std::string name = path.toStdString();
    QPDF pdf;
    pdf.processFile(name.c_str());
    QPDFObjectHandle info = QPDFObjectHandle::newDictionary();
    info.replaceKey("/Title", QPDFObjectHandle::newString(title));
    pdf.getTrailer().replaceKey("/Info", pdf.makeIndirectObject(info));
    const std::string written = name + ".new"; // the writer keeps the pointer
    QPDFWriter writer(pdf, written.c_str());
    writer.write();
    QFile::remove(path);
    QFile::rename(path + QStringLiteral(".new"), path);
}

struct WrittenIdentity
{
    std::string first, second, title;
};

WrittenIdentity IdentityOf(const QString& path)
{
    const std::string name = path.toStdString();
    QPDF pdf;
    pdf.processFile(name.c_str());
    QPDFObjectHandle id = pdf.getTrailer().getKey("/ID");
    return {id.getArrayItem(0).getStringValue(), id.getArrayItem(1).getStringValue(),
            pdf.getTrailer().getKey("/Info").getKey("/Title").getUTF8Value()};
}

// The identifier follows from what the output is made of, not from its bytes: outputs of
// other pages, of another input or of other options must not share one. A title that looks
// like the trailer's entry stays as it is.
TEST_P(SplitJobsTest, FileIdentifiersFollowWhatTheOutputIsMadeOf)
{
    const std::string lookalike =
        "/ID [<31415926535897932384626433832795><31415926535897932384626433832795>]";
    for (const auto& [name, title] :
         {std::pair{"a/doc.pdf", lookalike}, {"b/doc.pdf", "another"}}) {
        QDir().mkpath(Folder() + QString::fromUtf8(name).section(u'/', 0, 0));
        WriteTestPdf(Folder() + QString::fromUtf8(name), 4);
        SetTitle(Folder() + QString::fromUtf8(name), title);
    }
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(2);
    // Each run of its own, into a folder of its own: outputs of the same name and pages.
    const auto firstOutputOf = [&](const char* name, bool navigation) {
        FJob->Files()->Clear();
        TFileInfo& document = *FJob->Files()->NewItem();
        document.SetSource(Folder() + QString::fromUtf8(name));
        EXPECT_TRUE(FRun->CheckDocument(document));
        document.SetPageScore(QStringLiteral("All"));
        FRun->SetKeepNavigation(navigation);
        EXPECT_EQ(Run(), kDoneRun);
        return IdentityOf(FRun->OutFolder() + QStringLiteral("doc(1).pdf"));
    };
    const WrittenIdentity first = firstOutputOf("a/doc.pdf", true);
    EXPECT_EQ(first.title, lookalike);
    EXPECT_EQ(first.first.size(), 16u);
    EXPECT_EQ(first.second, first.first); // a new file: both the same
    EXPECT_NE(IdentityOf(FRun->OutFolder() + QStringLiteral("doc(2).pdf")).first, first.first);
    EXPECT_EQ(firstOutputOf("a/doc.pdf", true).first, first.first);
    EXPECT_NE(firstOutputOf("b/doc.pdf", true).first, first.first);
    EXPECT_NE(firstOutputOf("a/doc.pdf", false).first, first.first);
}

INSTANTIATE_TEST_SUITE_P(Engine, SplitJobsTest,
                         ::testing::Values(TEngineSetup{kThreadingCaller, 1}));

TEST_P(SplitRunTest, TwoDocumentsOfOneNameShareTheOutputs)
{
    AddDocument(QStringLiteral("a/doc.pdf"), 2);
    AddDocument(QStringLiteral("b/doc.pdf"), 3);
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(2);
    ASSERT_EQ(Run(), kDoneRun);
    const QString out = Folder() + QStringLiteral("a/doc/");
    EXPECT_EQ(FilesIn(out), (QStringList{QStringLiteral("doc(1).pdf"), QStringLiteral("doc(2).pdf")}));
    EXPECT_EQ(PageNumbersOf(out + QStringLiteral("doc(1).pdf")), (std::vector<int>{1, 2, 1, 2}));
    EXPECT_EQ(PageNumbersOf(out + QStringLiteral("doc(2).pdf")), (std::vector<int>{3}));
}

TEST_P(SplitRunTest, PauseHoldsThePageDoneUntilResume)
{
    AddDocument(QStringLiteral("doc.pdf"), 30);
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(1);
    ASSERT_TRUE(FRun->Start());
    FRun->Pause();
    EXPECT_EQ(FRun->State(), csPaused);
    // Drain what was under way; a paused run ends nothing.
    while (std::optional<TRunMessage> message = Take(std::chrono::milliseconds(300)))
        EXPECT_NE(message->message, WM_SPLIT_DONE);
    const int index = FRun->PageList()->CurrentIndex();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(FRun->PageList()->CurrentIndex(), index);
    FRun->Resume();
    EXPECT_EQ(WaitForEnd(), kDoneRun);
    EXPECT_EQ(FilesIn(FRun->OutFolder()).size(), 30);
}

// The run's own reading of its input is its first worker's while the workers copy: the window
// reading the same file's bookmarks meanwhile must get a reading of its own.
TEST_P(SplitRunTest, TheInputsBookmarksCanBeReadWhileItIsSplit)
{
    const QString path = Folder() + QStringLiteral("doc.pdf");
    WriteTestPdf(path, 120, {Mark("A", 0, {Mark("A.1", 30)}), Mark("B", 60), Mark("C", 90)});
    TFileInfo& document = *FJob->Files()->NewItem();
    document.SetSource(path);
    ASSERT_TRUE(FRun->CheckDocument(document));
    document.SetPageScore(QStringLiteral("All"));
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(1);
    ASSERT_TRUE(FRun->Start());
    for (int look = 0; look < 5; ++look) {
        std::vector<TBookmarkTreeNode> tree;
        FRun->FillBookmarkTree(document, tree);
        ASSERT_EQ(tree.size(), 3u);
        EXPECT_EQ(tree[0].Children.size(), 1u);
        if (std::optional<TRunMessage> message = Take(std::chrono::milliseconds(5)))
            FMessages.push_back(*message);
    }
    EXPECT_EQ(WaitForEnd(), kDoneRun);
    EXPECT_EQ(FilesIn(FRun->OutFolder()).size(), 120);
}

TEST_P(SplitRunTest, PageBeyondTheDocumentIsAnEngineError)
{
    AddDocument(QStringLiteral("doc.pdf"), 3);
    FJob->Method()->SetOption(soCustom);
    TAdvDefine* definition = FJob->Method()->AdvDefine()->NewItem();
    definition->SetOutFile(QStringLiteral("x.pdf"));
    definition->SetPageStr(QStringLiteral("2,9"));
    ASSERT_EQ(Run(), kDoneRun);
    EXPECT_EQ(Errors(), (std::vector<qintptr>{kErrorPageUnreadable}));
    EXPECT_EQ(PageNumbersOf(Folder() + QStringLiteral("doc/x.pdf")), (std::vector<int>{2}));
}

// Outputs made from an input that changed meanwhile may mix two versions of it: the run fails
// and removes everything it wrote.
TEST_P(SplitRunTest, AnInputChangedDuringTheRunFailsItAndRemovesItsOutputs)
{
    TFileInfo& document = AddDocument(QStringLiteral("doc.pdf"), 60);
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(1);
    ASSERT_TRUE(FRun->Start());
    FRun->Pause();
    QFile input(document.Source());
    ASSERT_TRUE(input.open(QIODevice::ReadWrite));
    ASSERT_TRUE(input.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                  QFileDevice::FileModificationTime));
    input.close();
    FRun->Resume();
    EXPECT_EQ(WaitForEnd(), kDoneStopped);
    EXPECT_EQ(Errors(), (std::vector<qintptr>{kRunErrorInputChanged}));
    EXPECT_FALSE(FRun->Running());
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("doc")));
    EXPECT_EQ(document.FileStatus(), fsNew);
}

TEST_P(SplitRunTest, AFailedWriteOfTheLastOutputIsToldBeforeTheEnd)
{
    AddDocument(QStringLiteral("doc.pdf"), 200);
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(1);
    ASSERT_TRUE(FRun->Start());
    // The last output cannot take its name: a folder stands there, so its write fails when
    // the output is closed, right before the run ends.
    ASSERT_TRUE(QDir().mkpath(Folder() + QStringLiteral("doc/doc(200).pdf/taken")));
    EXPECT_EQ(WaitForEnd(), kDoneRun);
    EXPECT_EQ(Errors(), (std::vector<qintptr>{kErrorOutputUnwritable}));
    // The engine's own notice of the failure, which comes later, is not told twice.
    while (std::optional<TRunMessage> late = Take(std::chrono::milliseconds(300)))
        FMessages.push_back(*late);
    EXPECT_EQ(Errors(), (std::vector<qintptr>{kErrorOutputUnwritable}));
    EXPECT_TRUE(QFileInfo(Folder() + QStringLiteral("doc/doc(199).pdf")).isFile());
}

TEST_P(SplitRunTest, DocumentWithoutPagesIsPassedOver)
{
    TFileInfo& empty = AddDocument(QStringLiteral("empty.pdf"), 2);
    empty.SetPageScore(QStringLiteral("7-9"));
    empty.SetTotalPage(-1); // as for a document whose password is still missing
    AddDocument(QStringLiteral("doc.pdf"), 2);
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(1);
    ASSERT_EQ(Run(), kDoneRun);
    EXPECT_EQ(empty.FileStatus(), fsSkip);
    EXPECT_EQ(PageNumbersOf(Folder() + QStringLiteral("doc/doc(2).pdf")), (std::vector<int>{2}));
    EXPECT_TRUE(Errors().empty());
}

TEST_P(SplitRunTest, StopInTheMiddleLeavesNothingOfTheRun)
{
    // The user's "doc" looks like the run's "doc " without its blank: it must stay whole.
    ASSERT_TRUE(QDir().mkpath(Folder() + QStringLiteral("doc")));
    QFile mine(Folder() + QStringLiteral("doc/mine.pdf"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.close();
    // Long enough that the run, however many jobs make its outputs, is under way at the stop.
    TFileInfo& document = AddDocument(QStringLiteral("doc .pdf"), 300);
    FJob->Method()->SetOption(soEveryPage);
    FJob->Method()->SetEveryPageNum(1);
    ASSERT_TRUE(FRun->Start());
    // Let a few outputs be written, then stop.
    int progress = 0;
    while (std::optional<TRunMessage> message = Take(std::chrono::seconds(20))) {
        FMessages.push_back(*message);
        if (message->message == WM_SPLIT_PROGRESS && ++progress == 5)
            break;
    }
    FRun->Stop();
    EXPECT_EQ(WaitForEnd(), kDoneStopped);
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("doc ")));
    EXPECT_EQ(FilesIn(Folder() + QStringLiteral("doc")), QStringList{QStringLiteral("mine.pdf")});
    EXPECT_EQ(document.FileStatus(), fsNew);
    // A stop after the run has ended touches nothing.
    FMessages.clear();
    ASSERT_EQ(Run(), kDoneRun);
    FRun->Stop();
    EXPECT_EQ(FilesIn(Folder() + QStringLiteral("doc ")).size(), 300);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, SplitRunTest,
    ::testing::Values(TEngineSetup{kThreadingWorker, 1}, TEngineSetup{kThreadingCaller, 1},
                      TEngineSetup{kThreadingWorker, 3}, TEngineSetup{kThreadingCaller, 2}),
    [](const ::testing::TestParamInfo<TEngineSetup>& param) {
        return std::string(param.param.threading == kThreadingCaller ? "CallerThread" : "WorkerThread") +
               "Jobs" + std::to_string(param.param.jobs);
    });

} // namespace
