#pragma once

// The conversion run: drives the document engine through the page map. It loads nothing of
// its own: it uses the job's engine instance, picks the engine's adapters for reading and
// writing, asks the planner (a derived class) for the page map and then copies the entries
// one by one, opening and closing documents as the map says. It tells its front end
// everything through the run-message port.
//
// Threads: Start, Pause, Resume, Stop and CheckDocument run on the caller's thread; every later
// step runs inside OnNotify on the engine's worker thread. One mutex serialises all of them;
// it is never held while waiting for the engine (engine calls return at once).

#include "engine/ComObject.h"
#include "engine/DocEngine.h"
#include "split/PageList.h"
#include "split/RunMessages.h"
#include "split/RunOutputs.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

class TFileInfo;
class TTavloProj;

// A failing engine call inside the run.
class ERunError : public std::runtime_error
{
public:
    explicit ERunError(const QString& message);
};

// A plan that cannot be carried out; its message is for the user and names what and why.
class EPlanError : public ERunError
{
public:
    using ERunError::ERunError;
};

// Planning was stopped on request.
class EPlanStopped : public std::exception
{
public:
    const char* what() const noexcept override { return "planning was stopped"; }
};

enum TConvertState
{
    csIdle,
    csRunning,
    csPaused,
    csResumed,
    csStopped
};

// Why Start did not start a run.
enum class TStartRefusal
{
    None,
    EngineNotReady, // the engine or one of its adapters is missing
    NothingPlanned, // the plan holds no page to copy (for example a range without pages)
    PlanningFailed, // the planner failed (LastRefusalText says why when it can)
    Stopped,        // the stop flag was set while the run was being planned
    RunFailed,      // the first entry failed; the run messages said why and ended the run
};

class TConvert
{
public:
    explicit TConvert(TTavloProj& job);
    virtual ~TConvert();
    TConvert(const TConvert&) = delete;
    TConvert& operator=(const TConvert&) = delete;

    // Where the run messages go; nullptr drops them.
    void SetWindow(IRunMessageTarget* target);

    // The engine and both adapters were found.
    bool Ready() const;

    // Asks the engine about a document: encryption and page count. False when the document
    // cannot be read.
    bool CheckDocument(TFileInfo& document);

    // Plans and starts a run; false when none is under way (LastRefusal says why).
    bool Start();
    TStartRefusal LastRefusal() const;
    // The user's message for a refused plan (an output folder or name that cannot be made);
    // empty when there is none.
    QString LastRefusalText() const;

    // A flag that stops the run as Stop does once it is set, and that planning looks at for
    // every entry, so that a stop is noticed while a large plan is made. Not owned.
    void SetStopFlag(const std::atomic<bool>* flag);

    // What the PDF library reported about damage while the outputs of the run were written,
    // one line per warning, each led by the output's file name.
    QStringList Warnings() const;

    void Pause();
    void Resume();
    void Stop();
    void SetDisconnectOnStop(bool value);

    // Where the engine works for operations made from now on: kThreadingWorker (a thread of
    // its own, the default) or kThreadingCaller (this thread, whose Qt event loop must then
    // run while a run is under way). EngineThreading says what the engine agreed to.
    void SetEngineThreading(std::int32_t model);
    std::int32_t EngineThreading() const;

    // How many outputs the engine makes at once: 0 (the default) lets JobsForRun choose for
    // each document; the outputs are the same bytes either way.
    void SetJobs(int jobs) { FJobs = jobs; }

    // The engine's notifications (through the run's sink).
    HRESULT OnNotify(std::int32_t kind, const std::int32_t* data);

    TConvertState State() const;
    // Whether a run is under way (started and not yet ended or stopped).
    bool Running() const;
    TPageList* PageList() const { return FPageList.get(); }
    std::int32_t InKey() const { return FInKey; }
    std::int32_t OutKey() const { return FOutKey; }

    // Overall percentage of a run: (index * 100 + percent) / count, rounded half to even.
    static int OverallPercent(int index, int percent, int count);

protected:
    virtual void InitDocObject(IDocObject& document);
    virtual void OnStartRefused() {}
    virtual void BuildPageList() {}
    virtual void AfterStop() {}
    virtual void OnOutputOpened(IDocObject& /*document*/) {}
    // The outline handle of the bookmark whose section the output file is; 0 for none.
    virtual std::int32_t LeadBookmarkOf(const QString& /*outputFile*/) const { return 0; }

    TTavloProj& Job() const { return FJob; }
    TRunOutputs& Outputs() { return FOutputs; }
    bool StopRequested() const { return FStopFlag != nullptr && FStopFlag->load(); }
    IDocObject* QueryDoc() const { return FQueryDoc.get(); }
    // Serialises the planner's own entry points with the run.
    std::unique_lock<std::mutex> LockRun() const { return std::unique_lock(FMutex); }
    void SetRefusal(TStartRefusal refusal) { FRefusal = refusal; }
    void RefusePlan(TStartRefusal refusal, const QString& text);

    std::unique_ptr<TPageList> FPageList;

private:
    class TNotifySink;
    enum class TStep
    {
        Sent,     // a copy is under way; the engine answers through OnNotify
        PassOver, // the entry needs no copy
        Halt,     // the run ended
    };

    void LoadEngine();
    void FindAdapters();
    void QueryPageCount(IDocObject& document, TFileInfo& info);
    void TellPageMap(IDocObject& input, const TFileInfo& document, const QString& inputFile);

    void RunEntries();
    TStep ProcessEntry();
    bool OpenEntryDocuments(TConvPageInfo& entry);
    bool NextEntry();
    void OnPageDone();
    void FinishOutput();
    void OnStopped();
    void FailRun(qintptr error);
    bool CloseOutput(TPageInfo& side);
    void KeepWarnings(IDocObject& output, const QString& fileName);
    void CloseAllDocuments();
    void TakeInputStamps();
    bool InputsChanged() const;
    void ConnectNotify(bool flag);
    void ApplyEngineThreading();
    void Post(unsigned message, qintptr wParam, qintptr lParam) const;
    qintptr CurrentDocumentIndex() const;
    void HandleEvent(std::int32_t event);

    TTavloProj& FJob;
    ComPtr<IEnumCtrl> FEnumCtrl;
    ComPtr<IOperationCtrl> FOperation;
    ComPtr<IDocObject> FQueryDoc;
    ComPtr<TNotifySink> FSink;
    std::int32_t FInKey = 0;
    std::int32_t FOutKey = 0;
    IRunMessageTarget* FWindow = nullptr;
    std::int32_t FCookie = 0;
    bool FConnected = false;
    TConvertState FState = csIdle;
    bool FResumePending = false;
    bool FDisconnectOnStop = false;
    bool FRunActive = false;
    std::int32_t FWantedThreading = kThreadingWorker;
    std::int32_t FEngineThreading = kThreadingWorker;
    int FJobs = 0;
    // Failed output writes posted by the run itself, whose engine notification is still due.
    int FWriteFailuresReported = 0;
    TStartRefusal FRefusal = TStartRefusal::None;
    QString FRefusalText;
    const std::atomic<bool>* FStopFlag = nullptr;
    TRunOutputs FOutputs;
    QStringList FWarnings;
    // Size and time of a file as the file system has them now; equal stamps mean unchanged.
    struct TInputStamp
    {
        std::uintmax_t Size = 0;
        std::filesystem::file_time_type Modified;
        bool Readable = false;

        static TInputStamp Of(const QString& path);
        friend bool operator==(const TInputStamp&, const TInputStamp&) = default;
    };
    std::vector<std::pair<QString, TInputStamp>> FInputStamps;
    mutable std::mutex FMutex;
};
