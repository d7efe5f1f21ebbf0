#pragma once

// The run-message port: the conversion run tells its front end everything through messages
// posted to a target, never by calling the front end. The window's target queues an event
// onto its own thread; the command line and the tests use TRunMessageQueue.

#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

// Message numbers and their parameters.
inline constexpr unsigned WM_SPLIT_PROGRESS = 0x465; // CurrentIndex, overall percent 0..100
inline constexpr unsigned WM_SPLIT_ERROR = 0x466;    // document index, error code
inline constexpr unsigned WM_SPLIT_DONE = 0x467;     // document index, kDone* value
inline constexpr unsigned WM_SPLIT_ENABLE = 0x469;   // 1 enable Convert, 0 disable; 0

inline constexpr qintptr kDoneInput = 0;   // this input document is done
inline constexpr qintptr kDoneRun = 1;     // the whole run is done
inline constexpr qintptr kDoneStopped = 3; // the run ended without finishing (stop or failure)

// Errors of the run itself, posted with WM_SPLIT_ERROR next to the engine's codes: the run
// has ended, nothing of it stays, and the user is told "sFileconvertFaild".
inline constexpr qintptr kRunErrorOutputOpen = 0x10001; // an output cannot be created
inline constexpr qintptr kRunErrorNoOperation = 0x10002; // the engine gave no copy operation
// The input changed on disk while it was split: the outputs may mix two versions of it, so
// the run fails and removes them.
inline constexpr qintptr kRunErrorInputChanged = 0x10003;

// Not an error: an output was written, but the PDF library met damage on the way (a repaired
// input, an unreadable object or stream), so it may be incomplete. The run goes on; the
// run's Warnings say what was met.
inline constexpr qintptr kRunWarningDamaged = 0x10010;

struct TRunMessage
{
    unsigned message = 0;
    qintptr wParam = 0;
    qintptr lParam = 0;

    friend bool operator==(const TRunMessage&, const TRunMessage&) = default;
};

class IRunMessageTarget
{
public:
    virtual ~IRunMessageTarget() = default;
    // Called on any thread; must not call back into the run.
    virtual void PostRunMessage(const TRunMessage& message) = 0;
};

// A thread-safe queue of run messages that its owner drains.
class TRunMessageQueue final : public IRunMessageTarget
{
public:
    void PostRunMessage(const TRunMessage& message) override
    {
        {
            std::lock_guard lock(FMutex);
            FMessages.push_back(message);
        }
        FPosted.notify_all();
    }

    // The oldest message, waiting up to timeout for one.
    std::optional<TRunMessage> Take(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(FMutex);
        if (!FPosted.wait_for(lock, timeout, [this] { return !FMessages.empty(); }))
            return std::nullopt;
        TRunMessage message = FMessages.front();
        FMessages.pop_front();
        return message;
    }

private:
    std::mutex FMutex;
    std::condition_variable FPosted;
    std::deque<TRunMessage> FMessages;
};
