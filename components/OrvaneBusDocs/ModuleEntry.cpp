#include "ModuleEntry.h"

#include "ClassFactory.h"
#include "ComGuard.h"
#include "engine/DocEngine.h"

HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (!(clsid == CLSID_EnumCtrl))
        return CLASS_E_CLASSNOTAVAILABLE;
    return GuardedCall([&] { return MakeComObject<ClassFactory>()->QueryInterface(iid, object); });
}
