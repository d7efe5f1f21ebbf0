#include "OperationWorker.h"

#include "NotifySinks.h"
#include "PdfDocObject.h"
#include "PdfSource.h"
#include "engine/DocEngine.h"

#include <qpdf/QPDFExc.hh>

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <exception>
#include <vector>

std::shared_ptr<OperationWorker> OperationWorker::Create(std::shared_ptr<NotifySinks> sinks)
{
    return std::shared_ptr<OperationWorker>(new OperationWorker(std::move(sinks)));
}

OperationWorker::OperationWorker(std::shared_ptr<NotifySinks> sinks) : sinks_(std::move(sinks))
{
}

OperationWorker::~OperationWorker() = default;

bool OperationWorker::setOnCallerThread(bool onCallerThread)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (started_)
        return false;
    const QCoreApplication* application = QCoreApplication::instance();
    if (onCallerThread &&
        (application == nullptr || application->thread() != QThread::currentThread()))
        return false;
    onCallerThread_ = onCallerThread;
    return true;
}

void OperationWorker::copyPages(ComPtr<PdfDocObject> input, ComPtr<PdfDocObject> output,
                                int first, int last)
{
    enqueue(CopyJob{std::move(input), std::move(output), first, last});
}

void OperationWorker::postError(std::int32_t kind, std::int32_t detail, std::int32_t error)
{
    enqueue(EventJob{kind, detail, error});
}

void OperationWorker::pause()
{
    std::lock_guard<std::mutex> lock(mutex_);
    startLocked();
    paused_ = true;
}

void OperationWorker::resume()
{
    std::lock_guard<std::mutex> lock(mutex_);
    startLocked();
    paused_ = false;
    wakeUp_.notify_all();
    scheduleLocked();
}

void OperationWorker::stop()
{
    std::deque<WorkerJob> dropped; // released after the lock
    std::lock_guard<std::mutex> lock(mutex_);
    startLocked();
    for (const WorkerJob& job : queue_) {
        if (const auto* copy = std::get_if<CopyJob>(&job.work); copy && copy->output)
            copy->output->abandon();
    }
    if (runningOutput_)
        runningOutput_->abandon();
    dropped.swap(queue_);
    ++generation_;
    paused_ = false;
    queue_.push_back({generation_, EventJob{kNotifyEvent, 0, kEventStopped}});
    wakeUp_.notify_all();
    scheduleLocked();
}

void OperationWorker::shutDown()
{
    std::unique_lock<std::mutex> lock(mutex_);
    shuttingDown_ = true;
    started_ = true; // nothing starts after this
    wakeUp_.notify_all();
    if (!thread_.joinable())
        return;
    // A shutdown from another thread gives the worker a moment to end, so that no worker
    // outlives its operation when the process ends. One held up in a notification, perhaps
    // waiting for this very caller, is let go instead of waited for.
    const bool ended = thread_.get_id() != std::this_thread::get_id() &&
                       wakeUp_.wait_for(lock, kShutDownWait, [this] { return ended_; });
    lock.unlock();
    if (ended)
        thread_.join();
    else
        thread_.detach();
}

void OperationWorker::enqueue(std::variant<CopyJob, EventJob> work)
{
    std::lock_guard<std::mutex> lock(mutex_);
    startLocked();
    queue_.push_back({generation_, std::move(work)});
    wakeUp_.notify_all();
    scheduleLocked();
}

// The first request fixes where the work runs.
void OperationWorker::startLocked()
{
    if (started_)
        return;
    started_ = true;
    if (!onCallerThread_) {
        // The thread holds the worker, so a worker shut down from its own thread (the last
        // reference to the operation released inside a notification) stays valid until it
        // ends.
        thread_ = std::thread([self = shared_from_this()] { self->run(); });
    }
}

// On the caller's thread: posts the next job's turn to its event loop, unless one is posted
// or there is nothing to do now.
void OperationWorker::scheduleLocked()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!onCallerThread_ || turnScheduled_ || shuttingDown_ || paused_ || queue_.empty() ||
        application == nullptr)
        return;
    turnScheduled_ = true;
    QMetaObject::invokeMethod(
        application,
        [weak = weak_from_this()] {
            if (const std::shared_ptr<OperationWorker> self = weak.lock())
                self->runOneJob();
        },
        Qt::QueuedConnection);
}

void OperationWorker::run()
{
    WorkerJob job;
    while (nextJob(job)) {
        execute(job);
        ComPtr<PdfDocObject> finished;
        std::lock_guard<std::mutex> lock(mutex_);
        finished = std::move(runningOutput_);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    ended_ = true;
    wakeUp_.notify_all();
}

void OperationWorker::runOneJob()
{
    std::vector<WorkerJob> released;
    WorkerJob job;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        turnScheduled_ = false;
        if (shuttingDown_ || paused_ || !takeJob(job, released))
            return;
    }
    execute(job);
    ComPtr<PdfDocObject> finished;
    std::lock_guard<std::mutex> lock(mutex_);
    finished = std::move(runningOutput_);
    scheduleLocked();
}

void OperationWorker::execute(const WorkerJob& job)
{
    if (const auto* copyJob = std::get_if<CopyJob>(&job.work)) {
        copy(*copyJob, job.generation);
    } else {
        const auto& event = std::get<EventJob>(job.work);
        deliver(job.generation, event.kind, event.first, event.second);
    }
}

// Waits for the next job of the current generation; false when the worker shuts down.
bool OperationWorker::nextJob(WorkerJob& job)
{
    std::vector<WorkerJob> released{std::move(job)};
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wakeUp_.wait(lock, [this] { return shuttingDown_ || !queue_.empty(); });
        if (shuttingDown_)
            return false;
        if (takeJob(job, released))
            return true;
    }
}

// Takes the first queued job of the current generation, setting jobs of older ones aside.
bool OperationWorker::takeJob(WorkerJob& job, std::vector<WorkerJob>& released)
{
    while (!queue_.empty()) {
        WorkerJob next = std::move(queue_.front());
        queue_.pop_front();
        if (next.generation != generation_) {
            released.push_back(std::move(next));
            continue;
        }
        job = std::move(next);
        if (const auto* copyJob = std::get_if<CopyJob>(&job.work))
            runningOutput_ = copyJob->output;
        return true;
    }
    return false;
}

void OperationWorker::copy(const CopyJob& job, std::uint64_t generation)
{
    const std::shared_ptr<PdfSource> source = job.input ? job.input->inputSource() : nullptr;
    bool reachedEnd = true;
    if (!source)
        reachedEnd = deliver(generation, kNotifyError, 0, kErrorInputUnreadable);
    else if (!job.output)
        reachedEnd = deliver(generation, kNotifyError, 0, kErrorOutputUnwritable);
    else
        reachedEnd = copyRange(job, source, job.first, job.last, generation);
    if (reachedEnd)
        deliver(generation, kNotifyEvent, 0, kEventPageDone);
}

// Copies the pages of the range that the input has and reports the others as one error;
// progress is told whenever the percentage changes. False when halted on the way.
bool OperationWorker::copyRange(const CopyJob& job, const std::shared_ptr<PdfSource>& source,
                                int first, int last, std::uint64_t generation)
{
    const int from = std::max(first, 1);
    const int to = std::min(last, source->pageCount());
    if (first <= last && (first < 1 || last > source->pageCount())) {
        const int missing = first < 1 ? first : std::max(first, source->pageCount() + 1);
        if (!deliver(generation, kNotifyError, missing, kErrorPageUnreadable))
            return false;
    }
    int reported = -1;
    for (int page = from; page <= to; ++page) {
        const Step step = copyPage(job, source, page, generation);
        if (step == Step::Halt)
            return false;
        if (step == Step::EndRange)
            break;
        const auto percent =
            static_cast<std::int32_t>((page - from + 1) * 100LL / (to - from + 1));
        if (percent != reported && !deliver(generation, kNotifyProgress, percent, 0))
            return false;
        reported = percent;
    }
    return reported == 100 || deliver(generation, kNotifyProgress, 100, 0);
}

OperationWorker::Step OperationWorker::copyPage(const CopyJob& job,
                                                const std::shared_ptr<PdfSource>& source,
                                                int page, std::uint64_t generation)
{
    if (!mayProceed(generation))
        return Step::Halt;
    try {
        job.output->appendPage(source, page - 1, weak_from_this());
        return Step::Next;
    } catch (const OutputNotOpen&) {
        return deliver(generation, kNotifyError, page, kErrorOutputUnwritable) ? Step::EndRange
                                                                                : Step::Halt;
    } catch (const QPDFExc& error) {
        return deliver(generation, kNotifyLibraryError, error.getErrorCode(), kErrorPageUnreadable)
                   ? Step::Next
                   : Step::Halt;
    } catch (const std::exception&) {
        return deliver(generation, kNotifyError, page, kErrorPageUnreadable) ? Step::Next
                                                                              : Step::Halt;
    }
}

// Holds the thread while paused; false when the generation has ended or the worker shuts down.
// On the caller's thread nothing can be waited for: a pause holds the next job instead.
bool OperationWorker::mayProceed(std::uint64_t generation)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!onCallerThread_)
        wakeUp_.wait(lock, [&] { return shuttingDown_ || generation_ != generation || !paused_; });
    return !shuttingDown_ && generation_ == generation;
}

bool OperationWorker::deliver(std::uint64_t generation, std::int32_t kind, std::int32_t first,
                              std::int32_t second)
{
    if (!mayProceed(generation))
        return false;
    sinks_->notify(kind, first, second);
    return true;
}
