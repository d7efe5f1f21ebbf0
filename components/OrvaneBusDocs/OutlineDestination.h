#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNameTreeObjectHelper.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <memory>
#include <optional>
#include <vector>

// Where a bookmark leads within its document.
struct PageTarget
{
    int pageIndex = -1; // 0-based; -1 when the bookmark leads to no page of the document
    // How far below the visual top of the page the destination lies, in points, when the
    // destination tells; and the visual height of the page.
    std::optional<double> depth;
    double pageHeight = 0;
};

// Resolves bookmark destinations: /Dest or a GoTo action, named destinations from the name
// tree or the old /Dests dictionary, and named destinations whose value is a dictionary
// << /D [...] >> (the PDF library leaves those wrapped).
class OutlineDestination
{
public:
    explicit OutlineDestination(QPDF& pdf);
    ~OutlineDestination();

    // Never throws for a damaged destination: it leads nowhere then.
    PageTarget resolve(QPDFObjectHandle item);

    // The destination of a bookmark, link or other annotation: its /Dest, or the /D of its
    // GoTo action; null when it has neither.
    static QPDFObjectHandle GoToDestination(QPDFObjectHandle item);

    // The explicit destination (an array that starts with the page) that a destination
    // stands for: itself, the named destination it names, unwrapped from << /D [...] >>.
    // Null when it stands for none. May throw for damaged objects.
    QPDFObjectHandle explicitDestination(QPDFObjectHandle destination);

    // The 0-based page that the first item of an explicit destination names; -1 when it is
    // not a page of this document.
    int pageIndexOf(QPDFObjectHandle pageRef);

private:
    QPDFObjectHandle lookUpName(QPDFObjectHandle name);
    void findNames();

    QPDF& pdf_;
    bool namesFound_ = false;
    QPDFObjectHandle destsDictionary_;
    std::unique_ptr<QPDFNameTreeObjectHelper> destsNameTree_;
};

// Fills depth and pageHeight of the target from the explicit destination (an array: page,
// type, numbers), following the page's rotation.
void MeasureDepth(QPDFObjectHandle destination, QPDFObjectHandle page, PageTarget& target);

// Which targets start clearly below the top of their page, so that their page also holds the
// end of what comes before. The top margin is taken from the document itself: headings at
// the top of a page sit at about the same height, so it is the depth (in whole points; the
// smaller of equally common ones) that most destinations within kMarginShare of their page's
// top share. A lone bookmark at the very edge, such as a title, does not move it. Without
// such destinations the margin is kMarginShare of the page. A target is below the top when
// it lies more than kClearShare of the page (a few lines of text) under that margin.
std::vector<bool> StartsBelowTop(const std::vector<PageTarget>& targets);

inline constexpr double kMarginShare = 0.15;
inline constexpr double kClearShare = 0.05;
