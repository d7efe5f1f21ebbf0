#include "ui/frmMainEx.h"

#include "model/PageStr.h"
#include "model/TavloProj.h"
#include "shell/ApplicationTitle.h"
#include "shell/FileSizeText.h"
#include "shell/FormatText.h"
#include "shell/HelpPage.h"
#include "shell/LiveUpdate.h"
#include "shell/MessageBox.h"
#include "shell/MutlLanguage.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "shell/RunLog.h"
#include "shell/ShellOpen.h"
#include "split/TavloConvert.h"
#include "ui/SkinFiles.h"
#include "ui/WindowRegistry.h"
#include "ui/frmAbout.h"
#include "ui/frmAdvancedSetting.h"
#include "ui/frmBalloon.h"
#include "ui/frmBookmarkSetting.h"
#include "ui/frmPassword.h"
#include "shell/DroppedFiles.h"
#include "ui/RightToLeft.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>

TAVLO_REGISTER_WINDOW(TfrmMainEx)

namespace {

const QColor kHeadingColor(29, 108, 181);
const QColor kOutputColor(23, 113, 146);
const QColor kGrey(134, 134, 134);

// The spin boxes' range while the document's page count is not known.
constexpr int kSpinMaximum = 999;
// The least room between a control and the window's edge.
constexpr int kEdgeMargin = 4;
constexpr int kDocumentLabelHeight = 14;

template <typename TControl>
TControl* MakeControl(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* control = new TControl(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// A push button's width at least, and wide enough for its caption.
int WidthForText(const QPushButton& button)
{
    const int padding = 12;
    return std::max(button.width(), button.fontMetrics().horizontalAdvance(button.text()) + padding);
}

void SetTextColor(QWidget* control, const QColor& color)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    control->setPalette(palette);
}

void SetFont(QWidget* control, int pixelSize, bool bold)
{
    QFont font = control->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    control->setFont(font);
}

void Inform(const QString& text)
{
    ShowMessageBox(text, MessageBoxButtons::Ok, MessageBoxIcons::Information);
}

// The window's font before the language file names its own.
QFont WindowFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(12);
    return font;
}

} // namespace

TfrmMainEx::TfrmMainEx(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmMainEx"));
    setFixedSize(544, 603);
    setFont(WindowFont());
    CreateControls();
    SkinFormCreate();
    MirrorForLanguage(this);
}

TfrmMainEx::~TfrmMainEx()
{
    SkinFormDestroy();
}

void TfrmMainEx::CreateControls()
{
    btnHelp = MakeControl<QPushButton>(this, "btnHelp", {450, 23, 61, 26});
    btnHelp->setText(QStringLiteral("Help"));
    connect(btnHelp, &QPushButton::clicked, this, &TfrmMainEx::btnHelpClick);

    lblSelectFile = MakeControl<QLabel>(this, "lblSelectFile", {62, 75, 160, 17});
    lblSelectFile->setText(QStringLiteral("Select file"));
    SetFont(lblSelectFile, 14, true);
    SetTextColor(lblSelectFile, kHeadingColor);

    CreateFileSection();

    lblSplitMethod = MakeControl<QLabel>(this, "lblSplitMethod", {62, 198, 200, 17});
    lblSplitMethod->setText(QStringLiteral("Select split method"));
    SetFont(lblSplitMethod, 14, true);
    SetTextColor(lblSplitMethod, kHeadingColor);

    CreateSplitPanel();

    pbSplit = MakeControl<QProgressBar>(this, "pbSplit", {17, 475, 513, 16});
    pbSplit->setRange(0, 100);
    pbSplit->setValue(0);
    pbSplit->setTextVisible(false);
    lblProgress = MakeControl<QLabel>(this, "lblProgress", {265, 475, 40, 16});
    lblProgress->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblOutputSetting = MakeControl<QLabel>(this, "lblOutputSetting", {32, 505, 200, 14});
    lblOutputSetting->setText(QStringLiteral("Output Setting"));
    SetFont(lblOutputSetting, 12, true);
    SetTextColor(lblOutputSetting, kOutputColor);

    CreateOutputPanel();

    btnConvert = MakeControl<QPushButton>(this, "btnConvert", {387, 520, 127, 53});
    connect(btnConvert, &QPushButton::clicked, this, &TfrmMainEx::btnConvertClick);

    debug = new QAction(this);
    debug->setObjectName(QStringLiteral("debug"));
    debug->setShortcut(Qt::Key_F12);
    debug->setShortcutContext(Qt::WindowShortcut);
    addAction(debug);
    connect(debug, &QAction::triggered, this, &TfrmMainEx::debugExecute);
    btnDebug = MakeControl<QPushButton>(this, "btnDebug", {23, 23, 61, 26});
    btnDebug->setText(QStringLiteral("Log"));
    connect(btnDebug, &QPushButton::clicked, debug, &QAction::trigger);

    CreateHelpMenu();

    // The window sees every key before its controls do; menus keep their own keys.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (!qobject_cast<QMenu*>(control))
            control->installEventFilter(this);
    }
}

void TfrmMainEx::CreateFileSection()
{
    lblFileName = MakeControl<QLabel>(this, "lblFileName", {32, 120, 200, 14});
    lblFileName->setText(QStringLiteral("File name"));

    edtFilename = MakeControl<QLineEdit>(this, "edtFilename", {33, 140, 184, 22});
    edtFilename->setReadOnly(true);
    SetTextColor(edtFilename, kGrey);

    btnAddFile = MakeControl<QPushButton>(this, "btnAddFile", {220, 140, 73, 21});
    btnAddFile->setText(QStringLiteral("Browse"));
    connect(btnAddFile, &QPushButton::clicked, this, &TfrmMainEx::btnAddFileClick);

    imgGuide = MakeControl<QLabel>(this, "imgGuide", {353, 100, 85, 93});
    lblSize = MakeControl<QLabel>(this, "lblSize", {456, 140, 106, kDocumentLabelHeight});
    lblSize->setText(QStringLiteral("Size:"));
    SetTextColor(lblSize, kGrey);
    lblTotalpage = MakeControl<QLabel>(this, "lblTotalpage", {459, 160, 106, kDocumentLabelHeight});
    lblTotalpage->setText(QStringLiteral("Total pages"));
    SetTextColor(lblTotalpage, kGrey);

    imgBalloon = MakeControl<QLabel>(this, "imgBalloon", {367, 168, 17, 19});
    imgBalloon->setPixmap(LoadSkinPicture(SkinFiles::Lock));
    imgBalloon->hide();
    imgBalloon->setMouseTracking(true);
}

void TfrmMainEx::CreateSplitPanel()
{
    pnlSplit = MakeControl<QFrame>(this, "pnlSplit", {23, 217, 501, 252});
    pnlSplit->setFrameShape(QFrame::StyledPanel);
    SplitGroup = new QButtonGroup(pnlSplit);

    rdEveryPage = MakeControl<QRadioButton>(pnlSplit, "rdEveryPage", {31, 15, 96, 16});
    rdEveryPage->setText(QStringLiteral("Split by every"));
    spinEveryPage = MakeControl<QSpinBox>(pnlSplit, "spinEveryPage", {129, 12, 57, 22});
    spinEveryPage->setRange(1, kSpinMaximum);
    lblEveryPage = MakeControl<QLabel>(pnlSplit, "lblEveryPage", {192, 17, 120, 14});
    lblEveryPage->setText(QStringLiteral("page(s)"));

    rdBookMarkLever = MakeControl<QRadioButton>(pnlSplit, "rdBookMarkLever", {31, 55, 192, 16});
    rdBookMarkLever->setText(QStringLiteral("Split by bookmark  split to level"));
    cbxBookMarkLever = MakeControl<QComboBox>(pnlSplit, "cbxBookMarkLever", {225, 53, 74, 22});
    connect(cbxBookMarkLever, &QComboBox::activated, this, &TfrmMainEx::cbxBookMarkLeverClick);
    btnBookMarkLever = MakeControl<QPushButton>(pnlSplit, "btnBookMarkLever", {305, 53, 72, 21});
    btnBookMarkLever->setText(QStringLiteral("Setting"));
    connect(btnBookMarkLever, &QPushButton::clicked, this, &TfrmMainEx::btnBookMarkLeverClick);

    rdPageRange = MakeControl<QRadioButton>(pnlSplit, "rdPageRange", {31, 94, 440, 16});
    rdPageRange->setText(QStringLiteral("Split by page range to a PDF file, eg[1,3,5,7-10]"));
    edtPageRange = MakeControl<QLineEdit>(pnlSplit, "edtPageRange", {57, 119, 258, 22});
    connect(edtPageRange, &QLineEdit::textChanged, this, &TfrmMainEx::edtPageRangeChange);
    lblInvalid1 = MakeControl<QLabel>(pnlSplit, "lblInvalid1", {319, 123, 170, 14});
    SetTextColor(lblInvalid1, Qt::red);
    lblInvalid1->hide();
    cbNeedOtherPage = MakeControl<QCheckBox>(pnlSplit, "cbNeedOtherPage", {57, 147, 400, 16});
    cbNeedOtherPage->setText(QStringLiteral("其余的页面生成另一个PDF"));

    rdAdvanced = MakeControl<QRadioButton>(pnlSplit, "rdAdvanced", {31, 187, 284, 16});
    rdAdvanced->setText(QStringLiteral("Split to multiple PDF files by specific page range"));
    btnAdvanced = MakeControl<QPushButton>(pnlSplit, "btnAdvanced", {318, 185, 72, 21});
    btnAdvanced->setText(QStringLiteral("Setting"));
    connect(btnAdvanced, &QPushButton::clicked, this, &TfrmMainEx::btnAdvancedClick);

    rdAverge = MakeControl<QRadioButton>(pnlSplit, "rdAverge", {31, 226, 116, 16});
    rdAverge->setText(QStringLiteral("Average splitting to  "));
    spinAverge = MakeControl<QSpinBox>(pnlSplit, "spinAverge", {149, 223, 57, 22});
    spinAverge->setRange(1, kSpinMaximum);
    lblAverge = MakeControl<QLabel>(pnlSplit, "lblAverge", {215, 228, 160, 14});
    lblAverge->setText(QStringLiteral("PDF documents"));

    for (QRadioButton* radio : {rdEveryPage, rdBookMarkLever, rdPageRange, rdAdvanced, rdAverge})
        SplitGroup->addButton(radio);
    connect(SplitGroup, &QButtonGroup::buttonClicked, this,
            [this](QAbstractButton* radio) { rdEveryPageClick(static_cast<QRadioButton*>(radio)); });
}

void TfrmMainEx::CreateOutputPanel()
{
    pnlOutPut = MakeControl<QFrame>(this, "pnlOutPut", {23, 523, 279, 57});
    auto* group = new QButtonGroup(pnlOutPut);
    rdSource = MakeControl<QRadioButton>(pnlOutPut, "rdSource", {11, 7, 260, 16});
    rdSource->setText(QStringLiteral("Save to same folder as source"));
    rdCustom = MakeControl<QRadioButton>(pnlOutPut, "rdCustom", {11, 33, 70, 16});
    rdCustom->setText(QStringLiteral("Custom"));
    for (QRadioButton* radio : {rdSource, rdCustom}) {
        SetFont(radio, 12, false);
        SetTextColor(radio, kOutputColor);
        group->addButton(radio);
    }
    connect(rdSource, &QRadioButton::clicked, this, &TfrmMainEx::rdSourceClick);
    connect(rdCustom, &QRadioButton::clicked, this, &TfrmMainEx::btnOutputPathClick);

    btnOutputPath = MakeControl<QLineEdit>(pnlOutPut, "btnOutputPath", {84, 32, 193, 22});
    btnOutputPathButton = btnOutputPath->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                                   QLineEdit::TrailingPosition);
    btnOutputPathButton->setObjectName(QStringLiteral("btnOutputPathButton"));
    connect(btnOutputPathButton, &QAction::triggered, this, &TfrmMainEx::btnOutputPathButtonClick);
    connect(btnOutputPath, &QLineEdit::textChanged, this, &TfrmMainEx::btnOutputPathChange);

    btnBrower = MakeControl<QPushButton>(this, "btnBrower", {306, 553, 71, 23});
    btnBrower->setText(QStringLiteral("Open"));
    connect(btnBrower, &QPushButton::clicked, this, &TfrmMainEx::btnBrowerClick);
}

void TfrmMainEx::CreateHelpMenu()
{
    pmHelp = new QMenu(this);
    pmHelp->setObjectName(QStringLiteral("pmHelp"));
    const auto item = [this](const char* name, const char* caption) {
        QAction* action = pmHelp->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    pmiHelp = item("pmiHelp", "Help");
    pmiHomepage = item("pmiHomepage", "Product Page");
    pmiSupport = item("pmiSupport", "Support");
    pmHelp->addSeparator();
    pmiUpdate = item("pmiUpdate", "Online Update");
    pmiAbout = item("pmiAbout", "About");
    connect(pmHelp, &QMenu::aboutToShow, this, &TfrmMainEx::pmHelpPopup);
    connect(pmiHelp, &QAction::triggered, this, [] { OpenHelpPage(); });
    connect(pmiHomepage, &QAction::triggered, this, [] { OpenWebAddress(ProductConfig().HomePage); });
    connect(pmiSupport, &QAction::triggered, this, [] { OpenWebAddress(ProductConfig().SupportPage); });
    connect(pmiUpdate, &QAction::triggered, this, &TfrmMainEx::pmiUpdateClick);
    connect(pmiAbout, &QAction::triggered, this, &TfrmMainEx::pmiAboutClick);
}

void TfrmMainEx::SkinFormCreate()
{
    setWindowTitle(ApplicationTitle());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    SplitOptionsEnabled = true;
    btnDebug->setVisible(QFileInfo::exists(ApplicationFolder() + QStringLiteral("Debug.txt")));
    setAcceptDrops(true);
    ApplyFormsLanguage(this);
    FitSplitRowsToTheirTexts();
    FitButtonsToTheirTexts();
    btnConvert->setText(QString());

    CreateProject();
    {
        const QSignalBlocker detached(btnOutputPath);
        btnOutputPath->setText(ProductConfig().CustomDir);
        btnOutputPath->setCursorPosition(0);
        (ProductConfig().CustomPath ? rdCustom : rdSource)->setChecked(true);
    }
    CreatePlanner();
    Planner->SetWindow(&FRunTarget);

    ShowFileInformation(false);
    rdEveryPage->setChecked(true);
    cbxBookMarkLever->setCurrentIndex(0);
    cbNeedOtherPage->setChecked(false);
    spinAverge->setValue(2);
    PlaceDocumentPicture();
    UpdateControls();
}

// A caption of another language or font may be wider than its place: the caption gets the
// room it needs and the controls after it on its row move right.
void TfrmMainEx::FitSplitRowsToTheirTexts()
{
    const TLeftToRightPositions leftToRight(this);
    const std::vector<std::vector<QWidget*>> rows = {
        {rdEveryPage, spinEveryPage, lblEveryPage},
        {rdBookMarkLever, cbxBookMarkLever, btnBookMarkLever},
        {rdPageRange},
        {cbNeedOtherPage},
        {rdAdvanced, btnAdvanced},
        {rdAverge, spinAverge, lblAverge},
    };
    const int panelRight = pnlSplit->width() - 8;
    for (const std::vector<QWidget*>& row : rows) {
        int right = 0;
        for (QWidget* control : row) {
            if (auto* button = qobject_cast<QPushButton*>(control))
                control->resize(WidthForText(*button), control->height());
            else if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLabel*>(control))
                control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
            if (right > 0 && control->x() < right + 4)
                control->move(right + 4, control->y());
            control->resize(std::min(control->width(), panelRight - control->x()), control->height());
            right = control->x() + control->width();
        }
    }
}

// The buttons outside the split rows keep their right edge and grow to the left, taking the
// room from the edit box beside them where there is one.
void TfrmMainEx::FitButtonsToTheirTexts()
{
    const TLeftToRightPositions leftToRight(this);
    const std::pair<QPushButton*, QWidget*> buttons[] = {
        {btnHelp, nullptr}, {btnAddFile, edtFilename}, {btnBrower, nullptr}};
    for (const auto& [button, editBeside] : buttons) {
        const int grown = WidthForText(*button) - button->width();
        if (grown <= 0)
            continue;
        button->setGeometry(button->x() - grown, button->y(), button->width() + grown, button->height());
        if (editBeside != nullptr)
            editBeside->resize(editBeside->width() - grown, editBeside->height());
    }
}

void TfrmMainEx::PlaceDocumentPicture()
{
    const QPixmap picture = LoadSkinPicture(SkinFiles::FileImage);
    if (picture.isNull())
        return;
    const TLeftToRightPositions leftToRight(this);
    imgGuide->setPixmap(picture);
    imgGuide->setGeometry(btnAddFile->x() + btnAddFile->width() + 22, btnAddFile->y() - 26,
                          picture.width(), picture.height());
    const QRect image = imgGuide->geometry();
    const int right = image.x() + image.width();
    const int bottom = image.y() + image.height();
    lblSize->move(right + 4, image.y() + image.height() / 2 - 18);
    lblTotalpage->move(lblSize->x(), lblSize->y() + 21);
    imgBalloon->move(right - 15, bottom - 25);
}

void TfrmMainEx::CreateProject()
{
    Project = std::make_unique<TTavloProj>();
}

void TfrmMainEx::CreatePlanner()
{
    Planner = std::make_unique<TTavloConvert>(*Project);
    // A stopped run's folder goes to the trash, where the user can still find it.
    Planner->SetDiscardToTrash(true);
    Planner->SetKeepNavigation(ProductConfig().KeepNavigation);
    Planner->SetJobs(ProductConfig().Jobs);
}

void TfrmMainEx::SkinFormDestroy()
{
    if (Project)
        ProductConfig().OutFormat = Project->Setting()->OutputFormat()->Format();
    if (Planner)
        Planner->SetWindow(nullptr);
    Planner.reset();
    Project.reset();
}

TProductConfig& TfrmMainEx::GetProductConfig()
{
    return ProductConfig();
}

bool TfrmMainEx::ActivateIfTitled(const QString& title)
{
    if (windowTitle() != title)
        return false;
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    return true;
}

void TfrmMainEx::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!FShown) {
        FShown = true;
        SkinFormShow();
    }
}

void TfrmMainEx::SkinFormShow()
{
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        timer->deleteLater();
        FirstShowTimer();
        // Only now that the window is up for good: it shows itself anew when it stops staying
        // on top, and would then lie over a box of the document that was open by then.
        if (!FStartDocument.isEmpty())
            AddDocument(FStartDocument);
    });
    timer->start(20);
    WriteLogLine(ApplicationTitle());
}

void TfrmMainEx::FirstShowTimer()
{
    // Stay-on-top only brings the window up at start; from then on it is a normal window.
    if (windowFlags() & Qt::WindowStaysOnTopHint) {
        const bool visible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
        if (visible)
            show();
    }
    if (ProductConfig().SupportUpdate)
        TLiveUpdate().StartAutomaticCheck();
}

void TfrmMainEx::UpdateControls()
{
    SetConvertSkinState(FRunning);
    if (!FRunning)
        btnConvert->setEnabled(Loaded() && Document()->TotalPage() > 0);
    const bool splitEnabled = !FRunning && Loaded() && SplitOptionsEnabled;
    SetSplitPanelEnabled(splitEnabled);
    if (splitEnabled) {
        rdBookMarkLever->setEnabled(BookmarkLevelCount != 0);
        btnBookMarkLever->setEnabled(rdBookMarkLever->isChecked() && cbxBookMarkLever->count() > 0);
        cbxBookMarkLever->setEnabled(rdBookMarkLever->isChecked());
        edtPageRange->setEnabled(rdPageRange->isChecked());
        cbNeedOtherPage->setEnabled(rdPageRange->isChecked());
        spinEveryPage->setEnabled(rdEveryPage->isChecked());
        spinAverge->setEnabled(rdAverge->isChecked());
        btnAdvanced->setEnabled(rdAdvanced->isChecked());
    }
    lblInvalid1->setVisible(rdPageRange->isChecked());
    pbSplit->setVisible(FRunning);
    lblProgress->setVisible(FRunning);
    btnAddFile->setEnabled(!FRunning);
    pnlOutPut->setEnabled(!FRunning);
    if (!FRunning)
        lblProgress->setText(QStringLiteral("0%"));
}

// Entries without a target are not offered: no help page, no address configured, or no
// update service in this build.
void TfrmMainEx::UpdateHelpMenu()
{
    const TProductConfig& config = ProductConfig();
    pmiHelp->setVisible(!HelpPageAddress().isEmpty());
    pmiHomepage->setVisible(!config.HomePage.trimmed().isEmpty());
    pmiSupport->setVisible(!config.SupportPage.trimmed().isEmpty());
    pmiUpdate->setVisible(config.SupportUpdate && TLiveUpdate::Available());
}

void TfrmMainEx::SetSplitPanelEnabled(bool enabled)
{
    for (QWidget* control : pnlSplit->findChildren<QWidget*>())
        control->setEnabled(enabled);
    pnlSplit->setEnabled(enabled);
}

void TfrmMainEx::SetConvertSkinState(bool cancel)
{
    const QString state = cancel ? QStringLiteral("btnCancel") : QStringLiteral("btnConvert");
    if (btnConvert->property("skinState").toString() == state)
        return;
    btnConvert->setProperty("skinState", state);
    const TSkinPicture& face = cancel ? SkinFiles::CancelNormal : SkinFiles::ConvertNormal;
    const bool hasFace = QFileInfo::exists(SkinFile(face));
    btnConvert->setStyleSheet(hasFace ? PictureButtonStyleSheet(state) : QString());
    const QString caption = GetFormsLangString(cancel ? QStringLiteral("sCancelButton")
                                                      : QStringLiteral("sConvertButton"));
    btnConvert->setToolTip(caption);
    btnConvert->setAccessibleName(caption);
    // Without its picture the button still has to say what it does.
    btnConvert->setText(hasFace ? QString() : caption);
}

// Documents --------------------------------------------------------------------------------

TFileInfo* TfrmMainEx::Document() const
{
    return Loaded() ? Project->Files()->Items(0) : nullptr;
}

bool TfrmMainEx::Loaded() const
{
    return Project && Project->Files()->Count() > 0;
}

bool TfrmMainEx::AddDocument(const QString& path)
{
    const bool added = LoadDocument(path);
    UpdateControls();
    return added;
}

bool TfrmMainEx::LoadDocument(const QString& path)
{
    const QFileInfo file(path);
    const TFileItr& input = *Project->Setting()->InputFormat();
    if (u'.' + file.suffix().toLower() != input.ExtName().toLower())
        return false;
    if (!file.isFile()) {
        Inform(FormatFormsText(QStringLiteral("sFileNotFound"), {path}));
        return false;
    }
    TFileList& files = *Project->Files();
    for (int i = 0; i < files.Count(); ++i) {
        if (QFileInfo(files.Items(i)->Source()).fileName().compare(file.fileName(), Qt::CaseInsensitive) == 0) {
            Inform(FormatFormsText(QStringLiteral("sFileAlreadyExists"), {file.fileName()}));
            return false;
        }
    }
    TFileInfo& document = *files.NewItem();
    document.SetSource(file.absoluteFilePath());
    document.SetFileFormat(input.Format());
    document.SetPageScore(QStringLiteral("1"));
    if (!Planner->CheckDocument(document)) {
        Inform(FormatFormsText(QStringLiteral("sNotPdfFile"), {path}));
        files.Delete(files.Count() - 1);
        return false;
    }
    if (files.Count() > 1)
        files.Delete(0);
    if (isVisible())
        activateWindow();
    edtFilename->setText(file.fileName());
    edtFilename->setCursorPosition(0);
    edtFilename->setToolTip(QDir::toNativeSeparators(document.Source()));

    if (document.UserPass() && !document.PasswdRight()) {
        const bool unlocked = AskPassword(document);
        SetSplitPanelEnabled(unlocked);
        SplitOptionsEnabled = unlocked;
        if (!unlocked && ProductConfig().ShowPasswordBalloon)
            ShowPasswordBalloonNotice();
    } else {
        if (btnAddFile->isEnabled() && btnAddFile->isVisible())
            btnAddFile->setFocus();
        SplitOptionsEnabled = true;
    }
    RefillBookmarkLevels();
    ResetSplitSettings();
    ShowFileInformation(true);
    document.SetOutFile(QString());
    return true;
}

bool TfrmMainEx::AskPassword(TFileInfo& document)
{
    for (;;) {
        QString password;
        if (!AskDocumentPassword(password, this))
            return false;
        document.SetUserPassword(password);
        Planner->CheckDocument(document);
        if (document.IsAccessible())
            return true;
        Inform(GetFormsLangString(QStringLiteral("sReInputPass")));
    }
}

void TfrmMainEx::ShowPasswordBalloonNotice()
{
    const QPoint tip(imgBalloon->width() / 2, imgBalloon->height());
    ShowBalloon(imgBalloon->mapToGlobal(tip), this);
}

void TfrmMainEx::imgBalloonClick()
{
    TFileInfo* document = Document();
    if (!document || !document->UserPass() || !AskPassword(*document))
        return;
    SetDocumentLabel(*lblTotalpage,
                     QStringLiteral("Total Page: ") + QString::number(document->TotalPage()));
    imgBalloon->hide();
    SetSplitPanelEnabled(true);
    SplitOptionsEnabled = true;
    RefillBookmarkLevels();
    UpdateControls();
    if (cbxBookMarkLever->count() > 0)
        cbxBookMarkLever->setCurrentIndex(0);
}

void TfrmMainEx::ShowFileInformation(bool show)
{
    const TFileInfo* document = Document();
    if (show && document) {
        SetDocumentLabel(*lblSize, FormatFormsText(QStringLiteral("sFileSizeSet"),
                                                   {FileSizeText(document->Source())}));
        const bool readable = document->IsAccessible();
        const QString pages = readable ? QString::number(document->TotalPage())
                                       : GetFormsLangString(QStringLiteral("sFilePageError"));
        SetDocumentLabel(*lblTotalpage,
                         FormatFormsText(QStringLiteral("sFileTotalPageSet"), {pages}));
        imgBalloon->setVisible(!readable);
    } else {
        lblSize->clear();
        lblTotalpage->clear();
    }
    imgGuide->setVisible(show);
    lblSize->setVisible(show);
    lblTotalpage->setVisible(show);
}

// The labels beside the document picture take the width of their text; where the window ends
// first, the text goes on in a second line instead of being cut.
void TfrmMainEx::SetDocumentLabel(QLabel& label, const QString& text)
{
    const TLeftToRightPositions leftToRight(this);
    label.setText(text);
    label.setWordWrap(false);
    const int wanted = label.sizeHint().width();
    const int room = width() - kEdgeMargin - label.x();
    label.setWordWrap(wanted > room);
    const int fitted = std::min(wanted, room);
    label.resize(fitted, label.wordWrap() ? label.heightForWidth(fitted) : kDocumentLabelHeight);
}

void TfrmMainEx::RefillBookmarkLevels()
{
    cbxBookMarkLever->clear();
    TFileInfo* document = Document();
    if (!document)
        return;
    // A locked document has no page count yet: a range capped now would cut the defaults
    // written next, and they would stay cut once the document is unlocked.
    const int pages = document->IsAccessible() && document->TotalPage() > 0 ? document->TotalPage()
                                                                            : kSpinMaximum;
    spinEveryPage->setMaximum(pages);
    spinAverge->setMaximum(pages);
    BookmarkLevelCount = Planner->GetBookmarkLevelCount(*document);
    for (int level = 1; level <= BookmarkLevelCount; ++level)
        cbxBookMarkLever->addItem(QString::number(level));
}

void TfrmMainEx::ResetSplitSettings()
{
    rdEveryPage->setChecked(true);
    edtPageRange->clear();
    TMethod& method = *Project->Method();
    method.AdvDefine()->Clear();
    method.SetEveryPageNum(1);
    method.SetAvgSplitNum(2);
    method.RangeStr()->SetRangeStr(QStringLiteral("1"));
    method.RangeStr()->SetNeedOtherPage(false);
    method.BookMarkOption()->SetLevelNum(1);
    method.BookMarkOption()->SetBothPage(false);
    method.BookMarkOption()->SetSaveHigherLevel(false);
    method.BookMarkOption()->SetTitleNaming(ProductConfig().NameByTitle ? tnTitle : tnNone);
    spinEveryPage->setValue(method.EveryPageNum());
    spinAverge->setValue(method.AvgSplitNum());
    cbNeedOtherPage->setChecked(method.RangeStr()->NeedOtherPage());
    edtPageRange->setText(method.RangeStr()->RangeStr());
    FLastValidRange = method.RangeStr()->RangeStr();
    cbxBookMarkLever->setCurrentIndex(0);
}

void TfrmMainEx::btnAddFileClick()
{
    TProductConfig& config = ProductConfig();
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), config.InitDir, GetFormsLangString(QStringLiteral("sPdfFileFilter")));
    if (!path.isEmpty()) {
        const QString folder = QFileInfo(path).absolutePath();
        if (QFileInfo(folder).isDir())
            config.InitDir = folder;
        LoadDocument(path);
    }
    UpdateControls();
}

void TfrmMainEx::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TfrmMainEx::dropEvent(QDropEvent* event)
{
    if (FRunning) {
        WriteLogLine(QStringLiteral("WMDROPFILES Faild."));
        event->ignore();
        return;
    }
    QStringList files;
    CollectDroppedPdfFiles(event->mimeData()->urls(), files);
    event->acceptProposedAction();
    DropFiles(files);
}

void TfrmMainEx::DropFiles(const QStringList& paths)
{
    if (paths.size() >= 2) {
        Inform(GetFormsLangString(QStringLiteral("sDragFileLimit")));
        return;
    }
    for (const QString& path : paths)
        LoadDocument(path);
    UpdateControls();
}

// Split method -----------------------------------------------------------------------------

void TfrmMainEx::rdEveryPageClick(QRadioButton* clicked)
{
    UpdateControls();
    if (clicked == rdBookMarkLever && cbxBookMarkLever->count() == 0) {
        rdEveryPage->setChecked(true);
        rdEveryPage->setFocus();
        spinEveryPage->setEnabled(true);
        cbxBookMarkLever->setEnabled(false);
        Inform(GetFormsLangString(QStringLiteral("sBadPDFBookMark")));
        return;
    }
    if (clicked == rdPageRange) {
        if (edtPageRange->isEnabled())
            edtPageRange->setFocus();
    } else if (!clicked->hasFocus()) {
        clicked->setFocus();
    }
}

void TfrmMainEx::cbxBookMarkLeverClick(int index)
{
    Project->Method()->BookMarkOption()->SetLevelNum(index + 1);
}

void TfrmMainEx::btnBookMarkLeverClick()
{
    ShowBookmarkDialog(*Project, *Planner, this);
    cbxBookMarkLever->setCurrentIndex(Project->Method()->BookMarkOption()->LevelNum() - 1);
}

void TfrmMainEx::btnAdvancedClick()
{
    ShowAdvancedDialog(*Project, *Planner, this);
}

void TfrmMainEx::edtPageRangeChange()
{
    lblInvalid1->clear();
    if (edtPageRange->text().isEmpty() || !edtPageRange->isEnabled() || !Loaded())
        return;
    if (ValidatePageStr(edtPageRange->text(), Document()->TotalPage())) {
        FLastValidRange = edtPageRange->text();
        lblInvalid1->hide();
    } else {
        lblInvalid1->setText(GetFormsLangString(QStringLiteral("sInvalidSelPages")));
        lblInvalid1->show();
    }
}

void TfrmMainEx::edtPageRangeExit()
{
    if (edtPageRange->text().isEmpty() || !edtPageRange->isEnabled() || !Loaded())
        return;
    if (!ValidatePageStr(edtPageRange->text(), Document()->TotalPage())) {
        // Not the document's page selection: a run leaves it at "All", which this edit refuses.
        edtPageRange->setText(FLastValidRange);
        lblInvalid1->hide();
    }
    if (rdPageRange->isEnabled() && !rdPageRange->hasFocus())
        rdPageRange->setFocus();
}

// Output folder ----------------------------------------------------------------------------

void TfrmMainEx::rdSourceClick()
{
    TProductConfig& config = ProductConfig();
    if (!config.CustomPath)
        return;
    rdSource->setChecked(true);
    rdSource->setFocus();
    config.CustomPath = false;
    Project->Files()->ClearOutFiles();
}

void TfrmMainEx::btnOutputPathClick()
{
    if (ChooseCustomFolder())
        rdCustom->setFocus();
}

// False when the custom folder was chosen already. The focus stays where it is: a click or
// typing into the folder box chooses it too, and what is typed next belongs in the box.
bool TfrmMainEx::ChooseCustomFolder()
{
    TProductConfig& config = ProductConfig();
    if (config.CustomPath)
        return false;
    rdCustom->setChecked(true);
    config.CustomPath = true;
    Project->Files()->ClearOutFiles();
    return true;
}

void TfrmMainEx::btnOutputPathChange()
{
    ChooseCustomFolder();
    TProductConfig& config = ProductConfig();
    if (btnOutputPath->text().trimmed().isEmpty()) {
        const QString folder = config.GetDefaultOutputFolder();
        QDir().mkpath(folder);
        btnOutputPath->setText(folder);
        return; // the text change above has stored it
    }
    config.CustomDir = btnOutputPath->text().trimmed();
}

void TfrmMainEx::btnOutputPathButtonClick()
{
    const QString current = btnOutputPath->text().trimmed();
    const QString start = QFileInfo(current).isDir() ? current : QString();
    const QString folder = QFileDialog::getExistingDirectory(
        this, GetFormsLangString(QStringLiteral("sDirSelect")), start, QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        btnOutputPath->setText(WithTrailingBackslash(QDir::toNativeSeparators(folder)));
}

void TfrmMainEx::btnBrowerClick()
{
    TProductConfig& config = ProductConfig();
    if (config.CheckOutputFolder())
        OpenFolder(config.CustomDir);
    else
        btnOutputPath->setFocus();
}

// Help -------------------------------------------------------------------------------------

void TfrmMainEx::btnHelpClick()
{
    pmHelp->popup(QCursor::pos());
}

void TfrmMainEx::pmHelpPopup()
{
    UpdateHelpMenu();
    pmiUpdate->setEnabled(!FRunning);
}

void TfrmMainEx::pmiUpdateClick()
{
    if (ProductConfig().SupportUpdate)
        TLiveUpdate().StartInteractiveCheck();
}

void TfrmMainEx::pmiAboutClick()
{
    ShowAboutBox(this);
}

void TfrmMainEx::debugExecute()
{
    OpenDocument(LogFilePath());
}

// Keys and events --------------------------------------------------------------------------

bool TfrmMainEx::SkinFormShortCut(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_F1:
        pmiHelp->trigger();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

bool TfrmMainEx::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (SkinFormShortCut(*static_cast<QKeyEvent*>(event)))
            return true;
        if (watched == cbxBookMarkLever) {
            // The level list is chosen from, never typed into.
            const auto& key = *static_cast<QKeyEvent*>(event);
            if (key.key() == Qt::Key_Delete || !key.text().isEmpty())
                return true;
        }
        break;
    case QEvent::FocusOut:
        if (watched == edtPageRange) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                edtPageRangeExit();
        }
        break;
    case QEvent::MouseButtonPress:
        if (watched == btnOutputPath)
            ChooseCustomFolder();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == imgBalloon)
            imgBalloonClick();
        break;
    case QEvent::MouseMove:
    case QEvent::Enter:
        if (watched == imgBalloon) {
            const TFileInfo* document = Document();
            imgBalloon->setCursor(document && document->UserPass() ? Qt::PointingHandCursor
                                                                   : Qt::ArrowCursor);
        }
        break;
    case QEvent::Leave:
        if (watched == imgBalloon)
            imgBalloon->unsetCursor();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmMainEx::event(QEvent* event)
{
    if (event->type() == TRunMessageEvent::EventType()) {
        HandleRunMessage(static_cast<TRunMessageEvent*>(event)->Message());
        return true;
    }
    if (event->type() == QEvent::KeyPress && SkinFormShortCut(*static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::event(event);
}

void TfrmMainEx::closeEvent(QCloseEvent* event)
{
    if (SkinFormCloseQuery())
        event->accept();
    else
        event->ignore();
}

TfrmShape::TfrmShape(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmShape"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}
