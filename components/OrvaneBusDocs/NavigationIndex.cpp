#include "NavigationIndex.h"

#include "DestinationResolver.h"
#include "OutlineDestination.h"
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

// An RGB colour as the output writes it: three numbers, read through any references to them;
// empty for anything else.
std::string ColourOf(QPDFObjectHandle colour)
{
    if (!colour.isArray() || colour.getArrayNItems() != 3)
        return {};
    std::string text = "[";
    for (QPDFObjectHandle number : colour.aitems()) {
        if (!number.isNumber())
            return {};
        text += number.unparseResolved() + " ";
    }
    text.back() = ']';
    return text;
}

// Title, colour, style and open state: only looks, so damage in them costs only them.
void ReadLooks(QPDFObjectHandle item, NavigationIndex::Bookmark& bookmark)
{
    try {
        QPDFObjectHandle title = item.getKey("/Title");
        if (title.isString())
            bookmark.title = title.getStringValue();
        bookmark.colour = ColourOf(item.getKey("/C"));
        QPDFObjectHandle style = item.getKey("/F");
        if (style.isInteger())
            bookmark.style = style.getIntValue();
        QPDFObjectHandle count = item.getKey("/Count");
        bookmark.open = count.isInteger() && count.getIntValue() > 0;
    } catch (const std::exception&) {
    }
}

} // namespace

QPDFObjectHandle ViewItem::toObject() const
{
    switch (kind) {
    case Kind::Integer: return QPDFObjectHandle::newInteger(integer);
    case Kind::Real: return QPDFObjectHandle::newReal(text);
    case Kind::Name: return QPDFObjectHandle::newName(text);
    case Kind::Null: break;
    }
    return QPDFObjectHandle::newNull();
}

std::optional<ViewItem> ViewItem::From(QPDFObjectHandle item)
{
    ViewItem value;
    if (item.isInteger()) {
        value.kind = Kind::Integer;
        value.integer = item.getIntValue();
    } else if (item.isReal()) {
        value.kind = Kind::Real;
        value.text = item.getRealValue();
    } else if (item.isName()) {
        value.kind = Kind::Name;
        value.text = item.getName();
    } else if (!item.isNull()) {
        return std::nullopt;
    }
    return value;
}

NavigationIndex::NavigationIndex(QPDF& pdf)
{
    const std::size_t pages = pdf.getAllPages().size();
    bookmarksOnPage_.resize(pages);
    namesOnPage_.resize(pages);
    DestinationResolver resolver(pdf, this);
    readNamedDestinations(pdf, resolver); // first: bookmarks then find their names here
    readBookmarks(pdf, resolver);
}

const std::vector<int>& NavigationIndex::bookmarksOn(int page) const
{
    return ListAt(bookmarksOnPage_, page);
}

const std::vector<int>& NavigationIndex::namedDestinationsOn(int page) const
{
    return ListAt(namesOnPage_, page);
}

// The same walk as the planner's outline (so bookmark n here is its handle n + 1), without the
// sections it works out.
void NavigationIndex::readBookmarks(QPDF& pdf, DestinationResolver& resolver)
{
    OutlineModel::Walk(pdf, [&](int parent, QPDFObjectHandle item) {
        Bookmark bookmark;
        bookmark.parent = parent > 0 ? parent - 1 : -1; // the root is handle 0
        ReadLooks(item, bookmark);
        bookmark.target = resolver.resolve(OutlineDestination::GoToDestination(item));
        FileUnder(bookmarksOnPage_, bookmark.target.page, static_cast<int>(bookmarks_.size()));
        bookmarks_.push_back(std::move(bookmark));
    });
}

void NavigationIndex::readNamedDestinations(QPDF& pdf, DestinationResolver& resolver)
{
    QPDFObjectHandle root = pdf.getRoot();
    try {
        QPDFObjectHandle names = root.getKey("/Names");
        if (names.isDictionary() && names.getKey("/Dests").isDictionary()) {
            QPDFNameTreeObjectHelper tree(names.getKey("/Dests"), pdf);
            for (auto entry : tree)
                addNamed(entry.first, true, resolver.resolve(entry.second));
        }
    } catch (const std::exception&) {
        // A damaged name tree: keep what was read.
    }
    try {
        QPDFObjectHandle dests = root.getKey("/Dests");
        if (dests.isDictionary()) {
            for (auto entry : dests.ditems())
                addNamed(entry.first, false, resolver.resolve(entry.second));
        }
    } catch (const std::exception&) {
    }
}

void NavigationIndex::addNamed(std::string name, bool inNameTree, NavTarget target)
{
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
