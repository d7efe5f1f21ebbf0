#pragma once

#include <QLocale>
#include <QString>

// The display name of a Windows language identifier, such as "German (Germany)" for 0x0407,
// in English; empty for an identifier that is not known here. Only the languages the program
// can be shipped in are known.
QString LocaleDisplayName(int langId);

// The locale of a Windows language identifier known here (see LocaleDisplayName); the C
// locale for any other.
QLocale LocaleOfLangId(int langId);
