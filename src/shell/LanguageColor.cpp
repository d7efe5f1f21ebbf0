#include "shell/LanguageColor.h"

#include "shell/SameText.h"

#include <iterator>

namespace {

struct NamedColor
{
    const char* name;
    TColor value;
};

constexpr NamedColor kNamedColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", clNone},
    {"clScrollBar", SystemColor(0)},
    {"clBackground", SystemColor(1)},
    {"clActiveCaption", SystemColor(2)},
    {"clInactiveCaption", SystemColor(3)},
    {"clMenu", SystemColor(4)},
    {"clWindow", SystemColor(5)},
    {"clWindowFrame", SystemColor(6)},
    {"clMenuText", SystemColor(7)},
    {"clWindowText", SystemColor(8)},
    {"clCaptionText", SystemColor(9)},
    {"clActiveBorder", SystemColor(10)},
    {"clInactiveBorder", SystemColor(11)},
    {"clAppWorkSpace", SystemColor(12)},
    {"clHighlight", SystemColor(13)},
    {"clHighlightText", SystemColor(14)},
    {"clBtnFace", SystemColor(15)},
    {"clBtnShadow", SystemColor(16)},
    {"clGrayText", SystemColor(17)},
    {"clBtnText", SystemColor(18)},
    {"clInactiveCaptionText", SystemColor(19)},
    {"clBtnHighlight", SystemColor(20)},
    {"cl3DDkShadow", SystemColor(21)},
    {"cl3DLight", SystemColor(22)},
    {"clInfoText", SystemColor(23)},
    {"clInfoBk", SystemColor(24)},
    {"clHotLight", SystemColor(26)},
    {"clGradientActiveCaption", SystemColor(27)},
    {"clGradientInactiveCaption", SystemColor(28)},
    {"clMenuHighlight", SystemColor(29)},
    {"clMenuBar", SystemColor(30)},
};

// The light desktop scheme as 0xRRGGBB, by system colour index; index 25 names no element.
constexpr quint32 kSystemScheme[] = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
};

bool IsSystemColor(quint32 value)
{
    const quint32 top = value & 0xFF000000u;
    return top == 0xFF000000u || top == 0x80000000u;
}

QString HtmlFromRgb(quint32 rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

std::optional<qint64> ParseNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    qint64 value = 0;
    if (trimmed.startsWith(QLatin1Char('$')))
        value = trimmed.mid(1).toLongLong(&ok, 16);
    else if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = trimmed.mid(2).toLongLong(&ok, 16);
    else
        value = trimmed.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<TColor> ColorFromName(const QString& name)
{
    for (const NamedColor& entry : kNamedColors) {
        if (SameText(name, QString::fromLatin1(entry.name)))
            return entry.value;
    }
    return std::nullopt;
}

std::optional<TColor> StringToColor(const QString& text)
{
    if (const auto named = ColorFromName(text.trimmed()))
        return named;
    const auto number = ParseNumber(text);
    // Both the signed and the unsigned spelling of a 32-bit colour are accepted.
    if (!number || *number < INT32_MIN || *number > UINT32_MAX)
        return std::nullopt;
    return static_cast<TColor>(static_cast<quint32>(*number));
}

std::optional<QString> ColorToHtml(TColor color)
{
    if (color == clNone)
        return QStringLiteral("transparent");
    const auto value = static_cast<quint32>(color);
    if (IsSystemColor(value)) {
        const quint32 index = value & 0xFFu;
        if (index >= std::size(kSystemScheme) || index == 25)
            return std::nullopt;
        return HtmlFromRgb(kSystemScheme[index]);
    }
    if (value > 0xFFFFFFu)
        return std::nullopt;
    const quint32 red = value & 0xFFu;
    const quint32 green = (value >> 8) & 0xFFu;
    const quint32 blue = (value >> 16) & 0xFFu;
    return HtmlFromRgb((red << 16) | (green << 8) | blue);
}
