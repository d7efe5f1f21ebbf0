#pragma once

#include "engine/ComPtr.h"
#include "engine/DocEngine.h"

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

// The notification interfaces advised on an operation, by cookie.
class NotifySinks
{
public:
    std::int32_t add(IOperationNotify* sink);
    bool remove(std::int32_t cookie);

    // Calls every sink advised at this moment, without holding the list, so a sink may
    // advise or unadvise from inside its notification.
    void notify(std::int32_t kind, std::int32_t first, std::int32_t second);

private:
    std::mutex mutex_;
    std::vector<std::pair<std::int32_t, ComPtr<IOperationNotify>>> sinks_;
    std::int32_t nextCookie_ = 1;
};
