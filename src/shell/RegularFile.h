#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The contents of a regular file; none when the file is missing or unreadable, or when the
// name stands for anything else. A pipe, a device or a socket named like one of the program's
// files would block the reader for good, before any event loop could end it.
std::optional<QByteArray> ReadRegularFile(const QString& path);
