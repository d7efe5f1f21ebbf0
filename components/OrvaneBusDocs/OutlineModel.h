#pragma once

#include <qpdf/QPDFObjectHandle.hh>

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPDF;
struct PageTarget;

// One bookmark, or the root of the tree (handle 0). Pages are 1-based; a bookmark without a
// destination in the document has firstPage 0 and lastPage = lastPageBoth = -1.
struct OutlineEntry
{
    int level = 0;
    int parent = -1; // -1 for the root
    QPDFObjectHandle item; // the outline item; null for the root
    std::vector<int> children;
    QString title;
    int firstPage = 0;
    int lastPage = -1;
    int lastPageBoth = -1;
};

// The outline tree of a document, read once, flattened in outline order (pre-order), with the
// page section of every bookmark. The section of a bookmark runs from its page to the page
// before the next bookmark in outline order that is on the same or a higher level and leads
// to a page; lastPageBoth also takes in that page when the next bookmark starts below its top.
//
// Reading never hangs on damaged outlines: an item met a second time (a loop) ends its list
// of siblings, items deeper than kMaxLevel are left out, and at most kMaxEntries are read.
class OutlineModel
{
public:
    static constexpr int kMaxLevel = 64;
    static constexpr int kMaxEntries = 200000;

    static OutlineModel Read(QPDF& pdf);

    // Visits the outline items in the order and within the limits of Read, without resolving
    // anything: item number n (from 1) is the entry with handle n, `parent` the handle of its
    // parent (0 for the root). Stops at damage, or when `visit` throws.
    using Visit = std::function<void(int parent, QPDFObjectHandle item)>;
    static void Walk(QPDF& pdf, const Visit& visit);

    // Levels of the tree: 0 without bookmarks.
    int depth() const { return depth_; }
    int entryCount() const { return static_cast<int>(entries_.size()); }
    const OutlineEntry& entry(int handle) const { return entries_.at(static_cast<std::size_t>(handle)); }

    // The handle of child number index of the entry, if both exist.
    std::optional<int> childOf(int handle, int index) const;

private:
    OutlineModel();

    int add(int parent, QPDFObjectHandle item, const PageTarget& target,
            std::vector<PageTarget>& targets);
    void assignSections(const std::vector<PageTarget>& targets, int pageCount);

    std::vector<OutlineEntry> entries_;
    int depth_ = 0;
};
