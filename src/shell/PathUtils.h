#pragma once

#include <QString>

#include <filesystem>

// Folder of the running executable, ending with the native separator. Every file that the
// program ships (configuration, languages, skin, modules, marker files) is found from here.
// It is the executable's real location: Qt reads it from /proc/self/exe, so a program started
// through a link (an installed /usr/bin/Tavlo) finds its files all the same.
QString ApplicationFolder();

// The path followed by the native separator, unless it is empty or already ends with one of
// the two separators. The path is used as it is: blanks at its ends are part of a name (a
// folder "My Docs " is not "My Docs"); an edit field trims what was typed where it is typed.
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

// The path as the file system functions of the standard library take it: the bytes Qt uses for
// file names (UTF-8 here), so that both name the same file.
std::filesystem::path FileSystemPath(const QString& path);
