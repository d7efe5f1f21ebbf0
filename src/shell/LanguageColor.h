#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// A colour as the language files write it: the number layout 0x00BBGGRR (red in the low
// byte), or a system colour with the top byte set (0xFF0000nn or 0x800000nn, nn the index of
// a screen element such as the button face).
using TColor = qint32;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor SystemColor(int index)
{
    return static_cast<TColor>(0xFF000000u | static_cast<quint32>(index));
}
constexpr TColor clWindowText = SystemColor(8);

// A colour name such as "clRed" or "clBtnFace" (any letter case); none for other texts.
std::optional<TColor> ColorFromName(const QString& name);

// A colour name, or a number: decimal, or hexadecimal after "$" or "0x". None when the text is
// neither.
std::optional<TColor> StringToColor(const QString& text);

// The colour as "#rrggbb" text, the form a QColor reads; system colours take the usual light
// desktop scheme and clNone reads "transparent". None for numbers that are no colour.
std::optional<QString> ColorToHtml(TColor color);
