#include "ui/frmAdvancedSetting.h"

#include "ui/DialogTestSupport.h"

#include "shell/LanguageMgr.h"
#include "shell/MutlLanguage.h"
#include "shell/ProductConfig.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Rows = QList<QStringList>;

class frmAdvancedSettingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProductConfig().CustomPath = false;
        ProductConfig().CustomDir.clear();
    }
    void TearDown() override
    {
        FDialog.reset();
        ProductConfig().CustomPath = false;
        ProductConfig().CustomDir.clear();
    }

    // The dialog over the job, shown as the main window shows it (but not modally).
    TfrmAdvancedSetting& Open()
    {
        FDialog = std::make_unique<TfrmAdvancedSetting>(FJob.Project(), FJob.Planner());
        FDialog->show();
        return *FDialog;
    }

    QTreeWidget& List() { return *FDialog->findChild<QTreeWidget*>(QStringLiteral("lstFiles")); }
    QPushButton& Button(const char* name)
    {
        return *FDialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    void Click(const char* name) { QTest::mouseClick(&Button(name), Qt::LeftButton); }

    QPoint CellCentre(int row, int column)
    {
        const QModelIndex index = List().model()->index(row, column);
        return List().visualRect(index).center();
    }

    // The editor that a press opened on the cell, if any.
    QLineEdit* EditorOf(int row, int column)
    {
        return qobject_cast<QLineEdit*>(List().indexWidget(List().model()->index(row, column)));
    }

    // Presses on the cell, types the text over its content and confirms with Enter. False
    // when the press started no edit.
    bool EditCell(int row, int column, const QString& text)
    {
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, CellCentre(row, column));
        QLineEdit* editor = EditorOf(row, column);
        if (!editor)
            return false;
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits the edit and closes the editor once the key press is handled.
        QCoreApplication::processEvents();
        return true;
    }

    // Drags the data over the list to the point and drops it there; answers the drop as the
    // list left it.
    struct TDropResult
    {
        bool accepted;
        Qt::DropAction action;
    };
    TDropResult DropOnList(const QPoint& at, const QMimeData& data)
    {
        const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
        QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, {});
        QApplication::sendEvent(List().viewport(), &enter);
        QDragMoveEvent move(at, actions, &data, Qt::LeftButton, {});
        QApplication::sendEvent(List().viewport(), &move);
        if (!enter.isAccepted())
            return {false, Qt::IgnoreAction};
        QDropEvent drop(at, actions, &data, Qt::LeftButton, {});
        QApplication::sendEvent(List().viewport(), &drop);
        return {drop.isAccepted(), drop.dropAction()};
    }

    // The table as shown and the working list behind it, row by row.
    Rows Shown()
    {
        Rows rows;
        for (int i = 0; i < List().topLevelItemCount(); ++i)
            rows.append({List().topLevelItem(i)->text(0), List().topLevelItem(i)->text(1)});
        return rows;
    }
    Rows Working()
    {
        Rows rows;
        const TAdvDefineList& list = FDialog->WorkingList();
        for (int i = 0; i < list.Count(); ++i)
            rows.append({list.Items(i)->OutFile(), list.Items(i)->PageStr()});
        return rows;
    }
    Rows Defined()
    {
        Rows rows;
        const TAdvDefineList& list = *FJob.Project().Method()->AdvDefine();
        for (int i = 0; i < list.Count(); ++i)
            rows.append({list.Items(i)->OutFile(), list.Items(i)->PageStr()});
        return rows;
    }
    QList<int> Selected()
    {
        QList<int> rows;
        for (int i = 0; i < List().topLevelItemCount(); ++i) {
            if (List().topLevelItem(i)->isSelected())
                rows.append(i);
        }
        return rows;
    }

    void Define(const Rows& rows)
    {
        TAdvDefineList& list = *FJob.Project().Method()->AdvDefine();
        list.Clear();
        for (const QStringList& row : rows) {
            TAdvDefine& entry = *list.NewItem();
            entry.SetOutFile(row[0]);
            entry.SetPageStr(row[1]);
        }
    }

    TDialogJob FJob;
    TMessageBoxRecorder FBoxes;
    std::unique_ptr<TfrmAdvancedSetting> FDialog;
};

// "a.pdf b.pdf" as a list of names.
QStringList Names(const char* spaced)
{
    return QString::fromLatin1(spaced).split(u' ', Qt::SkipEmptyParts);
}

// The rows of these tests carry the page of their letter: a.pdf has "1", b.pdf "2".
void ExpectRangesFollowNames(const Rows& rows)
{
    for (const QStringList& row : rows)
        EXPECT_EQ(row[1], QString::number(row[0].at(0).unicode() - u'a' + 1)) << row[0].toStdString();
}

TEST_F(frmAdvancedSettingTest, ShowsTheDocumentAndTheJobsTable)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 12);
    Define({{QStringLiteral("intro.pdf"), QStringLiteral("1-2")},
            {QStringLiteral("rest.pdf"), QStringLiteral("3-12")}});
    Open();
    EXPECT_EQ(FDialog->findChild<QLineEdit*>(QStringLiteral("edtFileName"))->text(),
              QStringLiteral("File name: report.pdf"));
    EXPECT_EQ(FDialog->findChild<QLineEdit*>(QStringLiteral("edtTotalPage"))->text(),
              QStringLiteral("Total pages: 12"));
    EXPECT_TRUE(FDialog->findChild<QLineEdit*>(QStringLiteral("edtSize"))->text().endsWith(
        QStringLiteral("KB")));
    EXPECT_EQ(Shown(), Defined());
    EXPECT_EQ(Working(), Defined());
    EXPECT_FALSE(Button("btnRemove").isEnabled());
    EXPECT_TRUE(Button("btnClear").isEnabled());
}

TEST_F(frmAdvancedSettingTest, NewRowsTakeTheSmallestFreeNumber)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    Open();
    Click("btnAdd");
    Click("btnAdd");
    EXPECT_EQ(Shown(), Rows({{QStringLiteral("report(1).pdf"), QStringLiteral("1")},
                             {QStringLiteral("report(2).pdf"), QStringLiteral("1")}}));
    ASSERT_TRUE(EditCell(0, 0, QStringLiteral("intro.pdf")));
    Click("btnAdd");
    // A name taken in another letter case counts as taken.
    ASSERT_TRUE(EditCell(2, 0, QStringLiteral("REPORT(3).PDF")));
    Click("btnAdd");
    const Rows expected{{QStringLiteral("intro.pdf"), QStringLiteral("1")},
                        {QStringLiteral("report(2).pdf"), QStringLiteral("1")},
                        {QStringLiteral("REPORT(3).PDF"), QStringLiteral("1")},
                        {QStringLiteral("report(1).pdf"), QStringLiteral("1")}};
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(Working(), expected);
    EXPECT_TRUE(FBoxes.Texts.isEmpty());
}

TEST_F(frmAdvancedSettingTest, NamesAreCheckedWhenTheEditEnds)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    const struct
    {
        const char* typed;
        bool accepted;
    } cases[] = {
        {"a.PDF", true},
        {"chapter 1.pdf", true},
        {"report(1).pdf", true}, // the row's own name
        {"a.pdf ", false},
        {"a:b.pdf", false},
        {"a.txt", false},
        {"pdf", false},
        {"", false},
        {"REPORT(2).Pdf", false}, // another row's name
        {"a*b.pdf", false},
        {"dir/a.pdf", false},
        {"dir\\a.pdf", false},
        {"a<b.pdf", false},
        {"a>b.pdf", false},
        {"a\"b.pdf", false},
        {"a?.pdf", false},
        {"a|b.pdf", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        FJob.Project().Method()->AdvDefine()->Clear();
        Open();
        Click("btnAdd");
        Click("btnAdd");
        FBoxes.Texts.clear();
        ASSERT_TRUE(EditCell(0, 0, QString::fromUtf8(c.typed)));
        const QString kept = c.accepted ? QString::fromUtf8(c.typed) : QStringLiteral("report(1).pdf");
        EXPECT_EQ(Shown()[0][0], kept);
        EXPECT_EQ(Working()[0][0], kept);
        EXPECT_EQ(FBoxes.Texts, c.accepted ? QStringList() : QStringList{GetFormsLangString(
                                                                  QStringLiteral("sInvalidFileName"))});
    }
}

TEST_F(frmAdvancedSettingTest, ANameThatExistsInTheOutputFolderIsRejected)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    const QString custom = FJob.Folder() + QStringLiteral("custom");
    ASSERT_TRUE(QDir().mkpath(custom));
    QFile(FJob.Folder() + QStringLiteral("beside.pdf")).open(QIODevice::WriteOnly);
    QFile(custom + QStringLiteral("/inside.pdf")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QDir().mkpath(FJob.Folder() + QStringLiteral("folder.pdf")));
    const struct
    {
        bool customPath;
        QString customDir;
        const char* typed;
        bool accepted;
    } cases[] = {
        {false, custom, "beside.pdf", false},
        {false, custom, "inside.pdf", true},
        {true, custom, "inside.pdf", false},
        {true, custom, "beside.pdf", true},
        {true, {}, "beside.pdf", false},
        {false, {}, "folder.pdf", true}, // a folder of that name is no file
        {false, {}, "BESIDE.PDF", !QFile::exists(FJob.Folder() + QStringLiteral("BESIDE.PDF"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ProductConfig().CustomPath = c.customPath;
        ProductConfig().CustomDir = c.customDir;
        FJob.Project().Method()->AdvDefine()->Clear();
        Open();
        Click("btnAdd");
        FBoxes.Texts.clear();
        ASSERT_TRUE(EditCell(0, 0, QString::fromUtf8(c.typed)));
        EXPECT_EQ(Working()[0][0], c.accepted ? QString::fromUtf8(c.typed) : QStringLiteral("report(1).pdf"));
        EXPECT_EQ(FBoxes.Texts.size(), c.accepted ? 0 : 1);
    }
}

TEST_F(frmAdvancedSettingTest, RangesAreCheckedAgainstThePageCount)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 10);
    const struct
    {
        const char* typed;
        const char* kept;
        bool box;
    } cases[] = {
        {"1-3,5", "1-3,5", false}, {"10", "10", false},  {" 2 - 4 ", " 2 - 4 ", false},
        {"", "1", false},          {"   ", "1", false},  {"11", "7", true},
        {"5-3", "7", true},        {"3,2", "7", true},   {"All", "7", true},
        {"0", "7", true},          {"1-3-5", "7", true}, {"x", "7", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Define({{QStringLiteral("a.pdf"), QStringLiteral("7")}});
        Open();
        FBoxes.Texts.clear();
        ASSERT_TRUE(EditCell(0, 1, QString::fromUtf8(c.typed)));
        EXPECT_EQ(Shown()[0][1], QString::fromUtf8(c.kept));
        EXPECT_EQ(Working()[0][1], QString::fromUtf8(c.kept));
        EXPECT_EQ(FBoxes.Texts, c.box ? QStringList{GetFormsLangString(QStringLiteral("sInvalidSelPages"))}
                                      : QStringList());
    }
}

TEST_F(frmAdvancedSettingTest, ALockedDocumentGetsPageOneWhateverIsTyped)
{
    const TFileInfo& document = FJob.LoadLocked(QStringLiteral("locked.pdf"), 10);
    ASSERT_FALSE(document.IsAccessible());
    Open();
    Click("btnAdd");
    EXPECT_EQ(FDialog->findChild<QLineEdit*>(QStringLiteral("edtTotalPage"))->text(),
              QStringLiteral("Total pages: unknown"));
    for (const char* typed : {"2-5", "", "1", "abc"}) {
        SCOPED_TRACE(typed);
        ASSERT_TRUE(EditCell(0, 1, QString::fromUtf8(typed)));
        EXPECT_EQ(Shown()[0][1], QStringLiteral("1"));
        EXPECT_EQ(Working()[0][1], QStringLiteral("1"));
    }
    EXPECT_TRUE(FBoxes.Texts.isEmpty());
}

TEST_F(frmAdvancedSettingTest, AfterARejectedEditTheNextPressStartsNoEdit)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    Open();
    Click("btnAdd");
    ASSERT_TRUE(EditCell(0, 1, QStringLiteral("9")));
    EXPECT_EQ(FBoxes.Texts.size(), 1);
    EXPECT_FALSE(EditCell(0, 0, QStringLiteral("x.pdf")));
    EXPECT_TRUE(EditCell(0, 0, QStringLiteral("x.pdf")));
    EXPECT_EQ(Working(), Rows({{QStringLiteral("x.pdf"), QStringLiteral("1")}}));
}

TEST_F(frmAdvancedSettingTest, RemovingSelectsTheRowThatTakesThePlace)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    const Rows four{{QStringLiteral("a.pdf"), QStringLiteral("1")},
                    {QStringLiteral("b.pdf"), QStringLiteral("2")},
                    {QStringLiteral("c.pdf"), QStringLiteral("3")},
                    {QStringLiteral("d.pdf"), QStringLiteral("4")}};
    const struct
    {
        const char* name;
        QList<int> selected;
        QStringList left;
        QList<int> selectedAfter;
    } cases[] = {
        {"the second", {1}, Names("a.pdf c.pdf d.pdf"), {1}},
        {"the last", {3}, Names("a.pdf b.pdf c.pdf"), {0}},
        {"two of them", {1, 2}, Names("a.pdf d.pdf"), {0}},
        {"every row", {0, 1, 2, 3}, {}, {}},
        {"none", {}, Names("a.pdf b.pdf c.pdf d.pdf"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Define(four);
        Open();
        for (const int row : c.selected)
            List().topLevelItem(row)->setSelected(true);
        EXPECT_EQ(Button("btnRemove").isEnabled(), !c.selected.isEmpty());
        Click("btnRemove");
        QStringList shownNames, workingNames;
        for (const QStringList& row : Shown())
            shownNames.append(row[0]);
        for (const QStringList& row : Working())
            workingNames.append(row[0]);
        EXPECT_EQ(shownNames, c.left);
        EXPECT_EQ(workingNames, c.left);
        EXPECT_EQ(Selected(), c.selectedAfter);
        EXPECT_EQ(Button("btnClear").isEnabled(), !c.left.isEmpty());
        ExpectRangesFollowNames(Working());
    }
}

TEST_F(frmAdvancedSettingTest, ClearEmptiesTheTableAndTheWorkingList)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    Define({{QStringLiteral("a.pdf"), QStringLiteral("1")}, {QStringLiteral("b.pdf"), QStringLiteral("2")}});
    Open();
    Click("btnClear");
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_TRUE(Working().isEmpty());
    EXPECT_FALSE(Button("btnClear").isEnabled());
    Click("btnAdd");
    EXPECT_EQ(Working(), Rows({{QStringLiteral("report(1).pdf"), QStringLiteral("1")}}));
}

TEST_F(frmAdvancedSettingTest, DroppingARowMovesItAndItsEntry)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    const Rows four{{QStringLiteral("a.pdf"), QStringLiteral("1")},
                    {QStringLiteral("b.pdf"), QStringLiteral("2")},
                    {QStringLiteral("c.pdf"), QStringLiteral("3")},
                    {QStringLiteral("d.pdf"), QStringLiteral("4")}};
    const struct
    {
        const char* name;
        int dragged;
        int target; // -1: below the last row
        QString order;
        bool dropTaken;
    } cases[] = {
        {"down", 0, 2, QStringLiteral("bcad"), true},
        {"up", 3, 1, QStringLiteral("adbc"), true},
        {"onto the last", 1, 3, QStringLiteral("acdb"), true},
        {"onto itself", 2, 2, QStringLiteral("abcd"), true},
        {"below the rows", 1, -1, QStringLiteral("abcd"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Define(four);
        Open();
        List().topLevelItem(c.dragged)->setSelected(true);
        EXPECT_TRUE(List().dragEnabled());
        std::unique_ptr<QMimeData> data(
            List().model()->mimeData({List().model()->index(c.dragged, 0)}));
        const QPoint at = c.target >= 0 ? CellCentre(c.target, 1)
                                        : QPoint(10, List().viewport()->height() - 3);
        const TDropResult drop = DropOnList(at, *data);
        EXPECT_EQ(drop.accepted, c.dropTaken);
        // The view must not remove the dragged row after the drop.
        EXPECT_NE(drop.action, Qt::MoveAction);
        QString shown, working;
        for (const QStringList& row : Shown())
            shown += row[0].at(0);
        for (const QStringList& row : Working())
            working += row[0].at(0);
        ExpectRangesFollowNames(Working());
        EXPECT_EQ(shown, c.order);
        EXPECT_EQ(working, c.order);
        EXPECT_EQ(Selected(), QList<int>{static_cast<int>(c.order.indexOf(four[c.dragged][0].at(0)))});
    }
}

TEST_F(frmAdvancedSettingTest, APressThatMovesDragsTheRowInsteadOfEditingIt)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    Define({{QStringLiteral("a.pdf"), QStringLiteral("1")},
            {QStringLiteral("b.pdf"), QStringLiteral("2")}});
    Open();
    QWidget* surface = List().viewport();
    const QPoint from = CellCentre(0, 0);
    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    EXPECT_EQ(EditorOf(0, 0), nullptr);
    QTest::mouseMove(surface, from + QPoint(0, 1));
    QTest::mouseMove(surface, CellCentre(1, 0));
    // Without a display the drag ends at once; the list leaves its drag object behind until
    // the next round of events.
    EXPECT_NE(List().findChild<QDrag*>(), nullptr);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, CellCentre(1, 0));
    EXPECT_EQ(EditorOf(0, 0), nullptr);
    EXPECT_EQ(EditorOf(1, 0), nullptr);
}

TEST_F(frmAdvancedSettingTest, OnlyRowsAreDroppedAndOnlyOneRowIsDragged)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    Define({{QStringLiteral("a.pdf"), QStringLiteral("1")}, {QStringLiteral("b.pdf"), QStringLiteral("2")}});
    Open();
    List().topLevelItem(0)->setSelected(true);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(FJob.Folder() + QStringLiteral("report.pdf"))});
    EXPECT_FALSE(DropOnList(CellCentre(1, 0), files).accepted);
    EXPECT_EQ(Working()[0][0], QStringLiteral("a.pdf"));

    List().topLevelItem(1)->setSelected(true);
    EXPECT_FALSE(List().dragEnabled());
    List().topLevelItem(1)->setSelected(false);
    EXPECT_TRUE(List().dragEnabled());
}

TEST_F(frmAdvancedSettingTest, ThePopupMenuOffersWhatTheButtonsOffer)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    const struct
    {
        const char* name;
        int rows;
        QList<int> selected;
        bool remove, clear;
    } cases[] = {
        {"empty", 0, {}, false, false},
        {"rows, none selected", 2, {}, false, true},
        {"a row selected", 2, {1}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FJob.Project().Method()->AdvDefine()->Clear();
        Open();
        for (int i = 0; i < c.rows; ++i)
            Click("btnAdd");
        for (const int row : c.selected)
            List().topLevelItem(row)->setSelected(true);
        emit List().customContextMenuRequested(QPoint(5, 5));
        auto* menu = FDialog->findChild<QMenu*>(QStringLiteral("pmFilelist"));
        ASSERT_TRUE(menu->isVisible());
        auto* remove = FDialog->findChild<QAction*>(QStringLiteral("pmiDelete"));
        EXPECT_EQ(remove->isEnabled(), c.remove);
        EXPECT_EQ(FDialog->findChild<QAction*>(QStringLiteral("pmiClear"))->isEnabled(), c.clear);
        menu->close();
        FDialog->findChild<QAction*>(QStringLiteral("pmiAdd"))->trigger();
        EXPECT_EQ(Working().size(), c.rows + 1);
        if (c.remove) {
            remove->trigger();
            EXPECT_EQ(Working().size(), c.rows);
        }
    }
}

TEST_F(frmAdvancedSettingTest, AtMostTwoHundredRows)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 5);
    Open();
    for (int i = 0; i < TfrmAdvancedSetting::kMaxRows; ++i)
        Click("btnAdd");
    EXPECT_TRUE(FBoxes.Texts.isEmpty());
    EXPECT_EQ(Shown().back()[0], QStringLiteral("report(200).pdf"));
    Click("btnAdd");
    EXPECT_EQ(FBoxes.Texts, QStringList{QStringLiteral("You can add at most 200 output files.")});
    EXPECT_EQ(Working().size(), 200);
    EXPECT_EQ(List().topLevelItemCount(), 200);
}

TEST_F(frmAdvancedSettingTest, OKWritesTheTableBackAndCancelChangesNothing)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 10);
    const Rows before{{QStringLiteral("a.pdf"), QStringLiteral("1-2")},
                      {QStringLiteral("b.pdf"), QStringLiteral("3")}};
    const Rows edited{{QStringLiteral("first.pdf"), QStringLiteral("2-4")},
                      {QStringLiteral("report(1).pdf"), QStringLiteral("1")}};
    const struct
    {
        const char* name;
        std::function<void(TfrmAdvancedSetting&)> close;
        bool accepted;
    } cases[] = {
        {"OK", [this](TfrmAdvancedSetting&) { Click("btnOK"); }, true},
        {"Cancel", [this](TfrmAdvancedSetting&) { Click("btnCancel"); }, false},
        {"Esc", [](TfrmAdvancedSetting& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false},
        {"close box", [](TfrmAdvancedSetting& d) { d.close(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Define(before);
        Open();
        ASSERT_TRUE(EditCell(0, 0, QStringLiteral("first.pdf")));
        ASSERT_TRUE(EditCell(0, 1, QStringLiteral("2-4")));
        List().setCurrentItem(List().topLevelItem(1));
        Click("btnRemove");
        Click("btnAdd");
        ASSERT_EQ(Working(), edited);
        c.close(*FDialog);
        EXPECT_EQ(FDialog->result(), c.accepted ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(Defined(), c.accepted ? edited : before);
    }
}

TEST_F(frmAdvancedSettingTest, ShowAdvancedDialogAnswersWhetherOKClosedIt)
{
    FJob.LoadNew(QStringLiteral("report.pdf"), 10);
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        FJob.Project().Method()->AdvDefine()->Clear();
        WhenModalShows<TfrmAdvancedSetting>([ok](TfrmAdvancedSetting& dialog) {
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnAdd")), Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QPushButton*>(ok ? QStringLiteral("btnOK")
                                                                 : QStringLiteral("btnCancel")),
                              Qt::LeftButton);
        });
        EXPECT_EQ(ShowAdvancedDialog(FJob.Project(), FJob.Planner(), nullptr), ok);
        EXPECT_EQ(Defined().size(), ok ? 1 : 0);
    }
}

class frmAdvancedSettingLanguageTest : public frmAdvancedSettingTest
{
protected:
    void SetUp() override
    {
        frmAdvancedSettingTest::SetUp();
        ASSERT_GE(LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.dat")), 2);
        ASSERT_TRUE(LanguageMgr().SelectLanguage(QStringLiteral("DEU")));
    }
    void TearDown() override
    {
        LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.none"));
        frmAdvancedSettingTest::TearDown();
    }
};

// The dialog speaks the selected language, like the main window.
TEST_F(frmAdvancedSettingLanguageTest, CaptionsColumnsAndMessagesComeFromTheSelectedLanguage)
{
    FJob.LoadNew(QStringLiteral("bericht.pdf"), 3);
    Open();
    EXPECT_EQ(Button("btnAdd").text(), QStringLiteral("Neu"));
    EXPECT_EQ(List().headerItem()->text(0), QStringLiteral("Dateiname"));
    EXPECT_EQ(List().headerItem()->text(1), QStringLiteral("Seitenbereich"));
    EXPECT_EQ(FDialog->findChild<QLineEdit*>(QStringLiteral("edtTotalPage"))->text(),
              QStringLiteral("Seiten: 3"));
    Click("btnAdd");
    ASSERT_TRUE(EditCell(0, 1, QStringLiteral("4")));
    EXPECT_EQ(FBoxes.Texts, QStringList{QStringLiteral("Ungültiger Seitenbereich.")});
}

} // namespace
