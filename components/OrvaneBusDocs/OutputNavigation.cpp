#include "OutputNavigation.h"

#include "DestinationResolver.h"
#include "NavigationIndex.h"
#include "PdfSource.h"
#include "RunPageMap.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <utility>

namespace {

QPDFObjectHandle Dictionary(std::initializer_list<std::pair<const char*, QPDFObjectHandle>> items)
{
    QPDFObjectHandle dictionary = QPDFObjectHandle::newDictionary();
    for (const auto& [key, value] : items)
        dictionary.replaceKey(key, value);
    return dictionary;
}

// A destination array whose first item is `page`: an output page, or the page number in a
// sibling file. A destination without a view shows the whole page.
QPDFObjectHandle DestinationTo(QPDFObjectHandle page, const std::vector<ViewItem>& view)
{
    QPDFObjectHandle destination = QPDFObjectHandle::newArray();
    destination.appendItem(page);
    if (view.empty())
        destination.appendItem(QPDFObjectHandle::newName("/Fit"));
    for (const ViewItem& item : view)
        destination.appendItem(item.toObject());
    return destination;
}

// An output's outline item with the bookmark's title and looks (colour and style).
QPDFObjectHandle OutlineItem(const NavigationIndex::Bookmark& bookmark)
{
    QPDFObjectHandle item = QPDFObjectHandle::newDictionary();
    item.replaceKey("/Title", bookmark.title ? QPDFObjectHandle::newString(*bookmark.title)
                                             : QPDFObjectHandle::newUnicodeString(""));
    if (!bookmark.colour.empty())
        item.replaceKey("/C", QPDFObjectHandle::parse(bookmark.colour));
    if (bookmark.style)
        item.replaceKey("/F", QPDFObjectHandle::newInteger(*bookmark.style));
    return item;
}

// Hangs the items `kids` under `parent`, in order.
void LinkChildren(QPDFObjectHandle parent, const std::vector<int>& kids,
                  std::vector<QPDFObjectHandle>& items)
{
    if (kids.empty())
        return;
    parent.replaceKey("/First", items[static_cast<std::size_t>(kids.front())]);
    parent.replaceKey("/Last", items[static_cast<std::size_t>(kids.back())]);
    for (std::size_t i = 0; i < kids.size(); ++i) {
        QPDFObjectHandle item = items[static_cast<std::size_t>(kids[i])];
        item.replaceKey("/Parent", parent);
        if (i > 0)
            item.replaceKey("/Prev", items[static_cast<std::size_t>(kids[i - 1])]);
        if (i + 1 < kids.size())
            item.replaceKey("/Next", items[static_cast<std::size_t>(kids[i + 1])]);
    }
}

// The output's own copy of a value of the input. References in it are copied with what they
// refer to: written as they stand, they would name whatever object the output numbers so.
QPDFObjectHandle CopyOfValue(QPDF& output, QPDFObjectHandle value)
{
    if (value.isIndirect())
        return output.copyForeignObject(value);
    if (value.isArray()) {
        QPDFObjectHandle copy = QPDFObjectHandle::newArray();
        for (const QPDFObjectHandle& item : value.aitems())
            copy.appendItem(CopyOfValue(output, item));
        return copy;
    }
    if (value.isDictionary()) {
        QPDFObjectHandle copy = QPDFObjectHandle::newDictionary();
        for (const auto& [key, item] : value.ditems())
            copy.replaceKey(key, CopyOfValue(output, item));
        return copy;
    }
    return QPDFObjectHandle::parse(value.unparse());
}

template <class Step>
void AsAnExtra(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
        // Damage in what navigation reads costs that part of it, never the output's pages.
    }
}

} // namespace

OutputNavigation::OutputNavigation(QPDF& output, PdfSource& input, std::vector<int> inputPages,
                                   const RunPageMap* runMap, QString outputPath)
    : output_(output), input_(input), index_(input.navigation()),
      destinations_(input.destinations()),
      inputPages_(std::move(inputPages)), runMap_(runMap), outputPath_(std::move(outputPath))
{
    outputPages_ = output_.getAllPages();
    for (std::size_t i = 0; i < inputPages_.size(); ++i)
        positions_.emplace(inputPages_[i], static_cast<int>(i));
    if (runMap_)
        outputNumber_ = runMap_->outputOf(outputPath_);
}

void OutputNavigation::apply()
{
    if (outputPages_.size() != inputPages_.size())
        return; // not the pages this navigation was made for
    AsAnExtra([this] { copyDocumentEntries(); });
    AsAnExtra([this] { addOutline(); });
    AsAnExtra([this] { fixLinks(); });
    AsAnExtra([this] { addNamedDestinations(); });
    AsAnExtra([this] { addOpeningView(); });
}

void OutputNavigation::copyDocumentEntries()
{
    QPDFObjectHandle from = input_.pdf().getRoot();
    QPDFObjectHandle to = output_.getRoot();
    for (const char* key : {"/Lang", "/PageMode", "/ViewerPreferences"}) {
        AsAnExtra([&] {
            QPDFObjectHandle value = from.getKey(key);
            if (!value.isNull())
                to.replaceKey(key, CopyOfValue(output_, value));
        });
    }
    QPDFObjectHandle metadata = from.getKey("/Metadata");
    if (metadata.isStream() && metadata.isIndirect())
        to.replaceKey("/Metadata", output_.copyForeignObject(metadata));
}

// Keeps every bookmark that leads to a page of the output, and the ancestors of those, in
// their order and nesting. An ancestor kept for its descendants leads where the first of them
// leads.
void OutputNavigation::addOutline()
{
    const std::vector<NavigationIndex::Bookmark>& bookmarks = index_.bookmarks();
    std::vector<char> kept(bookmarks.size(), 0);
    for (const auto& [page, position] : positions_) {
        for (int b : index_.bookmarksOn(page)) {
            for (int k = b; k >= 0 && !kept[static_cast<std::size_t>(k)];
                 k = bookmarks[static_cast<std::size_t>(k)].parent)
                kept[static_cast<std::size_t>(k)] = 1;
        }
    }
    dropWhatPrecedesTheLead(kept);
    std::vector<int> order; // kept bookmarks in outline order
    std::unordered_map<int, int> slotOf;
    for (std::size_t b = 0; b < bookmarks.size(); ++b) {
        if (kept[b]) {
            slotOf.emplace(static_cast<int>(b), static_cast<int>(order.size()));
            order.push_back(static_cast<int>(b));
        }
    }
    if (order.empty())
        return;

    const std::size_t count = order.size();
    std::vector<QPDFObjectHandle> items(count);
    std::vector<std::vector<int>> children(count);
    std::vector<int> roots;
    std::vector<bool> open(count);
    for (std::size_t s = 0; s < count; ++s) {
        const NavigationIndex::Bookmark& bookmark = bookmarks[static_cast<std::size_t>(order[s])];
        QPDFObjectHandle item = OutlineItem(bookmark);
        // Its own target, or that of the first kept descendant (the next with a target here).
        for (std::size_t t = s; t < count; ++t) {
            const NavTarget& target = bookmarks[static_cast<std::size_t>(order[t])].target;
            if (const std::optional<int> position = positionOf(target.page)) {
                item.replaceKey("/Dest", localDestination(*position, target.view));
                break;
            }
        }
        items[s] = output_.makeIndirectObject(item);
        open[s] = bookmark.open;
        if (bookmark.parent < 0)
            roots.push_back(static_cast<int>(s));
        else
            children[static_cast<std::size_t>(slotOf.at(bookmark.parent))].push_back(static_cast<int>(s));
    }

    // Counts: the descendants a reader shows under an item when it is open.
    std::vector<int> visible(count, 0);
    for (std::size_t s = count; s-- > 0;) {
        for (int c : children[s])
            visible[s] += 1 + (open[static_cast<std::size_t>(c)] ? visible[static_cast<std::size_t>(c)] : 0);
        if (!children[s].empty())
            items[s].replaceKey("/Count",
                                QPDFObjectHandle::newInteger(open[s] ? visible[s] : -visible[s]));
        LinkChildren(items[s], children[s], items);
    }
    int shown = 0;
    for (int r : roots)
        shown += 1 + (open[static_cast<std::size_t>(r)] ? visible[static_cast<std::size_t>(r)] : 0);
    QPDFObjectHandle outlines = output_.makeIndirectObject(
        Dictionary({{"/Type", QPDFObjectHandle::newName("/Outlines")},
                    {"/Count", QPDFObjectHandle::newInteger(shown)}}));
    LinkChildren(outlines, roots, items);
    output_.getRoot().replaceKey("/Outlines", outlines);
}

// A section of a bookmark split starts with its own bookmark: what comes before it in the
// outline, other than its ancestors, belongs to the section before (which ends on this page).
// Unless no other output keeps it: a bookmark on this page whose own section has no page of
// its own (several sections start on one page) stays here rather than nowhere.
void OutputNavigation::dropWhatPrecedesTheLead(std::vector<char>& kept) const
{
    const int lead = sectionBookmarkOf(outputNumber_);
    const std::vector<NavigationIndex::Bookmark>& bookmarks = index_.bookmarks();
    if (lead < 0 || lead >= static_cast<int>(bookmarks.size()) || !kept[static_cast<std::size_t>(lead)])
        return;
    std::vector<char> before(static_cast<std::size_t>(lead), 1); // all but the lead's ancestors
    for (int a = bookmarks[static_cast<std::size_t>(lead)].parent; a >= 0;
         a = bookmarks[static_cast<std::size_t>(a)].parent)
        before[static_cast<std::size_t>(a)] = 0;
    std::vector<char> stays(static_cast<std::size_t>(lead), 0);
    for (int b = 0; b < lead; ++b) {
        const std::size_t slot = static_cast<std::size_t>(b);
        if (!kept[slot] || !before[slot] || !positionOf(bookmarks[slot].target.page) ||
            keptElsewhere(b))
            continue;
        for (int k = b; k >= 0 && !stays[static_cast<std::size_t>(k)];
             k = bookmarks[static_cast<std::size_t>(k)].parent)
            stays[static_cast<std::size_t>(k)] = 1;
    }
    for (std::size_t b = 0; b < before.size(); ++b) {
        if (before[b] && !stays[b])
            kept[b] = 0;
    }
}

// The bookmark (0-based) whose section the output is; -1 when it is none. Outline handles
// count the root as 0.
int OutputNavigation::sectionBookmarkOf(int output) const
{
    return runMap_ ? runMap_->leadBookmark(output) - 1 : -1;
}

// Whether the bookmark comes before the section that `lead` starts, and is not one of its
// ancestors.
bool OutputNavigation::precedesTheSection(int bookmark, int lead) const
{
    const std::vector<NavigationIndex::Bookmark>& bookmarks = index_.bookmarks();
    if (lead < 0 || lead >= static_cast<int>(bookmarks.size()) || bookmark >= lead)
        return false;
    for (int a = bookmarks[static_cast<std::size_t>(lead)].parent; a >= 0;
         a = bookmarks[static_cast<std::size_t>(a)].parent) {
        if (a == bookmark)
            return false;
    }
    return true;
}

// Whether another output of the run holds the bookmark's page and keeps it there.
bool OutputNavigation::keptElsewhere(int bookmark) const
{
    const int page = index_.bookmarks()[static_cast<std::size_t>(bookmark)].target.page;
    for (const RunPageMap::Placement& placement : runMap_->placementsOf(page)) {
        if (placement.output != outputNumber_ &&
            !precedesTheSection(bookmark, sectionBookmarkOf(placement.output)))
            return true;
    }
    return false;
}

void OutputNavigation::fixLinks()
{
    const std::vector<QPDFObjectHandle>& inputPages = input_.pdf().getAllPages();
    for (std::size_t i = 0; i < inputPages_.size(); ++i) {
        const std::size_t page = static_cast<std::size_t>(inputPages_[i]);
        if (page < inputPages.size())
            AsAnExtra([&] { fixPageLinks(inputPages[page], outputPages_[i]); });
    }
}

// The output page's annotations are copies of the input page's, in the same order.
void OutputNavigation::fixPageLinks(QPDFObjectHandle inputPage, QPDFObjectHandle outputPage)
{
    QPDFObjectHandle from = inputPage.getKey("/Annots");
    QPDFObjectHandle to = outputPage.getKey("/Annots");
    if (!from.isArray() || !to.isArray() || from.getArrayNItems() != to.getArrayNItems())
        return;
    for (int j = 0; j < from.getArrayNItems(); ++j) {
        const std::optional<NavTarget> target =
            destinations_.annotationTarget(from.getArrayItem(j));
        QPDFObjectHandle annotation = to.getArrayItem(j);
        if (target && annotation.isDictionary())
            fixLink(annotation, *target);
    }
}

void OutputNavigation::fixLink(QPDFObjectHandle annotation, const NavTarget& target)
{
    if (const std::optional<int> position = positionOf(target.page)) {
        QPDFObjectHandle destination = localDestination(*position, target.view);
        if (annotation.hasKey("/Dest"))
            annotation.replaceKey("/Dest", destination);
        else
            annotation.replaceKey("/A", Dictionary({{"/S", QPDFObjectHandle::newName("/GoTo")},
                                                    {"/D", destination}}));
        return;
    }
    annotation.removeKey("/Dest");
    if (const std::optional<QPDFObjectHandle> action = remoteAction(target))
        annotation.replaceKey("/A", *action);
    else
        annotation.removeKey("/A");
}

// A trimmed copy of the input's named destinations: those on the output's pages.
void OutputNavigation::addNamedDestinations()
{
    const std::vector<NavigationIndex::NamedDestination>& named = index_.namedDestinations();
    std::vector<std::pair<std::string, QPDFObjectHandle>> inTree;
    QPDFObjectHandle oldStyle = QPDFObjectHandle::newDictionary();
    for (const auto& [page, position] : positions_) {
        for (int n : index_.namedDestinationsOn(page)) {
            const NavigationIndex::NamedDestination& entry = named[static_cast<std::size_t>(n)];
            QPDFObjectHandle destination = localDestination(position, entry.target.view);
            if (entry.inNameTree)
                inTree.emplace_back(entry.name, destination);
            else
                oldStyle.replaceKey(entry.name, destination);
        }
    }
    if (!oldStyle.getKeys().empty())
        output_.getRoot().replaceKey("/Dests", output_.makeIndirectObject(oldStyle));
    if (inTree.empty())
        return;
    // One leaf, its keys in byte order as a name tree needs them; the first of equal keys wins.
    std::stable_sort(inTree.begin(), inTree.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QPDFObjectHandle leaf = QPDFObjectHandle::newArray();
    for (std::size_t i = 0; i < inTree.size(); ++i) {
        if (i > 0 && inTree[i].first == inTree[i - 1].first)
            continue;
        leaf.appendItem(QPDFObjectHandle::newString(inTree[i].first));
        leaf.appendItem(inTree[i].second);
    }
    QPDFObjectHandle tree = output_.makeIndirectObject(Dictionary({{"/Names", leaf}}));
    output_.getRoot().replaceKey("/Names", Dictionary({{"/Dests", tree}}));
}

void OutputNavigation::addOpeningView()
{
    const std::optional<NavTarget> target = destinations_.openingTarget();
    if (!target)
        return;
    if (const std::optional<int> position = positionOf(target->page))
        output_.getRoot().replaceKey("/OpenAction", localDestination(*position, target->view));
}

std::optional<int> OutputNavigation::positionOf(int inputPage) const
{
    const auto found = positions_.find(inputPage);
    if (found == positions_.end())
        return std::nullopt;
    return found->second;
}

QPDFObjectHandle OutputNavigation::localDestination(int position,
                                                    const std::vector<ViewItem>& view) const
{
    return DestinationTo(outputPages_[static_cast<std::size_t>(position)], view);
}

// A link to the sibling output that holds the target page, by its page number there.
std::optional<QPDFObjectHandle> OutputNavigation::remoteAction(const NavTarget& target)
{
    if (!runMap_)
        return std::nullopt;
    const std::optional<RunPageMap::Placement> placement =
        runMap_->placementElsewhere(target.page, outputNumber_);
    if (!placement)
        return std::nullopt;
    return Dictionary(
        {{"/S", QPDFObjectHandle::newName("/GoToR")},
         {"/F", siblingFile(placement->output)},
         {"/D", DestinationTo(QPDFObjectHandle::newInteger(placement->position), target.view)}});
}

// The file specification of a sibling, named relative to this output's folder: the name
// itself when it is plain ASCII, else one dictionary with its Unicode name, shared by every
// link to that sibling.
QPDFObjectHandle OutputNavigation::siblingFile(int output)
{
    const auto known = siblingFiles_.find(output);
    if (known != siblingFiles_.end())
        return known->second.isIndirect() ? known->second : known->second.shallowCopy();
    // Outputs of a run share one folder; the general rule is for a map that says otherwise.
    const bool besides =
        outputNumber_ >= 0 && runMap_->folderOf(output) == runMap_->folderOf(outputNumber_);
    const QString sibling = QDir::fromNativeSeparators(
        besides ? runMap_->fileNameOf(output)
                : QDir(QFileInfo(outputPath_).path())
                      .relativeFilePath(runMap_->outputPath(output)));
    const std::string name = sibling.toStdString();
    const bool plain = std::all_of(sibling.begin(), sibling.end(),
                                   [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
    QPDFObjectHandle file =
        plain ? QPDFObjectHandle::newString(name)
              : output_.makeIndirectObject(
                    Dictionary({{"/Type", QPDFObjectHandle::newName("/Filespec")},
                                {"/F", QPDFObjectHandle::newUnicodeString(name)},
                                {"/UF", QPDFObjectHandle::newUnicodeString(name)}}));
    siblingFiles_.emplace(output, file);
    return file;
}
