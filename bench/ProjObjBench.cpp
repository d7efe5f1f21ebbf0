// Building the page map of 100,000 entries, three persistent objects per entry: a
// TConvPageInfo owning its input and output TPageInfo. Reports the build time (freeing the map is not timed), the heap the map holds
// and the growth of the process's peak resident size.

#include "split/PageList.h"

#include <benchmark/benchmark.h>

#include <chrono>

#include <malloc.h>
#include <sys/resource.h>

namespace {

constexpr int kEntries = 100000;
constexpr double kMegabyte = 1024.0 * 1024.0;

// One output file per ten pages of one input document; the entries of one output file share
// its name, as the planner fills the map.
void FillPageMap(TPageList& map, int entries)
{
    const QString input = QStringLiteral("/home/user/Documents/manual.pdf");
    QString output;
    for (int i = 0; i < entries; ++i) {
        if (i % 10 == 0)
            output = QStringLiteral("/home/user/Documents/Out/manual_%1.pdf").arg(i / 10 + 1);
        TConvPageInfo* entry = map.NewItem();
        TPageInfo& in = *entry->InPage();
        in.SetFileName(input);
        in.SetPageValue(i + 1);
        in.SetPageIndex(i);
        TPageInfo& out = *entry->OutPage();
        out.SetFileName(output);
        out.SetPageValue(i + 1);
        out.SetFileIndex(i / 10);
        out.SetPageIndex(i % 10);
    }
}

double HeapInUse()
{
    return static_cast<double>(mallinfo2().uordblks);
}

double PeakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

// Taken before any benchmark runs: the benchmark function itself is entered several times.
const double kPeakAtStart = PeakResidentBytes();

void BM_BuildPageMap(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    double heapHeld = 0;
    // The first build of the process takes all of its memory from the system.
    static double firstBuildMs = -1;
    for (auto _ : state) {
        const double heapBefore = HeapInUse();
        const auto start = std::chrono::steady_clock::now();
        auto map = std::make_unique<TPageList>();
        FillPageMap(*map, entries);
        benchmark::DoNotOptimize(map->Count());
        state.PauseTiming();
        if (firstBuildMs < 0)
            firstBuildMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        heapHeld = HeapInUse() - heapBefore;
        map.reset();
        state.ResumeTiming();
    }
    state.counters["entries"] = entries;
    state.counters["first_build_ms"] = firstBuildMs;
    state.counters["heap_MB"] = heapHeld / kMegabyte;
    state.counters["bytes_per_entry"] = heapHeld / entries;
    state.counters["peak_rss_growth_MB"] = (PeakResidentBytes() - kPeakAtStart) / kMegabyte;
}
BENCHMARK(BM_BuildPageMap)->Arg(kEntries)->Unit(benchmark::kMillisecond);

// Copying a whole map with Assign: the framework's walk over the published properties of
// every object.
void BM_AssignPageMap(benchmark::State& state)
{
    TPageList source;
    FillPageMap(source, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TPageList copy;
        copy.Assign(source);
        benchmark::DoNotOptimize(copy.Count());
    }
}
BENCHMARK(BM_AssignPageMap)->Arg(kEntries)->Unit(benchmark::kMillisecond);

} // namespace

