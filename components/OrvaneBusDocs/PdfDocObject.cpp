#include "PdfDocObject.h"

#include "ComGuard.h"
#include "EngineLock.h"
#include "FileStamp.h"
#include "OperationWorker.h"
#include "OutlineModel.h"
#include "PdfOpener.h"
#include "PdfOutput.h"
#include "PdfSource.h"
#include "RunPageMap.h"
#include "TemporarySibling.h"
#include "WideText.h"

#include <algorithm>
#include <exception>

namespace {

template <class Record>
Record* RecordAt(std::intptr_t argument)
{
    return reinterpret_cast<Record*>(argument);
}

std::int32_t EncryptTypeOf(const OpenOutcome& outcome)
{
    switch (outcome.status) {
    case OpenStatus::Opened:
        return outcome.source->pdf().isEncrypted() ? kEncryptNoOpenPassword : kEncryptNone;
    case OpenStatus::NeedsPassword:
        return kEncryptOpenPassword;
    case OpenStatus::Unreadable:
        break;
    }
    return kEncryptUnreadable;
}

void FillNode(TOutlineNode& node, const OutlineEntry& entry, int handle)
{
    node.ChildCount = static_cast<std::int32_t>(entry.children.size());
    node.NodeRef = handle;
    node.FirstPage = entry.firstPage;
    node.LastPage = entry.lastPage;
    node.LastPageBoth = entry.lastPageBoth;
    node.Level = entry.level;
    CopyToBuffer(entry.title, node.Title);
}

} // namespace

PdfDocObject::PdfDocObject(int capabilities) : capabilities_(capabilities) {}

PdfDocObject::~PdfDocObject()
{
    EngineLockGuard lock = LockEngine();
    output_.reset();
    input_.reset();
    probe_.reset();
}

ComPtr<PdfDocObject> PdfDocObject::From(IDocObject* document)
{
    ComPtr<PdfDocObject> result;
    if (document != nullptr)
        document->QueryInterface(kPdfDocObjectClassId, result.putVoid());
    return result;
}

bool PdfDocObject::QueryPrivate(REFIID iid, void** object)
{
    if (!(iid == kPdfDocObjectClassId))
        return false;
    *object = this;
    return true;
}

HRESULT PdfDocObject::GetPageCount(std::int32_t* count)
{
    if (count == nullptr)
        return E_POINTER;
    return GuardedCall([&] {
        EngineLockGuard lock = LockEngine();
        switch (mode_) {
        case Mode::Reading: *count = input_->pageCount(); break;
        case Mode::Writing: *count = output_ ? output_->pageCount() : pagesServed_; break;
        case Mode::Closed: *count = -1; break;
        }
        return S_OK;
    });
}

HRESULT PdfDocObject::Open(const char16_t* fileName, std::int32_t mode, std::int32_t* result)
{
    if (result == nullptr)
        return E_POINTER;
    if (mode != kOpenRead && mode != kOpenCreate)
        return E_INVALIDARG;
    return GuardedCall([&] {
        EngineLockGuard lock = LockEngine();
        if (mode_ == Mode::Writing)
            closeOutput();
        closeDocument();
        warnings_.clear();
        const QString path = FromWide(fileName);
        *result = mode == kOpenRead ? openForReading(path) : openForWriting(path);
        return S_OK;
    });
}

HRESULT PdfDocObject::Close()
{
    return GuardedCall([&] {
        EngineLockGuard lock = LockEngine();
        const HRESULT status = mode_ == Mode::Writing ? closeOutput() : S_OK;
        // A closed input stays at hand for the next Open of the same unchanged file: the
        // planner opens a document once for its outline depth and again for its bookmarks,
        // and reading a large one twice costs seconds. The object's release lets it go.
        std::shared_ptr<PdfSource> kept = mode_ == Mode::Reading ? input_ : nullptr;
        closeDocument();
        probe_ = std::move(kept);
        return status;
    });
}

HRESULT PdfDocObject::Control(std::int32_t code, std::intptr_t argument)
{
    if (code == kControlRunOptions) {
        EngineLockGuard lock = LockEngine();
        runOptions_ = static_cast<int>(argument);
        if (output_)
            output_->setRunOptions(runOptions_);
        return S_OK;
    }
    if (code == kControlJobs) {
        if (argument < 1)
            return E_INVALIDARG;
        EngineLockGuard lock = LockEngine();
        jobs_ = static_cast<int>(std::min<std::intptr_t>(argument, kMaxJobs));
        return S_OK;
    }
    if (argument == 0)
        return E_POINTER;
    return GuardedCall([&] {
        EngineLockGuard lock = LockEngine();
        switch (code) {
        case kControlEncryption: return queryEncryption(*RecordAt<TEncrypteInfo>(argument));
        case kControlPageCount: return queryPageCount(*RecordAt<TPasswdInfo>(argument));
        case kControlOutlineNode: return answerOutlineNode(*RecordAt<TOutlineNode>(argument));
        case kControlOutlineDepth: return answerOutlineDepth(*RecordAt<std::int32_t>(argument));
        case kControlWarning: return answerWarning(*RecordAt<TDocWarning>(argument));
        case kControlPageMap: return takePageMap(*RecordAt<const TPageMap>(argument));
        default: return E_INVALIDARG;
        }
    });
}

std::shared_ptr<PdfSource> PdfDocObject::inputSource()
{
    EngineLockGuard lock = LockEngine();
    return mode_ == Mode::Reading ? input_ : nullptr;
}

void PdfDocObject::appendPage(const std::shared_ptr<PdfSource>& source, int index,
                              std::weak_ptr<OperationWorker> events)
{
    OutputPreparer::Claim prepared;
    int ordinal = 0;
    {
        EngineLockGuard lock = LockEngine();
        if (mode_ != Mode::Writing || abandoned_.load())
            throw OutputNotOpen();
        events_ = std::move(events);
        if (output_) {
            if (source->isLent())
                throw OutputNotOpen(); // the run's workers own the input until they end
            output_->appendPage(source, index);
            return;
        }
        prepared = claim();
        if (!prepared || pagesServed_ >= static_cast<int>(prepared.output->pages.size()) ||
            prepared.output->pages[static_cast<std::size_t>(pagesServed_)] != index)
            throw OutputNotOpen(); // not the output the workers were told to make
        ordinal = pagesServed_++;
    }
    // A worker copies the page; waited for without the lock, which the others need.
    prepared.preparer->waitForPage(*prepared.output, ordinal);
}

void PdfDocObject::abandon()
{
    abandoned_.store(true);
    if (const OutputPreparer::Claim prepared = claim())
        prepared.preparer->stop();
}

void PdfDocObject::pausePreparation()
{
    if (const std::shared_ptr<OutputPreparer> workers = preparer())
        workers->pause();
}

void PdfDocObject::resumePreparation()
{
    if (const std::shared_ptr<OutputPreparer> workers = preparer())
        workers->resume();
}

void PdfDocObject::stopPreparation()
{
    if (const std::shared_ptr<OutputPreparer> workers = preparer())
        workers->stop();
}

std::shared_ptr<OutputPreparer> PdfDocObject::takePreparer()
{
    std::lock_guard<std::mutex> lock(preparationMutex_);
    return std::exchange(preparer_, nullptr);
}

std::shared_ptr<OutputPreparer> PdfDocObject::preparer()
{
    std::lock_guard<std::mutex> lock(preparationMutex_);
    return preparer_;
}

OutputPreparer::Claim PdfDocObject::claim()
{
    std::lock_guard<std::mutex> lock(preparationMutex_);
    return claim_;
}

void PdfDocObject::closeDocument()
{
    input_.reset();
    output_.reset();
    mode_ = Mode::Closed;
    pagesServed_ = 0;
    OutputPreparer::Claim released;
    std::shared_ptr<OutputPreparer> workers;
    {
        std::lock_guard<std::mutex> lock(preparationMutex_);
        released = std::exchange(claim_, {});
        workers = std::exchange(preparer_, nullptr);
    }
    // Outside that lock: the input's close waits for the run's workers, so that nothing of
    // theirs is left to appear after a stopped run has cleaned up.
    if (workers)
        workers->endWork();
}

// Writes the output unless there is nothing to write. A failure is told to the operation
// that filled the output: Close itself runs inside the program's call and must not notify.
HRESULT PdfDocObject::closeOutput()
{
    if (!output_)
        return closePreparedOutput(claim());
    if (abandoned_.load() || output_->pageCount() == 0)
        return S_FALSE;
    try {
        output_->write();
        warnings_ = output_->warnings().lines();
        return S_OK;
    } catch (const std::exception&) {
        if (const std::shared_ptr<OperationWorker> events = events_.lock())
            events->postError(kNotifyError, 0, kErrorOutputUnwritable);
        return S_FALSE;
    }
}

// Puts the file a worker wrote into place, as closeOutput does with one written here.
HRESULT PdfDocObject::closePreparedOutput(const OutputPreparer::Claim& prepared)
{
    if (!prepared || abandoned_.load() || pagesServed_ == 0)
        return S_FALSE;
    try {
        std::vector<QString> warnings;
        const std::unique_ptr<TemporarySibling> file =
            prepared.preparer->takeWritten(*prepared.output, warnings);
        if (!file)
            return S_FALSE;
        file->commit();
        warnings_ = QStringList(warnings.begin(), warnings.end());
        return S_OK;
    } catch (const std::exception&) {
        if (const std::shared_ptr<OperationWorker> events = events_.lock())
            events->postError(kNotifyError, 0, kErrorOutputUnwritable);
        return S_FALSE;
    }
}

std::int32_t PdfDocObject::openForReading(const QString& path)
{
    if ((capabilities_ & kAdapterCanRead) == 0)
        return 0;
    const QStringList passwords = passwordsFor(path);
    std::shared_ptr<PdfSource> source = reusableProbe(path, passwords);
    probe_.reset();
    if (!source) {
        OpenOutcome outcome = OpenPdf(path, passwords);
        if (outcome.status == OpenStatus::NeedsPassword)
            return -1;
        source = std::move(outcome.source);
    }
    if (!source || source->pageCount() == 0)
        return 0;
    input_ = std::move(source);
    mode_ = Mode::Reading;
    return input_->pageCount();
}

std::int32_t PdfDocObject::openForWriting(const QString& path)
{
    if ((capabilities_ & kAdapterCanWrite) == 0 || path.isEmpty())
        return -1;
    if (OutputPreparer::Claim prepared = OutputPreparer::ClaimOutput(path)) {
        std::lock_guard<std::mutex> lock(preparationMutex_);
        claim_ = std::move(prepared);
    } else {
        try {
            output_ = std::make_unique<PdfOutput>(path, runOptions_);
        } catch (const std::runtime_error&) {
            return -1; // no file can be created there
        }
    }
    abandoned_.store(false);
    events_.reset();
    mode_ = Mode::Writing;
    return 1;
}

// The document a query opened, when it is still the file on disk and was opened without a
// password or with one of these.
std::shared_ptr<PdfSource> PdfDocObject::reusableProbe(const QString& path,
                                                       const QStringList& passwords)
{
    if (!probe_ || probe_->isLent() || probe_->path() != path ||
        !(probe_->stamp() == FileStamp::Of(path)))
        return nullptr;
    const std::vector<std::string> candidates = PasswordCandidates(passwords);
    const bool accepted = probe_->password().empty() ||
                          std::find(candidates.begin(), candidates.end(), probe_->password()) !=
                              candidates.end();
    return accepted ? probe_ : nullptr;
}

QStringList PdfDocObject::passwordsFor(const QString& path) const
{
    return path == passwordFile_ ? passwords_ : QStringList();
}

HRESULT PdfDocObject::queryEncryption(TEncrypteInfo& info)
{
    OpenOutcome outcome = OpenPdf(FromWide(info.FileName), {});
    info.EncryptType = EncryptTypeOf(outcome);
    probe_ = std::move(outcome.source);
    return S_OK;
}

HRESULT PdfDocObject::queryPageCount(TPasswdInfo& info)
{
    const QString path = FromWide(info.FileName);
    passwordFile_ = path;
    passwords_ = {FromWide(info.UserPassword), FromWide(info.OwnerPassword)};
    std::shared_ptr<PdfSource> source = reusableProbe(path, passwords_);
    if (!source)
        source = OpenPdf(path, passwords_).source;
    info.PageCount = source ? source->pageCount() : -1;
    probe_ = std::move(source);
    return S_OK;
}

HRESULT PdfDocObject::answerOutlineNode(TOutlineNode& node)
{
    if (mode_ != Mode::Reading || input_->isLent())
        return E_UNEXPECTED;
    const OutlineModel& outline = input_->outline();
    int handle = 0;
    if (node.NodeRef != 0 || node.ChildCount == 1) {
        const std::optional<int> child = outline.childOf(node.NodeRef, node.ChildIndex);
        if (!child)
            return E_INVALIDARG;
        handle = *child;
    }
    FillNode(node, outline.entry(handle), handle);
    return S_OK;
}

HRESULT PdfDocObject::answerOutlineDepth(std::int32_t& depth)
{
    if (mode_ != Mode::Reading || input_->isLent())
        return E_UNEXPECTED;
    depth = input_->outline().depth();
    return S_OK;
}

HRESULT PdfDocObject::takePageMap(const TPageMap& map)
{
    if (mode_ != Mode::Reading)
        return E_UNEXPECTED;
    // The workers of an earlier map end and give the input back first.
    if (const std::shared_ptr<OutputPreparer> earlier = takePreparer()) {
        earlier->stop();
        earlier->endWork();
    }
    auto runMap = std::make_shared<const RunPageMap>(map, input_->pageCount());
    input_->setRunPageMap(runMap);
    std::shared_ptr<OutputPreparer> workers;
    if (jobs_ > 1 && runMap->outputCount() > 1)
        workers = OutputPreparer::Start({input_, runOptions_, jobs_, std::move(runMap)});
    std::lock_guard<std::mutex> lock(preparationMutex_);
    preparer_ = std::move(workers);
    return S_OK;
}

HRESULT PdfDocObject::answerWarning(TDocWarning& warning) const
{
    if (warning.Index < 0 || warning.Index >= warnings_.size())
        return S_FALSE;
    CopyToBuffer(warnings_.at(warning.Index), warning.Text);
    return S_OK;
}
