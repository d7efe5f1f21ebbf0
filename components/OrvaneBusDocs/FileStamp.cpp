#include "FileStamp.h"

#include "WideText.h"

#include <filesystem>
#include <system_error>

FileStamp FileStamp::Of(const QString& path)
{
    const std::filesystem::path file = FileSystemPath(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return {};
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        return {};
    const auto modified = std::filesystem::last_write_time(file, error);
    if (error)
        return {};
    return {static_cast<std::int64_t>(size),
            static_cast<std::int64_t>(modified.time_since_epoch().count())};
}
