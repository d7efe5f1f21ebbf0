#include "OutlineDestination.h"

#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <map>
#include <optional>

namespace {

// Named destinations may be wrapped in a dictionary that carries them under /D.
QPDFObjectHandle UnwrapDictionary(QPDFObjectHandle destination)
{
    if (destination.isDictionary())
        return destination.getKey("/D");
    return destination;
}

std::optional<double> NumberAt(QPDFObjectHandle array, int index)
{
    if (index >= array.getArrayNItems())
        return std::nullopt;
    QPDFObjectHandle item = array.getArrayItem(index);
    if (!item.isNumber())
        return std::nullopt; // null: keep the current position
    const double value = item.getNumericValue();
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

int NormalisedRotation(QPDFPageObjectHelper& page)
{
    QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
    int degrees = 0;
    if (!rotate.isInteger() || !rotate.getValueAsInt(degrees))
        return 0;
    return ((degrees % 360) + 360) % 360;
}

// Which number of the destination gives the visual vertical position for a page rotation,
// and whether it grows downwards from the visual top. PDF y grows upwards.
struct VerticalAxis
{
    int index;            // index into the destination array, -1 when the type has none
    bool fromLowEdge;     // the visual top lies at the low edge of this coordinate
};

VerticalAxis AxisOf(const std::string& type, int rotation)
{
    const bool upright = rotation == 0 || rotation == 180;
    if (type == "/XYZ")
        return {upright ? 3 : 2, rotation == 180 || rotation == 90};
    if (type == "/FitH" || type == "/FitBH")
        return {upright ? 2 : -1, rotation == 180};
    if (type == "/FitV" || type == "/FitBV")
        return {upright ? -1 : 2, rotation == 90};
    if (type == "/FitR") {
        switch (rotation) {
        case 90: return {2, true};   // left edge
        case 180: return {3, true};  // bottom edge
        case 270: return {4, false}; // right edge
        default: return {5, false};  // top edge
        }
    }
    return {-1, false}; // /Fit, /FitB: the whole page
}

// The depth most destinations near the top share. The shallowest one would let a single
// bookmark at the very edge of a page (a title) make every ordinary heading "below the top".
std::optional<double> CommonTopMargin(const std::vector<PageTarget>& targets)
{
    std::map<long, int> counts; // whole points: heights written by hand differ in the decimals
    for (const PageTarget& target : targets) {
        if (target.depth && *target.depth <= kMarginShare * target.pageHeight)
            ++counts[std::lround(std::max(*target.depth, 0.0))];
    }
    std::optional<double> margin;
    int best = 0;
    for (const auto& [depth, count] : counts) {
        if (count > best) { // ascending order: a tie keeps the smaller depth
            best = count;
            margin = static_cast<double>(depth);
        }
    }
    return margin;
}

} // namespace

OutlineDestination::OutlineDestination(QPDF& pdf) : pdf_(pdf)
{
}

// Only when a name is looked up: a reading that gets its names from the run's navigation
// index never reads the name tree itself.
void OutlineDestination::findNames()
{
    namesFound_ = true; // a damaged tree is not read again for every name
    QPDFObjectHandle root = pdf_.getRoot();
    destsDictionary_ = root.getKey("/Dests");
    QPDFObjectHandle names = root.getKey("/Names");
    if (names.isDictionary() && names.getKey("/Dests").isDictionary())
        destsNameTree_ = std::make_unique<QPDFNameTreeObjectHelper>(names.getKey("/Dests"), pdf_);
}

OutlineDestination::~OutlineDestination() = default;

PageTarget OutlineDestination::resolve(QPDFObjectHandle item)
{
    try {
        QPDFObjectHandle destination = explicitDestination(GoToDestination(item));
        if (!destination.isArray() || destination.getArrayNItems() == 0)
            return {};
        const int index = pageIndexOf(destination.getArrayItem(0));
        if (index < 0)
            return {};
        PageTarget target;
        target.pageIndex = index;
        MeasureDepth(destination, pdf_.getAllPages().at(static_cast<std::size_t>(index)), target);
        return target;
    } catch (const std::exception&) {
        return {};
    }
}

QPDFObjectHandle OutlineDestination::GoToDestination(QPDFObjectHandle item)
{
    if (!item.isDictionary())
        return QPDFObjectHandle::newNull();
    if (item.hasKey("/Dest"))
        return item.getKey("/Dest");
    QPDFObjectHandle action = item.getKey("/A");
    if (action.isDictionary() && action.getKey("/S").isNameAndEquals("/GoTo"))
        return action.getKey("/D");
    return QPDFObjectHandle::newNull();
}

QPDFObjectHandle OutlineDestination::explicitDestination(QPDFObjectHandle destination)
{
    if (destination.isName() || destination.isString())
        destination = lookUpName(destination);
    destination = UnwrapDictionary(destination);
    return destination.isArray() ? destination : QPDFObjectHandle::newNull();
}

QPDFObjectHandle OutlineDestination::lookUpName(QPDFObjectHandle name)
{
    if (!namesFound_)
        findNames();
    QPDFObjectHandle result = QPDFObjectHandle::newNull();
    if (name.isName()) {
        if (destsDictionary_.isDictionary())
            result = destsDictionary_.getKey(name.getName());
    } else if (destsNameTree_) {
        destsNameTree_->findObject(name.getUTF8Value(), result);
    }
    return result;
}

int OutlineDestination::pageIndexOf(QPDFObjectHandle pageRef)
{
    const int pageCount = static_cast<int>(pdf_.getAllPages().size());
    if (pageRef.isInteger()) {
        // Not allowed within a document, but written by some producers: a 0-based page number.
        int number = -1;
        return pageRef.getValueAsInt(number) && number >= 0 && number < pageCount ? number : -1;
    }
    if (!pageRef.isIndirect() || !pageRef.isDictionary())
        return -1;
    try {
        return pdf_.findPage(pageRef);
    } catch (const std::exception&) {
        return -1; // not a page of this document
    }
}

void MeasureDepth(QPDFObjectHandle destination, QPDFObjectHandle pageObject, PageTarget& target)
{
    QPDFObjectHandle typeName = destination.getArrayNItems() > 1 ? destination.getArrayItem(1)
                                                                  : QPDFObjectHandle::newNull();
    if (!typeName.isName())
        return;
    QPDFPageObjectHelper page(pageObject);
    QPDFObjectHandle box = page.getCropBox();
    if (!box.isRectangle())
        return;
    const QPDFObjectHandle::Rectangle rect = box.getArrayAsRectangle();
    const int rotation = NormalisedRotation(page);
    const bool upright = rotation == 0 || rotation == 180;
    const double low = upright ? std::min(rect.lly, rect.ury) : std::min(rect.llx, rect.urx);
    const double high = upright ? std::max(rect.lly, rect.ury) : std::max(rect.llx, rect.urx);
    target.pageHeight = high - low;
    const VerticalAxis axis = AxisOf(typeName.getName(), rotation);
    const std::optional<double> position =
        axis.index < 0 ? std::nullopt : NumberAt(destination, axis.index);
    if (position)
        target.depth = axis.fromLowEdge ? *position - low : high - *position;
}

std::vector<bool> StartsBelowTop(const std::vector<PageTarget>& targets)
{
    const double margin =
        CommonTopMargin(targets).value_or(std::numeric_limits<double>::infinity());
    std::vector<bool> below;
    below.reserve(targets.size());
    for (const PageTarget& target : targets) {
        const double top = std::min(margin, kMarginShare * target.pageHeight);
        below.push_back(target.depth && *target.depth > top + kClearShare * target.pageHeight);
    }
    return below;
}
