#pragma once

#include <QString>

#include <cstdio>

// A new, empty file with a short, unique, hidden name (".tavlo-<random>.tmp") beside a target
// file, created exclusively with the default permissions of new files. It is removed when the
// object goes, unless it was renamed onto the target.
class TemporarySibling
{
public:
    // Throws when no file can be created in the folder of the target.
    explicit TemporarySibling(const QString& targetPath);
    ~TemporarySibling();

    TemporarySibling(const TemporarySibling&) = delete;
    TemporarySibling& operator=(const TemporarySibling&) = delete;

    const QString& path() const { return path_; }

    // A stream writing the file from its start; it stays open until commit or destruction.
    // Throws when the file cannot be opened.
    std::FILE* stream();

    // Closes the stream, so that the data is the file's; throws when that fails. Called by
    // commit when it was not before.
    void finishWriting();

    // Finishes writing, then renames the file to the target's name, never replacing a file
    // that has that name. Throws when either fails (the file is then still this object's).
    void commit();

private:

    QString targetPath_;
    QString path_;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
};
