#pragma once

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

class QObject;
class TWindowRegistry;

// What the developer switches write:
// - MakeLangRes: a language resource to translate. Elements are named by the objects' names
//   (the class name for an unnamed window) and hold the text properties that have a value.
// - MakeFormRes: the windows' layout. Elements are named by class name with a "Name"
//   attribute, and hold every property that a language file can set.
// In both, "Items" and "Columns" of list controls become child elements and the named
// objects inside an object become nested elements. Objects without a name, and Qt's own
// "qt_" objects, are the machinery of their control: not written, but looked through for
// named objects inside them.
enum class TLanguageResourceKind
{
    MakeLangRes,
    MakeFormRes
};

class TLanguageResourceGenerator
{
public:
    explicit TLanguageResourceGenerator(TLanguageResourceKind kind);

    // Appends the window's element tree under "Forms".
    void AddWindow(QObject* window);
    // Creates every registered window hidden, appends it and frees it again.
    void AddRegisteredWindows(const TWindowRegistry& registry);

    const pugi::xml_document& Document() const { return FDocument; }
    QByteArray ToXml() const;
    // Writes the file whole or not at all.
    bool SaveToFile(const QString& fileName) const;

private:
    void WriteObject(pugi::xml_node parent, QObject* object);
    void WriteNamedChildren(pugi::xml_node element, QObject* object);
    void WriteProperties(pugi::xml_node element, QObject* object) const;
    static void WriteListContent(pugi::xml_node element, QObject* object);

    TLanguageResourceKind FKind;
    pugi::xml_document FDocument;
    pugi::xml_node FForms;
};
