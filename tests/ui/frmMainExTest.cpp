#include "ui/frmMainEx.h"

#include "engine/EngineTestSupport.h"
#include "model/TavloProj.h"
#include "shell/FormatText.h"
#include "shell/LanguageMgr.h"
#include "shell/MessageBox.h"
#include "shell/MutlLanguage.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "shell/ShellOpen.h"
#include "split/TavloConvert.h"
#include "ui/ApplicationLanguage.h"
#include "ui/DialogTestSupport.h"
#include "ui/WidgetMessageBox.h"
#include "ui/frmBalloon.h"
#include "ui/frmPassword.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

QString Text(const char* key)
{
    return GetFormsLangString(QString::fromLatin1(key));
}

// Every file below a folder, relative to it, sorted.
QStringList FilesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

void TypePassword(const QString& password)
{
    WhenModalShows<TfrmPassword>([password](TfrmPassword& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("edtPassword"));
        QTest::keyClicks(edit, password);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

void CancelPassword()
{
    WhenModalShows<TfrmPassword>([](TfrmPassword& dialog) { dialog.reject(); });
}

// Whether the label shows all of its text, in as many lines as it is high, inside its window.
bool ShowsWholeText(const QLabel& label)
{
    const QRect room = label.contentsRect();
    const QRect needed = label.fontMetrics().boundingRect(room, Qt::TextWordWrap, label.text());
    return needed.width() <= room.width() && needed.height() <= room.height() &&
           label.geometry().right() < label.window()->width();
}

class frmMainExTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(FFolder.isValid());
        qputenv("XDG_DATA_HOME", FFolder.filePath(QStringLiteral("data")).toUtf8());
        LanguageMgr().LoadLanguages(ApplicationFolder() + QStringLiteral("Languages/*.dat"));
        LanguageMgr().SelectLanguage(QStringLiteral("ENG"));
        TProductConfig& config = ProductConfig();
        FSavedConfig = {config.CustomPath, config.CustomDir, config.ShowPasswordBalloon};
        config.InFormat = ffPdf;
        config.OutFormat = ffPdf;
        config.CustomPath = true;
        config.CustomDir = OutFolder();
        config.ShowPasswordBalloon = false;
        QDir().mkpath(OutFolder());
        SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            FBoxes.append(request.text);
            return FAnswer ? FAnswer(request) : request.defaultButton;
        });
        SetUrlOpener([this](const QUrl& url) {
            FOpened.append(url);
            return true;
        });
        FWindow = std::make_unique<TfrmMainEx>();
        FWindow->show();
        // Focus moves only inside the active window.
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }

    void TearDown() override
    {
        if (FWindow) {
            FAnswer = [](const MessageBoxRequest&) { return MessageBoxButton::Yes; };
            WaitUntil([this] { return !FWindow->Running(); });
            FWindow.reset();
        }
        SetMessageBoxHandler(nullptr);
        SetUrlOpener(nullptr);
        TProductConfig& config = ProductConfig();
        config.CustomPath = FSavedConfig.customPath;
        config.CustomDir = FSavedConfig.customDir;
        config.ShowPasswordBalloon = FSavedConfig.balloon;
    }

    static bool WaitUntil(const std::function<bool()>& done, int milliseconds = 30000)
    {
        return QTest::qWaitFor(done, milliseconds);
    }

    QString Folder() const { return FFolder.path() + u'/'; }
    QString OutFolder() const { return Folder() + QStringLiteral("out"); }

    QString MakePdf(const QString& name, int pages, const std::vector<OutlineSpec>& outline = {})
    {
        const QString path = Folder() + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteTestPdf(path, pages, outline);
        return path;
    }

    template <typename T>
    T* Control(const char* name) const
    {
        auto* control = FWindow->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    void Click(const char* name) { QTest::mouseClick(Control<QAbstractButton>(name), Qt::LeftButton); }

    TFileInfo* Document() const
    {
        TFileList& files = *FWindow->GetProject().Files();
        return files.Count() > 0 ? files.Items(0) : nullptr;
    }

    // Clicks Convert and waits for the run to end; the finish box is answered with Cancel.
    bool ConvertAndWait()
    {
        FAnswer = [](const MessageBoxRequest&) { return MessageBoxButton::Cancel; };
        Click("btnConvert");
        return WaitUntil([this] { return !FWindow->Running(); });
    }

    void DropUrls(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at(272, 300);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(FWindow.get(), &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(FWindow.get(), &drop);
    }

    void Post(unsigned message, qintptr wParam, qintptr lParam)
    {
        TRunMessageEvent event({message, wParam, lParam});
        QApplication::sendEvent(FWindow.get(), &event);
    }

    struct
    {
        bool customPath;
        QString customDir;
        bool balloon;
    } FSavedConfig{};
    QTemporaryDir FFolder;
    QStringList FBoxes;
    std::function<MessageBoxButton(const MessageBoxRequest&)> FAnswer;
    QList<QUrl> FOpened;
    std::unique_ptr<TfrmMainEx> FWindow;
};

std::vector<OutlineSpec> ThreeLevelOutline()
{
    // Chapters on pages 1 and 4; sections on 2 and 5 (the second starts below its page's top).
    OutlineSpec section2 = Mark("2.1", 4);
    section2.top = 300;
    return {Mark("Chapter 1", 0, {Mark("1.1", 1, {Mark("1.1.1", 2)})}), Mark("Chapter 2", 3, {section2})};
}

TEST_F(frmMainExTest, AddingDocumentsChecksPathNameAndContent)
{
    const QString good = MakePdf(QStringLiteral("a/report.pdf"), 3);
    const QString sameName = MakePdf(QStringLiteral("b/REPORT.pdf"), 2);
    const QString text = Folder() + QStringLiteral("notes.txt");
    QFile(text).open(QIODevice::WriteOnly);
    const QString fake = Folder() + QStringLiteral("fake.pdf");
    {
        QFile file(fake);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is no PDF");
    }
    ASSERT_TRUE(FWindow->AddDocument(good));
    EXPECT_EQ(Control<QLineEdit>("edtFilename")->text(), QStringLiteral("report.pdf"));
    EXPECT_EQ(Control<QLineEdit>("edtFilename")->toolTip(), QDir::toNativeSeparators(good));

    const struct
    {
        QString path;
        QString box;
    } cases[] = {
        {text, QString()},
        {Folder() + QStringLiteral("missing.pdf"),
         Text("sFileNotFound").replace(QStringLiteral("%s"), Folder() + QStringLiteral("missing.pdf"))},
        {good, Text("sFileAlreadyExists").replace(QStringLiteral("%s"), QStringLiteral("report.pdf"))},
        {sameName, Text("sFileAlreadyExists").replace(QStringLiteral("%s"), QStringLiteral("REPORT.pdf"))},
        {fake, Text("sNotPdfFile").replace(QStringLiteral("%s"), fake)},
    };
    for (const auto& c : cases) {
        FBoxes.clear();
        EXPECT_FALSE(FWindow->AddDocument(c.path)) << c.path.toStdString();
        EXPECT_EQ(FBoxes, c.box.isEmpty() ? QStringList() : QStringList{c.box}) << c.path.toStdString();
        ASSERT_EQ(FWindow->GetProject().Files()->Count(), 1);
        EXPECT_EQ(Document()->Source(), good);
    }
}

// In a right-to-left language every control sits on the other side of its container, and
// stays there when the labels are fitted to a new document's texts.
TEST_F(frmMainExTest, ARightToLeftLanguageMirrorsTheWindow)
{
    const auto geometries = [this] {
        std::vector<QRect> placed;
        for (const char* name : {"btnHelp", "btnAddFile", "pnlSplit", "rdEveryPage", "spinEveryPage", "btnConvert"})
            placed.push_back(Control<QWidget>(name)->geometry());
        return placed;
    };
    const std::vector<QRect> leftToRight = geometries();
    ASSERT_TRUE(LanguageMgr().SelectLanguage(QStringLiteral("ARA")));
    ApplyLanguageToApplication();
    const auto restore = qScopeGuard([] {
        LanguageMgr().SelectLanguage(QStringLiteral("ENG"));
        ApplyLanguageToApplication();
    });
    FWindow = std::make_unique<TfrmMainEx>();
    FWindow->show();
    EXPECT_EQ(FWindow->layoutDirection(), Qt::RightToLeft);
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("report.pdf"), 3)));
    const std::vector<QRect> mirrored = geometries();
    for (size_t i = 0; i < mirrored.size(); ++i) {
        SCOPED_TRACE(i);
        const QWidget& container = *Control<QWidget>("btnHelp")->window();
        const int containerWidth = i == 3 || i == 4 ? Control<QWidget>("pnlSplit")->width() : container.width();
        // Captions of another language may widen a control; its far edge stays where it was.
        EXPECT_EQ(mirrored[i].x() + mirrored[i].width(), containerWidth - leftToRight[i].x());
        EXPECT_EQ(mirrored[i].y(), leftToRight[i].y());
    }
    // The labels beside the document picture end just before it, sized to their texts.
    const QRect size = Control<QLabel>("lblSize")->geometry();
    EXPECT_EQ(size.x() + size.width(), Control<QLabel>("imgGuide")->x() - 4);
    EXPECT_GE(size.x(), 0);
}

TEST_F(frmMainExTest, ANewDocumentReplacesTheOldAndResetsEverySetting)
{
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("first.pdf"), 6, ThreeLevelOutline())));
    EXPECT_TRUE(Control<QPushButton>("btnConvert")->isEnabled());
    EXPECT_EQ(Control<QComboBox>("cbxBookMarkLever")->count(), 3);
    Click("rdAverge");
    Control<QSpinBox>("spinAverge")->setValue(5);
    Click("rdPageRange");
    Control<QLineEdit>("edtPageRange")->setText(QStringLiteral("2-3"));
    Control<QCheckBox>("cbNeedOtherPage")->setChecked(true);
    FWindow->GetProject().Method()->AdvDefine()->NewItem();

    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("second.pdf"), 4)));
    ASSERT_EQ(FWindow->GetProject().Files()->Count(), 1);
    EXPECT_TRUE(Document()->Source().endsWith(QStringLiteral("second.pdf")));
    EXPECT_TRUE(Control<QRadioButton>("rdEveryPage")->isChecked());
    EXPECT_EQ(Control<QSpinBox>("spinEveryPage")->value(), 1);
    EXPECT_EQ(Control<QSpinBox>("spinAverge")->value(), 2);
    EXPECT_EQ(Control<QSpinBox>("spinEveryPage")->maximum(), 4);
    EXPECT_EQ(Control<QLineEdit>("edtPageRange")->text(), QStringLiteral("1"));
    EXPECT_FALSE(Control<QCheckBox>("cbNeedOtherPage")->isChecked());
    EXPECT_EQ(FWindow->GetProject().Method()->AdvDefine()->Count(), 0);
    EXPECT_EQ(FWindow->GetProject().Method()->BookMarkOption()->LevelNum(), 1);
    // The second document has no bookmarks.
    EXPECT_FALSE(Control<QRadioButton>("rdBookMarkLever")->isEnabled());
    EXPECT_EQ(Control<QLabel>("lblTotalpage")->text(),
              Text("sFileTotalPageSet").replace(QStringLiteral("%s"), QStringLiteral("4")));
}

TEST_F(frmMainExTest, EmptyWindowOffersOnlyTheFileControls)
{
    EXPECT_FALSE(Control<QPushButton>("btnConvert")->isEnabled());
    EXPECT_FALSE(Control<QFrame>("pnlSplit")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>("btnAddFile")->isEnabled());
    EXPECT_FALSE(Control<QLabel>("imgGuide")->isVisible());
    EXPECT_FALSE(Control<QProgressBar>("pbSplit")->isVisible());
    EXPECT_EQ(FWindow->size(), QSize(544, 603));
}

TEST_F(frmMainExTest, ALockedDocumentIsUnlockedThroughTheLockIcon)
{
    const QString locked = Folder() + QStringLiteral("locked.pdf");
    WriteLockedTestPdf(locked, 4);
    CancelPassword();
    ASSERT_TRUE(FWindow->AddDocument(locked));
    auto* lockIcon = Control<QLabel>("imgBalloon");
    EXPECT_TRUE(lockIcon->isVisible());
    EXPECT_FALSE(Control<QFrame>("pnlSplit")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("btnConvert")->isEnabled());
    EXPECT_EQ(Control<QLabel>("lblTotalpage")->text(),
              Text("sFileTotalPageSet").replace(QStringLiteral("%s"), Text("sFilePageError")));
    EXPECT_TRUE(ShowsWholeText(*Control<QLabel>("lblTotalpage")));

    // A wrong password is asked again; the right one unlocks.
    FBoxes.clear();
    FAnswer = [](const MessageBoxRequest& request) {
        if (request.text == Text("sReInputPass"))
            TypePassword(QStringLiteral("open"));
        return request.defaultButton;
    };
    TypePassword(QStringLiteral("wrong"));
    QTest::mouseClick(lockIcon, Qt::LeftButton);
    EXPECT_EQ(FBoxes, QStringList{Text("sReInputPass")});
    EXPECT_FALSE(lockIcon->isVisible());
    EXPECT_EQ(Control<QLabel>("lblTotalpage")->text(), QStringLiteral("Total Page: 4"));
    EXPECT_TRUE(Control<QFrame>("pnlSplit")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>("btnConvert")->isEnabled());

    // The defaults hold for the pages that are known now.
    Click("rdAverge");
    EXPECT_EQ(Control<QSpinBox>("spinAverge")->value(), 2);
    ASSERT_TRUE(ConvertAndWait());
    EXPECT_EQ(FBoxes.last(), Text("sSplitFinished"));
    const QStringList outputs = FilesBelow(OutFolder());
    ASSERT_EQ(outputs.size(), 2);
    EXPECT_EQ(PageNumbersOf(OutFolder() + u'/' + outputs[0]), std::vector<int>({1, 2}));
    EXPECT_EQ(PageNumbersOf(OutFolder() + u'/' + outputs[1]), std::vector<int>({3, 4}));
}

// Without a window manager the window shown last lies on top: a box about the start document
// opens only once the window is up for good, and belongs to it.
TEST_F(frmMainExTest, BoxesAboutTheStartDocumentOpenOverTheFinishedWindow)
{
    const QString locked = Folder() + QStringLiteral("locked.pdf");
    WriteLockedTestPdf(locked, 2);
    const struct
    {
        const char* name;
        QString path;
    } cases[] = {
        {"missing file", Folder() + QStringLiteral("missing.pdf")},
        {"locked file", locked},
    };
    SetMessageBoxHandler(ShowWidgetMessageBox);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FWindow.reset();
        FWindow = std::make_unique<TfrmMainEx>();
        FWindow->SetStartDocument(c.path);
        bool opened = false, owned = false, windowSettled = false;
        WhenModalShows<QDialog>([&](QDialog& box) {
            opened = true;
            owned = box.parentWidget() == FWindow.get();
            windowSettled = FWindow->windowHandle()->isVisible() &&
                            !(FWindow->windowFlags() & Qt::WindowStaysOnTopHint);
            box.reject();
        });
        FWindow->show();
        ASSERT_TRUE(WaitUntil([&opened] { return opened; }));
        EXPECT_TRUE(owned);
        EXPECT_TRUE(windowSettled);
    }
}

TEST_F(frmMainExTest, CancelledPasswordShowsTheBalloonWhenItIsWanted)
{
    const QString locked = CorpusFile(QStringLiteral("libreoffice-writer-password.pdf"));
    ProductConfig().ShowPasswordBalloon = true;
    CancelPassword();
    ASSERT_TRUE(FWindow->AddDocument(locked));
    TfrmBalloon* balloon = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<TfrmBalloon*>(widget); found && found->isVisible())
            balloon = found;
    }
    ASSERT_NE(balloon, nullptr);
    auto* lockIcon = Control<QLabel>("imgBalloon");
    const QPoint tip = lockIcon->mapToGlobal(QPoint(lockIcon->width() / 2, lockIcon->height()));
    EXPECT_EQ(balloon->mapToGlobal(TfrmBalloon::TipPoint), tip);
    balloon->close();
}

TEST_F(frmMainExTest, PageRangeIsCheckedAsTypedAndRevertedOnLeaving)
{
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("doc.pdf"), 5)));
    Click("rdPageRange");
    auto* edit = Control<QLineEdit>("edtPageRange");
    auto* note = Control<QLabel>("lblInvalid1");
    const struct
    {
        const char* text;
        bool valid;
    } cases[] = {{"1,3,5", true}, {"All", false}, {"2-9", false}, {"5-1", false}, {"4-5", true}};
    for (const auto& c : cases) {
        edit->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(note->isVisible(), !c.valid) << c.text;
        EXPECT_EQ(note->text(), c.valid ? QString() : Text("sInvalidSelPages")) << c.text;
    }
    const auto typeAndLeave = [edit](const QStringList& typed) {
        for (const QString& text : typed)
            edit->setText(text);
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &leave);
    };
    // Leaving an invalid range brings back the last valid one typed.
    typeAndLeave({QStringLiteral("2-3"), QStringLiteral("2-"), QStringLiteral("7")});
    EXPECT_EQ(edit->text(), QStringLiteral("2-3"));
    EXPECT_FALSE(note->isVisible());

    // A run leaves the document's page selection at "All", which the edit refuses; with no
    // valid range typed since loading, the edit goes back to "1".
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("other.pdf"), 5)));
    ASSERT_TRUE(ConvertAndWait());
    Click("rdPageRange");
    typeAndLeave({QStringLiteral("7")});
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
}

TEST_F(frmMainExTest, OutputFolderControlsFollowTheConfiguration)
{
    TProductConfig& config = ProductConfig();
    Click("rdSource");
    EXPECT_FALSE(config.CustomPath);
    Click("rdCustom");
    EXPECT_TRUE(config.CustomPath);
    auto* edit = Control<QLineEdit>("btnOutputPath");
    edit->setText(QStringLiteral("  ") + Folder() + QStringLiteral("elsewhere  "));
    EXPECT_EQ(config.CustomDir, Folder() + QStringLiteral("elsewhere"));
    edit->clear();
    EXPECT_EQ(edit->text(), config.GetDefaultOutputFolder());
    EXPECT_EQ(config.CustomDir, config.GetDefaultOutputFolder());
    EXPECT_TRUE(QFileInfo(config.GetDefaultOutputFolder()).isDir());

    // A click into the folder box chooses it and leaves the focus there for typing.
    Click("rdSource");
    QTest::mouseClick(edit, Qt::LeftButton);
    EXPECT_TRUE(config.CustomPath);
    EXPECT_TRUE(Control<QRadioButton>("rdCustom")->isChecked());
    EXPECT_TRUE(edit->hasFocus());
}

TEST_F(frmMainExTest, DropsLoadOnePdfAndRefuseTwo)
{
    const QString one = MakePdf(QStringLiteral("one.pdf"), 2);
    const QString two = MakePdf(QStringLiteral("two.pdf"), 3);
    DropUrls({QUrl::fromLocalFile(one), QUrl::fromLocalFile(two)});
    EXPECT_EQ(FBoxes, QStringList{Text("sDragFileLimit")});
    EXPECT_EQ(Document(), nullptr);

    FBoxes.clear();
    DropUrls({QUrl::fromLocalFile(Folder() + QStringLiteral("x.txt")), QUrl::fromLocalFile(two)});
    EXPECT_TRUE(FBoxes.isEmpty());
    ASSERT_NE(Document(), nullptr);
    EXPECT_EQ(Document()->Source(), two);
}

TEST_F(frmMainExTest, EveryMethodSplitsThroughTheWindow)
{
    const QString source = MakePdf(QStringLiteral("book.pdf"), 6, ThreeLevelOutline());
    const struct
    {
        const char* name;
        std::function<void(frmMainExTest&)> choose;
        QStringList files;
        std::vector<std::vector<int>> pages;
    } cases[] = {
        {"every 4 pages",
         [](frmMainExTest& t) {
             t.Click("rdEveryPage");
             t.Control<QSpinBox>("spinEveryPage")->setValue(4);
         },
         {QStringLiteral("book/book(1).pdf"), QStringLiteral("book/book(2).pdf")},
         {{1, 2, 3, 4}, {5, 6}}},
        {"bookmark level 1",
         [](frmMainExTest& t) {
             t.Click("rdBookMarkLever");
             t.Control<QComboBox>("cbxBookMarkLever")->setCurrentIndex(0);
         },
         {QStringLiteral("book/book(1).pdf"), QStringLiteral("book/book(2).pdf")},
         {{1, 2, 3}, {4, 5, 6}}},
        {"range with the other pages",
         [](frmMainExTest& t) {
             t.Click("rdPageRange");
             t.Control<QLineEdit>("edtPageRange")->setText(QStringLiteral("2,4-5"));
             t.Control<QCheckBox>("cbNeedOtherPage")->setChecked(true);
         },
         {QStringLiteral("book/book(1).pdf"), QStringLiteral("book/book(2).pdf")},
         {{2, 4, 5}, {1, 3, 6}}},
        {"custom table",
         [](frmMainExTest& t) {
             TAdvDefineList& list = *t.FWindow->GetProject().Method()->AdvDefine();
             list.Clear();
             TAdvDefine* first = list.NewItem();
             first->SetOutFile(QStringLiteral("tail.pdf"));
             first->SetPageStr(QStringLiteral("6,5"));
             TAdvDefine* second = list.NewItem();
             second->SetOutFile(QStringLiteral("head.pdf"));
             second->SetPageStr(QStringLiteral("1"));
             t.Click("rdAdvanced");
         },
         {QStringLiteral("book/head.pdf"), QStringLiteral("book/tail.pdf")},
         {{1}, {6, 5}}},
        {"three equal parts",
         [](frmMainExTest& t) {
             t.Click("rdAverge");
             t.Control<QSpinBox>("spinAverge")->setValue(3);
         },
         {QStringLiteral("book/book(1).pdf"), QStringLiteral("book/book(2).pdf"),
          QStringLiteral("book/book(3).pdf")},
         {{1, 2}, {3, 4}, {5, 6}}},
    };
    for (const auto& c : cases) {
        QDir(OutFolder()).removeRecursively();
        QDir().mkpath(OutFolder());
        FWindow.reset();
        FWindow = std::make_unique<TfrmMainEx>();
        FWindow->show();
        ASSERT_TRUE(FWindow->AddDocument(source)) << c.name;
        c.choose(*this);
        FBoxes.clear();
        ASSERT_TRUE(ConvertAndWait()) << c.name;
        EXPECT_EQ(FBoxes, QStringList{Text("sSplitFinished")}) << c.name;
        ASSERT_EQ(FilesBelow(OutFolder()), c.files) << c.name;
        for (int i = 0; i < c.files.size(); ++i)
            EXPECT_EQ(PageNumbersOf(OutFolder() + u'/' + c.files[i]), c.pages[i]) << c.name << " " << i;
        EXPECT_FALSE(Control<QProgressBar>("pbSplit")->isVisible());
        EXPECT_TRUE(Control<QFrame>("pnlSplit")->isEnabled());
    }
}

TEST_F(frmMainExTest, FinishBoxOpensTheOutputFolderOnOK)
{
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("doc.pdf"), 2)));
    FAnswer = [](const MessageBoxRequest&) { return MessageBoxButton::Ok; };
    Click("btnConvert");
    ASSERT_TRUE(WaitUntil([this] { return !FWindow->Running(); }));
    ASSERT_EQ(FOpened.size(), 1);
    EXPECT_EQ(QDir(FOpened[0].toLocalFile()), QDir(OutFolder() + QStringLiteral("/doc")));
}

TEST_F(frmMainExTest, CancelAnsweredNoResumesAndYesLeavesNothing)
{
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("long.pdf"), 400)));
    for (const bool stop : {false, true}) {
        QDir(OutFolder()).removeRecursively();
        QDir().mkpath(OutFolder());
        FBoxes.clear();
        FAnswer = [stop](const MessageBoxRequest& request) {
            if (request.text == Text("sCancelConverting"))
                return stop ? MessageBoxButton::Yes : MessageBoxButton::No;
            return MessageBoxButton::Cancel;
        };
        Click("btnConvert");
        ASSERT_TRUE(FWindow->Running());
        Click("btnConvert");
        ASSERT_FALSE(FBoxes.isEmpty());
        EXPECT_EQ(FBoxes[0], Text("sCancelConverting"));
        if (stop) {
            EXPECT_FALSE(FWindow->Running());
            ASSERT_TRUE(WaitUntil([this] { return !Control<QProgressBar>("pbSplit")->isVisible(); }));
            // Wait for the stopped run to clean up behind itself.
            ASSERT_TRUE(WaitUntil([this] { return FilesBelow(OutFolder()).isEmpty(); }));
            EXPECT_EQ(FBoxes.size(), 1);
        } else {
            ASSERT_TRUE(WaitUntil([this] { return !FWindow->Running(); }));
            EXPECT_EQ(FBoxes.last(), Text("sSplitFinished"));
            EXPECT_EQ(FilesBelow(OutFolder()).size(), 400);
        }
    }
}

TEST_F(frmMainExTest, DropDuringARunIsRefused)
{
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("long.pdf"), 200)));
    const QString other = MakePdf(QStringLiteral("other.pdf"), 2);
    FAnswer = [](const MessageBoxRequest&) { return MessageBoxButton::Cancel; };
    Click("btnConvert");
    ASSERT_TRUE(FWindow->Running());
    DropUrls({QUrl::fromLocalFile(other)});
    EXPECT_TRUE(Document()->Source().endsWith(QStringLiteral("long.pdf")));
    EXPECT_FALSE(Control<QPushButton>("btnAddFile")->isEnabled());
    EXPECT_FALSE(Control<QFrame>("pnlSplit")->isEnabled());
    ASSERT_TRUE(WaitUntil([this] { return !FWindow->Running(); }));
}

// The percentage label sits over the bar: what the screen shows of the bar has to follow its
// value in steps of one percent, not only the patch under the label that each step repaints.
TEST_F(frmMainExTest, TheBarOnTheScreenFollowsTheProgressStepByStep)
{
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("long.pdf"), 400)));
    Click("btnConvert");
    TTavloConvert& run = FWindow->GetPlanner();
    run.Pause();
    // From here on the test alone tells the window the progress, one percent at a time.
    run.SetWindow(nullptr);
    QCoreApplication::sendPostedEvents(FWindow.get(), TRunMessageEvent::EventType());
    for (int percent = 1; percent <= 40; ++percent)
        Post(WM_SPLIT_PROGRESS, 0, percent);
    auto* bar = Control<QProgressBar>("pbSplit");
    ASSERT_TRUE(bar->isVisible());
    const QRect area(bar->mapTo(FWindow.get(), QPoint()), bar->size());
    // The window's surface as last drawn; a grab of the widget would paint it afresh.
    const QImage shown =
        FWindow->screen()
            ->grabWindow(FWindow->winId(), area.x(), area.y(), area.width(), area.height())
            .toImage();
    FAnswer = [](const MessageBoxRequest&) { return MessageBoxButton::Yes; };
    Click("btnConvert");
    ASSERT_FALSE(FWindow->Running());
    ASSERT_FALSE(shown.isNull());
    const int middle = shown.height() / 2;
    EXPECT_NE(shown.pixelColor(shown.width() / 4, middle),
              shown.pixelColor(shown.width() * 3 / 4, middle));
}

TEST_F(frmMainExTest, RunMessagesDriveTheProgressAndTheEnd)
{
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("doc.pdf"), 2)));
    auto* bar = Control<QProgressBar>("pbSplit");
    auto* label = Control<QLabel>("lblProgress");
    Post(WM_SPLIT_PROGRESS, 0, 150);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(label->text(), QStringLiteral("100%"));
    Post(WM_SPLIT_ENABLE, 0, 0);
    EXPECT_FALSE(Control<QPushButton>("btnConvert")->isEnabled());
    Post(WM_SPLIT_ENABLE, 1, 0);
    EXPECT_TRUE(Control<QPushButton>("btnConvert")->isEnabled());

    // One input done changes nothing; a stopped run only clears the progress display.
    Post(WM_SPLIT_DONE, 0, kDoneInput);
    EXPECT_EQ(bar->value(), 100);
    Post(WM_SPLIT_DONE, 0, kDoneStopped);
    EXPECT_TRUE(FBoxes.isEmpty());
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(label->text().isEmpty());

    const struct
    {
        qintptr error;
        QString box;
    } errors[] = {
        {kErrorInputUnreadable, Text("sAnalysisError")},
        {kRunErrorOutputOpen, Text("sFileconvertFaild")},
        {kRunErrorNoOperation, Text("sFileconvertFaild")},
        {12345, Text("sUnknownError")},
        {kErrorPageUnreadable, QString()},
        {kErrorOutputUnwritable, QString()},
        {kRunErrorInputChanged, FormatText(Text("sInputChanged"), {QStringLiteral("doc.pdf")})},
        {kRunWarningDamaged, QString()},
    };
    for (const auto& e : errors) {
        FBoxes.clear();
        Post(WM_SPLIT_ERROR, 0, e.error);
        EXPECT_EQ(FBoxes, e.box.isEmpty() ? QStringList() : QStringList{e.box}) << e.error;
    }
    // Pages that could not be read or written, or damage met on the way, are not reported as
    // a plain success; damage, which may have spoilt any output, is what the box tells.
    FBoxes.clear();
    FAnswer = [](const MessageBoxRequest&) { return MessageBoxButton::Cancel; };
    Post(WM_SPLIT_DONE, 0, kDoneRun);
    EXPECT_EQ(FBoxes, QStringList{Text("sSplitFinishedDamaged")});
}

TEST_F(frmMainExTest, ConvertRefusesUnusableSettingsAndAVanishedSource)
{
    const QString path = MakePdf(QStringLiteral("doc.pdf"), 3);
    ASSERT_TRUE(FWindow->AddDocument(path));

    Click("rdAdvanced");
    Click("btnConvert");
    EXPECT_EQ(FBoxes, QStringList{Text("sInitPageError")});
    EXPECT_FALSE(FWindow->Running());

    FBoxes.clear();
    QFile::remove(path);
    Click("btnConvert");
    EXPECT_EQ(FBoxes, QStringList{Text("sNoFileExists")});
}

TEST_F(frmMainExTest, CloseAsksOnlyWhenADocumentIsLoaded)
{
    EXPECT_TRUE(FWindow->close());
    EXPECT_TRUE(FBoxes.isEmpty());

    FWindow->show();
    ASSERT_TRUE(FWindow->AddDocument(MakePdf(QStringLiteral("doc.pdf"), 2)));
    for (const bool yes : {false, true}) {
        FBoxes.clear();
        FAnswer = [yes](const MessageBoxRequest&) { return yes ? MessageBoxButton::Yes : MessageBoxButton::No; };
        QTest::keyClick(FWindow.get(), Qt::Key_Escape);
        EXPECT_EQ(FBoxes, QStringList{Text("sExitProgram")});
        EXPECT_EQ(FWindow->isVisible(), !yes);
    }
}

} // namespace

namespace {

TEST_F(frmMainExTest, HelpKeysAndMenuOpenTheirPages)
{
    TProductConfig& config = ProductConfig();
    const QString help = config.HelpPage, home = config.HomePage, support = config.SupportPage;
    config.HelpPage = QStringLiteral("https://help.example/");
    config.HomePage = QStringLiteral("https://home.example/");
    config.SupportPage = QStringLiteral("https://support.example/");
    const struct
    {
        std::function<void(frmMainExTest&)> act;
        QString opened;
    } cases[] = {
        {[](frmMainExTest& t) { QTest::keyClick(t.Control<QPushButton>("btnAddFile"), Qt::Key_F1); },
         QStringLiteral("https://help.example/")},
        {[](frmMainExTest& t) { QTest::keyClick(t.FWindow.get(), Qt::Key_F12); },
         QUrl::fromLocalFile(ApplicationFolder() + QStringLiteral("log/log.txt")).toString()},
        {[](frmMainExTest& t) { t.FWindow->findChild<QAction*>(QStringLiteral("pmiHomepage"))->trigger(); },
         QStringLiteral("https://home.example/")},
        {[](frmMainExTest& t) { t.FWindow->findChild<QAction*>(QStringLiteral("pmiSupport"))->trigger(); },
         QStringLiteral("https://support.example/")},
        // Enter does nothing in this window.
        {[](frmMainExTest& t) { QTest::keyClick(t.Control<QPushButton>("btnAddFile"), Qt::Key_Return); },
         QString()},
    };
    for (const auto& c : cases) {
        FOpened.clear();
        c.act(*this);
        EXPECT_EQ(FOpened.isEmpty() ? QString() : FOpened[0].toString(), c.opened) << c.opened.toStdString();
        EXPECT_TRUE(FBoxes.isEmpty());
    }
    config.HelpPage = help;
    config.HomePage = home;
    config.SupportPage = support;
}

TEST_F(frmMainExTest, TheHelpMenuOffersOnlyEntriesThatLeadSomewhere)
{
    TProductConfig& config = ProductConfig();
    const QString help = config.HelpPage, home = config.HomePage, support = config.SupportPage;
    const bool supportUpdate = config.SupportUpdate;
    const struct
    {
        const char* help;
        const char* home;
        bool languageFile; // its help page ships beside it
        bool supportUpdate;
        std::vector<bool> visible; // Help, Product Page, Support, Online Update
    } cases[] = {
        {"", "", false, true, {false, false, false, false}},
        {"", "", true, false, {true, false, false, false}},
        {"https://help.example/", "https://home.example/", false, true, {true, true, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.help + std::string(" / ") + c.home);
        config.HelpPage = QString::fromLatin1(c.help);
        config.HomePage = QString::fromLatin1(c.home);
        config.SupportPage.clear();
        config.SupportUpdate = c.supportUpdate;
        LanguageMgr().LoadLanguages(QString::fromLatin1(c.languageFile ? "Languages/*.dat" : "Languages/*.none"));
        LanguageMgr().SelectLanguage(QStringLiteral("ENG"));
        emit FWindow->findChild<QMenu*>(QStringLiteral("pmHelp"))->aboutToShow();
        std::vector<bool> visible;
        for (const char* name : {"pmiHelp", "pmiHomepage", "pmiSupport", "pmiUpdate"})
            visible.push_back(FWindow->findChild<QAction*>(QString::fromLatin1(name))->isVisible());
        EXPECT_EQ(visible, c.visible);
    }
    LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.none"));
    config.HelpPage = help;
    config.HomePage = home;
    config.SupportPage = support;
    config.SupportUpdate = supportUpdate;
}

} // namespace
