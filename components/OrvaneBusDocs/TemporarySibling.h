#pragma once

#include <QString>

// A new, empty file with a unique hidden name beside a target file, created exclusively with
// the default permissions of new files. It is removed when the object goes, unless it was
// renamed onto the target.
class TemporarySibling
{
public:
    // Throws when no file can be created in the folder of the target.
    explicit TemporarySibling(const QString& targetPath);
    ~TemporarySibling();

    TemporarySibling(const TemporarySibling&) = delete;
    TemporarySibling& operator=(const TemporarySibling&) = delete;

    const QString& path() const { return path_; }

    // Renames the file onto the target, replacing a file of that name. Throws on failure.
    void commit();

private:
    QString targetPath_;
    QString path_;
    bool committed_ = false;
};
