#pragma once

#include <QString>

#include <atomic>
#include <optional>

// Asks for the open password of the file on the controlling terminal, without echo, when
// standard input is a terminal; empty otherwise (scripts are never asked). A set stop flag
// (Ctrl-C, a termination signal) ends the question at once, also empty; the terminal is
// always left as it was found.
std::optional<QString> AskPassword(const QString& fileName, const std::atomic<bool>& stopRequested);
