#include "../engine/EngineTestSupport.h"

#include "shell/PathUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

#include <signal.h>

namespace {

// tavlo-split run as a separate process in a folder of its own.
class CliTest : public ::testing::Test
{
protected:
    struct TResult
    {
        int exitCode;
        QString out;
        QString err;
    };

    QString Folder() const { return FFolder.path() + QStringLiteral("/"); }

    static QString Program() { return ApplicationFolder() + QStringLiteral("tavlo-split"); }

    QProcess* Launch(const QStringList& arguments)
    {
        FProcess.setWorkingDirectory(FFolder.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), Folder() + QStringLiteral("data"));
        FProcess.setProcessEnvironment(environment);
        FProcess.start(Program(), arguments);
        EXPECT_TRUE(FProcess.waitForStarted());
        return &FProcess;
    }

    TResult Run(const QStringList& arguments)
    {
        Launch(arguments);
        EXPECT_TRUE(FProcess.waitForFinished(60000));
        return {FProcess.exitCode(), QString::fromUtf8(FProcess.readAllStandardOutput()),
                QString::fromUtf8(FProcess.readAllStandardError())};
    }

    static std::vector<int> PagesOf(const QString& path)
    {
        std::vector<int> pages;
        for (const std::string& content : PageContents(path)) {
            const auto at = content.find("Page ");
            pages.push_back(at == std::string::npos ? -1 : std::atoi(content.c_str() + at + 5));
        }
        return pages;
    }

    QTemporaryDir FFolder;
    QProcess FProcess;
};

TEST_F(CliTest, ExitCodesAndMessages)
{
    WriteTestPdf(Folder() + QStringLiteral("doc.pdf"), 6);
    QFile notPdf(Folder() + QStringLiteral("text.pdf"));
    ASSERT_TRUE(notPdf.open(QIODevice::WriteOnly));
    notPdf.write("hello");
    notPdf.close();
    struct Case
    {
        QStringList arguments;
        int exitCode;
        const char* message; // a part of standard error
    };
    const QString doc = QStringLiteral("doc.pdf");
    const std::vector<Case> cases = {
        {{doc}, 1, "exactly one split method"},
        {{QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("--parts"), QStringLiteral("2"), doc}, 1, "exactly one"},
        {{QStringLiteral("--every"), QStringLiteral("0"), doc}, 1, "at least 1"},
        {{QStringLiteral("--range"), QStringLiteral("3,1"), doc}, 1, "Invalid page range"},
        {{QStringLiteral("--range"), QStringLiteral("1-9"), doc}, 1, "Invalid page range"},
        {{QStringLiteral("--custom"), QStringLiteral("a.txt=1"), doc}, 1, "cannot be used"},
        {{QStringLiteral("--custom"), QStringLiteral("a.pdf=1"), QStringLiteral("--custom"), QStringLiteral("A.pdf=2"), doc}, 1, "cannot be used"},
        {{QStringLiteral("--custom"), QStringLiteral("nameonly"), doc}, 1, "NAME=RANGES"},
        {{QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("missing.pdf")}, 2, "could not be found"},
        {{QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("text.pdf")}, 2, "could not be opened as a PDF"},
        {{QStringLiteral("--bookmarks"), QStringLiteral("1"), doc}, 2, "no bookmarks"},
        {{QStringLiteral("--version")}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const TResult result = Run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.message))) << result.err.toStdString();
    }
    // None of them made an output folder.
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("doc")));
}

TEST_F(CliTest, SplitsIntoTheOutputFolderItPrints)
{
    WriteTestPdf(Folder() + QStringLiteral("doc.pdf"), 7);
    struct Case
    {
        QStringList arguments;
        std::vector<std::pair<QString, std::vector<int>>> outputs;
    };
    const std::vector<Case> cases = {
        {{QStringLiteral("--every"), QStringLiteral("3")},
         {{QStringLiteral("doc(1).pdf"), {1, 2, 3}}, {QStringLiteral("doc(2).pdf"), {4, 5, 6}}, {QStringLiteral("doc(3).pdf"), {7}}}},
        {{QStringLiteral("--parts"), QStringLiteral("2")},
         {{QStringLiteral("doc(1).pdf"), {1, 2, 3, 4}}, {QStringLiteral("doc(2).pdf"), {5, 6, 7}}}},
        {{QStringLiteral("--range"), QStringLiteral("2,4-5"), QStringLiteral("--others")},
         {{QStringLiteral("doc(1).pdf"), {2, 4, 5}}, {QStringLiteral("doc(2).pdf"), {1, 3, 6, 7}}}},
        {{QStringLiteral("--custom"), QStringLiteral("front.pdf=1-2"), QStringLiteral("--custom"), QStringLiteral("back.pdf=6,7")},
         {{QStringLiteral("front.pdf"), {1, 2}}, {QStringLiteral("back.pdf"), {6, 7}}}},
    };
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const TResult result = Run(c.arguments + QStringList{QStringLiteral("--out"), QStringLiteral("outs"), QStringLiteral("doc.pdf")});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        // The second and later runs get "doc(1)", "doc(2)", ...
        const QString folder = Folder() + QStringLiteral("outs/doc") +
                               (run == 0 ? QString() : QStringLiteral("(%1)").arg(run)) + u'/';
        ++run;
        EXPECT_EQ(QDir::cleanPath(result.out.trimmed()), QDir::cleanPath(folder));
        EXPECT_EQ(FilesIn(folder).size(), static_cast<qsizetype>(c.outputs.size()));
        for (const auto& [name, pages] : c.outputs)
            EXPECT_EQ(PagesOf(folder + name), pages) << name.toStdString();
    }
}

TEST_F(CliTest, DryRunPrintsThePlanAndWritesNothing)
{
    WriteTestPdf(Folder() + QStringLiteral("doc.pdf"), 3);
    const TResult result = Run({QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("--dry-run"), QStringLiteral("doc.pdf")});
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              QStringLiteral("    [In:File0    Page1  ]    [Out:File0    Page1  ]     [InFile:  doc.pdf       OutFile:  doc(1).pdf]      \n"
                             "    [In:File0    Page2  ]    [Out:File0    Page2  ]     [InFile:  doc.pdf       OutFile:  doc(1).pdf]      \n"
                             "    [In:File0    Page3  ]    [Out:File1    Page3  ]     [InFile:  doc.pdf       OutFile:  doc(2).pdf]      \n"));
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("doc")));
}

TEST_F(CliTest, PasswordFromTheCommandLine)
{
    const QString plain = Folder() + QStringLiteral("plain.pdf");
    WriteTestPdf(plain, 2);
    ASSERT_EQ(QProcess::execute(QStringLiteral("qpdf"),
                                {QStringLiteral("--encrypt"), QStringLiteral("pw"), QStringLiteral("owner"),
                                 QStringLiteral("256"), QStringLiteral("--"), plain, Folder() + QStringLiteral("locked.pdf")}),
              0);
    const QStringList split = {QStringLiteral("--every"), QStringLiteral("1"), QStringLiteral("locked.pdf")};
    FProcess.setStandardInputFile(QProcess::nullDevice());
    EXPECT_EQ(Run(split).exitCode, 2); // no terminal to ask on
    EXPECT_EQ(Run(QStringList{QStringLiteral("--password"), QStringLiteral("wrong")} + split).exitCode, 2);
    ASSERT_EQ(Run(QStringList{QStringLiteral("--password"), QStringLiteral("pw")} + split).exitCode, 0);
    EXPECT_EQ(PagesOf(Folder() + QStringLiteral("locked/locked(2).pdf")), (std::vector<int>{2}));
}

TEST_F(CliTest, InterruptStopsAndLeavesNothing)
{
    WriteTestPdf(Folder() + QStringLiteral("big.pdf"), 3000);
    QProcess* process = Launch({QStringLiteral("--every"), QStringLiteral("1"), QStringLiteral("big.pdf")});
    // Wait until the run has written some outputs, then press Ctrl-C.
    const QString folder = Folder() + QStringLiteral("big");
    for (int i = 0; i < 400 && FilesIn(folder).size() < 20; ++i)
        QThread::msleep(10);
    ASSERT_GE(FilesIn(folder).size(), 20) << "the run did not get going";
    ::kill(static_cast<pid_t>(process->processId()), SIGINT);
    ASSERT_TRUE(process->waitForFinished(60000));
    EXPECT_EQ(process->exitCode(), 130);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

} // namespace
