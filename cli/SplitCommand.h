#pragma once

#include "SplitOptions.h"

#include <atomic>

class QTextStream;

// Exit codes of tavlo-split.
inline constexpr int kExitDone = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitInputUnusable = 2;
inline constexpr int kExitSplitFailed = 3;
inline constexpr int kExitStopped = 130;

// Checks the input and the options, then plans and runs the split, or prints the plan. The
// output folder goes to out, messages and the progress bar to err. A set stopRequested stops
// the run as Cancel does.
int RunSplitCommand(const TSplitOptions& options, QTextStream& out, QTextStream& err,
                    const std::atomic<bool>& stopRequested);
