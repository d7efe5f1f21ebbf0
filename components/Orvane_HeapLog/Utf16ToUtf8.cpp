#include "Utf16ToUtf8.h"

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendCodePoint(std::string& out, char32_t codePoint)
{
    const auto byte = [&out](char32_t value) { out.push_back(static_cast<char>(value)); };
    if (codePoint < 0x80) {
        byte(codePoint);
    } else if (codePoint < 0x800) {
        byte(0xC0 | (codePoint >> 6));
        byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        byte(0xE0 | (codePoint >> 12));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    } else {
        byte(0xF0 | (codePoint >> 18));
        byte(0x80 | ((codePoint >> 12) & 0x3F));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

std::string Utf16ToUtf8(const char16_t* text)
{
    std::string out;
    for (const char16_t* p = text; *p != 0; ++p) {
        const char32_t unit = *p;
        if (IsHighSurrogate(unit) && IsLowSurrogate(p[1])) {
            AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (char32_t(p[1]) - 0xDC00));
            ++p;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendCodePoint(out, kReplacementCharacter);
        } else {
            AppendCodePoint(out, unit);
        }
    }
    return out;
}
