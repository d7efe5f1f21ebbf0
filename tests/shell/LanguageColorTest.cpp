#include "shell/LanguageColor.h"
#include "shell/LanguageFont.h"

#include <gtest/gtest.h>

namespace {

TEST(LanguageColorTest, ReadsNamesAndNumbersAsHtmlColours)
{
    const struct
    {
        const char* text;
        const char* html; // nullptr: not a colour
    } cases[] = {
        {"clRed", "#ff0000"},      {"CLRED", "#ff0000"},    {"clNavy", "#000080"},
        {"clWhite", "#ffffff"},    {"12345", "#393000"}, // 0x003039: red 0x39, green 0x30, blue 0
        {"$0000FF", "#ff0000"},    {"0x00FF00", "#00ff00"}, {"clBtnFace", "#f0f0f0"},
        {"-16777201", "#f0f0f0"}, // the button face as a signed number
        {"clNone", "transparent"}, {"16777216", nullptr},   {"clNoSuchColour", nullptr},
        {"red", nullptr},          {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto color = StringToColor(QString::fromLatin1(c.text));
        const auto html = color ? ColorToHtml(*color) : std::nullopt;
        if (c.html)
            EXPECT_EQ(html.value_or(QStringLiteral("-")), QString::fromLatin1(c.html)) << c.text;
        else
            EXPECT_FALSE(html.has_value()) << c.text;
    }
}

TEST(LanguageFontTest, CharsetsAndStyles)
{
    EXPECT_EQ(CharsetFromName(QStringLiteral("ANSI_CHARSET")), ANSI_CHARSET);
    EXPECT_EQ(CharsetFromName(QStringLiteral("symbol_charset")), SYMBOL_CHARSET);
    // Beyond the three lowest the system's code page (Unicode) decides.
    EXPECT_EQ(CharsetFromName(QStringLiteral("GB2312_CHARSET")), DEFAULT_CHARSET);
    EXPECT_FALSE(CharsetFromName(QStringLiteral("KLINGON_CHARSET")).has_value());

    EXPECT_EQ(FontStylesFromText(QStringLiteral("Italic, BOLD")),
              TFontStyles(TFontStyle::fsBold) | TFontStyle::fsItalic);
    EXPECT_EQ(FontStylesFromText(QStringLiteral("[fsUnderline,fsStrikeOut]")),
              TFontStyles(TFontStyle::fsUnderline) | TFontStyle::fsStrikeOut);
    EXPECT_EQ(FontStylesFromText({}), TFontStyles());
}

} // namespace
