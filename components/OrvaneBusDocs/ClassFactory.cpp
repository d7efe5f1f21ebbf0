#include "ClassFactory.h"

#include "ComGuard.h"
#include "EnumCtrl.h"

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    return GuardedCall([&] { return MakeComObject<EnumCtrl>()->QueryInterface(iid, object); });
}

// The module is never unloaded, so there is nothing to keep it in memory for.
HRESULT ClassFactory::LockServer(int /*lock*/)
{
    return S_OK;
}
