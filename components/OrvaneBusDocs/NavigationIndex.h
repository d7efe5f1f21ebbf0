#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class DestinationResolver;

// One value of a destination's view (the items after the page, such as /XYZ 72 700 null), kept
// as plain data: the number as the input wrote it, or the name.
struct ViewItem
{
    enum class Kind
    {
        Null,
        Integer,
        Real,
        Name,
    };

    Kind kind = Kind::Null;
    long long integer = 0;
    std::string text; // a real number's digits, or a name ("/XYZ")

    // A new object of that value, for any document.
    QPDFObjectHandle toObject() const;
    // Only the plain values a view is made of: nothing for anything else.
    static std::optional<ViewItem> From(QPDFObjectHandle item);
};

// A place in the input: a page and the view on it, from which each output makes a destination
// of its own.
struct NavTarget
{
    int page = -1; // 0-based; -1 when it leads to no page of the input
    std::vector<ViewItem> view;
};

// What an input offers for navigation: its bookmarks and named destinations, sorted by the page
// they lead to. Read once per run from one reading of the input; it keeps values only, no object
// of that reading, so the workers of a run share it read-only whatever reading each one owns.
class NavigationIndex
{
public:
    struct Bookmark
    {
        int parent = -1; // index into bookmarks(); -1 on the top level
        std::optional<std::string> title; // the PDF string's bytes; none when it has no title
        std::string colour;               // /C as written, empty when it has none that fits
        std::optional<long long> style;   // /F
        bool open = false;
        NavTarget target;
    };

    struct NamedDestination
    {
        // The name tree's key as the output writes it (PDF string bytes), or a PDF name
        // ("/x") of the old /Dests.
        std::string name;
        bool inNameTree;
        NavTarget target;
    };

    // Reads them through `pdf`, which is used only during the call.
    explicit NavigationIndex(QPDF& pdf);

    // In outline order (pre-order), so a parent always comes before its descendants.
    const std::vector<Bookmark>& bookmarks() const { return bookmarks_; }
    const std::vector<int>& bookmarksOn(int page) const;
    const std::vector<NamedDestination>& namedDestinations() const { return names_; }
    const std::vector<int>& namedDestinationsOn(int page) const;

    // The target of a named destination (a string of the name tree or a name of the old
    // /Dests) that leads to a page; nothing for an unknown name or any other object. The
    // object is the caller's, and only read.
    std::optional<NavTarget> knownName(QPDFObjectHandle destination) const;

private:
    void readBookmarks(QPDF& pdf, DestinationResolver& resolver);
    void readNamedDestinations(QPDF& pdf, DestinationResolver& resolver);
    void addNamed(std::string name, bool inNameTree, NavTarget target);

    std::vector<Bookmark> bookmarks_;
    std::vector<NamedDestination> names_;
    std::vector<std::vector<int>> bookmarksOnPage_;
    std::vector<std::vector<int>> namesOnPage_;
    // Named destinations by name, so that links find theirs without a walk of the name tree.
    std::unordered_map<std::string, int> stringNames_;
    std::unordered_map<std::string, int> nameObjects_;
};
