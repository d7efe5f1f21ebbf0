#pragma once

#include <QString>

#include <optional>

// Asks for the open password of the file on the controlling terminal, without echo, when
// standard input is a terminal; empty otherwise (scripts are never asked).
std::optional<QString> AskPassword(const QString& fileName);
