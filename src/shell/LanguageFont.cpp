#include "shell/LanguageFont.h"

#include "shell/SameText.h"

namespace {

struct NamedCharset
{
    const char* name;
    int value;
};

constexpr NamedCharset kCharsets[] = {
    {"ANSI_CHARSET", ANSI_CHARSET},
    {"DEFAULT_CHARSET", DEFAULT_CHARSET},
    {"SYMBOL_CHARSET", SYMBOL_CHARSET},
    {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},
    {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},
    {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},
    {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

} // namespace

std::optional<int> CharsetFromName(const QString& name)
{
    for (const NamedCharset& entry : kCharsets) {
        if (SameText(name, QString::fromLatin1(entry.name)))
            return entry.value > SYMBOL_CHARSET ? DEFAULT_CHARSET : entry.value;
    }
    return std::nullopt;
}

TFontStyles FontStylesFromText(const QString& text)
{
    TFontStyles styles;
    const auto contains = [&text](const char* word) {
        return text.contains(QLatin1String(word), Qt::CaseInsensitive);
    };
    if (contains("bold"))
        styles |= TFontStyle::fsBold;
    if (contains("italic"))
        styles |= TFontStyle::fsItalic;
    if (contains("underline"))
        styles |= TFontStyle::fsUnderline;
    if (contains("strikeout"))
        styles |= TFontStyle::fsStrikeOut;
    return styles;
}
