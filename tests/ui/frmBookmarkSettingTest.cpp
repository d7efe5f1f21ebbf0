#include "ui/frmBookmarkSetting.h"

#include "shell/ProductConfig.h"

#include "ui/DialogTestSupport.h"

#include "../engine/CorpusManifest.h"
#include "../engine/EngineTestSupport.h"

#include "shell/LanguageMgr.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Three levels: the tree the dialog must show in full, whatever level is chosen.
const std::vector<OutlineSpec> kThreeLevels{
    Mark("Intro", 0),
    Mark("Part A", 1, {Mark("A.1", 1, {Mark("A.1.a", 2), Mark("A.1.b", 3)}), Mark("A.2", 4)}),
    Mark("Part B", 5, {Mark("B.1", 6)}),
};

QStringList ThreeLevelOutline()
{
    return {QStringLiteral("Intro"),      QStringLiteral("Part A"), QStringLiteral("  A.1"),
            QStringLiteral("    A.1.a"),  QStringLiteral("    A.1.b"), QStringLiteral("  A.2"),
            QStringLiteral("Part B"),     QStringLiteral("  B.1")};
}

class frmBookmarkSettingTest : public ::testing::Test
{
public:
    TBookMarkOption& Option() { return *FJob.Project().Method()->BookMarkOption(); }

    void SetOption(int level, bool both, bool higher)
    {
        Option().SetLevelNum(level);
        Option().SetBothPage(both);
        Option().SetSaveHigherLevel(higher);
    }

    void LoadThreeLevels()
    {
        WriteTestPdf(FJob.Folder() + QStringLiteral("book.pdf"), 8, kThreeLevels);
        FJob.Load(FJob.Folder() + QStringLiteral("book.pdf"));
    }

    TfrmBookmarkSetting& Open()
    {
        FDialog = std::make_unique<TfrmBookmarkSetting>(FJob.Project(), FJob.Planner());
        FDialog->show();
        return *FDialog;
    }

    template <typename T>
    T& Control(const char* name)
    {
        return *FDialog->findChild<T*>(QString::fromLatin1(name));
    }
    QComboBox& Level() { return Control<QComboBox>("cbxLevel"); }
    QTreeWidget& Tree() { return Control<QTreeWidget>("tvBookmark"); }

    QStringList LevelItems()
    {
        QStringList items;
        for (int i = 0; i < Level().count(); ++i)
            items.append(Level().itemText(i));
        return items;
    }

    TDialogJob FJob;
    std::unique_ptr<TfrmBookmarkSetting> FDialog;
};

TEST_F(frmBookmarkSettingTest, PreselectsTheLevelAndShowsTheWholeOutlineExpanded)
{
    LoadThreeLevels();
    const struct
    {
        int levelNum;
        QString selected; // empty: none
        QStringList outline;
    } cases[] = {
        {1, QStringLiteral("1"), ThreeLevelOutline()},
        {2, QStringLiteral("2"), ThreeLevelOutline()},
        {3, QStringLiteral("3"), ThreeLevelOutline()},
        {4, {}, {}},
        {0, {}, {}},
        {-1, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.levelNum);
        SetOption(c.levelNum, false, false);
        Open();
        EXPECT_EQ(LevelItems(), QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
        EXPECT_EQ(Level().currentIndex() >= 0 ? Level().currentText() : QString(), c.selected);
        EXPECT_EQ(TreeOutline(Tree()), c.outline);
        if (!c.outline.isEmpty()) {
            EXPECT_EQ(Tree().currentItem(), Tree().topLevelItem(0));
        }
        // Picking another level keeps the tree as it is.
        Level().setCurrentIndex(0);
        EXPECT_EQ(TreeOutline(Tree()), c.outline);
    }
}

TEST_F(frmBookmarkSettingTest, ADocumentWithoutBookmarksOffersNoLevel)
{
    FJob.LoadNew(QStringLiteral("plain.pdf"), 3);
    SetOption(1, true, true);
    Open();
    EXPECT_EQ(Level().count(), 0);
    EXPECT_EQ(Tree().topLevelItemCount(), 0);
    EXPECT_TRUE(Control<QCheckBox>("cbIspart").isChecked());
    EXPECT_TRUE(Control<QCheckBox>("cbHigh").isChecked());
    // OK with nothing to choose: no level.
    QTest::mouseClick(&Control<QPushButton>("btnOK"), Qt::LeftButton);
    EXPECT_EQ(Option().LevelNum(), 0);
}

TEST_F(frmBookmarkSettingTest, OKWritesTheValuesAndCancelKeepsThem)
{
    LoadThreeLevels();
    const struct
    {
        const char* name;
        std::function<void(frmBookmarkSettingTest&)> close;
        bool accepted;
    } cases[] = {
        {"OK",
         [](frmBookmarkSettingTest& t) {
             QTest::mouseClick(&t.Control<QPushButton>("btnOK"), Qt::LeftButton);
         },
         true},
        {"Cancel",
         [](frmBookmarkSettingTest& t) {
             QTest::mouseClick(&t.Control<QPushButton>("btnCancel"), Qt::LeftButton);
         },
         false},
        {"Esc", [](frmBookmarkSettingTest& t) { QTest::keyClick(t.FDialog.get(), Qt::Key_Escape); },
         false},
        {"close box", [](frmBookmarkSettingTest& t) { t.FDialog->close(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetOption(2, false, true);
        Option().SetTitleNaming(tnNone);
        ProductConfig().NameByTitle = false;
        Open();
        EXPECT_FALSE(Control<QCheckBox>("cbIspart").isChecked());
        EXPECT_TRUE(Control<QCheckBox>("cbHigh").isChecked());
        EXPECT_FALSE(Control<QCheckBox>("cbNameByTitle").isChecked());
        Level().setCurrentIndex(2);
        QTest::mouseClick(&Control<QCheckBox>("cbIspart"), Qt::LeftButton);
        QTest::mouseClick(&Control<QCheckBox>("cbHigh"), Qt::LeftButton);
        // On the box itself: the text is shorter than the control.
        QTest::mouseClick(&Control<QCheckBox>("cbNameByTitle"), Qt::LeftButton, {}, QPoint(8, 10));
        c.close(*this);
        EXPECT_EQ(FDialog->result(), c.accepted ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(Option().LevelNum(), c.accepted ? 3 : 2);
        EXPECT_EQ(Option().BothPage(), c.accepted);
        EXPECT_EQ(Option().SaveHigherLevel(), !c.accepted);
        // The naming is remembered for the next start.
        EXPECT_EQ(Option().TitleNaming(), c.accepted ? tnTitle : tnNone);
        EXPECT_EQ(ProductConfig().NameByTitle, c.accepted);
    }
}

TEST_F(frmBookmarkSettingTest, TheLevelListIgnoresDeleteAndTypedCharacters)
{
    LoadThreeLevels();
    SetOption(2, false, false);
    Open();
    Level().setFocus();
    for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_3, Qt::Key_1, Qt::Key_A}) {
        QTest::keyClick(&Level(), key);
        EXPECT_EQ(Level().currentText(), QStringLiteral("2")) << key;
    }
    QTest::keyClicks(&Level(), QStringLiteral("13"));
    EXPECT_EQ(Level().currentText(), QStringLiteral("2"));
    QTest::keyClick(&Level(), Qt::Key_Down);
    EXPECT_EQ(Level().currentText(), QStringLiteral("3"));
    EXPECT_EQ(LevelItems().size(), 3);
}

TEST_F(frmBookmarkSettingTest, ShowsARealOutlineOfTheCorpus)
{
    const std::vector<CorpusEntry> corpus = ReadCorpusManifest();
    int checked = 0;
    for (const CorpusEntry& entry : corpus) {
        if (entry.pages <= 0 || entry.outlineDepth <= 0)
            continue;
        SCOPED_TRACE(entry.file.toStdString());
        FJob.Load(CorpusFile(entry.file));
        SetOption(1, false, false);
        Open();
        EXPECT_EQ(Level().count(), entry.outlineDepth);
        EXPECT_EQ(Tree().topLevelItemCount(), entry.outlineTopCount);
        const QString items = entry.notes.value(QStringLiteral("outline_items"));
        // A loop in the outline is cut where it starts over, so only its own items remain.
        if (!items.isEmpty() && !entry.file.contains(QStringLiteral("loop"))) {
            EXPECT_EQ(TreeOutline(Tree()).size(), items.toInt());
        }
        for (const QString& line : TreeOutline(Tree()))
            EXPECT_FALSE(line.trimmed().startsWith(u'+')) << line.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(frmBookmarkSettingTest, ShowBookmarkDialogAnswersWhetherOKClosedIt)
{
    LoadThreeLevels();
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        SetOption(1, false, false);
        WhenModalShows<TfrmBookmarkSetting>([ok](TfrmBookmarkSetting& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("cbxLevel"))->setCurrentIndex(1);
            QTest::mouseClick(dialog.findChild<QPushButton*>(ok ? QStringLiteral("btnOK")
                                                                 : QStringLiteral("btnCancel")),
                              Qt::LeftButton);
        });
        EXPECT_EQ(ShowBookmarkDialog(FJob.Project(), FJob.Planner(), nullptr), ok);
        EXPECT_EQ(Option().LevelNum(), ok ? 2 : 1);
    }
}

class frmBookmarkSettingLanguageTest : public frmBookmarkSettingTest
{
protected:
    void SetUp() override
    {
        ASSERT_GE(LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.dat")), 2);
        ASSERT_TRUE(LanguageMgr().SelectLanguage(QStringLiteral("DEU")));
    }
    void TearDown() override { LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.none")); }
};

// The dialog speaks the selected language, like the main window.
TEST_F(frmBookmarkSettingLanguageTest, CaptionsComeFromTheSelectedLanguage)
{
    LoadThreeLevels();
    Open();
    EXPECT_EQ(Control<QLabel>("lbllevel").text(), QStringLiteral("Bitte wählen Sie die Teilungsebene"));
    EXPECT_EQ(Control<QPushButton>("btnCancel").text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(Control<QCheckBox>("cbNameByTitle").text(),
              QStringLiteral("Dateien nach den Lesezeichen benennen"));
    // The level list keeps its numbers.
    EXPECT_EQ(LevelItems().size(), 3);
}

} // namespace
