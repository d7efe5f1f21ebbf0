#include "WideText.h"

#include <algorithm>

QString FromWide(const char16_t* text)
{
    return text == nullptr ? QString() : QString::fromUtf16(text);
}

std::string LibraryPath(const QString& path)
{
    return path.toStdString();
}

std::filesystem::path FileSystemPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

void CopyToBuffer(const QString& text, char16_t* buffer, std::size_t capacity)
{
    if (capacity == 0)
        return;
    std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(text.size()), capacity - 1);
    // Never leave the first half of a surrogate pair at the end.
    if (length > 0 && length < static_cast<std::size_t>(text.size()) &&
        text.at(static_cast<qsizetype>(length) - 1).isHighSurrogate())
        --length;
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), length, buffer);
    buffer[length] = u'\0';
}
