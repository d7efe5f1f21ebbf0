#include "split/RunOutputs.h"

#include "split/Convert.h"

#include "shell/FileSystemError.h"
#include "shell/FormatText.h"
#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/TrashFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Anything at all under that name, a dangling link included.
bool NameTaken(const QString& path)
{
    std::error_code error;
    return fs::symlink_status(FileSystemPath(path), error).type() != fs::file_type::not_found;
}

QString Candidate(const QString& base, int number)
{
    return number == 0 ? base : base + QStringLiteral("(%1)").arg(number);
}

[[noreturn]] void RefuseFolder(const QString& folder, const std::error_code& error)
{
    throw EPlanError(FormatText(GetLangString(QStringLiteral("sOutFolderFailed")),
                                {QDir::toNativeSeparators(folder), FileSystemErrorText(error)}));
}

} // namespace

QString TRunOutputs::FreeFolderName(const QString& base)
{
    int number = 0;
    while (NameTaken(Candidate(base, number)) && number < INT_MAX - 1)
        ++number;
    return WithTrailingBackslash(Candidate(base, number));
}

QString TRunOutputs::CreateFolder(const QString& base)
{
    // The parents that are missing, made one by one so that the run knows which are its own.
    QStringList missing;
    for (QString parent = QFileInfo(base).absolutePath(); !NameTaken(parent);
         parent = QFileInfo(parent).absolutePath()) {
        missing.prepend(parent);
        if (QFileInfo(parent).isRoot())
            break;
    }
    for (const QString& parent : std::as_const(missing)) {
        std::error_code error;
        if (fs::create_directory(FileSystemPath(parent), error))
            FFolders.append(parent);
        else if (error)
            RefuseFolder(parent, error);
    }
    for (int number = 0; number < INT_MAX; ++number) {
        const QString candidate = Candidate(base, number);
        std::error_code error;
        // Made anew, or taken by someone else: a folder that exists is never used.
        const bool made = fs::create_directory(FileSystemPath(candidate), error);
        if (made) {
            FFolders.append(candidate);
            FFolder = WithTrailingBackslash(candidate);
            return FFolder;
        }
        if (error && error != std::errc::file_exists)
            RefuseFolder(candidate, error);
    }
    RefuseFolder(base, std::make_error_code(std::errc::file_exists));
}

void TRunOutputs::AddFile(const QString& path)
{
    FFiles.insert(path);
}

void TRunOutputs::Remove()
{
    for (const QString& file : std::as_const(FFiles))
        QFile::remove(file);
    FFiles.clear();
    RemoveFolders();
}

void TRunOutputs::Discard(bool useTrash)
{
    if (useTrash && !FFolder.isEmpty() && !FFiles.isEmpty() && FolderHoldsOnlyOurFiles() &&
        MoveFolderToTrash(FFolder)) {
        FFiles.clear();
        FFolders.removeLast();
    }
    Remove();
}

void TRunOutputs::Clear()
{
    FFolder.clear();
    FFolders.clear();
    FFiles.clear();
}

bool TRunOutputs::FolderHoldsOnlyOurFiles() const
{
    const QDir folder(FFolder);
    const QStringList names =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (!FFiles.contains(FFolder + name))
            return false;
    }
    return true;
}

// Innermost first; a folder that still holds anything (not the run's) stays. The folders are
// kept without a trailing separator.
void TRunOutputs::RemoveFolders()
{
    while (!FFolders.isEmpty())
        QDir().rmdir(FFolders.takeLast());
}
