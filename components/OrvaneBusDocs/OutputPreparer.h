#pragma once

#include "PdfOpener.h"
#include "TemporarySibling.h"

#include <QString>

#include <condition_variable>
#include <exception>
#include <future>
#include <memory>
#include <optional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class NavigationIndex;
class PdfSource;
class RunPageMap;

// One output of a run as a worker makes it. Its fields after `pages` belong to the preparer's
// lock.
struct PreparedOutput
{
    enum class State
    {
        Waiting,
        Working,
        Written,   // complete in its temporary file, waiting to be put into place
        Failed,    // could not be written
        Abandoned, // the run stopped first
    };

    PreparedOutput(QString target, const std::vector<int>& inputPages)
        : path(std::move(target)), pages(inputPages), pageErrors(inputPages.size())
    {
    }

    const QString path;
    const std::vector<int>& pages; // input pages, 0-based, in the output's order (the run's map)

    State state = State::Waiting;
    bool claimed = false;
    int pagesDone = 0;
    std::vector<std::exception_ptr> pageErrors; // what copying each page raised, if anything
    std::exception_ptr failure;
    std::unique_ptr<TemporarySibling> file;
    std::vector<QString> warnings;
};

// Makes the outputs of a run on several threads, ahead of the run. Each worker owns a reading
// of the input of its own (never shared, so no document object is used by two threads at
// once): the first worker is lent the run's own reading, which the run does not use while
// workers copy; the others read the input anew. Each takes the outputs of one stretch of the
// run in the run's order (the stretches hold about as many pages each), copies their pages and
// writes each to a temporary file beside its target; a worker done with its stretch takes the
// last outputs of the others. A reading keeps what it has read: stretches keep each worker's
// reading to its part of the input, where interleaved outputs would have each worker read
// nearly all of it.
// What is the same for every reading of the input (whether its pages share resources, its
// bookmarks and named destinations as plain data) is worked out once, by the first worker on
// the lent reading, and handed to the others as values.
// The run's own requests then find each output made: the output document object that opens
// the target claims it (Claim), its page copies wait for the worker's, and its Close puts the
// written file into place. So notifications, the order of outputs and the naming of files stay
// the run's; only the work moves.
//
// A stop ends the workers after their current page and removes their temporary files; a
// pause holds them after their current page. The preparer ends when the run's input and the
// outputs that claimed its work let go of it; what nobody claimed is removed then.
class OutputPreparer : public std::enable_shared_from_this<OutputPreparer>
{
public:
    struct Settings
    {
        // The run's reading: lent to the first worker until the work ends (endWork); the
        // others open the same file with the password bytes that opened it.
        std::shared_ptr<PdfSource> input;
        int runOptions = 0;
        int jobs = 1;
        std::shared_ptr<const RunPageMap> map;
    };

    static std::shared_ptr<OutputPreparer> Start(Settings settings);
    ~OutputPreparer();

    OutputPreparer(const OutputPreparer&) = delete;
    OutputPreparer& operator=(const OutputPreparer&) = delete;

    // An output being prepared for this path, with its preparer, once: a second claim, or a
    // path no preparer makes, gets nothing.
    struct Claim
    {
        std::shared_ptr<OutputPreparer> preparer;
        PreparedOutput* output = nullptr;
        explicit operator bool() const { return output != nullptr; }
    };
    static Claim ClaimOutput(const QString& path);

    // Waits until page `ordinal` of the output is copied; rethrows what copying it raised.
    // Throws OutputNotOpen when the output will not be made (stopped, failed).
    void waitForPage(PreparedOutput& output, int ordinal);
    // Waits until the output is written and hands over its file, not yet in place, with the
    // warnings met; null when it was abandoned or got no page; rethrows the failure of its
    // writing.
    std::unique_ptr<TemporarySibling> takeWritten(PreparedOutput& output,
                                                  std::vector<QString>& warnings);

    void pause();
    void resume();
    // Never blocks: the workers end after their current page.
    void stop();
    // When the run's input closes: waits for the workers to end (they have copied every page
    // by then, unless the run stopped), gives the run's reading back and, after a stop,
    // removes every file not yet put into place, so that the run finds its folder as it left
    // it.
    void endWork();

private:
    explicit OutputPreparer(Settings settings);

    void work(std::size_t stretch, bool lent);
    OpenOutcome reading(bool lent) const;
    void publishRunFacts(PdfSource& source);
    void adoptNavigation(PdfSource& source);
    // The next output for the worker of `stretch`; null when no output waits any more.
    PreparedOutput* nextOutput(std::size_t stretch);
    PreparedOutput* startWaiting(std::size_t index);
    void make(PreparedOutput& output, const std::shared_ptr<PdfSource>& source);
    bool mayProceed(PreparedOutput& output);

    const Settings settings_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<PreparedOutput>> outputs_;
    bool paused_ = false;
    bool stopped_ = false;
    // Set by the first worker before it copies anything, whatever happens.
    std::promise<std::optional<bool>> sharesResourcesFound_;
    std::shared_future<std::optional<bool>> sharesResources_{sharesResourcesFound_.get_future()};
    std::promise<std::shared_ptr<const NavigationIndex>> navigationRead_;
    std::shared_future<std::shared_ptr<const NavigationIndex>> navigation_{
        navigationRead_.get_future()};
    // The outputs [next, end) each worker has still to make, under the lock.
    struct Stretch
    {
        std::size_t next;
        std::size_t end;
    };
    std::vector<Stretch> stretches_;
    std::vector<std::thread> workers_;
    std::once_flag joined_;
};
