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

// A copy of a plain value of a destination that belongs to no document.
QPDFObjectHandle FreeCopy(QPDFObjectHandle item)
{
    if (item.isInteger())
        return QPDFObjectHandle::newInteger(item.getIntValue());
    if (item.isReal())
        return QPDFObjectHandle::newReal(item.getRealValue());
    if (item.isName())
        return QPDFObjectHandle::newName(item.getName());
    return QPDFObjectHandle::newNull();
}

} // namespace

NavigationIndex::NavigationIndex(QPDF& pdf, const OutlineModel& outline)
    : pdf_(pdf), destinations_(pdf)
{
    const std::size_t pages = pdf.getAllPages().size();
    bookmarksOnPage_.resize(pages);
    namesOnPage_.resize(pages);
    readNamedDestinations(); // first: bookmarks then find their names without a search
    readBookmarks(outline);
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
    if (const std::optional<NavTarget> named = knownName(destination))
        return *named;
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
            target.view.push_back(FreeCopy(item));
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
                addNamed(entry.first, true, entry.second);
        }
    } catch (const std::exception&) {
        // A damaged name tree: keep what was read.
    }
    try {
        QPDFObjectHandle dests = root.getKey("/Dests");
        if (dests.isDictionary()) {
            for (auto entry : dests.ditems())
                addNamed(entry.first, false, entry.second);
        }
    } catch (const std::exception&) {
    }
}

void NavigationIndex::addNamed(std::string name, bool inNameTree, QPDFObjectHandle destination)
{
    NavTarget target = resolve(destination);
    if (target.page < 0)
        return;
    const int number = static_cast<int>(names_.size());
    (inNameTree ? stringNames_ : nameObjects_).emplace(name, number);
    FileUnder(namesOnPage_, target.page, number);
    if (inNameTree) // looked up as UTF-8, written as a PDF string
        name = QPDFObjectHandle::newUnicodeString(name).getStringValue();
    names_.push_back({std::move(name), inNameTree, std::move(target)});
}

std::optional<NavTarget> NavigationIndex::knownName(QPDFObjectHandle destination) const
{
    const std::unordered_map<std::string, int>* names = nullptr;
    std::string key;
    if (destination.isString()) {
        names = &stringNames_;
        key = destination.getUTF8Value();
    } else if (destination.isName()) {
        names = &nameObjects_;
        key = destination.getName();
    } else {
        return std::nullopt;
    }
    const auto found = names->find(key);
    if (found == names->end())
        return std::nullopt;
    return names_[static_cast<std::size_t>(found->second)].target;
}
