#include "AdapterKeyEnum.h"

#include "ComGuard.h"

#include <algorithm>

AdapterKeyEnum::AdapterKeyEnum(std::vector<std::int32_t> keys, std::size_t position)
    : keys_(std::move(keys)), position_(std::min(position, keys_.size()))
{
}

HRESULT AdapterKeyEnum::Next(ULONG count, std::int32_t* keys, ULONG* fetched)
{
    if (keys == nullptr && count > 0)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t taken = std::min<std::size_t>(count, keys_.size() - position_);
    std::copy_n(keys_.begin() + static_cast<std::ptrdiff_t>(position_), taken, keys);
    position_ += taken;
    if (fetched != nullptr)
        *fetched = static_cast<ULONG>(taken);
    return taken == count ? S_OK : S_FALSE;
}

HRESULT AdapterKeyEnum::Skip(ULONG count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t skipped = std::min<std::size_t>(count, keys_.size() - position_);
    position_ += skipped;
    return skipped == count ? S_OK : S_FALSE;
}

HRESULT AdapterKeyEnum::Reset()
{
    std::lock_guard<std::mutex> lock(mutex_);
    position_ = 0;
    return S_OK;
}

HRESULT AdapterKeyEnum::Clone(IEnumAdapterKeys** copy)
{
    if (copy == nullptr)
        return E_POINTER;
    return GuardedCall([&] {
        std::lock_guard<std::mutex> lock(mutex_);
        *copy = MakeComObject<AdapterKeyEnum>(keys_, position_).detach();
        return S_OK;
    });
}
