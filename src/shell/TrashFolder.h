#pragma once

#include <QString>

// Longest folder name, in bytes, that goes to the trash: the trash's information file adds
// "-NNNNNN.trashinfo" to the name, and that must still fit the file system's 255 bytes.
inline constexpr int kMaxTrashedNameBytes = 238;

// Moves the folder to the user's home trash. False, with the folder untouched, when the trash
// cannot take it safely: a name longer than kMaxTrashedNameBytes, a folder on another device
// than the home folder, a trash that cannot be written, or a failed move. Qt's trash retries
// a failing information file without end, so those cases are never handed to it.
bool MoveFolderToTrash(const QString& folder);
