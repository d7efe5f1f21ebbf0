#include "shell/RegularFile.h"

#include <QFile>
#include <QFileInfo>

std::optional<QByteArray> ReadRegularFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}
