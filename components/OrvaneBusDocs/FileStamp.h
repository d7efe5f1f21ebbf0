#pragma once

#include <QString>

#include <cstdint>

// Size and modification time of a file: tells whether a document read earlier is still the
// file on disk.
struct FileStamp
{
    std::int64_t size = -1;
    std::int64_t modified = 0; // in the file system's own clock ticks

    // Read without the local time zone, which the C runtime guards with a lock of its own that
    // workers reading the file at the same time would contend for.
    static FileStamp Of(const QString& path);

    friend bool operator==(const FileStamp& a, const FileStamp& b)
    {
        return a.size == b.size && a.modified == b.modified;
    }
};
