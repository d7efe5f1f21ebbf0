#include "StreamCheck.h"

#include <qpdf/Pl_Discard.hh>

#include <exception>
#include <vector>

namespace {

bool IsGeneralFilter(QPDFObjectHandle filter)
{
    if (!filter.isName())
        return false;
    const std::string name = filter.getName();
    return name == "/FlateDecode" || name == "/Fl" || name == "/LZWDecode" || name == "/LZW" ||
           name == "/ASCII85Decode" || name == "/A85" || name == "/ASCIIHexDecode" ||
           name == "/AHx" || name == "/RunLengthDecode" || name == "/RL";
}

// Only data that the library would decode itself: images in their own formats stay as they
// are, and their raw data is read when the output is written anyway.
bool DecodesInGeneral(QPDFObjectHandle stream)
{
    QPDFObjectHandle filter = stream.getDict().getKey("/Filter");
    if (filter.isArray()) {
        if (filter.getArrayNItems() == 0)
            return false;
        for (QPDFObjectHandle item : filter.aitems()) {
            if (!IsGeneralFilter(item))
                return false;
        }
        return true;
    }
    return IsGeneralFilter(filter);
}

void Decode(QPDFObjectHandle stream)
{
    Pl_Discard nothing;
    try {
        // Failures become warnings of the document; nothing is retried.
        stream.pipeStreamData(&nothing, 0, qpdf_dl_generalized, false, false);
    } catch (const std::exception&) {
        // What could not be read at all is told by the output's write.
    }
}

} // namespace

void DecodeUncheckedStreams(QPDFObjectHandle page, std::set<QPDFObjGen>& checked)
{
    std::vector<QPDFObjectHandle> pending{page};
    bool top = true; // the page itself
    while (!pending.empty()) {
        QPDFObjectHandle object = pending.back();
        pending.pop_back();
        // Another page is checked when it is copied itself, so it is not marked here.
        if (!top && object.isPageObject())
            continue;
        top = false;
        if (object.isIndirect() && !checked.insert(object.getObjGen()).second)
            continue;
        QPDFObjectHandle dictionary = object;
        if (object.isStream()) {
            if (DecodesInGeneral(object))
                Decode(object);
            dictionary = object.getDict();
        }
        if (dictionary.isDictionary()) {
            for (auto& [key, value] : dictionary.ditems()) {
                if (key != "/Parent" && key != "/P")
                    pending.push_back(value);
            }
        } else if (dictionary.isArray()) {
            for (const QPDFObjectHandle& item : dictionary.aitems())
                pending.push_back(item);
        }
    }
}
