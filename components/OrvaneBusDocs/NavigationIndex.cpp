#include "NavigationIndex.h"

#include "OutlineModel.h"

#include <qpdf/QPDFNameTreeObjectHelper.hh>

#include <exception>

namespace {

const std::vector<int> kNone;

const std::vector<int>& ListAt(const std::vector<std::vector<int>>& lists, int page)
{
    if (page < 0 || page >= static_cast<int>(lists.size()))
        return kNone;
    return lists[static_cast<std::size_t>(page)];
}

void FileUnder(std::vector<std::vector<int>>& lists, int page, int item)
{
    if (page >= 0 && page < static_cast<int>(lists.size()))
        lists[static_cast<std::size_t>(page)].push_back(item);
}

} // namespace

NavigationIndex::NavigationIndex(QPDF& pdf, const OutlineModel& outline)
    : pdf_(pdf), destinations_(pdf)
{
    const std::size_t pages = pdf.getAllPages().size();
    bookmarksOnPage_.resize(pages);
    namesOnPage_.resize(pages);
    readBookmarks(outline);
    readNamedDestinations();
}

const std::vector<int>& NavigationIndex::bookmarksOn(int page) const
{
    return ListAt(bookmarksOnPage_, page);
}

const std::vector<int>& NavigationIndex::namedDestinationsOn(int page) const
{
    return ListAt(namesOnPage_, page);
}

std::optional<NavTarget> NavigationIndex::annotationTarget(QPDFObjectHandle annotation)
{
    try {
        QPDFObjectHandle destination = OutlineDestination::GoToDestination(annotation);
        if (destination.isNull())
            return std::nullopt;
        return resolve(destination);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<NavTarget> NavigationIndex::openingTarget()
{
    try {
        QPDFObjectHandle open = pdf_.getRoot().getKey("/OpenAction");
        if (open.isArray())
            return resolve(open);
        if (open.isDictionary() && open.getKey("/S").isNameAndEquals("/GoTo"))
            return resolve(open.getKey("/D"));
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

NavTarget NavigationIndex::resolve(QPDFObjectHandle destination)
{
    NavTarget target;
    try {
        QPDFObjectHandle array = destinations_.explicitDestination(destination);
        const int items = array.isArray() ? array.getArrayNItems() : 0;
        if (items == 0)
            return target;
        target.page = destinations_.pageIndexOf(array.getArrayItem(0));
        for (int i = 1; i < items; ++i) {
            QPDFObjectHandle item = array.getArrayItem(i);
            // Only the plain values a view is made of: a reference here is damage.
            if (!item.isNumber() && !item.isName() && !item.isNull())
                break;
            target.view += (i > 1 ? " " : "") + item.unparse();
        }
    } catch (const std::exception&) {
        target.page = -1;
    }
    return target;
}

void NavigationIndex::readBookmarks(const OutlineModel& outline)
{
    // The model's handles count the root as 0; bookmarks here start at 0.
    for (int handle = 1; handle < outline.entryCount(); ++handle) {
        const OutlineEntry& entry = outline.entry(handle);
        Bookmark bookmark;
        bookmark.parent = entry.parent > 0 ? entry.parent - 1 : -1;
        bookmark.item = entry.item;
        bookmark.target = resolve(OutlineDestination::GoToDestination(entry.item));
        FileUnder(bookmarksOnPage_, bookmark.target.page, static_cast<int>(bookmarks_.size()));
        bookmarks_.push_back(std::move(bookmark));
    }
}

void NavigationIndex::readNamedDestinations()
{
    QPDFObjectHandle root = pdf_.getRoot();
    try {
        QPDFObjectHandle names = root.getKey("/Names");
        if (names.isDictionary() && names.getKey("/Dests").isDictionary()) {
            QPDFNameTreeObjectHelper tree(names.getKey("/Dests"), pdf_);
            for (auto entry : tree)
                addNamed(QPDFObjectHandle::newUnicodeString(entry.first), entry.second);
        }
    } catch (const std::exception&) {
        // A damaged name tree: keep what was read.
    }
    try {
        QPDFObjectHandle dests = root.getKey("/Dests");
        if (dests.isDictionary()) {
            for (auto entry : dests.ditems())
                addNamed(QPDFObjectHandle::newName(entry.first), entry.second);
        }
    } catch (const std::exception&) {
    }
}

void NavigationIndex::addNamed(QPDFObjectHandle name, QPDFObjectHandle destination)
{
    NamedDestination named{name, resolve(destination)};
    if (named.target.page < 0)
        return;
    FileUnder(namesOnPage_, named.target.page, static_cast<int>(names_.size()));
    names_.push_back(std::move(named));
}
