// The document engine against `qpdf --split-pages=1`: both split the same document of more
// than 500 pages into one output per page, each as a process of its own, in the same run.
// Reported: the wall time and the peak memory (maximum resident set) of both, and the ratio of
// the wall times (engine / qpdf; the goal is at most 1.1). The engine copies on a worker
// thread, and a process with threads loses the single-thread fast paths of the C and C++
// runtimes; qpdf is therefore also run with one idle thread preloaded (qpdf_mt_s, ratio_mt)
// to show that share. Also the time the outline queries take, as the split planner makes them,
// on the largest outline of the corpus and on 100,000 bookmarks.
//
// The document is made from the corpus in <build>/bench-data the first time (needs qpdf and
// tests/data).

#include "engine/DocEngine.h"
#include "engine/EngineLoader.h"
#include "shell/PathUtils.h"

#include <benchmark/benchmark.h>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <vector>

#if defined(__unix__)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace {

// Made once: the program's folder comes from the application object.
void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "EngineSplitBench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

QString CorpusFile(const char* name)
{
    return QStringLiteral(TAVLO_CORPUS_DIR "/") + QString::fromUtf8(name);
}

// geotopo four times and a few pages with labels, form fields and annotations: 504 pages.
QString LargeDocument()
{
    const QString folder = ApplicationFolder() + QStringLiteral("../bench-data");
    const QString path = folder + QStringLiteral("/split-504-pages.pdf");
    if (QFileInfo::exists(path))
        return path;
    QDir().mkpath(folder);
    QStringList arguments{QStringLiteral("--empty"), QStringLiteral("--pages")};
    for (int i = 0; i < 4; ++i)
        arguments << CorpusFile("geotopo-komprimiert.pdf");
    arguments << CorpusFile("qpdf-page-labels-and-outlines.pdf") << CorpusFile("pdflatex-4-pages.pdf")
              << CorpusFile("libreoffice-form.pdf") << CorpusFile("annotated.pdf")
              << QStringLiteral("--") << path;
    const int status = QProcess::execute(QStringLiteral("qpdf"), arguments);
    return status == 0 || status == 3 ? path : QString(); // 3: done, with warnings
}

struct Measured
{
    double seconds = 0;
    double peakMegabytes = 0;
    int exitCode = -1;
};

// Runs a program to its end, with extra environment entries; its wall time and peak resident
// memory.
// (POSIX only: elsewhere nothing runs and the benchmark reports the split as failed.)
Measured RunMeasured(const std::vector<std::string>& command,
                     const std::vector<std::string>& extraEnvironment = {})
{
#if defined(__unix__)
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> environment;
    for (const std::string& entry : extraEnvironment)
        environment.push_back(const_cast<char*>(entry.c_str()));
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.push_back(*entry);
    environment.push_back(nullptr);
    Measured measured;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environment.data()) != 0)
        return measured;
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    measured.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measured.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    measured.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return measured;
#else
    (void)command;
    (void)extraEnvironment;
    return {};
#endif
}

// Where the outputs go: memory when it can take them, so that both measure work, not the disk.
QString ScratchFolder()
{
    return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                               : QDir::tempPath();
}

// qpdf splitting the document into a new folder; extraEnvironment as for RunMeasured.
Measured QpdfSplit(const QString& document, const std::vector<std::string>& extraEnvironment = {})
{
    QTemporaryDir folder(ScratchFolder() + QStringLiteral("/qpdf-split-XXXXXX"));
    return RunMeasured({"qpdf", "--split-pages=1", document.toStdString(),
                        (folder.path() + QStringLiteral("/page.pdf")).toStdString()},
                       extraEnvironment);
}

Measured EngineSplit(const QString& document)
{
    QTemporaryDir folder(ScratchFolder() + QStringLiteral("/engine-split-XXXXXX"));
    return RunMeasured({(ApplicationFolder() + QStringLiteral("EngineSplit")).toStdString(),
                        document.toStdString(), folder.path().toStdString()});
}

void BM_SplitPerPage(benchmark::State& state)
{
    EnsureApplication();
    const QString document = LargeDocument();
    if (document.isEmpty()) {
        state.SkipWithError("cannot make the test document (qpdf and the corpus are needed)");
        return;
    }
    const QString preload = ApplicationFolder() + QStringLiteral("IdleThreadPreload.so");
    const bool canPreload = QFileInfo::exists(preload);
    double engineSeconds = 0, qpdfSeconds = 0, qpdfThreadedSeconds = 0;
    double enginePeak = 0, qpdfPeak = 0;
    for (auto _ : state) {
        const Measured qpdf = QpdfSplit(document);
        const Measured engine = EngineSplit(document);
        if (engine.exitCode != 0 || (qpdf.exitCode != 0 && qpdf.exitCode != 3)) {
            state.SkipWithError("a split failed");
            return;
        }
        if (canPreload)
            qpdfThreadedSeconds += QpdfSplit(document, {"LD_PRELOAD=" + preload.toStdString()}).seconds;
        state.SetIterationTime(engine.seconds);
        engineSeconds += engine.seconds;
        qpdfSeconds += qpdf.seconds;
        enginePeak = std::max(enginePeak, engine.peakMegabytes);
        qpdfPeak = std::max(qpdfPeak, qpdf.peakMegabytes);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["engine_s"] = engineSeconds / runs;
    state.counters["qpdf_s"] = qpdfSeconds / runs;
    state.counters["ratio"] = engineSeconds / qpdfSeconds;
    state.counters["engine_peak_MB"] = enginePeak;
    state.counters["qpdf_peak_MB"] = qpdfPeak;
    if (canPreload) {
        state.counters["qpdf_mt_s"] = qpdfThreadedSeconds / runs;
        state.counters["ratio_mt"] = engineSeconds / qpdfThreadedSeconds;
    }
}
BENCHMARK(BM_SplitPerPage)->Iterations(5)->UseManualTime()->Unit(benchmark::kSecond);

std::int32_t PdfAdapterKey(IEnumCtrl& root)
{
    std::int32_t count = 0;
    root.EnumAdapters((ApplicationFolder() + QStringLiteral("plugins")).toStdU16String().c_str(), &count);
    return count > 0 ? 1 : 0;
}

// What the planner asks: the depth, then the whole tree, child by child.
int ReadWholeOutline(IDocObject& document)
{
    std::int32_t depth = 0;
    ControlRecord(document, kControlOutlineDepth, &depth);
    TOutlineNode root{};
    root.ChildIndex = 1;
    ControlRecord(document, kControlOutlineNode, &root);
    int nodes = 0;
    std::function<void(const TOutlineNode&)> readChildren = [&](const TOutlineNode& parent) {
        for (int c = 0; c < parent.ChildCount; ++c) {
            TOutlineNode child = parent;
            child.ChildIndex = c;
            child.ChildCount = parent.Level == 0 ? 1 : 0;
            ControlRecord(document, kControlOutlineNode, &child);
            ++nodes;
            readChildren(child);
        }
    };
    readChildren(root);
    return nodes;
}

// 100,000 pages with one top-level bookmark each, at the usual top margin: an outline of the
// size that shows any cost above linear. Made the first time.
QString LargeOutlineDocument()
{
    constexpr int kPages = 100000;
    const QString folder = ApplicationFolder() + QStringLiteral("../bench-data");
    const QString path = folder + QStringLiteral("/outline-100000.pdf");
    if (QFileInfo::exists(path))
        return path;
    QDir().mkpath(folder);
    QPDF pdf;
    pdf.emptyPDF();
    QPDFPageDocumentHelper pages(pdf);
    QPDFObjectHandle outlines = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Outlines >>"));
    std::vector<QPDFObjectHandle> items;
    for (int i = 0; i < kPages; ++i) {
        const std::string number = std::to_string(i + 1);
        QPDFObjectHandle page =
            pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>"));
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, "% page " + number));
        pages.addPage(page, false);
        items.push_back(pdf.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Title (Chapter " + number + ") /Dest [null /XYZ 72 720 null] >>")));
        items.back().getKey("/Dest").setArrayItem(0, page);
        items.back().replaceKey("/Parent", outlines);
    }
    for (std::size_t i = 1; i < items.size(); ++i) {
        items[i - 1].replaceKey("/Next", items[i]);
        items[i].replaceKey("/Prev", items[i - 1]);
    }
    outlines.replaceKey("/First", items.front());
    outlines.replaceKey("/Last", items.back());
    outlines.replaceKey("/Count", QPDFObjectHandle::newInteger(kPages));
    pdf.getRoot().replaceKey("/Outlines", outlines);
    const std::string fileName = path.toStdString(); // the writer keeps the pointer
    QPDFWriter writer(pdf, fileName.c_str());
    writer.write();
    return path;
}

// The bookmark queries of one planning pass: the depth, then every node as the planner
// fetches them, on a document just opened, so that reading the outline is included.
// timed:0 is Open and Close alone, timed:1 the queries alone, timed:2 the whole pass (Open,
// queries, Close). document:0 is geotopo (35 bookmarks over 1321 named destinations: the
// largest outline of the corpus), document:1 the 100,000 bookmarks.
void BM_OutlineQueries(benchmark::State& state)
{
    EnsureApplication();
    ComPtr<IEnumCtrl> root = CreateEngineEnumCtrl();
    if (!root || PdfAdapterKey(*root) == 0) {
        state.SkipWithError("the engine did not load");
        return;
    }
    const bool queries = state.range(0) != 0;
    const bool queriesOnly = state.range(0) == 1;
    const QString file = state.range(1) == 0 ? CorpusFile("geotopo-komprimiert.pdf")
                                             : LargeOutlineDocument();
    const std::u16string path = file.toStdU16String();
    int nodes = 0;
    for (auto _ : state) {
        if (queriesOnly)
            state.PauseTiming();
        ComPtr<IDocObject> document;
        root->CreateDocObject(1, document.put());
        std::int32_t pages = 0;
        document->Open(path.c_str(), kOpenRead, &pages);
        if (pages <= 0) {
            state.SkipWithError("cannot open the document");
            return;
        }
        if (queriesOnly)
            state.ResumeTiming();
        if (queries)
            nodes = ReadWholeOutline(*document);
        if (queriesOnly)
            state.PauseTiming();
        document->Close();
        document.reset();
        if (queriesOnly)
            state.ResumeTiming();
    }
    state.counters["bookmarks"] = nodes;
}
BENCHMARK(BM_OutlineQueries)
    ->ArgNames({"timed", "document"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace
