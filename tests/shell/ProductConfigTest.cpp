#include "shell/MessageBox.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ProductConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes.append(r);
            return answer;
        });
    }
    void TearDown() override { SetMessageBoxHandler({}); }

    QString IniPath() const { return dir.filePath(QStringLiteral("Config.ini")); }

    void WriteIni(const QByteArray& text) const
    {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir dir;
    QList<MessageBoxRequest> boxes;
    MessageBoxButton answer = MessageBoxButton::Yes;
};

TEST_F(ProductConfigTest, AMissingFileGivesEveryDefaultAndIsNotCreated)
{
    TProductConfig config(IniPath());
    config.LoadSystemSection();
    config.ComposeProductNames();
    config.LoadAll();
    EXPECT_EQ(config.ProductID, 417);
    EXPECT_EQ(config.DataCellectID, 839);
    EXPECT_EQ(config.DefLanguage, QStringLiteral("ENG"));
    EXPECT_EQ(config.DefSkinDir, QStringLiteral("English"));
    EXPECT_EQ(config.SkinSubfolder, QStringLiteral("skin") + QDir::separator() + QStringLiteral("English") + QDir::separator());
    EXPECT_EQ(config.FirstStart, QStringLiteral("0"));
    EXPECT_EQ(config.MutexName, QStringLiteral("Orvane_Selvo"));
    EXPECT_EQ(config.MakerName, QStringLiteral("Orvane"));
    EXPECT_TRUE(config.ProductTitle.startsWith(QStringLiteral("Orvane ")));
    EXPECT_EQ(config.InFormat, ffPdf);
    // The engine writes PDF only.
    EXPECT_EQ(config.OutFormat, ffPdf);
    EXPECT_TRUE(config.CustomPath);
    EXPECT_TRUE(config.KeepNavigation);
    EXPECT_EQ(config.Jobs, 0);
    EXPECT_TRUE(config.SupportUpdate);
    EXPECT_TRUE(config.ShowScanForm);
    EXPECT_TRUE(config.ShowPasswordBalloon);
    EXPECT_TRUE(config.HomePage.isEmpty() && config.HelpPage.isEmpty() && config.ContactPage.isEmpty());
    EXPECT_EQ(config.CustomDir, WithTrailingBackslash(config.GetDefaultOutputFolder()));
    EXPECT_FALSE(QFileInfo::exists(IniPath()));
}

TEST_F(ProductConfigTest, ReadsFormatsByNameAndFallsBackToPdf)
{
    // Outputs are always PDF: another output format would make every run fail.
    const struct
    {
        const char* in;
        TFileFormat inFormat;
        TFileFormat outFormat;
    } cases[] = {{"ffWord", ffWord, ffPdf}, {"ffepub", ffEpub, ffPdf}, {"ffPdf", ffPdf, ffPdf},
                 {"Word", ffPdf, ffPdf},    {"", ffPdf, ffPdf},        {"6", ffPdf, ffPdf}};
    for (const auto& c : cases) {
        WriteIni(QByteArray("[Format]\nInFormat=") + c.in + "\nOutFormat=" + c.in + "\n");
        TProductConfig config(IniPath());
        config.LoadAll();
        EXPECT_EQ(config.InFormat, c.inFormat) << c.in;
        EXPECT_EQ(config.OutFormat, c.outFormat) << c.in;
    }
}

TEST_F(ProductConfigTest, MissingFoldersAreReplacedWithoutAMessage)
{
    const QString existing = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(existing);
    WriteIni("[OUTPUT]\nCustomPath=0\nCustomDir=" + existing.toUtf8() + "\n[OTHER]\nInitDir=" +
             dir.filePath(QStringLiteral("gone")).toUtf8() + "\n");
    TProductConfig config(IniPath());
    config.LoadAll();
    EXPECT_FALSE(config.CustomPath);
    EXPECT_EQ(config.CustomDir, existing + QDir::separator());
    EXPECT_EQ(config.InitDir, MyDocumentsFolder());

    WriteIni("[OUTPUT]\nCustomDir=relative/out\n");
    config.LoadAll();
    EXPECT_EQ(config.CustomDir, WithTrailingBackslash(config.GetDefaultOutputFolder()));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(ProductConfigTest, SaveAllWritesBackWhatTheProgramChanges)
{
    TProductConfig config(IniPath());
    config.LoadAll();
    config.CustomPath = false;
    config.KeepNavigation = false;
    config.Jobs = 3;
    config.CustomDir = dir.path() + QStringLiteral("/");
    config.InitDir = QStringLiteral("/tmp/");
    config.OutFormat = ffPdf;
    config.FirstStart = QStringLiteral("1");
    config.ShowPasswordBalloon = false;
    config.SaveAll();

    TProductConfig reread(IniPath());
    reread.LoadAll();
    EXPECT_FALSE(reread.CustomPath);
    EXPECT_FALSE(reread.KeepNavigation);
    EXPECT_EQ(reread.Jobs, 3);
    EXPECT_EQ(reread.CustomDir, config.CustomDir);
    EXPECT_EQ(reread.InitDir, QStringLiteral("/tmp/"));
    EXPECT_EQ(reread.OutFormat, ffPdf);
    EXPECT_EQ(reread.FirstStart, QStringLiteral("1"));
    EXPECT_TRUE(reread.ShowPasswordBalloon);
    EXPECT_EQ(reread.ReadString(QStringLiteral("Format"), QStringLiteral("OutFormat"), QString()), QStringLiteral("ffPdf"));
    EXPECT_FALSE(reread.ValueExists(QStringLiteral("SYSTEM"), QStringLiteral("ProductID")));
    EXPECT_FALSE(reread.ValueExists(QStringLiteral("OTHER"), QStringLiteral("MutexName")));

    // What the file cannot hold, or the engine cannot write, is never stored.
    config.InitDir = QStringLiteral("/tmp/x\n[URL]\nHelpPage=https://example.org/forged");
    config.OutFormat = ffWord;
    config.SaveAll();
    reread.LoadAll();
    EXPECT_EQ(reread.InitDir, QStringLiteral("/tmp/"));
    EXPECT_TRUE(reread.HelpPage.isEmpty());
    EXPECT_EQ(reread.ReadString(QStringLiteral("Format"), QStringLiteral("OutFormat"), QString()), QStringLiteral("ffPdf"));
}

TEST_F(ProductConfigTest, CheckOutputFolderRejectsUnusablePathsWithoutAsking)
{
    TProductConfig config(IniPath());
    const QString cases[] = {
        QStringLiteral("."),
        dir.path() + QStringLiteral("/a|b"),
        dir.path() + QStringLiteral("/a?b/c"),
        QStringLiteral("C:/out"),
        QStringLiteral("relative"),
    };
    for (const QString& path : cases) {
        boxes.clear();
        config.CustomDir = path;
        EXPECT_FALSE(config.CheckOutputFolder()) << path.toStdString();
        ASSERT_EQ(boxes.size(), 1) << path.toStdString();
        EXPECT_EQ(boxes[0].buttons, QList<MessageBoxButton>{MessageBoxButton::Ok});
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("a|b"))));
}

TEST_F(ProductConfigTest, CheckOutputFolderAcceptsAnExistingFolderAndOffersToCreateAMissingOne)
{
    TProductConfig config(IniPath());
    config.CustomDir = dir.path();
    EXPECT_TRUE(config.CheckOutputFolder());
    EXPECT_EQ(config.CustomDir, dir.path() + QDir::separator());
    EXPECT_TRUE(boxes.isEmpty());

    const QString missing = dir.filePath(QStringLiteral("new/deeper"));
    config.CustomDir = missing;
    answer = MessageBoxButton::No;
    EXPECT_FALSE(config.CheckOutputFolder());
    EXPECT_FALSE(QFileInfo::exists(missing));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].buttons, (QList<MessageBoxButton>{MessageBoxButton::Yes, MessageBoxButton::No}));
    EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Question);

    answer = MessageBoxButton::Yes;
    EXPECT_TRUE(config.CheckOutputFolder());
    EXPECT_TRUE(QFileInfo(missing).isDir());
}

TEST_F(ProductConfigTest, CheckOutputFolderTellsWhenTheFolderCannotBeCreated)
{
    const QString file = dir.filePath(QStringLiteral("plain-file"));
    QFile(file).open(QIODevice::WriteOnly);
    TProductConfig config(IniPath());
    config.CustomDir = file + QStringLiteral("/sub");
    EXPECT_FALSE(config.CheckOutputFolder());
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1].buttons, QList<MessageBoxButton>{MessageBoxButton::Ok});
}

} // namespace
