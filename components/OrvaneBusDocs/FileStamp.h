#pragma once

#include <QDateTime>
#include <QString>

// Size and modification time of a file: tells whether a document read earlier is still the
// file on disk.
struct FileStamp
{
    qint64 size = -1;
    QDateTime modified;

    static FileStamp Of(const QString& path);

    friend bool operator==(const FileStamp& a, const FileStamp& b)
    {
        return a.size == b.size && a.modified == b.modified;
    }
};
