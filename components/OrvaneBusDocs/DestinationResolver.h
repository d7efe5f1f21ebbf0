#pragma once

#include "NavigationIndex.h"
#include "OutlineDestination.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <optional>

// Where the destinations of one reading of the input lead: links, actions and the opening
// view, as targets of plain data. Named destinations come from the run's index when it knows
// them, so that a link does not walk the name tree. Belongs to its reading's thread.
class DestinationResolver
{
public:
    // `names` may be null, or still being read.
    DestinationResolver(QPDF& pdf, const NavigationIndex* names);

    // Never throws: a damaged destination leads nowhere.
    NavTarget resolve(QPDFObjectHandle destination);

    // Where a link, widget or any other annotation with a GoTo destination leads; nothing when
    // it has no such destination (a web link, a form field, a note).
    std::optional<NavTarget> annotationTarget(QPDFObjectHandle annotation);
    // The document's opening view when it shows one of its pages.
    std::optional<NavTarget> openingTarget();

private:
    QPDF& pdf_;
    OutlineDestination destinations_;
    const NavigationIndex* names_;
};
