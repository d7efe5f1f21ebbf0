#include "OutlineModel.h"

#include "OutlineDestination.h"

#include <qpdf/QPDF.hh>

#include <algorithm>
#include <exception>
#include <set>

namespace {

QString TitleOf(QPDFObjectHandle item)
{
    QPDFObjectHandle title = item.getKey("/Title");
    return title.isString() ? QString::fromStdString(title.getUTF8Value()) : QString();
}

// An outline item not met before. Loops can only pass through indirect objects.
bool IsNewItem(QPDFObjectHandle item, std::set<QPDFObjGen>& seen)
{
    if (!item.isDictionary())
        return false;
    return !item.isIndirect() || seen.insert(item.getObjGen()).second;
}

int PageCountOf(QPDF& pdf)
{
    try {
        return static_cast<int>(pdf.getAllPages().size());
    } catch (const std::exception&) {
        return 0;
    }
}

} // namespace

OutlineModel::OutlineModel() : entries_(1) {}

OutlineModel OutlineModel::Read(QPDF& pdf)
{
    OutlineModel model;
    std::vector<PageTarget> targets(1);
    std::optional<OutlineDestination> destinations;
    Walk(pdf, [&](int parent, QPDFObjectHandle item) {
        if (!destinations)
            destinations.emplace(pdf);
        model.add(parent, item, destinations->resolve(item), targets);
    });
    model.assignSections(targets, PageCountOf(pdf));
    return model;
}

void OutlineModel::Walk(QPDF& pdf, const Visit& visit)
{
    try {
        QPDFObjectHandle outlines = pdf.getRoot().getKey("/Outlines");
        if (!outlines.isDictionary())
            return;
        std::set<QPDFObjGen> seen;
        // The path from the root to the list being read: each level's parent and next item.
        struct Level
        {
            int parent;
            int level;
            QPDFObjectHandle next;
        };
        std::vector<Level> path{{0, 0, outlines.getKey("/First")}};
        int entries = 1; // the root
        while (!path.empty() && entries < kMaxEntries) {
            QPDFObjectHandle item = path.back().next;
            if (!IsNewItem(item, seen)) {
                path.pop_back();
                continue;
            }
            path.back().next = item.getKey("/Next");
            const int handle = entries++;
            const int level = path.back().level + 1;
            visit(path.back().parent, item);
            if (level < kMaxLevel)
                path.push_back({handle, level, item.getKey("/First")});
        }
    } catch (const std::exception&) {
        // A damaged outline: keep the bookmarks read so far.
    }
}

std::optional<int> OutlineModel::childOf(int handle, int index) const
{
    if (handle < 0 || handle >= entryCount())
        return std::nullopt;
    const std::vector<int>& children = entries_[static_cast<std::size_t>(handle)].children;
    if (index < 0 || index >= static_cast<int>(children.size()))
        return std::nullopt;
    return children[static_cast<std::size_t>(index)];
}

int OutlineModel::add(int parent, QPDFObjectHandle item, const PageTarget& target,
                      std::vector<PageTarget>& targets)
{
    const int handle = entryCount();
    OutlineEntry entry;
    entry.level = entries_[static_cast<std::size_t>(parent)].level + 1;
    entry.parent = parent;
    entry.title = TitleOf(item);
    entry.item = item;
    entries_.push_back(std::move(entry));
    entries_[static_cast<std::size_t>(parent)].children.push_back(handle);
    targets.push_back(target);
    depth_ = std::max(depth_, entries_.back().level);
    return handle;
}

// Walks the entries backwards, keeping the bookmarks that can still end a section: each one
// leads to a page, and their levels rise towards the most recent (nearest) one. A bookmark
// hides the farther ones on its own or deeper levels, since it ends every section they could.
void OutlineModel::assignSections(const std::vector<PageTarget>& targets, int pageCount)
{
    const std::vector<bool> belowTop = StartsBelowTop(targets);
    struct Candidate
    {
        int level;
        int handle;
    };
    std::vector<Candidate> candidates;
    for (int handle = entryCount() - 1; handle >= 1; --handle) {
        const PageTarget& target = targets[static_cast<std::size_t>(handle)];
        OutlineEntry& entry = entries_[static_cast<std::size_t>(handle)];
        if (target.pageIndex < 0)
            continue;
        entry.firstPage = target.pageIndex + 1;
        const auto end = std::upper_bound(
            candidates.begin(), candidates.end(), entry.level,
            [](int level, const Candidate& candidate) { return level < candidate.level; });
        if (end == candidates.begin()) {
            entry.lastPage = entry.lastPageBoth = pageCount;
        } else {
            const Candidate& next = *(end - 1);
            const int nextPage = entries_[static_cast<std::size_t>(next.handle)].firstPage;
            entry.lastPage = nextPage - 1;
            entry.lastPageBoth =
                belowTop[static_cast<std::size_t>(next.handle)] ? nextPage : nextPage - 1;
        }
        while (!candidates.empty() && candidates.back().level >= entry.level)
            candidates.pop_back();
        candidates.push_back({entry.level, handle});
    }
}
