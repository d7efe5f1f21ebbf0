#pragma once

#include "engine/ComObject.h"

// Creates the engine's root object, class EnumCtrl.
class ClassFactory final : public ComObject<IClassFactory>
{
public:
    ClassFactory() = default;

    HRESULT ENGINE_CALL CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT ENGINE_CALL LockServer(int lock) override;
};
