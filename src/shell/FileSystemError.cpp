#include "shell/FileSystemError.h"

#include "shell/LanguageMgr.h"

namespace {

const char* ReasonKey(const std::error_code& error)
{
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return "sReasonNoPermission";
    if (error == std::errc::read_only_file_system)
        return "sReasonReadOnly";
    if (error == std::errc::not_a_directory || error == std::errc::file_exists)
        return "sReasonNotAFolder";
    if (error == std::errc::filename_too_long)
        return "sReasonNameTooLong";
    if (error == std::errc::no_space_on_device)
        return "sReasonDiskFull";
    if (error == std::errc::no_such_file_or_directory)
        return "sReasonMissing";
    return nullptr;
}

} // namespace

QString FileSystemErrorText(const std::error_code& error)
{
    const char* key = ReasonKey(error);
    const QString system = QString::fromLocal8Bit(error.message());
    return key == nullptr ? system : GetLangString(QString::fromLatin1(key), system);
}
