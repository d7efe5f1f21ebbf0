#pragma once

#include "engine/ComPtr.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <variant>
#include <vector>

class NotifySinks;
class PdfDocObject;
class PdfSource;

// Requests queued for an operation's worker.
struct CopyJob
{
    ComPtr<PdfDocObject> input;
    ComPtr<PdfDocObject> output;
    int first = 0;
    int last = 0;
};

struct EventJob
{
    std::int32_t kind = 0;
    std::int32_t first = 0;
    std::int32_t second = 0;
};

struct WorkerJob
{
    std::uint64_t generation = 0;
    std::variant<CopyJob, EventJob> work;
};

// What copies pages for one operation and sends its notifications: a thread of its own,
// started with the first request, or the event loop of the application's thread
// (SetThreading), one job per turn. Requests are queued and return at once; only the worker
// calls the sinks. A stop moves the worker to a new generation: the work of the old one is
// dropped at its next step.
class OperationWorker : public std::enable_shared_from_this<OperationWorker>
{
public:
    static constexpr std::chrono::milliseconds kShutDownWait{1000};

    static std::shared_ptr<OperationWorker> Create(std::shared_ptr<NotifySinks> sinks);
    ~OperationWorker();

    // false once a request was made, or for the caller's thread when it is not the thread of
    // the Qt application object.
    bool setOnCallerThread(bool onCallerThread);

    void copyPages(ComPtr<PdfDocObject> input, ComPtr<PdfDocObject> output, int first, int last);
    void postError(std::int32_t kind, std::int32_t detail, std::int32_t error);
    void pause();
    void resume();
    // Drops the queued work, abandons its outputs and the running one's, releases a pause,
    // and queues the stopped event.
    void stop();
    // Ends the work after its current step. Waits a moment for the thread, unless called from
    // the worker itself; a thread that does not end by then is let go.
    void shutDown();

private:
    // What follows a page: the next one, the end of the range (the output is gone), or
    // nothing (stopped or shut down).
    enum class Step
    {
        Next,
        EndRange,
        Halt,
    };

    explicit OperationWorker(std::shared_ptr<NotifySinks> sinks);

    void run();
    void runOneJob();
    void execute(const WorkerJob& job);
    bool nextJob(WorkerJob& job);
    bool takeJob(WorkerJob& job, std::vector<WorkerJob>& released);
    void startLocked();
    void scheduleLocked();
    void copy(const CopyJob& job, std::uint64_t generation);
    bool copyRange(const CopyJob& job, const std::shared_ptr<PdfSource>& source, int first,
                   int last, std::uint64_t generation);
    Step copyPage(const CopyJob& job, const std::shared_ptr<PdfSource>& source, int page,
                  std::uint64_t generation);
    bool mayProceed(std::uint64_t generation);
    bool deliver(std::uint64_t generation, std::int32_t kind, std::int32_t first,
                 std::int32_t second);
    void enqueue(std::variant<CopyJob, EventJob> work);

    // Documents are released outside the worker's lock: releasing the last reference takes
    // the engine lock, which is held while errors are posted here.

    const std::shared_ptr<NotifySinks> sinks_;
    std::mutex mutex_;
    std::condition_variable wakeUp_;
    std::deque<WorkerJob> queue_;
    ComPtr<PdfDocObject> runningOutput_;
    std::uint64_t generation_ = 0;
    bool onCallerThread_ = false;
    bool started_ = false;
    bool turnScheduled_ = false; // on the caller's thread: a job's turn is posted
    bool paused_ = false;
    bool shuttingDown_ = false;
    bool ended_ = false;
    std::thread thread_;
};
