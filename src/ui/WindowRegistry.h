#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

// The program's window classes by class name, each with a factory that creates a window of
// that class hidden. The language resource generator walks them.
using WindowFactory = std::function<std::unique_ptr<QWidget>()>;

class TWindowRegistry
{
public:
    static TWindowRegistry& Instance();

    void Register(const QString& className, WindowFactory factory);
    void Unregister(const QString& className);
    // Sorted by class name.
    QStringList ClassNames() const { return FFactories.keys(); }
    // The window of that class, created hidden; none for an unknown class.
    std::unique_ptr<QWidget> Create(const QString& className) const;

private:
    QMap<QString, WindowFactory> FFactories;
};

// Registers a window class while the program starts. Classes whose constructor needs
// arguments pass a factory that supplies them.
template <typename TWindow>
class TWindowRegistrar
{
public:
    TWindowRegistrar()
        : TWindowRegistrar([] { return std::unique_ptr<QWidget>(std::make_unique<TWindow>()); })
    {
    }
    explicit TWindowRegistrar(WindowFactory factory)
    {
        TWindowRegistry::Instance().Register(
            QString::fromLatin1(TWindow::staticMetaObject.className()), std::move(factory));
    }
};

// In the window's own .cpp file. The file must be linked into the program (the program
// refers to the window), as a static library drops files that nothing refers to.
#define TAVLO_REGISTER_WINDOW(Class)                                                               \
    namespace {                                                                                    \
    const TWindowRegistrar<Class> Class##Registrar;                                                \
    }
