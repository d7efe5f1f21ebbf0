#include "engine/EngineLoader.h"

#include "shell/PathUtils.h"
#include "shell/RunLog.h"

#include <QLibrary>

namespace {

// A QLibrary that is not unloaded explicitly keeps its module loaded after the object is gone,
// for the rest of the process; loading it again only finds it.
DllGetClassObjectFunction ResolveEntryPoint(const QString& folder)
{
    QLibrary library(WithTrailingBackslash(folder) + EngineModuleName());
    if (!library.load())
        WriteLogLine(QStringLiteral("LoadLibrary OrvaneBusDocs.dll Faild."));
    const auto entry =
        reinterpret_cast<DllGetClassObjectFunction>(library.resolve("DllGetClassObject"));
    if (entry == nullptr)
        WriteLogLine(QStringLiteral("GetProcAddress DllGetClassObject Faild."));
    return entry;
}

ComPtr<IEnumCtrl> CreateRootObject(DllGetClassObjectFunction entry)
{
    ComPtr<IClassFactory> factory;
    entry(CLSID_EnumCtrl, IID_IClassFactory, factory.putVoid());
    if (!factory)
        return {};
    ComPtr<IUnknown> object;
    factory->CreateInstance(nullptr, IID_IUnknown, object.putVoid());
    return object.As<IEnumCtrl>();
}

} // namespace

QString EngineModuleName()
{
    return QStringLiteral("OrvaneBusDocs");
}

ComPtr<IEnumCtrl> CreateEngineEnumCtrl()
{
    return CreateEngineEnumCtrl(ApplicationFolder());
}

ComPtr<IEnumCtrl> CreateEngineEnumCtrl(const QString& folder)
{
    const DllGetClassObjectFunction entry = ResolveEntryPoint(folder);
    if (entry == nullptr)
        return {};
    return CreateRootObject(entry);
}
