#include "shell/FileSizeText.h"

#include <QFileInfo>
#include <QLocale>

namespace {

constexpr qint64 kKiB = 1024;
constexpr qint64 kMiB = 1024 * kKiB;
constexpr qint64 kGiB = 1024 * kMiB;

QString WithTwoDecimals(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

} // namespace

QString SizeText(qint64 bytes)
{
    bytes = qMax<qint64>(bytes, 0);
    if (bytes < kMiB)
        return QString::number((bytes + kKiB - 1) / kKiB) + QStringLiteral("  KB");
    if (bytes < kGiB)
        return WithTwoDecimals(double(bytes) / double(kMiB)) + QStringLiteral("  MB");
    return WithTwoDecimals(double(bytes) / double(kGiB)) + QStringLiteral("  GB");
}

QString FileSizeText(const QString& filePath)
{
    const QFileInfo file(filePath);
    return SizeText(file.isFile() ? file.size() : 0);
}
