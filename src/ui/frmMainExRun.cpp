// The main window's run control: Convert and Cancel, the run's messages, and the close query.

#include "ui/frmMainEx.h"

#include "model/TavloProj.h"
#include "shell/FormatText.h"
#include "shell/MessageBox.h"
#include "shell/MutlLanguage.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "shell/RunLog.h"
#include "shell/ShellOpen.h"
#include "split/TavloConvert.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

void InformKey(const char* key)
{
    ShowMessageBox(GetFormsLangString(QString::fromLatin1(key)), MessageBoxButtons::Ok,
                   MessageBoxIcons::Information);
}

// Lets the window repaint and take the messages that queued up behind this one.
void LetPendingMessagesRun()
{
    QCoreApplication::processEvents();
}

} // namespace

void TfrmMainEx::btnConvertClick()
{
    TFileInfo* document = Document();
    if (!document)
        return;
    if (!QFileInfo::exists(document->Source())) {
        InformKey("sNoFileExists");
        return;
    }
    if (!CollectSettings()) {
        InformKey("sInitPageError");
        return;
    }
    if (FRunning) {
        if (ConfirmCancel())
            UpdateControls();
        return;
    }
    if (ProductConfig().CustomPath && !ProductConfig().CheckOutputFolder()) {
        btnOutputPath->setFocus();
        return;
    }
    FRunning = true;
    UpdateControls();
    StartRun(*Project);
}

// Copies the chosen method and its parameter into the job; false when they cannot be used.
bool TfrmMainEx::CollectSettings()
{
    TMethod& method = *Project->Method();
    if (rdEveryPage->isChecked()) {
        method.SetOption(soEveryPage);
        method.SetEveryPageNum(spinEveryPage->value());
    } else if (rdBookMarkLever->isChecked()) {
        method.SetOption(soBookMarkLever);
        method.BookMarkOption()->SetLevelNum(cbxBookMarkLever->currentText().toInt());
    } else if (rdPageRange->isChecked()) {
        method.SetOption(soPageRange);
        method.RangeStr()->SetRangeStr(edtPageRange->text().trimmed());
        method.RangeStr()->SetNeedOtherPage(cbNeedOtherPage->isChecked());
    } else if (rdAdvanced->isChecked()) {
        method.SetOption(soCustom);
    } else if (rdAverge->isChecked()) {
        method.SetOption(soAverge);
        method.SetAvgSplitNum(spinAverge->value());
    }
    return SettingsComplete(method);
}

void TfrmMainEx::StartRun(TTavloProj& /*project*/)
{
    btnConvert->setEnabled(false);
    pbSplit->setValue(0);
    FRunHadPageErrors = false;
    FRunMetDamage = false;
    LetPendingMessagesRun();
    if (!Planner->Start()) {
        FRunning = false;
        UpdateControls();
        ReportStartRefusal();
    }
    btnConvert->setEnabled(FRunning || (Loaded() && Document()->TotalPage() > 0));
}

// A run that does not start says why, unless its own messages have told the user already.
void TfrmMainEx::ReportStartRefusal()
{
    switch (Planner->LastRefusal()) {
    case TStartRefusal::EngineNotReady: InformKey("sEngineMissing"); break;
    case TStartRefusal::NothingPlanned: InformKey("sNothingToSplit"); break;
    case TStartRefusal::PlanningFailed: {
        // The planner names the folder or file that cannot be made, and why, where it can.
        const QString reason = Planner->LastRefusalText();
        if (reason.isEmpty())
            InformKey("sFileconvertFaild");
        else
            ShowMessageBox(reason, MessageBoxButtons::Ok, MessageBoxIcons::Information);
        break;
    }
    case TStartRefusal::Stopped:
    case TStartRefusal::RunFailed:
    case TStartRefusal::None: break;
    }
}

bool TfrmMainEx::ConfirmCancel()
{
    Planner->Pause();
    const int answer = ShowMessageBox(GetFormsLangString(QStringLiteral("sCancelConverting")),
                                      MessageBoxButtons::YesNo, MessageBoxIcons::Question);
    if (answer != static_cast<int>(MessageBoxButton::Yes)) {
        Planner->Resume();
        return false;
    }
    btnConvert->setEnabled(false);
    LetPendingMessagesRun();
    Planner->Stop();
    btnConvert->setEnabled(true);
    FRunning = false;
    return true;
}

void TfrmMainEx::HandleRunMessage(const TRunMessage& message)
{
    switch (message.message) {
    case WM_SPLIT_PROGRESS: OnRunProgress(message.lParam); break;
    case WM_SPLIT_ERROR: OnRunError(message.wParam, message.lParam); break;
    case WM_SPLIT_DONE: OnRunDone(message.lParam); break;
    case WM_SPLIT_ENABLE: OnRunEnable(message.wParam); break;
    default: break;
    }
}

void TfrmMainEx::OnRunProgress(qintptr percent)
{
    const int shown = static_cast<int>(std::clamp<qintptr>(percent, 0, 100));
    pbSplit->setValue(shown);
    // Each new percentage repaints the patch of the bar under the label, and the bar then
    // judges a step of one percent too small to redraw: on long runs it would stay empty.
    pbSplit->update();
    lblProgress->setText(QString::number(shown) + u'%');
    LetPendingMessagesRun();
}

QString TfrmMainEx::DocumentFileName(qintptr documentIndex) const
{
    const TFileList& files = *Project->Files();
    if (documentIndex < 0 || documentIndex >= files.Count())
        return QString();
    return QFileInfo(files.Items(static_cast<int>(documentIndex))->Source()).fileName();
}

void TfrmMainEx::OnRunError(qintptr documentIndex, qintptr error)
{
    switch (error) {
    case kErrorInputUnreadable: InformKey("sAnalysisError"); break;
    case kErrorPageUnreadable:
        FRunHadPageErrors = true;
        WriteLogLine(FormatText(QStringLiteral("Reading error! You need to remove \"%s\" from the file list."),
                                {DocumentFileName(documentIndex)}));
        break;
    case kErrorOutputUnwritable:
        FRunHadPageErrors = true;
        WriteLogLine(FormatText(QStringLiteral("Writing error! You need to remove \"%s\" from the file list."),
                                {DocumentFileName(documentIndex)}));
        break;
    case kRunWarningDamaged:
        FRunMetDamage = true;
        break;
    case kRunErrorInputChanged:
        ShowMessageBox(
            FormatFormsText(QStringLiteral("sInputChanged"), {DocumentFileName(documentIndex)}),
            MessageBoxButtons::Ok, MessageBoxIcons::Information);
        break;
    case kRunErrorOutputOpen:
    case kRunErrorNoOperation: InformKey("sFileconvertFaild"); break;
    default: InformKey("sUnknownError"); break;
    }
}

void TfrmMainEx::OnRunDone(qintptr state)
{
    if (state >= kDoneRun) {
        FRunning = false;
        UpdateControls();
        if (state != kDoneStopped) {
            // Damage outweighs missing pages: the outputs may be incomplete either way.
            const QString key = FRunMetDamage       ? QStringLiteral("sSplitFinishedDamaged")
                                : FRunHadPageErrors ? QStringLiteral("sSplitFinishedWithErrors")
                                                    : QStringLiteral("sSplitFinished");
            const int answer = ShowMessageBox(GetFormsLangString(key), MessageBoxButtons::OkCancel,
                                              FRunMetDamage ? MessageBoxIcons::Exclamation
                                                            : MessageBoxIcons::Information);
            if (answer == static_cast<int>(MessageBoxButton::Ok)) {
                const TFileInfo* document = Document();
                const QString folder = document && !document->OutFile().isEmpty()
                                           ? QFileInfo(document->OutFile()).absolutePath()
                                           : MyDocumentsFolder();
                OpenFolder(folder);
            }
        }
        pbSplit->setValue(0);
        pbSplit->hide();
        lblProgress->clear();
        lblProgress->hide();
    }
    LetPendingMessagesRun();
}

void TfrmMainEx::OnRunEnable(qintptr enable)
{
    btnConvert->setEnabled(enable != 0);
    LetPendingMessagesRun();
}

void TfrmMainEx::EndSession()
{
    FEndingSession = true;
    Planner->SetDisconnectOnStop(true);
    if (FRunning) {
        Planner->Stop();
        FRunning = false;
    }
    close();
}

bool TfrmMainEx::SkinFormCloseQuery()
{
    Planner->SetDisconnectOnStop(true);
    if (FEndingSession)
        return true;
    if (FRunning)
        return ConfirmCancel();
    if (Loaded()) {
        return ShowMessageBox(GetFormsLangString(QStringLiteral("sExitProgram")),
                              MessageBoxButtons::YesNo, MessageBoxIcons::Question) ==
               static_cast<int>(MessageBoxButton::Yes);
    }
    return true;
}
