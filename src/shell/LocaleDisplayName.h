#pragma once

#include <QString>

// The display name of a Windows language identifier, such as "German (Germany)" for 0x0407,
// in English; empty for an identifier that is not known here. Only the languages the program
// can be shipped in are known.
QString LocaleDisplayName(int langId);
