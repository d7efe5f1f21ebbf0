#pragma once

#include "shell/LanguageColor.h"

#include <QFlags>
#include <QString>

#include <optional>

enum class TFontStyle : quint8
{
    fsBold = 0x1,
    fsItalic = 0x2,
    fsUnderline = 0x4,
    fsStrikeOut = 0x8
};
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

// Font character sets as the language files name them ("ANSI_CHARSET", ...).
constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
constexpr int SYMBOL_CHARSET = 2;

// The font of a language, as plain data: the front end turns it into a real font. An empty
// face or a size of 0 means the platform's user-interface font face or size.
struct TLanguageFont
{
    int charset = DEFAULT_CHARSET;
    QString name;
    int size = 0;
    TColor color = clWindowText;
    TFontStyles style;
};

// The character set named by its identifier (any letter case); none for an unknown name.
// Character sets beyond the three lowest follow the system's code page, which is Unicode
// here, so they all read as DEFAULT_CHARSET.
std::optional<int> CharsetFromName(const QString& name);

// The styles whose words ("bold", "italic", "underline", "strikeout") the text contains, in
// any letter case and order.
TFontStyles FontStylesFromText(const QString& text);
