#include "shell/PathUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool EndsWithSeparator(const QString& path)
{
    return path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'));
}

bool IsSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

bool IsDriveLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// "//server/share" or "\\server\share", up to the separator after the share name.
QString ShareRoot(const QString& path)
{
    const auto nextSeparator = [&path](qsizetype from) {
        for (qsizetype i = from; i < path.size(); ++i) {
            if (IsSeparator(path[i]))
                return i;
        }
        return path.size();
    };
    const qsizetype serverEnd = nextSeparator(2);
    if (serverEnd == 2 || serverEnd >= path.size())
        return {};
    const qsizetype shareEnd = nextSeparator(serverEnd + 1);
    if (shareEnd == serverEnd + 1)
        return {};
    return path.left(shareEnd);
}

} // namespace

QString ApplicationFolder()
{
    return WithTrailingBackslash(QCoreApplication::applicationDirPath());
}

QString WithTrailingBackslash(const QString& path)
{
    if (path.isEmpty() || EndsWithSeparator(path))
        return path;
    return path + QDir::separator();
}

QString MyDocumentsFolder()
{
    return WithTrailingBackslash(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString PathRoot(const QString& path)
{
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
        return ShareRoot(path);
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == QLatin1Char(':') &&
        IsSeparator(path[2]))
        return path.left(3);
    if (!path.isEmpty() && path[0] == QLatin1Char('/'))
        return QStringLiteral("/");
    return {};
}

bool IsValidFolderPath(const QString& path)
{
    const QString root = PathRoot(path);
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return false;
    static const QString forbidden = QStringLiteral("\"*:<>?|");
    for (qsizetype i = 2; i < path.size(); ++i) {
        if (forbidden.contains(path[i]))
            return false;
    }
    return true;
}

std::filesystem::path FileSystemPath(const QString& path)
{
#if defined(_WIN32)
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}
