#pragma once

#include "engine/ComPtr.h"
#include "engine/DocEngine.h"

#include <QString>

// File name of the engine module without the platform's suffix.
QString EngineModuleName();

// Loads the engine module from the folder (default: the executable's) and creates its root
// object, class EnumCtrl. The module stays loaded for the life of the process. Failures are
// written to the run log ("LoadLibrary OrvaneBusDocs.dll Faild.", "GetProcAddress
// DllGetClassObject Faild.") and give an empty pointer; the status codes of the factory calls
// are not reported, as the program decides only by whether an object came back.
ComPtr<IEnumCtrl> CreateEngineEnumCtrl();
ComPtr<IEnumCtrl> CreateEngineEnumCtrl(const QString& folder);
