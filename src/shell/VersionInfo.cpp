#include "shell/VersionInfo.h"

#include "TavloVersion.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

bool IsRunningProgram(const QString& filePath)
{
    const QFileInfo file(filePath);
    return file.exists() &&
           file.canonicalFilePath() == QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
}

QString CompiledVersionString(const QString& name)
{
    struct Entry
    {
        const char* name;
        const char* value;
    };
    static constexpr Entry entries[] = {
        {"FileVersion", TAVLO_FILE_VERSION},
        {"ProductVersion", TAVLO_PRODUCT_VERSION},
        {"ProductName", "Tavlo"},
        {"CompanyName", "Orvane"},
        {"FileDescription", "Tavlo PDF splitter"},
        {"LegalCopyright", "Copyright (C) Orvane"},
    };
    for (const Entry& entry : entries) {
        if (name == QLatin1String(entry.name))
            return QString::fromUtf8(entry.value);
    }
    return {};
}

} // namespace

QString ReadVersionString(const QString& filePath, const QString& name)
{
    if (!IsRunningProgram(filePath))
        return {};
    return CompiledVersionString(name);
}

QString ShortFileVersion(const QString& filePath)
{
    return ReadVersionString(filePath, QStringLiteral("FileVersion")).left(5);
}
