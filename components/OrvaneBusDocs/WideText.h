#pragma once

#include <QString>

#include <cstddef>
#include <filesystem>
#include <string>

// A zero-terminated UTF-16 text from the program as a QString; null gives the empty text.
QString FromWide(const char16_t* text);

// A path in the form the PDF library and the C runtime take (UTF-8).
std::string LibraryPath(const QString& path);

// A path for the standard library's file system operations.
std::filesystem::path FileSystemPath(const QString& path);

// Copies text into a record's fixed buffer, zero-terminated, cut at a character boundary when
// it does not fit.
void CopyToBuffer(const QString& text, char16_t* buffer, std::size_t capacity);

template <std::size_t N>
void CopyToBuffer(const QString& text, char16_t (&buffer)[N])
{
    CopyToBuffer(text, buffer, N);
}
