#pragma once

#include "ui/MainWindowService.h"
#include "ui/RunMessageEvent.h"

#include <QWidget>

#include <memory>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;
class TFileInfo;

// The program's main window: one document at a time, the five split methods, the output
// folder, and Convert/Cancel with the run's progress.
class TfrmMainEx : public QWidget, public IMainWindowService
{
    Q_OBJECT
public:
    explicit TfrmMainEx(QWidget* parent = nullptr);
    ~TfrmMainEx() override;

    // The document path given on the command line, added once the window is first shown.
    void SetStartDocument(const QString& path) { FStartDocument = path; }

    // Brings the window to the front when its title is the given one.
    bool ActivateIfTitled(const QString& title);

    bool Running() const { return FRunning; }

    // Closes the window for a session that ends (logout, a termination signal): a run is
    // stopped, so nothing of it stays, and nobody is asked.
    void EndSession();

    // The service interface. Adding a document also brings the controls up to date.
    TTavloProj& GetProject() override { return *Project; }
    bool AddDocument(const QString& path) override;
    void StartRun(TTavloProj& project) override;
    bool ConfirmCancel() override;
    TTavloConvert& GetPlanner() override { return *Planner; }
    TProductConfig& GetProductConfig() override;
    QWidget* GetWindow() override { return this; }
    bool AskPassword(TFileInfo& document) override;

protected:
    virtual void CreateProject();
    virtual void CreatePlanner();
    virtual void UpdateControls();

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Window and controls.
    void CreateControls();
    void CreateFileSection();
    void CreateSplitPanel();
    void CreateOutputPanel();
    void CreateHelpMenu();
    void SkinFormCreate();
    void FitSplitRowsToTheirTexts();
    void FitButtonsToTheirTexts();
    void PlaceDocumentPicture();
    void SkinFormShow();
    void FirstShowTimer();
    void SkinFormDestroy();
    bool SkinFormShortCut(const QKeyEvent& key);

    // Documents.
    TFileInfo* Document() const;
    bool Loaded() const;
    // Loads a document in place of the current one; the caller updates the controls.
    bool LoadDocument(const QString& path);
    void btnAddFileClick();
    void DropFiles(const QStringList& paths);
    void ShowFileInformation(bool show);
    void SetDocumentLabel(QLabel& label, const QString& text);
    void RefillBookmarkLevels();
    void ResetSplitSettings();
    void imgBalloonClick();
    void ShowPasswordBalloonNotice();

    // Split method.
    void rdEveryPageClick(QRadioButton* clicked);
    void cbxBookMarkLeverClick(int index);
    void btnBookMarkLeverClick();
    void btnAdvancedClick();
    void edtPageRangeChange();
    void edtPageRangeExit();
    void SetSplitPanelEnabled(bool enabled);

    // Output folder.
    void rdSourceClick();
    void btnOutputPathClick();
    bool ChooseCustomFolder();
    void btnOutputPathChange();
    void btnOutputPathButtonClick();
    void btnBrowerClick();

    // Help.
    void btnHelpClick();
    void pmHelpPopup();
    void UpdateHelpMenu();
    void pmiUpdateClick();
    void pmiAboutClick();
    void debugExecute();

    // Run control.
    void btnConvertClick();
    bool CollectSettings();
    void ReportStartRefusal();
    void HandleRunMessage(const TRunMessage& message);
    void OnRunProgress(qintptr percent);
    void OnRunError(qintptr documentIndex, qintptr error);
    void OnRunDone(qintptr state);
    void OnRunEnable(qintptr enable);
    bool SkinFormCloseQuery();
    void SetConvertSkinState(bool cancel);
    QString DocumentFileName(qintptr documentIndex) const;

    // Declared first: the run posts to it until the planner is gone.
    TWindowRunTarget FRunTarget{this};
    std::unique_ptr<TTavloProj> Project;
    std::unique_ptr<TTavloConvert> Planner;
    bool FRunning = false;
    bool SplitOptionsEnabled = true;
    int BookmarkLevelCount = 0;
    // Pages that could not be read or written in the current run.
    bool FRunHadPageErrors = false;
    bool FRunMetDamage = false;
    bool FShown = false;
    bool FEndingSession = false;
    QString FStartDocument;
    // What a page range that is left invalid goes back to.
    QString FLastValidRange = QStringLiteral("1");

    QPushButton* btnHelp;
    QLabel* lblSelectFile;
    QLabel* lblSplitMethod;
    QLabel* lblOutputSetting;
    QLabel* lblFileName;
    QLineEdit* edtFilename;
    QPushButton* btnAddFile;
    QLabel* imgGuide;
    QLabel* lblSize;
    QLabel* lblTotalpage;
    QLabel* imgBalloon;
    QFrame* pnlSplit;
    QButtonGroup* SplitGroup;
    QRadioButton* rdEveryPage;
    QSpinBox* spinEveryPage;
    QLabel* lblEveryPage;
    QRadioButton* rdBookMarkLever;
    QComboBox* cbxBookMarkLever;
    QPushButton* btnBookMarkLever;
    QRadioButton* rdPageRange;
    QLineEdit* edtPageRange;
    QCheckBox* cbNeedOtherPage;
    QLabel* lblInvalid1;
    QRadioButton* rdAdvanced;
    QPushButton* btnAdvanced;
    QRadioButton* rdAverge;
    QSpinBox* spinAverge;
    QLabel* lblAverge;
    QProgressBar* pbSplit;
    QLabel* lblProgress;
    QFrame* pnlOutPut;
    QRadioButton* rdSource;
    QRadioButton* rdCustom;
    QLineEdit* btnOutputPath;
    QAction* btnOutputPathButton;
    QPushButton* btnBrower;
    QPushButton* btnConvert;
    QPushButton* btnDebug;
    QMenu* pmHelp;
    QAction* pmiHelp;
    QAction* pmiHomepage;
    QAction* pmiSupport;
    QAction* pmiUpdate;
    QAction* pmiAbout;
    QAction* debug;
};

// An empty white auxiliary window, created hidden.
class TfrmShape : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmShape(QWidget* parent = nullptr);
};
