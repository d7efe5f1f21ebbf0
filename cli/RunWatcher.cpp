#include "RunWatcher.h"

namespace {

bool SameState(const TRunWatcher::TState& a, const TRunWatcher::TState& b)
{
    return a.End == b.End && a.Percent == b.Percent && a.Errors == b.Errors;
}

} // namespace

void TRunWatcher::PostRunMessage(const TRunMessage& message)
{
    std::lock_guard lock(FMutex);
    bool changed = false;
    switch (message.message) {
    case WM_SPLIT_PROGRESS:
        if (FWantProgress && FState.Percent != static_cast<int>(message.lParam)) {
            FState.Percent = static_cast<int>(message.lParam);
            changed = true;
        }
        break;
    case WM_SPLIT_ERROR: changed = FState.Errors.insert(message.lParam).second; break;
    case WM_SPLIT_DONE:
        // The first end counts: a stop after the run has ended changes nothing.
        if (FState.End == TEnd::None && message.lParam == kDoneRun) {
            FState.End = TEnd::Done;
            changed = true;
        } else if (FState.End == TEnd::None && message.lParam == kDoneStopped) {
            FState.End = TEnd::Stopped;
            changed = true;
        }
        break;
    default: break;
    }
    if (changed)
        FChanged.notify_all();
}

TRunWatcher::TState TRunWatcher::Wait(const TState& seen, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(FMutex);
    FChanged.wait_for(lock, timeout, [&] { return !SameState(FState, seen); });
    return FState;
}
