#pragma once

#include "OutlineDestination.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class OutlineModel;

// A place in the input: a page and the view on it (the explicit destination's items after
// the page, such as /XYZ 72 700 null, made anew so that they belong to no document), from
// which each output makes a destination of its own.
struct NavTarget
{
    int page = -1; // 0-based; -1 when it leads to no page of the input
    std::vector<QPDFObjectHandle> view;
};

// What an input offers for navigation, read once per reading of the input and shared by
// every output made from it: its bookmarks and named destinations sorted by the page they
// lead to, and the resolution of any destination. Use it only under the engine lock.
class NavigationIndex
{
public:
    struct Bookmark
    {
        int parent = -1; // index into bookmarks(); -1 on the top level
        QPDFObjectHandle item;
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

    NavigationIndex(QPDF& pdf, const OutlineModel& outline);

    // In outline order (pre-order), so a parent always comes before its descendants.
    const std::vector<Bookmark>& bookmarks() const { return bookmarks_; }
    const std::vector<int>& bookmarksOn(int page) const;
    const std::vector<NamedDestination>& namedDestinations() const { return names_; }
    const std::vector<int>& namedDestinationsOn(int page) const;

    // Where a link, widget or any other annotation with a GoTo destination leads; nothing when
    // it has no such destination (a web link, a form field, a note).
    std::optional<NavTarget> annotationTarget(QPDFObjectHandle annotation);
    // The document's opening view when it shows one of its pages.
    std::optional<NavTarget> openingTarget();

    // Never throws: a damaged destination leads nowhere.
    NavTarget resolve(QPDFObjectHandle destination);

private:
    void readBookmarks(const OutlineModel& outline);
    void readNamedDestinations();
    void addNamed(std::string name, bool inNameTree, QPDFObjectHandle destination);
    std::optional<NavTarget> knownName(QPDFObjectHandle destination) const;

    QPDF& pdf_;
    OutlineDestination destinations_;
    std::vector<Bookmark> bookmarks_;
    std::vector<NamedDestination> names_;
    std::vector<std::vector<int>> bookmarksOnPage_;
    std::vector<std::vector<int>> namesOnPage_;
    // Named destinations by name, so that links find theirs without a walk of the name tree.
    std::unordered_map<std::string, int> stringNames_;
    std::unordered_map<std::string, int> nameObjects_;
};
