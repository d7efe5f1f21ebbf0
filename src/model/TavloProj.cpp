#include "model/TavloProj.h"

bool SettingsComplete(const TMethod& method)
{
    switch (method.Option()) {
    case soEveryPage:
        return method.EveryPageNum() >= 1;
    case soBookMarkLever:
        return method.BookMarkOption()->LevelNum() >= 1;
    case soPageRange:
        // Blanks name no page; the window trims the text before storing it, other callers
        // need not.
        return !method.RangeStr()->RangeStr().trimmed().isEmpty();
    case soCustom:
        return method.AdvDefine()->Count() >= 1;
    case soAverge:
        return method.AvgSplitNum() >= 1;
    }
    return false;
}

namespace {
const TProjClassRegistration<TBookMarkOption, TPageRange, TAdvDefine, TAdvDefineList, TMethod,
                             TTavloProj>
    kRegistration;
} // namespace
