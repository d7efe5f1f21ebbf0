#include "TemporarySibling.h"

#include "WideText.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace {

QString CandidateName(const QFileInfo& target)
{
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') +
           QString::number(QRandomGenerator::global()->generate(), 36) + QStringLiteral(".tmp");
}

} // namespace

TemporarySibling::TemporarySibling(const QString& targetPath) : targetPath_(targetPath)
{
    const QFileInfo target(targetPath);
    for (int attempt = 0; attempt < 16; ++attempt) {
        QFile file(CandidateName(target));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            path_ = file.fileName();
            return;
        }
        if (file.exists())
            continue; // taken by chance: another name
        break;
    }
    throw std::runtime_error("no file can be created in the output folder");
}

TemporarySibling::~TemporarySibling()
{
    if (!committed_)
        QFile::remove(path_);
}

void TemporarySibling::commit()
{
    std::filesystem::rename(FileSystemPath(path_), FileSystemPath(targetPath_));
    committed_ = true;
}
