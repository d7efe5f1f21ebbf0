#pragma once

#include <QString>

// Folder of the running executable, ending with the native separator. Every file that the
// program ships (configuration, languages, skin, modules, marker files) is found from here.
QString ApplicationFolder();

// The path followed by the native separator, unless it already ends with one of the two
// separators. Blanks around the path are removed first, so a path taken from an edit field
// or a configuration value never keeps stray blanks in front of the separator; a path of
// blanks only gives the empty text.
QString WithTrailingBackslash(const QString& path);

// The user's documents folder ending with a separator; empty when the platform names none.
QString MyDocumentsFolder();

// True when the path can name a folder: it is absolute, its root (drive, share or "/")
// exists, and from its third character on it holds none of the characters that no folder
// name may hold on any platform the files may travel to (" * : < > ? |).
bool IsValidFolderPath(const QString& path);

// The root of an absolute path: "X:/" for a drive, "//server/share" for a network share,
// "/" for a Unix path; empty for a relative path.
QString PathRoot(const QString& path);
