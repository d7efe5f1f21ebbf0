#pragma once

#include "ui/LanguageResourceGenerator.h"

#include <QString>
#include <QStringList>

#include <optional>

// The developer switches "MakeLangRes" and "MakeFormRes": introduced by "-" or "/", the name
// in any letter case, optionally followed by ":" and the target file name.
struct TLanguageSwitch
{
    TLanguageResourceKind kind;
    QString fileName;
};

// The first developer switch among the arguments (the first argument is the program
// itself, as in QCoreApplication::arguments()). Without a file name the target is
// "MakeNewLang.dat" or "MakeForms.xml".
std::optional<TLanguageSwitch> FindLanguageSwitch(const QStringList& arguments);

// When the arguments hold a developer switch: writes the file from the registered windows,
// says so in a message box and returns true, and the program then ends through its normal
// finalisation. False, doing nothing, without a switch. Call after the languages are loaded.
bool HandleLanguageSwitches(const QStringList& arguments);
