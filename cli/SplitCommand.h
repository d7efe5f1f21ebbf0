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

// What the command shares with its signal handlers.
struct TStopRequest
{
    // Set by a stop signal: the run stops as Cancel does and removes what it wrote.
    std::atomic<bool> Requested{false};
    // Set while the command has made nothing on disk and holds no terminal: a stop signal may
    // then end the process at once (the PDF library's reading of a large file cannot be
    // interrupted, and there is nothing to remove).
    std::atomic<bool> EndAtOnce{true};
    // The signal that asked for the stop; 0 for none.
    std::atomic<int> Signal{0};
};

// Checks the input and the options, then plans and runs the split, or prints the plan. The
// output folder goes to out, messages and the progress bar to err.
int RunSplitCommand(const TSplitOptions& options, QTextStream& out, QTextStream& err,
                    TStopRequest& stop);
