#pragma once

#include <QString>

// The English strings of the language file shipped with the program, compiled into it. They
// stand in for a string that no language file beside the program gives (the files are
// missing, unreadable, or older than the program), so that no message comes up empty and the
// product title keeps its name. Empty when the string is not among them either, and for the
// all-pages word "sAll", which only an installed language sets.
QString BuiltInLangString(const QString& name);
