#pragma once

// Output names made from bookmark titles.

#include <QSet>
#include <QString>

// The longest name stem a title gives, in bytes of UTF-8: room is left for a number, a clash
// suffix and ".pdf" within the 255 bytes most file systems allow.
inline constexpr qsizetype kMaxTitleStemBytes = 200;

// A file name stem made from a bookmark title that every common file system accepts: control
// characters become blanks, the characters / \ : * ? " < > | become "_", runs of blanks become
// one, dots and blanks at either end go, at most kMaxTitleStemBytes bytes (cut between two
// characters), and a device name that one system reserves (CON, PRN, AUX, NUL, COM1-9, LPT1-9)
// gets a "_". Empty when nothing usable is left.
QString FileStemFromTitle(const QString& title);

// The stems taken by one document's outputs, compared without regard to case (two names that
// differ only in case are one file on many systems).
class TTitleStems
{
public:
    // stem itself when it is free, else the first free "stem (2)", "stem (3)", ...
    QString Take(const QString& stem);

private:
    QSet<QString> FTaken;
};
