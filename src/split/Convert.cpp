#include "split/Convert.h"

#include "model/TavloProj.h"
#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/RunLog.h"
#include "shell/SameText.h"
#include "split/Jobs.h"
#include "split/PageList.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

// Each engine step runs on whatever thread calls it; there is no per-thread set-up here.
void InitializeComForThread() {}

void Check(HRESULT status, const char* call)
{
    if (FAILED(status)) {
        throw ERunError(QStringLiteral("%1 failed (0x%2)")
                            .arg(QLatin1String(call))
                            .arg(static_cast<quint32>(status), 8, 16, QLatin1Char('0')));
    }
}

QString TextOf(const char16_t* text)
{
    return QString::fromUtf16(text);
}

std::u16string Wide(const QString& text)
{
    return text.toStdU16String();
}

QString ConvertFailedText()
{
    return GetLangString(QStringLiteral("sFileconvertFaild"));
}

} // namespace

ERunError::ERunError(const QString& message) : std::runtime_error(message.toStdString()) {}

// The run's notification sink. The engine holds it; the run detaches it before it goes, and
// a notification that is under way finishes before the detach returns.
class TConvert::TNotifySink final : public ComObject<IOperationNotify>
{
public:
    explicit TNotifySink(TConvert* run) : FRun(run) {}

    HRESULT ENGINE_CALL OnNotify(std::int32_t kind, const std::int32_t* data) override
    {
        std::lock_guard lock(FMutex);
        if (FRun != nullptr && data != nullptr)
            FRun->OnNotify(kind, data);
        return S_OK;
    }

    void Detach()
    {
        std::lock_guard lock(FMutex);
        FRun = nullptr;
    }

private:
    std::mutex FMutex;
    TConvert* FRun;
};

TConvert::TConvert(TTavloProj& job) : FJob(job), FSink(MakeComObject<TNotifySink>(this))
{
    try {
        LoadEngine();
        FindAdapters();
    } catch (const std::exception&) {
        WriteLogLine(QStringLiteral("CoEnumCtrl.Create Faild!"));
        FInKey = FOutKey = 0;
    }
}

TConvert::~TConvert()
{
    FSink->Detach();
    std::lock_guard lock(FMutex);
    ConnectNotify(false);
    if (FPageList)
        FPageList->Clear();
    FOperation.reset();
    FQueryDoc.reset();
    FEnumCtrl.reset();
}

void TConvert::LoadEngine()
{
    // The job loaded the engine module when it was made (and logged any failure).
    FEnumCtrl = FJob.Engine();
}

void TConvert::FindAdapters()
{
    if (!FEnumCtrl)
        return;
    const QString inExt = FJob.Setting()->InputFormat()->ExtName();
    const QString inVersion = FJob.Setting()->InputFormat()->VersionName();
    const QString outExt = FJob.Setting()->OutputFormat()->ExtName();
    const QString outVersion = FJob.Setting()->OutputFormat()->VersionName();
    WriteLogLine(QStringLiteral("Input Format(%1,%2), Output Format(%3,%4)")
                     .arg(inExt, inVersion, outExt, outVersion));

    std::int32_t count = 0;
    const std::u16string plugins = Wide(ApplicationFolder() + QStringLiteral("plugins/"));
    Check(FEnumCtrl->EnumAdapters(plugins.c_str(), &count), "EnumAdapters");
    WriteLogLine(QStringLiteral("EnumCtrl count:") + QString::number(count));
    ComPtr<IEnumAdapterKeys> keys;
    Check(FEnumCtrl->GetAdapterEnum(keys.put()), "GetAdapterEnum");
    FInKey = FOutKey = 0;

    while (count > 0 && (FInKey == 0 || FOutKey == 0)) {
        --count;
        std::int32_t key = 0;
        ULONG fetched = 0;
        Check(keys->Next(1, &key, &fetched), "Next");
        if (fetched == 0)
            break;
        TFileObjectInfo info{};
        Check(FEnumCtrl->GetAdapterInfo(key, &info), "GetAdapterInfo");
        const QString fileType = TextOf(info.FileType);
        const QString version = TextOf(info.Version);
        WriteLogLine(QStringLiteral("FileType:%1 Version:%2").arg(fileType, version));
        if (FInKey == 0 && SameText(fileType, inExt)) {
            if (!SameText(version, inVersion))
                continue;
            FInKey = key;
            Check(FEnumCtrl->CreateDocObject(key, FQueryDoc.put()), "CreateDocObject");
        }
        if (FOutKey == 0 && SameText(fileType, outExt) && SameText(version, outVersion)) {
            FOutKey = key;
            WriteLogLine(QStringLiteral("Output Format Information: ") + version +
                         QStringLiteral("  ") + outExt);
        }
    }

    WriteLogLine(QStringLiteral("InKey:%1 OutKey:%2").arg(FInKey).arg(FOutKey));
    if (FInKey != 0 && FOutKey != 0)
        WriteLogLine(QStringLiteral("FInDocObj and FOutDocObj Create Success."));
    if (FInKey == 0)
        WriteLogLine(QStringLiteral("FInDocObj Create Faild"));
    if (FOutKey == 0)
        WriteLogLine(QStringLiteral("FOutDocObj Create Faild"));
}

void TConvert::SetWindow(IRunMessageTarget* target)
{
    std::lock_guard lock(FMutex);
    FWindow = target;
}

bool TConvert::Ready() const
{
    return FEnumCtrl && FInKey != 0 && FOutKey != 0;
}

void TConvert::QueryPageCount(IDocObject& document, TFileInfo& info)
{
    const std::u16string source = Wide(info.Source());
    const std::u16string owner = Wide(info.OwerPasswd());
    const std::u16string user = Wide(info.UserPassword());
    TPasswdInfo passwd{source.c_str(), owner.c_str(), user.c_str(), -1};
    Check(ControlRecord(document, kControlPageCount, &passwd), "Control(103)");
    info.SetTotalPage(passwd.PageCount);
    info.SetPasswdRight(!(info.UserPass() && info.TotalPage() == -1));
}

bool TConvert::CheckDocument(TFileInfo& document)
{
    std::lock_guard lock(FMutex);
    if (!FQueryDoc)
        return false;
    if (!document.UserPass()) {
        const std::u16string source = Wide(document.Source());
        TEncrypteInfo encryption{source.c_str(), kEncryptNone};
        Check(ControlRecord(*FQueryDoc, kControlEncryption, &encryption), "Control(101)");
        document.SetUserPass(encryption.EncryptType == kEncryptOpenPassword);
        if (document.UserPass())
            document.SetTotalPage(-1);
    }
    QueryPageCount(*FQueryDoc, document);
    return !(!document.UserPass() && document.TotalPage() == -1);
}

bool TConvert::Start()
{
    std::unique_lock lock(FMutex);
    WriteLogLine(QStringLiteral("Start Convert"));
    FRefusal = TStartRefusal::None;
    FRefusalText.clear();
    if (!Ready()) {
        FRefusal = TStartRefusal::EngineNotReady;
        OnStartRefused();
        return false;
    }
    FState = csRunning;
    FResumePending = false;
    FWriteFailuresReported = 0;
    FWarnings.clear();
    if (!FPageList)
        FPageList = std::make_unique<TPageList>();
    try {
        BuildPageList();
    } catch (const std::exception& error) {
        WriteLogLine(QString::fromUtf8(error.what()));
        FPageList->Clear();
        FState = csIdle;
        if (dynamic_cast<const EPlanStopped*>(&error) != nullptr)
            FRefusal = TStartRefusal::Stopped;
        else if (dynamic_cast<const EPlanError*>(&error) != nullptr)
            RefusePlan(TStartRefusal::PlanningFailed, QString::fromUtf8(error.what()));
        if (FRefusal == TStartRefusal::None)
            FRefusal = TStartRefusal::PlanningFailed;
        AfterStop();
        return false;
    }
    FPageList->Reindex();
    FPageList->WriteDump(ApplicationFolder());
    if (FPageList->Count() == 0) {
        WriteLogLine(QStringLiteral("FPageList is Null"));
        FState = csIdle;
        FRefusal = TStartRefusal::NothingPlanned;
        AfterStop();
        return false;
    }
    bool anyPage = false;
    for (int i = 0; i < FPageList->Count() && !anyPage; ++i)
        anyPage = !FPageList->Items(i)->IsPlaceholder();
    if (!anyPage) {
        // Only documents without pages: nothing to copy, and no empty folder left behind.
        FState = csIdle;
        FRefusal = TStartRefusal::NothingPlanned;
        AfterStop();
        return false;
    }

    TakeInputStamps();
    FPageList->SetCurrentIndex(0);
    FRunActive = true;
    RunEntries();
    if (FRefusal == TStartRefusal::RunFailed)
        return false;
    return FOperation || !FRunActive;
}

TStartRefusal TConvert::LastRefusal() const
{
    std::lock_guard lock(FMutex);
    return FRefusal;
}

QString TConvert::LastRefusalText() const
{
    std::lock_guard lock(FMutex);
    return FRefusalText;
}

void TConvert::RefusePlan(TStartRefusal refusal, const QString& text)
{
    FRefusal = refusal;
    FRefusalText = text;
}

void TConvert::SetStopFlag(const std::atomic<bool>* flag)
{
    std::lock_guard lock(FMutex);
    FStopFlag = flag;
}

QStringList TConvert::Warnings() const
{
    std::lock_guard lock(FMutex);
    return FWarnings;
}

// Processes entries from the current one on until one is handed to the engine or the run
// ends. A loop, not a recursion: long stretches of passed-over entries cost no stack.
void TConvert::RunEntries()
{
    try {
        for (;;) {
            const TStep step = ProcessEntry();
            if (step != TStep::PassOver || !NextEntry())
                return;
        }
    } catch (const std::exception& error) {
        WriteLogLine(QString::fromUtf8(error.what()));
        FailRun(kRunErrorNoOperation);
    }
}

TConvert::TStep TConvert::ProcessEntry()
{
    TConvPageInfo& entry = *FPageList->Current();
    TFileInfo* document = entry.FileInfo();
    if (document == nullptr || !document->IsAccessible() || entry.IsPlaceholder())
        return TStep::PassOver;
    InitializeComForThread();

    if (!entry.InPage()->DocObject()) {
        ComPtr<IDocObject> input;
        Check(FEnumCtrl->CreateDocObject(FInKey, input.put()), "CreateDocObject");
        InitDocObject(*input);
        entry.InPage()->SetDocObject(input);
    }
    if (!entry.OutPage()->DocObject()) {
        ComPtr<IDocObject> output;
        Check(FEnumCtrl->CreateDocObject(FOutKey, output.put()), "CreateDocObject");
        InitDocObject(*output);
        entry.OutPage()->SetDocObject(output);
    }
    if (!OpenEntryDocuments(entry))
        return document->FileStatus() == fsSkip ? TStep::PassOver : TStep::Halt;

    const ComPtr<IDocObject> input = entry.InPage()->DocObject();
    const ComPtr<IDocObject> output = entry.OutPage()->DocObject();
    if (!FOperation) {
        Check(FEnumCtrl->CreateOperation(input.get(), output.get(), FOperation.put()),
              "CreateOperation");
        ApplyEngineThreading();
    }
    if (!FOperation) {
        WriteLogLine(QStringLiteral("ConvertCtrl Faild."));
        FailRun(kRunErrorNoOperation);
        return TStep::Halt;
    }
    if (!FConnected)
        ConnectNotify(true);
    document->SetFileStatus(fsCoverting);
    Check(FOperation->SetDocuments(input.get(), output.get()), "SetDocuments");
    WriteLogLine(QStringLiteral("In PageIndex:%1, Out PageIndex:%2")
                     .arg(entry.InPage()->PageValue())
                     .arg(entry.OutPage()->PageValue()));
    Check(FOperation->CopyPages(entry.InPage()->PageValue(), entry.InPage()->PageValue()),
          "CopyPages");
    return TStep::Sent;
}

// Opens the entry's input at the first entry of its document and its output at the first
// entry of its file. False when the entry goes no further: a password error (the document is
// then skipped) or an output that cannot be created (the run has then ended).
bool TConvert::OpenEntryDocuments(TConvPageInfo& entry)
{
    TFileInfo& document = *entry.FileInfo();
    if (FPageList->IsFirstOfInput()) {
        IDocObject& input = *entry.InPage()->DocObject();
        QueryPageCount(input, document);
        const std::u16string name = Wide(entry.InPage()->FileName());
        std::int32_t result = 0;
        Check(input.Open(name.c_str(), kOpenRead, &result), "Open");
        if (result == -1) {
            WriteLogLine(QStringLiteral("password Error."));
            document.SetPageScore(QStringLiteral("All"));
            document.SetFileStatus(fsSkip);
            return false;
        }
        TellPageMap(input, document, entry.InPage()->FileName());
    }
    if (FPageList->IsFirstOfOutput()) {
        IDocObject& output = *entry.OutPage()->DocObject();
        const std::u16string name = Wide(entry.OutPage()->FileName());
        std::int32_t result = document.TotalPage();
        Check(output.Open(name.c_str(), kOpenCreate, &result), "Open");
        if (result < 0) {
            FailRun(kRunErrorOutputOpen);
            return false;
        }
        OnOutputOpened(output);
    }
    return true;
}

// Tells the engine where every page of the input goes before the first is copied, so that an
// output can link to the sibling that holds a page it does not, and workers can make outputs
// ahead of the run.
void TConvert::TellPageMap(IDocObject& input, const TFileInfo& document, const QString& inputFile)
{
    const std::vector<TPageList::TOutputPages> outputs = FPageList->OutputsOf(inputFile);
    // An output that also takes pages of another input is made as the run goes.
    const bool shared = std::any_of(outputs.begin(), outputs.end(),
                                    [](const TPageList::TOutputPages& o) { return o.Shared; });
    const int jobs = shared ? 1 : JobsForRun(FJobs, document.TotalPage());
    if (input.Control(kControlJobs, jobs) != S_OK)
        WriteLogLine(QStringLiteral("The engine makes outputs one at a time."));
    else if (jobs > 1)
        WriteLogLine(QStringLiteral("Outputs are made by %1 jobs.").arg(jobs));
    std::vector<std::u16string> names;
    names.reserve(outputs.size());
    std::vector<TPageMapOutput> records;
    records.reserve(outputs.size());
    for (const TPageList::TOutputPages& output : outputs) {
        names.push_back(Wide(output.FileName));
        records.push_back({names.back().c_str(), output.Pages.data(),
                           static_cast<std::int32_t>(output.Pages.size()),
                           LeadBookmarkOf(output.FileName)});
    }
    TPageMap map{records.data(), static_cast<std::int32_t>(records.size())};
    ControlRecord(input, kControlPageMap, &map);
}

// Ends a run that cannot go on: the front end is told, every document of the run is closed
// without writing more, and what the run wrote is removed.
void TConvert::FailRun(qintptr error)
{
    WriteLogLine(ConvertFailedText());
    const qintptr documentIndex = CurrentDocumentIndex();
    Post(WM_SPLIT_ERROR, documentIndex, error);
    if (FOperation)
        FOperation->Stop();
    CloseAllDocuments();
    AfterStop();
    for (int i = 0; i < FJob.Files()->Count(); ++i) {
        TFileInfo* document = FJob.Files()->Items(i);
        if (document->FileStatus() == fsCoverting || document->FileStatus() == fsFinish)
            document->SetFileStatus(fsNew);
    }
    FRunActive = false;
    FState = csStopped;
    FRefusal = TStartRefusal::RunFailed;
    Post(WM_SPLIT_ENABLE, 1, 0);
    Post(WM_SPLIT_DONE, documentIndex, kDoneStopped);
}

// Closes the output of the side's file, which writes it; a written output is the run's from
// then on. False when it was open and nothing was written (abandoned, or its write failed).
bool TConvert::CloseOutput(TPageInfo& side)
{
    const ComPtr<IDocObject> document = side.DocObject();
    if (!document)
        return true;
    side.SetDocObject(nullptr);
    if (document->Close() != S_OK)
        return false;
    FOutputs.AddFile(side.FileName());
    return true;
}

// Keeps what the PDF library met while it wrote the output, and tells the front end once.
void TConvert::KeepWarnings(IDocObject& output, const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    TDocWarning warning{};
    for (; ControlRecord(output, kControlWarning, &warning) == S_OK; ++warning.Index) {
        const QString text = name + QStringLiteral(": ") + QString::fromUtf16(warning.Text);
        WriteLogLine(QStringLiteral("Warning: ") + text);
        FWarnings.append(text);
    }
    if (warning.Index > 0)
        Post(WM_SPLIT_ERROR, CurrentDocumentIndex(), kRunWarningDamaged);
}

void TConvert::CloseAllDocuments()
{
    for (int i = 0; i < FPageList->Count(); ++i) {
        CloseOutput(*FPageList->Items(i)->OutPage());
        TPageInfo& input = *FPageList->Items(i)->InPage();
        if (ComPtr<IDocObject> document = input.DocObject()) {
            input.SetDocObject(nullptr);
            document->Close();
        }
    }
}

TConvert::TInputStamp TConvert::TInputStamp::Of(const QString& path)
{
    const std::filesystem::path file = FileSystemPath(path);
    std::error_code sizeError;
    std::error_code timeError;
    TInputStamp stamp;
    stamp.Size = std::filesystem::file_size(file, sizeError);
    stamp.Modified = std::filesystem::last_write_time(file, timeError);
    stamp.Readable = !sizeError && !timeError;
    return stamp;
}

// Size and time of every input of the plan, to tell at the end whether one changed meanwhile.
void TConvert::TakeInputStamps()
{
    FInputStamps.clear();
    QSet<QString> taken;
    for (int i = 0; i < FPageList->Count(); ++i) {
        const QString& path = FPageList->Items(i)->InPage()->FileName();
        if (path.isEmpty() || taken.contains(path))
            continue;
        taken.insert(path);
        FInputStamps.emplace_back(path, TInputStamp::Of(path));
    }
}

bool TConvert::InputsChanged() const
{
    for (const auto& [path, stamp] : FInputStamps) {
        const TInputStamp now = TInputStamp::Of(path);
        if (!now.Readable || !(now == stamp)) {
            WriteLogLine(QStringLiteral("Input changed while it was split: ") + path);
            return true;
        }
    }
    return false;
}

bool TConvert::NextEntry()
{
    TFileInfo* document = FPageList->Current()->FileInfo();
    const qintptr documentIndex = CurrentDocumentIndex();
    const auto finishDocument = [&] {
        if (document != nullptr && document->FileStatus() != fsSkip)
            document->SetFileStatus(fsFinish);
    };
    if (FPageList->IsLastOfInput() && FPageList->IsLast()) {
        if (InputsChanged()) {
            FailRun(kRunErrorInputChanged);
            return false;
        }
        Post(WM_SPLIT_ENABLE, 1, 0);
        finishDocument();
        FRunActive = false;
        Post(WM_SPLIT_DONE, documentIndex, kDoneRun);
        FPageList->CloseCurrentInput();
        return false;
    }
    Post(WM_SPLIT_ENABLE, 1, 0);
    finishDocument();
    if (FPageList->IsLastOfInput()) {
        Post(WM_SPLIT_DONE, documentIndex, kDoneInput);
        FPageList->CloseCurrentInput();
    }
    if (FState == csStopped) {
        OnStopped();
        return false;
    }
    FPageList->SetCurrentIndex(FPageList->CurrentIndex() + 1);
    WriteLogLine(QString());
    return true;
}

void TConvert::OnPageDone()
{
    if (FState == csPaused || !FRunActive)
        return;
    if (FPageList->IsLastOfInput() && FPageList->IsLast()) {
        Post(WM_SPLIT_ENABLE, 0, 0);
        FinishOutput();
    } else if (FPageList->IsLastOfOutput()) {
        FinishOutput();
    } else if (NextEntry()) {
        RunEntries();
    }
}

void TConvert::FinishOutput()
{
    if (FPageList->IsLastOfOutput()) {
        TPageInfo& output = *FPageList->Current()->OutPage();
        const ComPtr<IDocObject> document = output.DocObject();
        if (CloseOutput(output)) {
            if (document)
                KeepWarnings(*document, output.FileName());
        } else if (FState != csStopped) {
            // The engine tells of a failed write on its own thread, possibly after this run
            // has announced its end; say it now, so that the end is never reported before it.
            ++FWriteFailuresReported;
            Post(WM_SPLIT_ERROR, CurrentDocumentIndex(), kErrorOutputUnwritable);
        }
    }
    if (FRunActive && NextEntry())
        RunEntries();
}

void TConvert::Pause()
{
    std::lock_guard lock(FMutex);
    WriteLogLine(QStringLiteral("Pause Convert"));
    if (FOperation) {
        FOperation->Pause();
        FState = csPaused;
    }
}

void TConvert::Resume()
{
    std::lock_guard lock(FMutex);
    WriteLogLine(QStringLiteral("Resume Convert"));
    if (!FOperation)
        return;
    FOperation->Resume();
    FState = csResumed;
    if (FResumePending) {
        FResumePending = false;
        OnPageDone();
    }
}

void TConvert::Stop()
{
    std::lock_guard lock(FMutex);
    FState = csStopped;
    WriteLogLine(QStringLiteral("Stop Convert"));
    // A stop after the run has ended must not touch its finished outputs.
    if (!FRunActive)
        return;
    if (FOperation)
        FOperation->Stop();
    CloseOutput(*FPageList->Current()->OutPage());
    FPageList->CloseCurrentInput();
    // Outputs of other files that are still open hold nothing that should be kept.
    CloseAllDocuments();
    AfterStop();
}

void TConvert::OnStopped()
{
    if (FDisconnectOnStop)
        ConnectNotify(false);
    // The engine's stopped event and a stop seen between entries end the run once.
    if (!FRunActive)
        return;
    FRunActive = false;
    // What the run wrote went with the stop (AfterStop); nothing is removed by name here, as
    // the name may by now belong to another run's file.
    TConvPageInfo* entry = FPageList->Current();
    if (entry->FileInfo() != nullptr)
        entry->FileInfo()->SetFileStatus(fsNew);
    Post(WM_SPLIT_DONE, CurrentDocumentIndex(), kDoneStopped);
}

void TConvert::SetDisconnectOnStop(bool value)
{
    std::lock_guard lock(FMutex);
    FDisconnectOnStop = value;
}

void TConvert::ConnectNotify(bool flag)
{
    if (FOperation) {
        if (flag) {
            WriteLogLine(QStringLiteral("Connect Notify"));
            Check(FOperation->Advise(FSink.get(), &FCookie), "Advise");
        } else if (FConnected) {
            WriteLogLine(QStringLiteral("Disconnect Notify"));
            FOperation->Unadvise(FCookie);
        }
    }
    FConnected = flag;
}

HRESULT TConvert::OnNotify(std::int32_t kind, const std::int32_t* data)
{
    std::lock_guard lock(FMutex);
    if (!FPageList || FPageList->Count() == 0)
        return S_OK;
    try {
        switch (kind) {
        case kNotifyLibraryError:
            WriteLogLine(QStringLiteral("Error code: %1").arg(data[0]));
            Post(WM_SPLIT_ERROR, CurrentDocumentIndex(), data[1]);
            break;
        case kNotifyError:
            if (data[1] == kErrorOutputUnwritable && FWriteFailuresReported > 0) {
                --FWriteFailuresReported; // told already when the output was closed
                break;
            }
            Post(WM_SPLIT_ERROR, CurrentDocumentIndex(), data[1]);
            break;
        case kNotifyEvent: HandleEvent(data[1]); break;
        case kNotifyProgress: {
            const int overall = OverallPercent(FPageList->CurrentIndex(), data[0],
                                               FPageList->Count());
            if (overall <= 100)
                Post(WM_SPLIT_PROGRESS, FPageList->CurrentIndex(), overall);
            break;
        }
        default: break;
        }
    } catch (const std::exception& error) {
        WriteLogLine(QString::fromUtf8(error.what()));
        if (FRunActive)
            FailRun(kRunErrorNoOperation);
    }
    return S_OK;
}

void TConvert::HandleEvent(std::int32_t event)
{
    if (event == kEventPageDone) {
        if (FState == csPaused)
            FResumePending = true;
        OnPageDone();
    } else if (event == kEventStopped) {
        OnStopped();
    }
}

TConvertState TConvert::State() const
{
    std::lock_guard lock(FMutex);
    return FState;
}

bool TConvert::Running() const
{
    std::lock_guard lock(FMutex);
    return FRunActive;
}

int TConvert::OverallPercent(int index, int percent, int count)
{
    if (count <= 0)
        return 0;
    const qint64 numerator = qint64(index) * 100 + percent;
    qint64 quotient = numerator / count;
    const qint64 twiceRest = (numerator % count) * 2;
    if (twiceRest > count || (twiceRest == count && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

void TConvert::InitDocObject(IDocObject& /*document*/) {}

void TConvert::Post(unsigned message, qintptr wParam, qintptr lParam) const
{
    if (FWindow != nullptr)
        FWindow->PostRunMessage({message, wParam, lParam});
}

qintptr TConvert::CurrentDocumentIndex() const
{
    return FPageList->Current()->InPage()->FileIndex();
}

void TConvert::SetEngineThreading(std::int32_t model)
{
    std::lock_guard lock(FMutex);
    FWantedThreading = model;
}

std::int32_t TConvert::EngineThreading() const
{
    std::lock_guard lock(FMutex);
    return FEngineThreading;
}

// An engine without the choice, or one that refuses it, works on its own thread.
void TConvert::ApplyEngineThreading()
{
    FEngineThreading = kThreadingWorker;
    if (!FOperation || FWantedThreading == kThreadingWorker)
        return;
    const ComPtr<IOperationThreading> threading = FOperation.As<IOperationThreading>();
    if (threading && SUCCEEDED(threading->SetThreading(FWantedThreading)))
        FEngineThreading = FWantedThreading;
    else
        WriteLogLine(QStringLiteral("Engine threading refused, worker thread used."));
}
