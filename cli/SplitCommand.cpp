#include "SplitCommand.h"

#include "PasswordPrompt.h"
#include "PlanJson.h"
#include "RunWatcher.h"

#include "model/PageStr.h"
#include "model/TavloProj.h"
#include "shell/LanguageMgr.h"
#include "shell/MessageBox.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "split/TavloConvert.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <set>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace {

QString Lang(const char* key, const QString& value = {})
{
    QString text = GetLangString(QString::fromLatin1(key));
    return text.replace(QStringLiteral("%s"), value);
}

// A failure with its message and exit code.
struct TCommandError
{
    QString Message;
    int ExitCode;
};

bool StandardErrorIsTerminal()
{
#if defined(_WIN32)
    return false;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

int PositiveNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1)
        throw TCommandError{Lang("sCliBadNumber", text), kExitUsage};
    return value;
}

// The advanced dialog's rules for an output name: ends with ".pdf", none of the characters
// that no file name may hold, not used twice.
bool IsUsableOutputName(const QString& name, const QSet<QString>& used)
{
    static const QString forbidden = QStringLiteral("*/\\:<>\"?|");
    if (name.size() <= 4 || !name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return false;
    for (const QChar c : name) {
        if (forbidden.contains(c) || c.unicode() < 0x20)
            return false;
    }
    return !used.contains(name.toLower());
}

void CheckPages(const QString& pages, int pageCount)
{
    if (!ValidatePageStr(pages, pageCount))
        throw TCommandError{Lang("sInvalidSelPages") + QStringLiteral(" (") + pages + u')', kExitUsage};
}

void ApplyMethod(const TSplitOptions& options, const TFileInfo& document, TMethod& method)
{
    using enum TSplitOptions::TMethodKind;
    switch (options.Method) {
    case Every:
        method.SetOption(soEveryPage);
        method.SetEveryPageNum(PositiveNumber(options.MethodValue));
        break;
    case Parts:
        method.SetOption(soAverge);
        method.SetAvgSplitNum(PositiveNumber(options.MethodValue));
        break;
    case Bookmarks:
        method.SetOption(soBookMarkLever);
        method.BookMarkOption()->SetLevelNum(PositiveNumber(options.MethodValue));
        method.BookMarkOption()->SetSaveHigherLevel(options.HigherLevels);
        method.BookMarkOption()->SetBothPage(options.BothPages);
        method.BookMarkOption()->SetTitleNaming(options.TitleNaming);
        break;
    case Range:
        CheckPages(options.MethodValue, document.TotalPage());
        method.SetOption(soPageRange);
        method.RangeStr()->SetRangeStr(options.MethodValue);
        method.RangeStr()->SetNeedOtherPage(options.Others);
        break;
    case Custom: {
        // The names were checked with the options.
        method.SetOption(soCustom);
        for (const auto& [name, pages] : options.Custom) {
            CheckPages(pages, document.TotalPage());
            TAdvDefine* definition = method.AdvDefine()->NewItem();
            definition->SetOutFile(name);
            definition->SetPageStr(pages);
        }
        break;
    }
    }
}

void ConfigureOutput(const TSplitOptions& options)
{
    TProductConfig& config = ProductConfig();
    config.InFormat = ffPdf;
    config.OutFormat = ffPdf;
    config.CustomPath = !options.OutFolder.isEmpty();
    config.CustomDir.clear();
    if (config.CustomPath) {
        const QString folder = QDir(options.OutFolder).absolutePath();
        if (!IsValidFolderPath(folder) || (QFileInfo::exists(folder) && !QFileInfo(folder).isDir()))
            throw TCommandError{Lang("sInvalidPath"), kExitUsage};
        config.CustomDir = folder;
    }
}

TCommandError Stopped()
{
    return TCommandError{Lang("sCliStopped"), kExitStopped};
}

// Once a run has stopped, what it made is gone; freeing what the engine read of a large
// document would only keep the user waiting, so a stop by a signal ends the process at once
// (the signal's handler does, now that nothing is left to remove).
TCommandError StoppedRun(TStopRequest& stop)
{
    stop.EndAtOnce = true;
    if (const int signal = stop.Signal.load())
        std::raise(signal);
    return Stopped();
}

void CheckStop(const std::atomic<bool>& stopRequested)
{
    if (stopRequested.load())
        throw Stopped();
}

void OpenDocument(const TSplitOptions& options, const QString& input, TTavloConvert& run,
                  TFileInfo& document, TStopRequest& stop)
{
    if (!QFileInfo(input).isFile())
        throw TCommandError{Lang("sFileNotFound", input), kExitInputUnusable};
    document.SetSource(QFileInfo(input).absoluteFilePath());
    if (options.Password)
        document.SetUserPassword(*options.Password);
    if (!run.CheckDocument(document))
        throw TCommandError{Lang("sNotPdfFile", input), kExitInputUnusable};
    if (!document.IsAccessible() && !options.Password) {
        // The prompt gives the terminal back itself before it answers a stop.
        stop.EndAtOnce = false;
        const std::optional<QString> typed = AskPassword(input, stop.Requested);
        CheckStop(stop.Requested);
        stop.EndAtOnce = true;
        if (!typed)
            throw TCommandError{Lang("sCliNeedPassword", input), kExitInputUnusable};
        document.SetUserPassword(*typed);
        run.CheckDocument(document);
    }
    if (!document.IsAccessible())
        throw TCommandError{Lang("sReInputPass"), kExitInputUnusable};
    if (document.TotalPage() <= 0)
        throw TCommandError{Lang("sNotPdfFile", input), kExitInputUnusable};
    document.SetPageScore(QStringLiteral("All"));
}

void ShowProgress(QTextStream& err, int percent)
{
    const int width = 40;
    const int filled = percent * width / 100;
    err << u'\r' << u'[' << QString(filled, u'#') << QString(width - filled, u'.') << u']' << u' '
        << percent << u'%';
    err.flush();
}

struct TRunOutcome
{
    bool Done = false;
    bool Failed = false;
    std::set<qintptr> Errors;
};

TRunOutcome WaitForRun(TTavloConvert& run, TRunWatcher& watcher, QTextStream& err,
                       bool showProgress, const std::atomic<bool>& stopRequested)
{
    // The timeouts only bound how late Ctrl-C is noticed.
    const std::chrono::milliseconds interruptCheck(100);
    const bool engineHere = run.EngineThreading() == kThreadingCaller;
    QTimer wakeUp;
    if (engineHere)
        wakeUp.start(interruptCheck);
    TRunWatcher::TState state;
    bool stopSent = false;
    int drawn = -1;
    while (state.End == TRunWatcher::TEnd::None) {
        if (stopRequested.load() && !stopSent) {
            stopSent = true;
            run.Stop();
        }
        if (engineHere) {
            // The engine's next step runs here, as the event loop's next turn.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            state = watcher.Wait(state, std::chrono::milliseconds(0));
        } else {
            state = watcher.Wait(state, interruptCheck);
        }
        if (showProgress && state.Percent >= 0 && state.Percent != drawn) {
            drawn = state.Percent;
            ShowProgress(err, drawn);
        }
    }
    if (showProgress)
        err << u'\n';
    TRunOutcome outcome;
    outcome.Done = state.End == TRunWatcher::TEnd::Done;
    outcome.Errors = state.Errors;
    outcome.Failed = outcome.Errors.count(kRunErrorOutputOpen) +
                         outcome.Errors.count(kRunErrorNoOperation) +
                         outcome.Errors.count(kRunErrorInputChanged) >
                     0;
    return outcome;
}

// An output is written when it is closed, and the engine tells a failed write of the last one
// only after the run has said it is done: a run that reported no error must have left every
// planned output.
bool AllOutputsWritten(const TPageList& plan)
{
    QSet<QString> checked;
    for (int i = 0; i < plan.Count(); ++i) {
        const TConvPageInfo& entry = *plan.Items(i);
        const QString& name = entry.OutPage()->FileName();
        if (entry.IsPlaceholder() || name.isEmpty() || checked.contains(name))
            continue;
        checked.insert(name);
        if (!QFileInfo(name).isFile())
            return false;
    }
    return true;
}

int ReportErrors(const TRunOutcome& outcome, const TTavloConvert& run, const QString& input,
                 QTextStream& err)
{
    int code = kExitDone;
    for (const qintptr error : outcome.Errors) {
        if (error == kRunWarningDamaged) {
            err << Lang("sCliDamaged", input) << u'\n';
            for (const QString& warning : run.Warnings())
                err << QStringLiteral("  ") << warning << u'\n';
            code = std::max(code, kExitDamaged);
            continue;
        }
        code = kExitSplitFailed;
        switch (error) {
        case kErrorInputUnreadable: err << Lang("sCliAnalysisError") << u'\n'; break;
        case kErrorPageUnreadable: err << Lang("sCliReadError", input) << u'\n'; break;
        case kErrorOutputUnwritable: err << Lang("sCliWriteError", input) << u'\n'; break;
        case kRunErrorInputChanged:
            err << Lang("sInputChanged", input) << u'\n';
            break;
        default: err << Lang("sFileconvertFaild") << u'\n'; break;
        }
    }
    return code;
}

void ReportLeftOutPages(const TTavloConvert& run, QTextStream& err)
{
    for (const QString& pages : run.LeftOutPages())
        err << Lang("sCliPagesLeftOut", pages) << u'\n';
}

// The plan as text lines, or added to the JSON plans that are printed once every input has
// been planned.
int PrintPlan(TTavloConvert& run, const QString& input, QTextStream& out, QTextStream& err,
              QJsonArray* jsonPlans)
{
    if (!run.PlanOnly())
        throw TCommandError{Lang("sCliNothingToSplit"), kExitSplitFailed};
    ReportLeftOutPages(run, err);
    if (jsonPlans != nullptr) {
        jsonPlans->append(PlanJson(run, input));
        return kExitDone;
    }
    // The dump's lines, ended as this system ends them.
    out << QString::fromLocal8Bit(run.PageList()->DumpText())
               .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return kExitDone;
}

int Split(const TSplitOptions& options, const QString& input, QTextStream& out, QTextStream& err,
          TStopRequest& stop, QJsonArray* jsonPlans)
{
    const std::atomic<bool>& stopRequested = stop.Requested;
    ConfigureOutput(options);
    // Made before the run, so that it outlives whatever the run's thread still posts.
    const bool showProgress = !options.Quiet && StandardErrorIsTerminal();
    TRunWatcher watcher(showProgress);
    TTavloProj job;
    TTavloConvert run(job);
    if (!run.Ready())
        throw TCommandError{Lang("sCliNoEngine"), kExitSplitFailed};
    run.SetKeepNavigation(options.KeepNavigation);
    run.SetJobs(options.Jobs.isEmpty() ? 0 : PositiveNumber(options.Jobs));
    TFileInfo& document = *job.Files()->NewItem();
    OpenDocument(options, input, run, document, stop);
    ApplyMethod(options, document, *job.Method());
    if (options.Method == TSplitOptions::TMethodKind::Bookmarks &&
        run.GetBookmarkLevelCount(document) == 0)
        throw TCommandError{Lang("sBadPDFBookMark"), kExitInputUnusable};
    CheckStop(stopRequested);
    // Planning looks at the flag for every entry: a stop ends a large plan within moments.
    run.SetStopFlag(&stopRequested);
    if (options.DryRun)
        return PrintPlan(run, input, out, err, jsonPlans);

    // From here on the run makes its folder and files: a stop removes them first.
    stop.EndAtOnce = false;
    CheckStop(stopRequested);
    run.SetWindow(&watcher);
    // Nothing else happens while the command runs, so the engine may as well work on this
    // thread: a process with one thread spares the PDF library its thread-safe bookkeeping.
    run.SetEngineThreading(kThreadingCaller);
    if (!run.Start()) {
        switch (run.LastRefusal()) {
        case TStartRefusal::EngineNotReady: throw TCommandError{Lang("sCliNoEngine"), kExitSplitFailed};
        case TStartRefusal::NothingPlanned: throw TCommandError{Lang("sCliNothingToSplit"), kExitSplitFailed};
        // Planning failed before anything ran (an output folder or name that cannot be
        // made): no run message will come.
        case TStartRefusal::PlanningFailed: {
            const QString reason = run.LastRefusalText();
            throw TCommandError{reason.isEmpty() ? Lang("sFileconvertFaild") : reason,
                                kExitSplitFailed};
        }
        case TStartRefusal::Stopped:
            throw StoppedRun(stop);
        default: break;
        }
    }
    ReportLeftOutPages(run, err);
    TRunOutcome outcome = WaitForRun(run, watcher, err, showProgress, stopRequested);
    if (!outcome.Done && !outcome.Failed)
        throw StoppedRun(stop);
    if (outcome.Done && !AllOutputsWritten(*run.PageList()))
        outcome.Errors.insert(kErrorOutputUnwritable);
    const int code = ReportErrors(outcome, run, input, err);
    if (outcome.Failed)
        return kExitSplitFailed;
    // The folder is printed only where every output is there: a script takes it as done.
    if (outcome.Done && code != kExitSplitFailed)
        out << QDir::toNativeSeparators(run.OutFolder()) << u'\n';
    return code;
}

// What the options say whatever the document: a mistake there is told once, not per input.
void CheckOptions(const TSplitOptions& options)
{
    using enum TSplitOptions::TMethodKind;
    if (!options.Jobs.isEmpty())
        PositiveNumber(options.Jobs);
    if (options.Method == Every || options.Method == Parts || options.Method == Bookmarks)
        PositiveNumber(options.MethodValue);
    QSet<QString> used;
    for (const auto& [name, pages] : options.Custom) {
        if (!IsUsableOutputName(name, used))
            throw TCommandError{Lang("sInvalidFileName") + QStringLiteral(" (") + name + u')', kExitUsage};
        used.insert(name.toLower());
    }
}

int SplitOne(const TSplitOptions& options, const QString& input, QTextStream& out,
             QTextStream& err, TStopRequest& stop, QJsonArray* jsonPlans)
{
    try {
        return Split(options, input, out, err, stop, jsonPlans);
    } catch (const TCommandError& error) {
        err << error.Message << u'\n';
        return error.ExitCode;
    } catch (const EPlanStopped&) {
        err << Lang("sCliStopped") << u'\n';
        return kExitStopped;
    } catch (const EPlanError& error) {
        err << QString::fromUtf8(error.what()) << u'\n';
        return kExitSplitFailed;
    } catch (const std::exception& error) {
        err << Lang("sFileconvertFaild") << u' ' << QString::fromUtf8(error.what()) << u'\n';
        return kExitSplitFailed;
    }
}

// How bad an outcome is, for the exit code of a batch: the worst one is answered.
int Severity(int exitCode)
{
    switch (exitCode) {
    case kExitDone: return 0;
    case kExitDamaged: return 1;
    case kExitInputUnusable: return 2;
    case kExitSplitFailed: return 3;
    default: return 4; // bad usage
    }
}

} // namespace

int RunSplitCommand(const TSplitOptions& options, QTextStream& out, QTextStream& err,
                    TStopRequest& stop)
{
    // The command line has no boxes: a box's text goes to the error stream, answered with
    // its default button.
    SetMessageBoxHandler([&err](const MessageBoxRequest& request) {
        err << request.text << u'\n';
        return request.defaultButton;
    });
    try {
        CheckOptions(options);
    } catch (const TCommandError& error) {
        err << error.Message << u'\n';
        return error.ExitCode;
    }
    QJsonArray jsonPlans;
    QJsonArray* plans = options.Json ? &jsonPlans : nullptr;
    int worst = kExitDone;
    for (const QString& input : options.Inputs) {
        // Nothing of this input is on disk yet, and the earlier ones are complete.
        stop.EndAtOnce = true;
        if (stop.Requested.load())
            return kExitStopped;
        const int code = SplitOne(options, input, out, err, stop, plans);
        if (code == kExitStopped)
            return code; // a stop ends the whole batch
        if (code != kExitDone && code != kExitDamaged && options.Inputs.size() > 1)
            err << Lang("sCliBatchFailed", input) << u'\n';
        if (Severity(code) > Severity(worst))
            worst = code;
    }
    // One input gives its plan (or nothing, when it has none); several give an array.
    if (plans != nullptr && options.Inputs.size() > 1)
        out << QString::fromUtf8(QJsonDocument(jsonPlans).toJson(QJsonDocument::Indented));
    else if (plans != nullptr && !jsonPlans.isEmpty())
        out << QString::fromUtf8(QJsonDocument(jsonPlans.first().toObject()).toJson(QJsonDocument::Indented));
    return worst;
}
