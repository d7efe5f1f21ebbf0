#pragma once

#include "split/RunMessages.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

// What the command line needs of a run's messages: its end, its errors and, when a bar is
// drawn, the overall percentage. Only a change that the front end acts on wakes the waiting
// thread, so a run of many small pages does not wake it several times a page.
class TRunWatcher final : public IRunMessageTarget
{
public:
    enum class TEnd
    {
        None,
        Done,    // the whole run is done
        Stopped, // ended without finishing (stop or failure)
    };

    struct TState
    {
        TEnd End = TEnd::None;
        std::set<qintptr> Errors;
        int Percent = -1; // -1 until the first progress (and always without a bar)
    };

    explicit TRunWatcher(bool wantProgress) : FWantProgress(wantProgress) {}

    void PostRunMessage(const TRunMessage& message) override;

    // Waits until the state differs from seen, or the timeout passes; answers the state.
    TState Wait(const TState& seen, std::chrono::milliseconds timeout);

private:
    const bool FWantProgress;
    std::mutex FMutex;
    std::condition_variable FChanged;
    TState FState;
};
