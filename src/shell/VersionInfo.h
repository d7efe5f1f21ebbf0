#pragma once

#include <QString>

// The version resource of our program files. The values are set in the build and compiled
// into every program of the project; a file that is not one of ours (or does not exist) has
// no version resource and every value reads as empty.
//
// Known names: "FileVersion", "ProductVersion", "ProductName", "CompanyName",
// "FileDescription", "LegalCopyright".
QString ReadVersionString(const QString& filePath, const QString& name);

// The first five characters of the file's "FileVersion" ("1.0.0" of "1.0.0.0").
QString ShortFileVersion(const QString& filePath);
