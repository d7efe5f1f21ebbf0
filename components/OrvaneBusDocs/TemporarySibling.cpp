#include "TemporarySibling.h"

#include "WideText.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#if defined(__linux__)
#include <cstdio> // renameat2
#include <fcntl.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace {

// Short and of its own, not derived from the target: the target's name may already take all
// the bytes a name can have.
QString CandidateName(const QString& folder)
{
    return folder + QStringLiteral("/.tavlo-") +
           QString::number(QRandomGenerator::global()->generate64(), 36) + QStringLiteral(".tmp");
}

[[noreturn]] void ThrowMoveFailed(std::error_code error)
{
    throw std::system_error(error, "the output cannot be renamed into place");
}

#if !defined(_WIN32)
// Where the system offers nothing better: a file that takes the name between the check and
// the move is replaced.
void MoveIfAbsent(const QString& from, const QString& to)
{
    const std::filesystem::path target = FileSystemPath(to);
    if (std::filesystem::exists(target))
        ThrowMoveFailed(std::make_error_code(std::errc::file_exists));
    std::filesystem::rename(FileSystemPath(from), target);
}
#endif

// A file that appeared under the target's name meanwhile is not ours to replace: the move
// fails instead, in one step, so that no such file can slip in between a check and the move.
void MoveWithoutReplacing(const QString& from, const QString& to)
{
#if defined(__linux__)
    const std::string source = LibraryPath(from);
    const std::string target = LibraryPath(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS)
        ThrowMoveFailed({errno, std::generic_category()});
    // The file system does not take the flag; a new link never replaces a file either.
    if (link(source.c_str(), target.c_str()) == 0) {
        unlink(source.c_str()); // the output is in place; a leftover link is only clutter
        return;
    }
    if (errno != EPERM && errno != EOPNOTSUPP)
        ThrowMoveFailed({errno, std::generic_category()});
    MoveIfAbsent(from, to); // nor links (FAT and the like)
#elif defined(_WIN32)
    const std::filesystem::path source = FileSystemPath(from);
    const std::filesystem::path target = FileSystemPath(to);
    if (!MoveFileExW(source.c_str(), target.c_str(), 0))
        ThrowMoveFailed({static_cast<int>(GetLastError()), std::system_category()});
#else
    MoveIfAbsent(from, to);
#endif
}

} // namespace

TemporarySibling::TemporarySibling(const QString& targetPath) : targetPath_(targetPath)
{
    const QString folder = QFileInfo(targetPath).absolutePath();
    for (int attempt = 0; attempt < 16; ++attempt) {
        QFile file(CandidateName(folder));
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

void TemporarySibling::finishWriting()
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
    finishWriting();
    MoveWithoutReplacing(path_, targetPath_);
    committed_ = true;
}
