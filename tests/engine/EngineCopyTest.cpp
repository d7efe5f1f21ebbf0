#include "EngineTestSupport.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageLabelDocumentHelper.hh>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A copy of the document whose cross-reference table the PDF library has to rebuild.
void WriteWithLostCrossReference(const QString& clean, const QString& damaged)
{
    QFile in(clean);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray data = in.readAll();
    const qsizetype number = data.lastIndexOf("startxref") + 10;
    for (qsizetype i = number; i < data.size() && data[i] >= '0' && data[i] <= '9'; ++i)
        data[i] = i == number ? '9' : '0';
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(data);
}

// A copy of the document whose first compressed stream holds garbage: the document opens, and
// outputs keep such data as it is.
void WriteWithCorruptedStream(const QString& clean, const QString& damaged)
{
    QFile in(clean);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray data = in.readAll();
    const qsizetype filter = data.indexOf("/FlateDecode");
    ASSERT_GE(filter, 0);
    const qsizetype start = data.indexOf("stream", filter) + 8;
    // After the two-byte header, a block of a type that does not exist.
    for (qsizetype i = start + 2; i < start + 6; ++i)
        data[i] = '\xff';
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(data);
}

// Warning number index of a written output, when there is one.
std::optional<QString> WarningOf(IDocObject& document, int index)
{
    TDocWarning warning{};
    warning.Index = index;
    const HRESULT status = ControlRecord(document, kControlWarning, &warning);
    EXPECT_TRUE(status == S_OK || status == S_FALSE);
    if (status != S_OK)
        return std::nullopt;
    EXPECT_NE(warning.Text[0], u'\0');
    return QString::fromUtf16(warning.Text);
}

class CopyTest : public EngineTest
{
protected:
    void SetUp() override
    {
        input_ = folder_.filePath(QStringLiteral("input.pdf"));
        WriteTestPdf(input_, 6);
        inputPages_ = PageContents(input_);
    }

    ComPtr<IDocObject> openInput(const QString& path)
    {
        ComPtr<IDocObject> document = NewDocument();
        EXPECT_GT(OpenForReading(*document, path), 0);
        return document;
    }

    ComPtr<IDocObject> openOutput(const QString& path, std::int32_t runOptions = 0)
    {
        ComPtr<IDocObject> document = NewDocument();
        EXPECT_EQ(document->Control(kControlRunOptions, runOptions), S_OK);
        EXPECT_EQ(OpenForWriting(*document, path), 1);
        return document;
    }

    QString outputPath(const QString& name) const { return folder_.filePath(name); }

    QTemporaryDir folder_;
    QString input_;
    std::vector<std::string> inputPages_;
};

TEST_F(CopyTest, PagesLandInOrderAndKeepTheirContent)
{
    struct Case
    {
        std::vector<std::pair<int, int>> ranges; // CopyPages calls
        std::vector<int> pages;                  // expected pages of the output, 1-based
    };
    const Case cases[] = {
        {{{1, 6}}, {1, 2, 3, 4, 5, 6}},
        {{{4, 4}}, {4}},
        {{{5, 6}, {1, 2}}, {5, 6, 1, 2}},
        {{{3, 3}, {1, 1}, {3, 3}}, {3, 1, 3}}, // a page taken twice becomes two pages
    };
    ComPtr<IDocObject> input = openInput(input_);
    CopySession session;
    int index = 0;
    for (const Case& c : cases) {
        const QString path = outputPath(QStringLiteral("out%1.pdf").arg(++index));
        ComPtr<IDocObject> output = openOutput(path);
        for (const auto& [first, last] : c.ranges)
            ASSERT_TRUE(session.copy(*input, *output, first, last));
        std::int32_t appended = 0;
        output->GetPageCount(&appended);
        EXPECT_EQ(appended, static_cast<std::int32_t>(c.pages.size()));
        EXPECT_FALSE(QFileInfo::exists(path)) << "written before Close";
        ASSERT_EQ(output->Close(), S_OK);
        std::vector<std::string> expected;
        for (int page : c.pages)
            expected.push_back(inputPages_[static_cast<std::size_t>(page - 1)]);
        EXPECT_EQ(PageContents(path), expected) << "case " << index;
    }
    EXPECT_TRUE(session.recorder().errors().empty());
}

TEST_F(CopyTest, OneOutputPerPageDrivenFromInsideTheNotifications)
{
    // As the program's run does it: each page-done event closes the output and starts the next.
    ComPtr<IDocObject> input = openInput(input_);
    CopySession session;
    std::vector<ComPtr<IDocObject>> outputs;
    for (int page = 1; page <= 6; ++page)
        outputs.push_back(openOutput(outputPath(QStringLiteral("page%1.pdf").arg(page)), kRunOptionsOfRun));
    std::atomic<int> current{1};
    const std::thread::id testThread = std::this_thread::get_id();
    session.recorder().setReaction([&](std::int32_t kind, std::int32_t, std::int32_t event) {
        if (kind != kNotifyEvent || event != kEventPageDone)
            return;
        const int done = current++;
        EXPECT_EQ(outputs[static_cast<std::size_t>(done - 1)]->Close(), S_OK);
        if (done < 6) {
            session.operation().SetDocuments(input.get(), outputs[static_cast<std::size_t>(done)].get());
            session.operation().CopyPages(done + 1, done + 1);
        }
    });
    ASSERT_TRUE(session.copy(*input, *outputs[0], 1, 1));
    ASSERT_TRUE(session.recorder().waitForEvent(kEventPageDone, 6));
    for (int page = 1; page <= 6; ++page) {
        EXPECT_EQ(PageContents(outputPath(QStringLiteral("page%1.pdf").arg(page))),
                  std::vector<std::string>{inputPages_[static_cast<std::size_t>(page - 1)]});
    }
    for (const auto& entry : session.recorder().entries())
        EXPECT_NE(entry.thread, testThread) << "notified from inside a call of the program";
}

TEST_F(CopyTest, CopiedPagesKeepFormFieldsAnnotationsAndLabels)
{
    struct Case
    {
        const char* file;
        int page;
        std::size_t fields;
        std::size_t annotations;
        bool labels;
    };
    const Case cases[] = {
        {"libreoffice-form.pdf", 1, 9, 9, false},
        {"annotated.pdf", 1, 0, 3, false},
        {"qpdf-page-labels-and-outlines.pdf", 5, 0, 0, true},
        {"pikepdf-dd0293-owner-only-aes128.pdf", 1, 0, 0, false},
    };
    CopySession session;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString source = CorpusFile(QString::fromUtf8(c.file));
        const QString path = outputPath(QString::fromUtf8(c.file));
        ComPtr<IDocObject> input = openInput(source);
        ComPtr<IDocObject> output = openOutput(path, kRunOptionsOfRun);
        ASSERT_TRUE(session.copy(*input, *output, c.page, c.page));
        ASSERT_EQ(output->Close(), S_OK);

        QPDF original;
        original.processFile(source.toStdString().c_str());
        QPDFPageObjectHelper originalPage = QPDFPageDocumentHelper(original).getAllPages().at(
            static_cast<std::size_t>(c.page - 1));
        QPDF copy;
        copy.processFile(path.toStdString().c_str());
        QPDFPageObjectHelper copiedPage = QPDFPageDocumentHelper(copy).getAllPages().at(0);
        EXPECT_EQ(copiedPage.getAnnotations().size(), originalPage.getAnnotations().size());
        EXPECT_GE(copiedPage.getAnnotations().size(), c.annotations);
        EXPECT_GE(QPDFAcroFormDocumentHelper(copy).getFormFields().size(), c.fields);
        if (c.fields > 0) {
            EXPECT_TRUE(copy.getRoot().getKey("/AcroForm").getKey("/DR").isDictionary());
        }
        QPDFPageLabelDocumentHelper labels(copy);
        EXPECT_EQ(labels.hasPageLabels(), c.labels);
        if (c.labels) {
            EXPECT_EQ(labels.getLabelForPage(0).unparse(),
                      QPDFPageLabelDocumentHelper(original).getLabelForPage(c.page - 1).unparse());
        }
    }
    EXPECT_TRUE(session.recorder().errors().empty());
}

TEST_F(CopyTest, PauseHoldsTheWorkerUntilResume)
{
    ComPtr<IDocObject> input = openInput(input_);
    ComPtr<IDocObject> output = openOutput(outputPath(QStringLiteral("paused.pdf")));
    CopySession session;
    ASSERT_EQ(session.operation().Pause(), S_OK);
    ASSERT_EQ(session.operation().SetDocuments(input.get(), output.get()), S_OK);
    ASSERT_EQ(session.operation().CopyPages(1, 6), S_OK);
    EXPECT_FALSE(session.recorder().waitForEvent(kEventPageDone, 1, 300ms));
    EXPECT_TRUE(session.recorder().entries().empty());
    ASSERT_EQ(session.operation().Resume(), S_OK);
    ASSERT_TRUE(session.recorder().waitForEvent(kEventPageDone));
    std::int32_t pages = 0;
    output->GetPageCount(&pages);
    EXPECT_EQ(pages, 6);
    const auto entries = session.recorder().entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[entries.size() - 2].kind, kNotifyProgress);
    EXPECT_EQ(entries[entries.size() - 2].first, 100);
}

TEST_F(CopyTest, StopAbandonsTheCopyAndLeavesNoFile)
{
    const QString bigInput = outputPath(QStringLiteral("big.pdf"));
    WriteTestPdf(bigInput, 300);
    QDir().mkdir(outputPath(QStringLiteral("out")));
    const QString path = outputPath(QStringLiteral("out/stopped.pdf"));
    ComPtr<IDocObject> input = openInput(bigInput);
    ComPtr<IDocObject> output = openOutput(path);
    CopySession session;
    ASSERT_EQ(session.operation().SetDocuments(input.get(), output.get()), S_OK);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(session.operation().CopyPages(1, 300), S_OK);
    ASSERT_EQ(session.operation().Stop(), S_OK);
    ASSERT_TRUE(session.recorder().waitForEvent(kEventStopped));
    EXPECT_EQ(output->Close(), S_FALSE);
    EXPECT_TRUE(FilesIn(outputPath(QStringLiteral("out"))).isEmpty());
    EXPECT_LT(session.recorder().eventCount(kEventPageDone), 5);

    // The operation serves the next run.
    const int doneBefore = session.recorder().eventCount(kEventPageDone);
    ComPtr<IDocObject> next = openOutput(path);
    ASSERT_TRUE(session.copy(*input, *next, 2, 2));
    EXPECT_EQ(session.recorder().eventCount(kEventPageDone), doneBefore + 1);
    ASSERT_EQ(next->Close(), S_OK);
    EXPECT_EQ(PageContents(path).size(), 1u);
}

TEST_F(CopyTest, StopWhilePausedStillReportsStopped)
{
    CopySession session;
    ASSERT_EQ(session.operation().Pause(), S_OK);
    ASSERT_EQ(session.operation().Stop(), S_OK);
    EXPECT_TRUE(session.recorder().waitForEvent(kEventStopped));
}

TEST_F(CopyTest, ErrorsAreNotifiedAndEveryCopyStillEnds)
{
    enum class Input
    {
        Unopened,
        Broken, // Open answered 0
        Good,
        Repaired, // opens, with warnings
        Corrupted, // opens; a compressed stream does not decode
    };
    struct Case
    {
        const char* name;
        Input input;
        bool openOutput;
        int first;
        int last;
        std::vector<std::int32_t> errors;
        int pagesAppended;
        bool warned; // the written output tells a warning
    };
    const Case cases[] = {
        {"input never opened", Input::Unopened, true, 1, 1, {kErrorInputUnreadable}, 0, false},
        {"input that is not a PDF", Input::Broken, true, 1, 1, {kErrorInputUnreadable}, 0, false},
        {"page beyond the end", Input::Good, true, 7, 7, {kErrorPageUnreadable}, 0, false},
        {"range running past the end", Input::Good, true, 5, 9, {kErrorPageUnreadable}, 2, false},
        {"page zero", Input::Good, true, 0, 1, {kErrorPageUnreadable}, 1, false},
        {"output never opened", Input::Good, false, 1, 3, {kErrorOutputUnwritable}, -1, false},
        {"input with a lost cross-reference table", Input::Repaired, true, 1, 2, {}, 2, true},
        {"input with garbage in compressed data", Input::Corrupted, true, 1, 3, {}, 3, true},
    };
    const QString broken = outputPath(QStringLiteral("broken.pdf"));
    QFile brokenFile(broken);
    ASSERT_TRUE(brokenFile.open(QIODevice::WriteOnly));
    brokenFile.write("%PDF-1.7\nthis is no PDF at all\n");
    brokenFile.close();
    const QString repaired = outputPath(QStringLiteral("repaired.pdf"));
    WriteWithLostCrossReference(input_, repaired);
    const QString corrupted = outputPath(QStringLiteral("corrupted.pdf"));
    WriteWithCorruptedStream(input_, corrupted);
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IDocObject> input = NewDocument();
        if (c.input == Input::Good) {
            input = openInput(input_);
        } else if (c.input == Input::Repaired) {
            input = openInput(repaired);
        } else if (c.input == Input::Corrupted) {
            input = openInput(corrupted);
        } else if (c.input == Input::Broken) {
            EXPECT_EQ(OpenForReading(*input, broken), 0);
        }
        const QString outputName = QStringLiteral("errors%1.pdf").arg(++index);
        ComPtr<IDocObject> output =
            c.openOutput ? openOutput(outputPath(outputName)) : NewDocument();
        CopySession session;
        ASSERT_TRUE(session.copy(*input, *output, c.first, c.last));
        EXPECT_EQ(session.recorder().errors(), c.errors);
        std::int32_t pages = 0;
        output->GetPageCount(&pages);
        EXPECT_EQ(pages, c.pagesAppended);
        output->Close();
        EXPECT_EQ(WarningOf(*output, 0).has_value(), c.warned);
    }
}

TEST_F(CopyTest, WarningsAreToldOnceAndKeptUntilTheOutputIsOpenedAgain)
{
    const QString repaired = outputPath(QStringLiteral("repaired.pdf"));
    WriteWithLostCrossReference(input_, repaired);
    ComPtr<IDocObject> input = openInput(repaired);
    ComPtr<IDocObject> output = openOutput(outputPath(QStringLiteral("first.pdf")));
    CopySession session;
    ASSERT_TRUE(session.copy(*input, *output, 1, 1));
    ASSERT_EQ(output->Close(), S_OK);
    ASSERT_TRUE(WarningOf(*output, 0));
    EXPECT_FALSE(WarningOf(*input, 0));

    // The input's damage was told by the first output.
    EXPECT_EQ(OpenForWriting(*output, outputPath(QStringLiteral("second.pdf"))), 1);
    EXPECT_FALSE(WarningOf(*output, 0));
    ASSERT_TRUE(session.copy(*input, *output, 2, 2));
    ASSERT_EQ(output->Close(), S_OK);
    EXPECT_FALSE(WarningOf(*output, 0));

    // An input cut short before the output reads its pages' data: a warning per page, of
    // which only so many are kept.
    const QString big = outputPath(QStringLiteral("big.pdf"));
    WriteTestPdf(big, 300);
    input = openInput(big);
    output = openOutput(outputPath(QStringLiteral("cut.pdf")));
    ASSERT_TRUE(session.copy(*input, *output, 1, 300));
    ASSERT_TRUE(QFile::resize(big, 300));
    ASSERT_EQ(output->Close(), S_OK);
    EXPECT_TRUE(WarningOf(*output, 50).value_or(QString()).contains(QStringLiteral("more")));
    EXPECT_FALSE(WarningOf(*output, 51));
}

TEST_F(CopyTest, OutputsTakeTheirNameWhenItIsFreeAndLeaveNothingElseBehind)
{
    // Open refuses a folder that does not exist, or a "folder" that is a file.
    ComPtr<IDocObject> output = NewDocument();
    EXPECT_LT(OpenForWriting(*output, outputPath(QStringLiteral("missing/out.pdf"))), 0);
    EXPECT_LT(OpenForWriting(*output, input_ + QStringLiteral("/out.pdf")), 0);

    ComPtr<IDocObject> input = openInput(input_);
    CopySession session;
    // The folder disappears between Open and Close.
    const QString gone = outputPath(QStringLiteral("gone"));
    QDir().mkdir(gone);
    output = openOutput(gone + QStringLiteral("/out.pdf"));
    ASSERT_TRUE(session.copy(*input, *output, 1, 2));
    QDir(gone).removeRecursively();
    EXPECT_EQ(output->Close(), S_FALSE);

    // What stands under the output's name when it is written.
    enum class Taken
    {
        No,
        ByFolder, // the rename fails after the data was written
        ByFile,   // which is not the run's to replace
    };
    struct Case
    {
        const char* name;
        QString fileName;
        Taken taken;
    };
    const Case cases[] = {
        {"a free name of 250 bytes", QString(246, u'x') + QStringLiteral(".pdf"), Taken::No},
        {"a folder", QStringLiteral("out.pdf"), Taken::ByFolder},
        {"a file", QStringLiteral("out.pdf"), Taken::ByFile},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = outputPath(QStringLiteral("case%1").arg(++index));
        QDir().mkdir(folder);
        const QString path = folder + QLatin1Char('/') + c.fileName;
        output = openOutput(path);
        ASSERT_TRUE(session.copy(*input, *output, 1, 2));
        QFile file(path);
        if (c.taken == Taken::ByFolder)
            QDir().mkpath(path + QStringLiteral("/inside"));
        if (c.taken == Taken::ByFile) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not ours") == 8);
            file.close();
        }
        EXPECT_EQ(output->Close(), c.taken == Taken::No ? S_OK : S_FALSE);
        EXPECT_EQ(FilesIn(folder),
                  c.taken == Taken::ByFolder ? QStringList() : QStringList{c.fileName});
        if (c.taken == Taken::No) {
            EXPECT_EQ(PageContents(path).size(), 2u);
        }
        if (c.taken == Taken::ByFile) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), QByteArray("not ours"));
        }
    }

    const std::vector<std::int32_t> failures(3, kErrorOutputUnwritable);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (session.recorder().errors().size() < failures.size() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(session.recorder().errors(), failures);
}

TEST_F(CopyTest, UnadvisedSinksHearNothingMore)
{
    ComPtr<IDocObject> input = openInput(input_);
    ComPtr<IDocObject> output = openOutput(outputPath(QStringLiteral("quiet.pdf")));
    CopySession session;
    auto quiet = MakeComObject<NotifyRecorder>();
    std::int32_t cookie = 0;
    ASSERT_EQ(session.operation().Advise(quiet.get(), &cookie), S_OK);
    ASSERT_TRUE(session.copy(*input, *output, 1, 1));
    ASSERT_EQ(session.operation().Unadvise(cookie), S_OK);
    EXPECT_EQ(session.operation().Unadvise(cookie), E_INVALIDARG);
    ASSERT_TRUE(session.copy(*input, *output, 2, 2));
    EXPECT_EQ(quiet->eventCount(kEventPageDone), 1);
}

// Runs this thread's event loop until done() holds or the timeout passes.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

void PumpFor(std::chrono::milliseconds time)
{
    PumpUntil([] { return false; }, time);
}

ComPtr<IOperationThreading> ThreadingOf(IOperationCtrl& operation)
{
    ComPtr<IOperationThreading> threading;
    operation.QueryInterface(InterfaceId<IOperationThreading>::value,
                             reinterpret_cast<void**>(threading.put()));
    return threading;
}

TEST_F(CopyTest, TheThreadingIsChosenOnceBeforeTheFirstRequest)
{
    struct Case
    {
        const char* name;
        std::function<void(IOperationCtrl&)> before; // requests made before the choice
        std::int32_t model;
        bool fromOtherThread;
        HRESULT expected;
    };
    const Case cases[] = {
        {"worker", nullptr, kThreadingWorker, false, S_OK},
        {"caller", nullptr, kThreadingCaller, false, S_OK},
        {"unknown model", nullptr, 7, false, E_INVALIDARG},
        {"caller from a thread without the event loop", nullptr, kThreadingCaller, true, E_FAIL},
        {"worker from another thread", nullptr, kThreadingWorker, true, S_OK},
        {"after a pause", [](IOperationCtrl& op) { op.Pause(); }, kThreadingCaller, false, E_FAIL},
        {"after a stop", [](IOperationCtrl& op) { op.Stop(); }, kThreadingCaller, false, E_FAIL},
        {"after a copy", [](IOperationCtrl& op) { op.CopyPages(1, 1); }, kThreadingWorker, false, E_FAIL},
    };
    for (const Case& c : cases) {
        CopySession session;
        const ComPtr<IOperationThreading> threading = ThreadingOf(session.operation());
        ASSERT_TRUE(threading);
        if (c.before)
            c.before(session.operation());
        HRESULT result = E_UNEXPECTED;
        if (c.fromOtherThread)
            std::thread([&] { result = threading->SetThreading(c.model); }).join();
        else
            result = threading->SetThreading(c.model);
        EXPECT_EQ(result, c.expected) << c.name;
    }
}

TEST_F(CopyTest, OnTheCallerThreadEveryStepComesFromItsEventLoop)
{
    // The run's way again: each page-done event closes the output and starts the next one.
    ComPtr<IDocObject> input = openInput(input_);
    CopySession session;
    ASSERT_EQ(ThreadingOf(session.operation())->SetThreading(kThreadingCaller), S_OK);
    std::vector<ComPtr<IDocObject>> outputs;
    for (int page = 1; page <= 6; ++page)
        outputs.push_back(openOutput(outputPath(QStringLiteral("page%1.pdf").arg(page))));
    int current = 1;
    bool insideCall = false;
    session.recorder().setReaction([&](std::int32_t kind, std::int32_t, std::int32_t event) {
        EXPECT_FALSE(insideCall) << "notified from inside a call of the program";
        if (kind != kNotifyEvent || event != kEventPageDone)
            return;
        const int done = current++;
        insideCall = true;
        EXPECT_EQ(outputs[static_cast<std::size_t>(done - 1)]->Close(), S_OK);
        if (done < 6) {
            session.operation().SetDocuments(input.get(), outputs[static_cast<std::size_t>(done)].get());
            session.operation().CopyPages(done + 1, done + 1);
        }
        insideCall = false;
    });
    ASSERT_EQ(session.operation().SetDocuments(input.get(), outputs[0].get()), S_OK);
    ASSERT_EQ(session.operation().CopyPages(1, 1), S_OK);
    EXPECT_TRUE(session.recorder().entries().empty()) << "work done inside CopyPages";
    ASSERT_TRUE(PumpUntil([&] { return session.recorder().eventCount(kEventPageDone) == 6; }));
    for (int page = 1; page <= 6; ++page) {
        EXPECT_EQ(PageContents(outputPath(QStringLiteral("page%1.pdf").arg(page))),
                  std::vector<std::string>{inputPages_[static_cast<std::size_t>(page - 1)]});
    }
    for (const auto& entry : session.recorder().entries())
        EXPECT_EQ(entry.thread, std::this_thread::get_id());
}

TEST_F(CopyTest, OnTheCallerThreadPauseAndStopTakeEffectBetweenSteps)
{
    const QString bigInput = outputPath(QStringLiteral("big.pdf"));
    WriteTestPdf(bigInput, 40);
    QDir().mkdir(outputPath(QStringLiteral("out")));
    ComPtr<IDocObject> input = openInput(bigInput);
    ComPtr<IDocObject> paused = openOutput(outputPath(QStringLiteral("out/paused.pdf")));
    CopySession session;
    ASSERT_EQ(ThreadingOf(session.operation())->SetThreading(kThreadingCaller), S_OK);

    ASSERT_EQ(session.operation().Pause(), S_OK);
    ASSERT_EQ(session.operation().SetDocuments(input.get(), paused.get()), S_OK);
    ASSERT_EQ(session.operation().CopyPages(1, 3), S_OK);
    PumpFor(200ms);
    EXPECT_TRUE(session.recorder().entries().empty());
    ASSERT_EQ(session.operation().Resume(), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return session.recorder().eventCount(kEventPageDone) == 1; }));
    ASSERT_EQ(paused->Close(), S_OK);
    EXPECT_EQ(PageContents(outputPath(QStringLiteral("out/paused.pdf"))).size(), 3u);

    // A stop asked for inside a notification ends the copy under way at its next page.
    ComPtr<IDocObject> stopped = openOutput(outputPath(QStringLiteral("out/stopped.pdf")));
    session.recorder().setReaction([&](std::int32_t kind, std::int32_t percent, std::int32_t) {
        if (kind == kNotifyProgress && percent >= 10)
            session.operation().Stop();
    });
    ASSERT_EQ(session.operation().SetDocuments(input.get(), stopped.get()), S_OK);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(session.operation().CopyPages(1, 40), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return session.recorder().eventCount(kEventStopped) == 1; }));
    PumpFor(100ms);
    EXPECT_EQ(session.recorder().eventCount(kEventPageDone), 1) << "copies after the stop ran";
    std::int32_t appended = 0;
    stopped->GetPageCount(&appended);
    EXPECT_LT(appended, 40);
    EXPECT_EQ(stopped->Close(), S_FALSE);
    EXPECT_EQ(FilesIn(outputPath(QStringLiteral("out"))), QStringList{QStringLiteral("paused.pdf")});
}

} // namespace
