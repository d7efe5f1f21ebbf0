#pragma once

#include "shell/LanguageHooks.h"

#include <QStringList>

#include <optional>

class QObject;

// The widget side of the language resources. InstallLanguageHooks() hands the first two to
// the language appliers; the program calls it at start-up.
void InstallLanguageHooks();

// The window font takes the face and size of the language's font; a face that is not
// installed falls back to the platform's user-interface face. Character sets have no
// meaning for Qt's fonts and are not applied.
void ApplyWidgetFont(QObject* window, const TLanguageFont& font);

// "Items" replace the whole list of a combo box or list widget (items that stay keep their
// data). "Columns" set the titles of a report view's columns by position; extra titles are
// ignored. False when the control has no such content.
bool ApplyWidgetListContent(QObject* component, TListContentKind kind, const QStringList& lines);

// The list content of a control, as it would be written to a language file.
struct TListContent
{
    TListContentKind kind;
    QStringList lines;
};
std::optional<TListContent> ReadWidgetListContent(QObject* component);
