#pragma once

#include "SplitOptions.h"

#include <atomic>

class QTextStream;

// Exit codes of tavlo-split.
inline constexpr int kExitDone = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitInputUnusable = 2;
inline constexpr int kExitSplitFailed = 3;
// Done, but the input is damaged: the PDF library met damage while the outputs were written,
// so some of them may be incomplete. Standard error lists what it met.
inline constexpr int kExitDamaged = 4;
// Stopped by Ctrl-C (main answers 128 + the signal for a termination or hang-up).
inline constexpr int kExitStopped = 130;

// Checks the input and the options, then plans and runs the split, or prints the plan. The
// output folder goes to out, messages and the progress bar to err. A set stopRequested stops
// the run as Cancel does.
int RunSplitCommand(const TSplitOptions& options, QTextStream& out, QTextStream& err,
                    const std::atomic<bool>& stopRequested);
