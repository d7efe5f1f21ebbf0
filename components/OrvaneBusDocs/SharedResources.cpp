#include "SharedResources.h"

#include <qpdf/QPDF.hh>

#include <deque>
#include <set>

namespace {

// Records an indirect dictionary; true when it was recorded before.
bool SeenBefore(QPDFObjectHandle object, std::set<QPDFObjGen>& seen)
{
    return object.isIndirect() && !seen.insert(object.getObjGen()).second;
}

} // namespace

bool PagesShareResources(QPDF& pdf)
{
    std::set<QPDFObjGen> resourcesSeen;
    std::set<QPDFObjGen> nodesSeen;
    std::deque<QPDFObjectHandle> queue{pdf.getRoot().getKey("/Pages")};
    while (!queue.empty()) {
        QPDFObjectHandle node = queue.front();
        queue.pop_front();
        if (SeenBefore(node, nodesSeen))
            continue;
        QPDFObjectHandle dict = node.isStream() ? node.getDict() : node;
        if (!dict.isDictionary())
            continue;
        QPDFObjectHandle kids = dict.getKey("/Kids");
        if (kids.isArray()) {
            if (dict.hasKey("/Resources"))
                return true;
            for (QPDFObjectHandle kid : kids.aitems())
                queue.push_back(kid);
            continue;
        }
        QPDFObjectHandle resources = dict.getKey("/Resources");
        if (SeenBefore(resources, resourcesSeen))
            return true;
        QPDFObjectHandle xobjects =
            resources.isDictionary() ? resources.getKey("/XObject") : QPDFObjectHandle::newNull();
        if (SeenBefore(xobjects, resourcesSeen))
            return true;
        if (!xobjects.isDictionary())
            continue;
        for (auto item : xobjects.ditems()) {
            if (item.second.isFormXObject())
                queue.push_back(item.second);
        }
    }
    return false;
}
