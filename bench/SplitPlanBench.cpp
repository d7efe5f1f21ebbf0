// Planning a run over a large document, and walking its page map the way the run does.

#include "model/TavloProj.h"
#include "shell/LanguageMgr.h"
#include "shell/ProductConfig.h"
#include "split/TavloConvert.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// Makes "All" the all-pages word, as the shipped language files do.
void SelectAllPagesWord(const QTemporaryDir& folder)
{
    QFile file(folder.filePath(QStringLiteral("English.dat")));
    file.open(QIODevice::WriteOnly);
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LanguageResource Id=\"ENG\" name=\"English\">"
               "<Strings><sAll>All</sAll></Strings></LanguageResource>\n");
    file.close();
    LanguageMgr().LoadLanguages(folder.path() + QStringLiteral("/*.dat"));
    LanguageMgr().SelectLanguage(QStringLiteral("ENG"));
}

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// One document of state.range(0) pages (not read: planning needs only its page count),
// planned one output per page, then every entry asked the run's four tests.
void BM_PlanAndWalk(benchmark::State& state)
{
    int argc = 1;
    char name[] = "SplitPlanBench";
    char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    SelectAllPagesWord(folder);
    ProductConfig().InFormat = ffPdf;
    ProductConfig().OutFormat = ffPdf;
    ProductConfig().CustomPath = false;

    TTavloProj job;
    TTavloConvert run(job);
    TFileInfo& document = *job.Files()->NewItem();
    document.SetSource(folder.filePath(QStringLiteral("big.pdf")));
    document.SetTotalPage(static_cast<int>(state.range(0)));
    job.Method()->SetOption(soEveryPage);
    job.Method()->SetEveryPageNum(1);
    int answers = 0;
    for (auto _ : state) {
        document.SetPageScore(QStringLiteral("1"));
        document.SetPageScore(QStringLiteral("All"));
        run.PlanOnly();
        TPageList& map = *run.PageList();
        for (int i = 0; i < map.Count(); ++i) {
            map.SetCurrentIndex(i);
            answers += map.IsFirstOfInput() + map.IsLastOfInput() + map.IsFirstOfOutput() +
                       map.IsLastOfOutput();
        }
    }
    benchmark::DoNotOptimize(answers);
    state.counters["entries"] = static_cast<double>(run.PageList()->Count());
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_PlanAndWalk)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
