#pragma once

#include <QString>

#include <pugixml.hpp>

class QObject;
class TLanguageItem;

// One application of a language to a live window: the window's font, its element under
// "Forms" (found by component name, else by class name and "name" attribute), the
// properties of the window and of its components by name, and the change broadcast.
class TLanguageApplier
{
public:
    TLanguageApplier(TLanguageItem& item, QObject* window);
    void Apply();

private:
    pugi::xml_node FindWindowElement();
    void ApplyElement(QObject* object, const pugi::xml_node& element, bool withChildren, int depth);
    void ApplyChild(QObject* object, const pugi::xml_node& child, int depth);
    bool TranslatedByAControl(QObject* object);
    void BroadcastChange();
    QString ComponentName(const pugi::xml_node& element) const;

    TLanguageItem& FItem;
    QObject* FWindow;
};
