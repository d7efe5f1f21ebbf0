#pragma once

#include <QList>
#include <QStringList>
#include <QStringView>

// Page-range strings such as "1,3,5,7-10": items separated by "," and "-", each item a
// decimal page number with optional blanks around it.

// Upper bound on the length of an expanded page list, unless the document itself has more
// pages. A string like "1-2147483647" would otherwise ask for billions of entries; no real
// document has this many pages, and a valid selection never names more pages than the
// document has, so no valid selection is ever shortened by it.
constexpr int kMaxExpandedPages = 1 << 20;

// The page list that the string selects, in the order of the string, duplicates kept.
// Never fails: an unreadable or empty item yields the entry -1. The whole string equal to
// allPagesWord (letters A-Z compared without case) selects pages 1 .. totalPage, or nothing
// when totalPage is not positive. Otherwise totalPage only bounds the list: it never holds
// more than max(totalPage, kMaxExpandedPages) entries, and expansion stops once it is full.
QList<int> ExpandPageStr(QStringView s, int totalPage, QStringView allPagesWord);

// True when the string is an acceptable selection for a document of pageCount pages: at
// least one page, every number within 1 .. pageCount, numbers strictly ascending across the
// whole string, no chain of two ranges ("1-3-5"). The word "All" is not a valid selection.
bool ValidatePageStr(QStringView s, int pageCount);

// The page list as decimal texts, as the document model holds it.
QStringList PageListTexts(const QList<int>& pages);

// The shortest page-range string of strictly ascending pages: runs become ranges ("1-3,7").
QString PageStrOf(const QList<int>& ascendingPages);
