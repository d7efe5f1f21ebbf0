#pragma once

#include "AdapterCatalog.h"
#include "engine/ComObject.h"
#include "engine/DocEngine.h"

#include <mutex>

// The engine's root object: the adapters of the plugins folder, and the factory of document
// objects and copy operations.
class EnumCtrl final : public ComObject<IEnumCtrl>
{
public:
    EnumCtrl() = default;

    HRESULT ENGINE_CALL EnumAdapters(const char16_t* pluginsFolder, std::int32_t* count) override;
    HRESULT ENGINE_CALL GetAdapterEnum(IEnumAdapterKeys** keys) override;
    HRESULT ENGINE_CALL GetAdapterInfo(std::int32_t key, TFileObjectInfo* info) override;
    HRESULT ENGINE_CALL CreateDocObject(std::int32_t key, IDocObject** document) override;
    HRESULT ENGINE_CALL CreateOperation(IDocObject* input, IDocObject* output,
                                        IOperationCtrl** operation) override;

private:
    std::mutex mutex_;
    AdapterCatalog catalog_;
};
