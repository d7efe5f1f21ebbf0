#include "NotifySinks.h"

#include <algorithm>

std::int32_t NotifySinks::add(IOperationNotify* sink)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::int32_t cookie = nextCookie_++;
    sinks_.emplace_back(cookie, ComPtr<IOperationNotify>(sink));
    return cookie;
}

bool NotifySinks::remove(std::int32_t cookie)
{
    ComPtr<IOperationNotify> removed; // released after the lock
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = std::find_if(sinks_.begin(), sinks_.end(),
                                    [cookie](const auto& sink) { return sink.first == cookie; });
    if (found == sinks_.end())
        return false;
    removed = std::move(found->second);
    sinks_.erase(found);
    return true;
}

void NotifySinks::notify(std::int32_t kind, std::int32_t first, std::int32_t second)
{
    std::vector<ComPtr<IOperationNotify>> receivers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& sink : sinks_)
            receivers.push_back(sink.second);
    }
    const std::int32_t data[2] = {first, second};
    for (const auto& receiver : receivers) {
        try {
            receiver->OnNotify(kind, data);
        } catch (...) {
            // A sink that throws must not take the worker down.
        }
    }
}
