#pragma once

// An independent reading of a split's outputs: with the PDF library's own objects, never
// through the engine that wrote them, it finds where the input's bookmarks and links went and
// whether each lands where it should.

#include <QString>

#include <string>
#include <vector>

// One output of a split: its file and the input pages (0-based) it holds, in order; for the
// section of a bookmark split, the section's bookmark (0-based in outline order), which is to
// be the first bookmark of the output after its ancestors.
struct TPlannedOutput
{
    QString path;
    std::vector<int> pages;
    int lead = -1;
};

struct TNavigationCheck
{
    int bookmarksExpected = 0; // input bookmarks with a page in an output, counted per output
    int bookmarksKept = 0;     // of those, found in the output with the right page, view and nesting
    int strayBookmarks = 0;    // bookmarks of an output that are not expected there like that
    int sameFileLinks = 0;     // input links whose target page is in the link's own output
    int sameFileWorking = 0;
    int crossFileLinks = 0;    // input links whose target page went to another output
    int crossFileWorking = 0;
    int linksToNowhere = 0;    // input links whose target page is in no output
    int deadLinks = 0;         // output links that lead to no page, or not to the expected one
                               // with the input's view
    std::vector<std::string> faults; // the first few, to say what went wrong
};

TNavigationCheck CheckNavigation(const QString& input, const std::string& password,
                                 const std::vector<TPlannedOutput>& outputs);
