#pragma once

#include "engine/ComBase.h"

// The module's only export: the class factory of class EnumCtrl (CLSID_EnumCtrl).
extern "C" ENGINE_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object);
