#include "split/RunOutputs.h"
#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "split/Convert.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace {

class RunOutputsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The trash of the tests lives in their own folder; messages come from the shipped texts.
        qputenv("XDG_DATA_HOME", FFolder.filePath(QStringLiteral("data")).toUtf8());
        LanguageMgr().LoadLanguages(ApplicationFolder() + QStringLiteral("Languages/*.dat"));
        LanguageMgr().SelectLanguage(QStringLiteral("ENG"));
    }

    void TearDown() override
    {
        LanguageMgr().LoadLanguages(Folder() + QStringLiteral("none/*.dat"));
    }

    QString Folder() const { return FFolder.path() + QStringLiteral("/"); }

    static void Touch(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QStringList Trashed() const
    {
        return QDir(Folder() + QStringLiteral("data/Trash/files"))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir FFolder;
};

// Runs started together never share a folder: each one makes its own, or takes the next name.
TEST_F(RunOutputsTest, FoldersMadeAtOnceAreAllDifferent)
{
    constexpr int kRuns = 8;
    std::vector<TRunOutputs> runs(kRuns);
    std::vector<QString> folders(kRuns);
    std::vector<std::thread> threads;
    for (int i = 0; i < kRuns; ++i)
        threads.emplace_back(
            [&, i] { folders[i] = runs[i].CreateFolder(Folder() + QStringLiteral("out/doc")); });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(std::set<QString>(folders.begin(), folders.end()).size(), size_t(kRuns));
    for (const QString& folder : folders)
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
}

TEST_F(RunOutputsTest, AFolderThatCannotBeMadeIsNamedInTheError)
{
    Touch(Folder() + QStringLiteral("file.pdf"));
    for (const QString& base :
         {Folder() + QStringLiteral("file.pdf/doc"), Folder() + QString(300, u'n')}) {
        SCOPED_TRACE(base.toStdString());
        TRunOutputs outputs;
        try {
            outputs.CreateFolder(base);
            ADD_FAILURE() << "made";
        } catch (const EPlanError& error) {
            const QString message = QString::fromUtf8(error.what());
            EXPECT_TRUE(message.contains(QDir::toNativeSeparators(base))) << message.toStdString();
            EXPECT_TRUE(message.contains(QStringLiteral("not a folder")) ||
                        message.contains(QStringLiteral("too long")))
                << message.toStdString();
        }
        EXPECT_TRUE(outputs.Folder().isEmpty());
    }
}

// A stop or failure takes only what the run made: the user's files stay, with the folder
// around them, and parents made for the run go when they end up empty.
TEST_F(RunOutputsTest, DiscardTakesOnlyWhatTheRunMade)
{
    struct Case
    {
        bool useTrash;
        bool foreignFile;
        int nameLength; // of the folder; from 239 bytes on the trash cannot take it
        bool trashed;
    };
    for (const Case c : {Case{false, false, 3, false}, Case{true, false, 3, true},
                         Case{true, true, 3, false}, Case{true, false, 250, false}}) {
        SCOPED_TRACE(testing::Message() << c.useTrash << c.foreignFile << c.nameLength);
        QDir(Folder() + QStringLiteral("parent")).removeRecursively();
        QDir(Folder() + QStringLiteral("data")).removeRecursively();
        TRunOutputs outputs;
        const QString folder = outputs.CreateFolder(Folder() + QStringLiteral("parent/") +
                                                    QString(c.nameLength, u'd'));
        Touch(folder + QStringLiteral("a.pdf"));
        outputs.AddFile(folder + QStringLiteral("a.pdf"));
        if (c.foreignFile)
            Touch(folder + QStringLiteral("theirs.txt"));
        outputs.Discard(c.useTrash);
        EXPECT_EQ(Trashed().size(), c.trashed ? 1 : 0);
        EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("a.pdf")));
        EXPECT_EQ(QFileInfo::exists(folder + QStringLiteral("theirs.txt")), c.foreignFile);
        EXPECT_EQ(QFileInfo::exists(Folder() + QStringLiteral("parent")), c.foreignFile);
    }
}

} // namespace
