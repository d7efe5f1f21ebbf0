#include "shell/TrashFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace {

// The home trash's two folders, made when missing (Qt would otherwise trash into the current
// folder when the data folder does not exist); empty when they cannot be written.
QString WritableHomeTrash()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    const QString trash = data + QStringLiteral("/Trash");
    for (const QString& part : {QStringLiteral("/files"), QStringLiteral("/info")}) {
        const QFileInfo folder(trash + part);
        if (!QDir().mkpath(folder.filePath()) || !folder.isWritable())
            return {};
    }
    return trash;
}

} // namespace

bool MoveFolderToTrash(const QString& folder)
{
    const QFileInfo info(QDir::cleanPath(folder));
    if (!info.isDir() || info.isSymLink() || info.isRoot())
        return false;
    if (QFile::encodeName(info.fileName()).size() > kMaxTrashedNameBytes)
        return false;
    const QString trash = WritableHomeTrash();
    if (trash.isEmpty())
        return false;
    // Outside the home device Qt looks for that device's own trash, which is not checked here.
    const QStorageInfo device(info.absoluteFilePath());
    if (device != QStorageInfo(QDir::home()) || device != QStorageInfo(trash))
        return false;
    QString pathInTrash;
    return QFile::moveToTrash(info.absoluteFilePath(), &pathInTrash) &&
           QFileInfo(pathInTrash).isAbsolute();
}
