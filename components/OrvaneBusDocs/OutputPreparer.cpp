#include "OutputPreparer.h"

#include "engine/DocEngine.h"
#include "NavigationIndex.h"
#include "PdfDocObject.h"
#include "PdfOpener.h"
#include "PdfOutput.h"
#include "PdfSource.h"
#include "RunPageMap.h"
#include "TemporarySibling.h"

#include <algorithm>
#include <stdexcept>

namespace {

// The preparers of the runs under way, so that an output document object finds the one that
// makes its file. Never destroyed, as a preparer may end while the process exits.
struct Registry
{
    std::mutex mutex;
    std::vector<std::weak_ptr<OutputPreparer>> preparers;
};

Registry& Preparers()
{
    static auto* const registry = new Registry;
    return *registry;
}

// Consecutive stretches of the outputs, one per worker, of about as many pages each.
std::vector<std::pair<std::size_t, std::size_t>> Stretches(
    const std::vector<std::unique_ptr<PreparedOutput>>& outputs, int jobs)
{
    std::size_t total = 0;
    for (const std::unique_ptr<PreparedOutput>& output : outputs)
        total += output->pages.size();
    const std::size_t parts = std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)),
                                                    outputs.size());
    std::vector<std::pair<std::size_t, std::size_t>> stretches;
    std::size_t first = 0;
    std::size_t pages = 0;
    for (std::size_t o = 0; o < outputs.size(); ++o) {
        pages += outputs[o]->pages.size();
        const std::size_t share = total * (stretches.size() + 1) / parts;
        const std::size_t left = outputs.size() - o - 1;
        const std::size_t stretchesLeft = parts - stretches.size() - 1;
        if (stretchesLeft > 0 && (pages >= share || left == stretchesLeft)) {
            stretches.emplace_back(first, o + 1);
            first = o + 1;
        }
    }
    if (first < outputs.size())
        stretches.emplace_back(first, outputs.size());
    return stretches;
}

} // namespace

std::shared_ptr<OutputPreparer> OutputPreparer::Start(Settings settings)
{
    std::shared_ptr<OutputPreparer> preparer(new OutputPreparer(std::move(settings)));
    for (const auto& [first, end] : Stretches(preparer->outputs_, preparer->settings_.jobs))
        preparer->stretches_.push_back({first, end});
    for (std::size_t s = 0; s < preparer->stretches_.size(); ++s) {
        // The first stretch is the one the run waits for first.
        preparer->workers_.emplace_back([raw = preparer.get(), s] { raw->work(s, s == 0); });
    }
    Registry& registry = Preparers();
    std::lock_guard<std::mutex> lock(registry.mutex);
    const auto gone = [](const std::weak_ptr<OutputPreparer>& entry) { return entry.expired(); };
    registry.preparers.erase(
        std::remove_if(registry.preparers.begin(), registry.preparers.end(), gone),
        registry.preparers.end());
    registry.preparers.push_back(preparer);
    return preparer;
}

OutputPreparer::OutputPreparer(Settings settings) : settings_(std::move(settings))
{
    settings_.input->setLent(true);
    const RunPageMap& map = *settings_.map;
    for (int o = 0; o < map.outputCount(); ++o) {
        outputs_.push_back(std::make_unique<PreparedOutput>(map.outputPath(o), map.pagesOf(o)));
    }
}

// The workers are ended before anything they use goes; the files of outputs nobody claimed
// go with their records.
OutputPreparer::~OutputPreparer()
{
    stop();
    endWork();
}

void OutputPreparer::endWork()
{
    std::call_once(joined_, [this] {
        for (std::thread& worker : workers_)
            worker.join();
        settings_.input->setLent(false);
    });
    std::lock_guard<std::mutex> lock(mutex_);
    if (!stopped_)
        return;
    for (const std::unique_ptr<PreparedOutput>& output : outputs_)
        output->file.reset();
}

OutputPreparer::Claim OutputPreparer::ClaimOutput(const QString& path)
{
    Registry& registry = Preparers();
    std::vector<std::shared_ptr<OutputPreparer>> live;
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        for (const std::weak_ptr<OutputPreparer>& entry : registry.preparers) {
            if (std::shared_ptr<OutputPreparer> preparer = entry.lock())
                live.push_back(std::move(preparer));
        }
    }
    for (const std::shared_ptr<OutputPreparer>& preparer : live) {
        std::lock_guard<std::mutex> lock(preparer->mutex_);
        for (const std::unique_ptr<PreparedOutput>& output : preparer->outputs_) {
            if (output->path != path || output->claimed ||
                output->state == PreparedOutput::State::Abandoned)
                continue;
            output->claimed = true;
            return {preparer, output.get()};
        }
    }
    return {};
}

void OutputPreparer::waitForPage(PreparedOutput& output, int ordinal)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] {
        return output.pagesDone > ordinal || output.state == PreparedOutput::State::Failed ||
               output.state == PreparedOutput::State::Abandoned;
    });
    if (output.pagesDone <= ordinal || ordinal < 0)
        throw OutputNotOpen();
    if (const std::exception_ptr error = output.pageErrors[static_cast<std::size_t>(ordinal)])
        std::rethrow_exception(error);
}

std::unique_ptr<TemporarySibling> OutputPreparer::takeWritten(PreparedOutput& output,
                                                              std::vector<QString>& warnings)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] {
        return output.state == PreparedOutput::State::Written ||
               output.state == PreparedOutput::State::Failed ||
               output.state == PreparedOutput::State::Abandoned;
    });
    if (output.state == PreparedOutput::State::Failed)
        std::rethrow_exception(output.failure);
    warnings = std::move(output.warnings);
    return std::move(output.file);
}

void OutputPreparer::pause()
{
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = true;
}

void OutputPreparer::resume()
{
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = false;
    changed_.notify_all();
}

void OutputPreparer::stop()
{
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    for (const std::unique_ptr<PreparedOutput>& output : outputs_) {
        if (output->state == PreparedOutput::State::Waiting)
            output->state = PreparedOutput::State::Abandoned;
    }
    changed_.notify_all();
}

void OutputPreparer::work(std::size_t stretch, bool lent)
{
    const OpenOutcome opened = reading(lent);
    if (lent)
        publishRunFacts(*opened.source);
    else if (opened.source && sharesResources_.get())
        opened.source->assumePagesShareResources(*sharesResources_.get());
    while (PreparedOutput* output = nextOutput(stretch)) {
        if (!opened.source) {
            std::lock_guard<std::mutex> lock(mutex_);
            output->failure = std::make_exception_ptr(std::runtime_error("the input cannot be read"));
            output->state = PreparedOutput::State::Failed;
            changed_.notify_all();
            continue;
        }
        make(*output, opened.source);
    }
}

// The lent reading is used through a pointer that owns nothing: the preparer holds it, so the
// worker never releases it (its release takes the engine lock, which the run may hold while it
// waits for the workers).
OpenOutcome OutputPreparer::reading(bool lent) const
{
    if (lent)
        return {OpenStatus::Opened, std::shared_ptr<PdfSource>(std::shared_ptr<PdfSource>(),
                                                               settings_.input.get())};
    OpenOutcome opened = OpenOwnPdf(settings_.input->path(), settings_.input->password());
    if (opened.source)
        opened.source->setRunPageMap(settings_.map);
    return opened;
}

// Never throws, so that the workers waiting for these always get them: what cannot be worked
// out is left to each reading.
void OutputPreparer::publishRunFacts(PdfSource& source)
{
    std::optional<bool> share;
    try {
        share = source.pagesShareResources();
    } catch (const std::exception&) {
    }
    sharesResourcesFound_.set_value(share);
    std::shared_ptr<const NavigationIndex> navigation;
    try {
        if ((settings_.runOptions & kRunOptionNavigation) != 0)
            navigation = source.sharedNavigation();
    } catch (const std::exception&) {
    }
    navigationRead_.set_value(std::move(navigation));
}

// Just before the first output of a worker's own reading is written, which is when the first
// worker has long read them.
void OutputPreparer::adoptNavigation(PdfSource& source)
{
    if (&source == settings_.input.get() || (settings_.runOptions & kRunOptionNavigation) == 0)
        return;
    if (std::shared_ptr<const NavigationIndex> navigation = navigation_.get())
        source.shareNavigation(std::move(navigation));
}

PreparedOutput* OutputPreparer::nextOutput(std::size_t stretch)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Stretch& own = stretches_[stretch];
    while (own.next < own.end) {
        if (PreparedOutput* output = startWaiting(own.next++))
            return output;
    }
    // Done with its own: the last output of the stretch with the most still waiting, so that
    // no worker idles while another has work left (one that read the run's navigation, or
    // copies larger pages). Taken from the end, which the run needs last.
    const auto waiting = [](const Stretch& left) { return left.end - left.next; };
    for (;;) {
        Stretch* longest = nullptr;
        for (Stretch& other : stretches_) {
            if (waiting(other) > 0 && (!longest || waiting(other) > waiting(*longest)))
                longest = &other;
        }
        if (!longest)
            return nullptr;
        if (PreparedOutput* output = startWaiting(--longest->end))
            return output;
    }
}

PreparedOutput* OutputPreparer::startWaiting(std::size_t index)
{
    PreparedOutput& output = *outputs_[index];
    if (output.state != PreparedOutput::State::Waiting)
        return nullptr;
    output.state = PreparedOutput::State::Working;
    return &output;
}

void OutputPreparer::make(PreparedOutput& output, const std::shared_ptr<PdfSource>& source)
{
    try {
        PdfOutput pdf(output.path, settings_.runOptions);
        for (std::size_t i = 0; i < output.pages.size(); ++i) {
            if (!mayProceed(output))
                return;
            std::exception_ptr error;
            try {
                pdf.appendPage(source, output.pages[i]);
            } catch (...) {
                error = std::current_exception(); // the run tells it when it reaches the page
            }
            std::lock_guard<std::mutex> lock(mutex_);
            output.pageErrors[i] = error;
            output.pagesDone = static_cast<int>(i) + 1;
            changed_.notify_all();
        }
        if (!mayProceed(output))
            return;
        adoptNavigation(*source);
        // Without a page nothing is written, as when the run copies the pages itself.
        std::unique_ptr<TemporarySibling> file = pdf.pageCount() > 0 ? pdf.writeKept() : nullptr;
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopped_) {
            output.state = PreparedOutput::State::Abandoned;
        } else {
            output.file = std::move(file);
            if (output.file) {
                const QStringList warnings = pdf.warnings().lines();
                output.warnings.assign(warnings.begin(), warnings.end());
            }
            output.state = PreparedOutput::State::Written;
        }
        changed_.notify_all();
    } catch (...) {
        std::lock_guard<std::mutex> lock(mutex_);
        output.failure = std::current_exception();
        output.state = stopped_ ? PreparedOutput::State::Abandoned : PreparedOutput::State::Failed;
        changed_.notify_all();
    }
}

// Holds the worker while paused; false (the output abandoned) once the run has stopped.
bool OutputPreparer::mayProceed(PreparedOutput& output)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return stopped_ || !paused_; });
    if (!stopped_)
        return true;
    output.state = PreparedOutput::State::Abandoned;
    changed_.notify_all();
    return false;
}

