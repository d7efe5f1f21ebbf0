#include "ui/WindowRegistry.h"

TWindowRegistry& TWindowRegistry::Instance()
{
    static TWindowRegistry registry;
    return registry;
}

void TWindowRegistry::Register(const QString& className, WindowFactory factory)
{
    FFactories.insert(className, std::move(factory));
}

void TWindowRegistry::Unregister(const QString& className)
{
    FFactories.remove(className);
}

std::unique_ptr<QWidget> TWindowRegistry::Create(const QString& className) const
{
    const auto found = FFactories.constFind(className);
    if (found == FFactories.constEnd() || !*found)
        return nullptr;
    return (*found)();
}
