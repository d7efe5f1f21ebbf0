#pragma once

#include <QString>

#include <system_error>

// Why a file or folder could not be made, for the user: the language text of the common
// causes, the system's own text for the rest.
QString FileSystemErrorText(const std::error_code& error);
