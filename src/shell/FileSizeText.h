#pragma once

#include <QString>

// The size of a file as shown to the user: whole kilobytes (rounded up) below one megabyte,
// else megabytes or gigabytes with two decimals and the user's decimal separator, always with
// two blanks before the unit ("1  KB", "1.00  MB"). A missing file reads as 0 bytes.
QString FileSizeText(const QString& filePath);

// The same text for a size in bytes.
QString SizeText(qint64 bytes);
