#include "DestinationResolver.h"

#include <algorithm>
#include <exception>

namespace {

// The longest view a destination has: /FitR and its four edges. What follows is damage, and
// copied into every output link that leads there it would multiply the input's size.
constexpr int kLongestView = 5;

} // namespace

DestinationResolver::DestinationResolver(QPDF& pdf, const NavigationIndex* names)
    : pdf_(pdf), destinations_(pdf), names_(names)
{
}

NavTarget DestinationResolver::resolve(QPDFObjectHandle destination)
{
    if (names_) {
        if (std::optional<NavTarget> named = names_->knownName(destination))
            return std::move(*named);
    }
    NavTarget target;
    try {
        QPDFObjectHandle array = destinations_.explicitDestination(destination);
        const int items = array.isArray() ? array.getArrayNItems() : 0;
        if (items == 0)
            return target;
        target.page = destinations_.pageIndexOf(array.getArrayItem(0));
        for (int i = 1; i < std::min(items, 1 + kLongestView); ++i) {
            // A reference here is damage: the view ends before it.
            std::optional<ViewItem> item = ViewItem::From(array.getArrayItem(i));
            if (!item)
                break;
            target.view.push_back(std::move(*item));
        }
    } catch (const std::exception&) {
        target.page = -1;
    }
    return target;
}

std::optional<NavTarget> DestinationResolver::annotationTarget(QPDFObjectHandle annotation)
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

std::optional<NavTarget> DestinationResolver::openingTarget()
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
