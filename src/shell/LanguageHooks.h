#pragma once

#include "shell/LanguageFont.h"

#include <QStringList>

#include <functional>

class QObject;

// What applying a language needs of widgets is done by handlers that the front end installs
// at start-up; without them these parts are skipped.

// Gives a window the character set, face and size of the language's font.
using LanguageFontApplier = std::function<void(QObject* window, const TLanguageFont& font)>;
void SetLanguageFontApplier(LanguageFontApplier applier);
void ApplyLanguageFont(QObject* window, const TLanguageFont& font);

// List content of a control: the lines of its "Items" (the whole list is replaced) or the
// titles of its "Columns" (by position; columns beyond the control's are ignored). Returns
// false when the control has no such content.
enum class TListContentKind
{
    Items,
    Columns
};
using ListContentApplier =
    std::function<bool(QObject* component, TListContentKind kind, const QStringList& lines)>;
void SetListContentApplier(ListContentApplier applier);
bool ApplyListContent(QObject* component, TListContentKind kind, const QStringList& lines);
