#pragma once

#include "engine/ComObject.h"
#include "engine/DocEngine.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

// Hands out adapter keys one after the other.
class AdapterKeyEnum final : public ComObject<IEnumAdapterKeys>
{
public:
    explicit AdapterKeyEnum(std::vector<std::int32_t> keys, std::size_t position = 0);

    HRESULT ENGINE_CALL Next(ULONG count, std::int32_t* keys, ULONG* fetched) override;
    HRESULT ENGINE_CALL Skip(ULONG count) override;
    HRESULT ENGINE_CALL Reset() override;
    HRESULT ENGINE_CALL Clone(IEnumAdapterKeys** copy) override;

private:
    std::mutex mutex_;
    const std::vector<std::int32_t> keys_;
    std::size_t position_;
};
