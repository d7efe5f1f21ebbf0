#include "model/PageStr.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

constexpr int kItems = 100000;

struct Selection
{
    QString text;
    int pageCount = 0;
};

// Ascending groups of a single page and a range of four pages, "1,3-6,8,10-13,...", three
// items per group (a range is two items); 100,000 items, 166,667 pages.
Selection MixedSelection()
{
    Selection selection;
    int page = 1;
    for (int item = 0; item < kItems; item += 3) {
        if (item > 0)
            selection.text += u',';
        selection.text += QString::number(page);
        if (item + 1 < kItems)
            selection.text += u',' + QString::number(page + 2);
        if (item + 2 < kItems)
            selection.text += u'-' + QString::number(page + 5);
        selection.pageCount = page + 5;
        page += 7;
    }
    return selection;
}

// "1,2,3,...,100000": one item per page.
Selection SinglePages()
{
    Selection selection;
    for (int page = 1; page <= kItems; ++page) {
        if (page > 1)
            selection.text += u',';
        selection.text += QString::number(page);
    }
    selection.pageCount = kItems;
    return selection;
}

Selection ForKind(benchmark::State& state)
{
    const bool mixed = state.range(0) == 0;
    state.SetLabel(mixed ? "pages and ranges" : "single pages");
    return mixed ? MixedSelection() : SinglePages();
}

void BM_ExpandPageStr(benchmark::State& state)
{
    const Selection selection = ForKind(state);
    qsizetype pages = 0;
    for (auto _ : state) {
        const QList<int> list = ExpandPageStr(selection.text, selection.pageCount, u"All");
        pages = list.size();
        benchmark::DoNotOptimize(list.constData());
    }
    state.SetItemsProcessed(state.iterations() * kItems);
    state.counters["pages"] = double(pages);
}
BENCHMARK(BM_ExpandPageStr)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ValidatePageStr(benchmark::State& state)
{
    const Selection selection = ForKind(state);
    if (!ValidatePageStr(selection.text, selection.pageCount))
        state.SkipWithError("selection is not valid");
    for (auto _ : state)
        benchmark::DoNotOptimize(ValidatePageStr(selection.text, selection.pageCount));
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_ValidatePageStr)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ExpandToBound(benchmark::State& state)
{
    for (auto _ : state) {
        const QList<int> list = ExpandPageStr(u"1-2147483647", 10, u"All");
        benchmark::DoNotOptimize(list.constData());
    }
    state.SetItemsProcessed(state.iterations() * kMaxExpandedPages);
}
BENCHMARK(BM_ExpandToBound)->Unit(benchmark::kMillisecond);

void BM_PageListTexts(benchmark::State& state)
{
    const Selection selection = SinglePages();
    const QList<int> pages = ExpandPageStr(selection.text, selection.pageCount, u"All");
    for (auto _ : state) {
        const QStringList texts = PageListTexts(pages);
        benchmark::DoNotOptimize(texts.constData());
    }
    state.SetItemsProcessed(state.iterations() * pages.size());
}
BENCHMARK(BM_PageListTexts)->Unit(benchmark::kMillisecond);

} // namespace
