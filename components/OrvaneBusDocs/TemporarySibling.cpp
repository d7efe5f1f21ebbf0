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
    if (stream_)
        std::fclose(stream_);
    if (!committed_)
        QFile::remove(path_);
}

// Opened without truncation: the file is new and empty, and truncating an existing file makes
// some file systems write it out at once when it is closed, a disk write per output.
std::FILE* TemporarySibling::stream()
{
    if (!stream_)
        stream_ = std::fopen(LibraryPath(path_).c_str(), "r+b");
    if (!stream_)
        throw std::runtime_error("the temporary file cannot be opened");
    return stream_;
}

void TemporarySibling::closeStream()
{
    if (!stream_)
        return;
    const bool failed = std::fflush(stream_) != 0 || std::ferror(stream_) != 0;
    const bool closeFailed = std::fclose(stream_) != 0;
    stream_ = nullptr;
    if (failed || closeFailed)
        throw std::runtime_error("the temporary file cannot be written");
}

void TemporarySibling::commit()
{
    closeStream();
    std::filesystem::rename(FileSystemPath(path_), FileSystemPath(targetPath_));
    committed_ = true;
}
