#include "../engine/EngineTestSupport.h"

#include "shell/PathUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <csignal>
#include <map>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

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

    // Runs the program with its standard error on a new terminal (or on a pipe) and answers
    // the exit code and what reached standard error.
    TResult RunWithStandardError(const QStringList& arguments, bool terminal)
    {
        int reader = -1;
        int writer = -1;
        if (terminal) {
            EXPECT_EQ(::openpty(&reader, &writer, nullptr, nullptr, nullptr), 0);
        } else {
            int fds[2];
            EXPECT_EQ(::pipe(fds), 0);
            reader = fds[0];
            writer = fds[1];
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, writer, STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, reader);
        const std::string program = Program().toStdString();
        std::vector<std::string> texts{program};
        for (const QString& argument : arguments)
            texts.push_back(argument.toStdString());
        std::vector<char*> argv;
        for (std::string& text : texts)
            argv.push_back(text.data());
        argv.push_back(nullptr);
        pid_t child = -1;
        const int spawned = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(writer);
        EXPECT_EQ(spawned, 0);
        // Read until the last writer is gone (a terminal then reports an error, a pipe its end).
        QByteArray text;
        char buffer[4096];
        for (;;) {
            pollfd wanted{reader, POLLIN, 0};
            if (::poll(&wanted, 1, 60000) <= 0)
                break;
            const ssize_t got = ::read(reader, buffer, sizeof buffer);
            if (got <= 0)
                break;
            text.append(buffer, got);
        }
        ::close(reader);
        int status = 0;
        ::waitpid(child, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, QString(), QString::fromUtf8(text)};
    }

    // "locked.pdf", two pages that open with the password "pw".
    void WriteLockedPdf()
    {
        const QString plain = Folder() + QStringLiteral("plain.pdf");
        WriteTestPdf(plain, 2);
        ASSERT_EQ(QProcess::execute(QStringLiteral("qpdf"),
                                    {QStringLiteral("--encrypt"), QStringLiteral("pw"), QStringLiteral("owner"),
                                     QStringLiteral("256"), QStringLiteral("--"), plain, Folder() + QStringLiteral("locked.pdf")}),
                  0);
    }

    QTemporaryDir FFolder;
    QProcess FProcess;
};

// Checks an output against the input it was cut from: page k of the output carries the
// content of input page pages[k].
void ExpectPagesFrom(const QString& output, const std::vector<std::string>& input,
                     const std::vector<int>& pages)
{
    SCOPED_TRACE(output.toStdString());
    ASSERT_TRUE(QFileInfo(output).isFile());
    const std::vector<std::string> copied = PageContents(output);
    ASSERT_EQ(copied.size(), pages.size());
    for (size_t k = 0; k < pages.size(); ++k) {
        ASSERT_GE(pages[k], 1);
        ASSERT_LE(pages[k], static_cast<int>(input.size()));
        EXPECT_EQ(copied[k], input[static_cast<size_t>(pages[k] - 1)]) << "output page " << k + 1;
    }
}

// The plan that --dry-run prints: the input pages of every output file, in order.
std::map<QString, std::vector<int>> PlanOf(const QString& dryRun)
{
    static const QRegularExpression line(
        QStringLiteral(R"(\[In:File\d+\s+Page(\d+)\s*\].*OutFile:\s+(.+?)\]\s*$)"));
    std::map<QString, std::vector<int>> plan;
    for (const QString& text : dryRun.split(u'\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(text);
        EXPECT_TRUE(match.hasMatch()) << text.toStdString();
        if (match.hasMatch())
            plan[match.captured(2)].push_back(match.captured(1).toInt());
    }
    return plan;
}

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
        {{QStringLiteral("--jobs"), QStringLiteral("0"), QStringLiteral("--every"), QStringLiteral("2"), doc}, 1, "at least 1"},
        {{QStringLiteral("--range"), QStringLiteral("3,1"), doc}, 1, "Invalid page range"},
        {{QStringLiteral("--range"), QStringLiteral("1-9"), doc}, 1, "Invalid page range"},
        {{QStringLiteral("--custom"), QStringLiteral("a.txt=1"), doc}, 1, "cannot be used"},
        {{QStringLiteral("--custom"), QStringLiteral("a.pdf=1"), QStringLiteral("--custom"), QStringLiteral("A.pdf=2"), doc}, 1, "cannot be used"},
        {{QStringLiteral("--custom"), QStringLiteral("nameonly"), doc}, 1, "NAME=RANGES"},
        {{QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("--json"), doc}, 1, "only with --dry-run"},
        {{QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("--name-by-title"), doc}, 1, "only with --bookmarks"},
        {{QStringLiteral("--bookmarks"), QStringLiteral("1"), QStringLiteral("--name-by-title=Numbered"), doc}, 1, "\"Numbered\" is not a way"},
        // A mistake in the options is told once, not for every input.
        {{QStringLiteral("--every"), QStringLiteral("x"), doc, doc}, 1, "\"x\" is not a whole number of at least 1.\n"},
        {{QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("missing.pdf")}, 2, "could not be found"},
        {{QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("text.pdf")}, 2, "could not be opened as a PDF"},
        {{QStringLiteral("--bookmarks"), QStringLiteral("1"), doc}, 2, "no bookmarks"},
        // An output folder that cannot be made ends the command, saying which and why.
        {{QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("--out"), QStringLiteral("/proc/tavlo-none"), doc}, 3, "/proc/tavlo-none\" could not be created"},
        {{QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("--out"), QStringLiteral("doc.pdf/sub"), doc}, 3, "is a file, not a folder"},
        // More parts than pages means one part per page, planned without a loop per part.
        {{QStringLiteral("--parts"), QStringLiteral("2147483647"), QStringLiteral("--dry-run"), doc}, 0, ""},
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
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("doc.pdf/sub")));
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
        {{QStringLiteral("--parts"), QStringLiteral("2"), QStringLiteral("--jobs"), QStringLiteral("2")},
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
            EXPECT_EQ(PageNumbersOf(folder + name), pages) << name.toStdString();
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

// The JSON plan of a dry run, parsed back, is what the run then writes: the same folder, the
// same files, each with the same pages.
TEST_F(CliTest, JsonPlanIsWhatTheRunWrites)
{
    const QString input = Folder() + QStringLiteral("book.pdf");
    WriteTestPdf(input, 10,
                 {Mark("Intro: A/B", 0, 720, {Mark("Part", 1)}), Mark("INTRO_ a_b", 2), Mark("", 4),
                  Mark("con", 6), Mark("  ...  ", 8)});
    struct Case
    {
        QStringList options;
        QStringList names; // in plan order; empty: not checked
    };
    const std::vector<Case> cases = {
        {{QStringLiteral("--every"), QStringLiteral("4")}, {}},
        {{QStringLiteral("--range"), QStringLiteral("2,4-5"), QStringLiteral("--others")}, {}},
        {{QStringLiteral("--custom"), QStringLiteral("b.pdf=3-4"), QStringLiteral("--custom"), QStringLiteral("a.pdf=1")}, {}},
        {{QStringLiteral("--bookmarks"), QStringLiteral("1"), QStringLiteral("--name-by-title")},
         {QStringLiteral("Intro_ A_B.pdf"), QStringLiteral("INTRO_ a_b (2).pdf"), QStringLiteral("book(3).pdf"),
          QStringLiteral("con_.pdf"), QStringLiteral("book(5).pdf")}},
        {{QStringLiteral("--bookmarks"), QStringLiteral("2"), QStringLiteral("--higher-levels"), QStringLiteral("--name-by-title=numbered")},
         {QStringLiteral("01 Part.pdf"), QStringLiteral("02 Intro_ A_B.pdf"), QStringLiteral("03 INTRO_ a_b.pdf"),
          QStringLiteral("04 book(4).pdf"), QStringLiteral("05 con_.pdf"), QStringLiteral("06 book(6).pdf")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        const QString out = Folder() + QStringLiteral("out");
        QDir(out).removeRecursively();
        const QStringList arguments = c.options + QStringList{QStringLiteral("--out"), out, input};
        const TResult planned = Run(arguments + QStringList{QStringLiteral("--dry-run"), QStringLiteral("--json")});
        ASSERT_EQ(planned.exitCode, 0) << planned.err.toStdString();
        const QJsonObject plan = QJsonDocument::fromJson(planned.out.toUtf8()).object();
        EXPECT_EQ(plan.value(QStringLiteral("input")).toString(), input);
        EXPECT_FALSE(QFileInfo::exists(out));

        const TResult result = Run(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QString folder = plan.value(QStringLiteral("folder")).toString();
        EXPECT_EQ(QDir::cleanPath(result.out.trimmed()), folder);
        QStringList names;
        for (const QJsonValue& output : plan.value(QStringLiteral("outputs")).toArray()) {
            const QString name = output[QStringLiteral("name")].toString();
            names.append(name);
            std::vector<int> pages;
            for (const QJsonValue& page : output[QStringLiteral("pages")].toArray())
                pages.push_back(page.toInt());
            EXPECT_EQ(PageNumbersOf(folder + u'/' + name), pages) << name.toStdString();
        }
        if (!c.names.isEmpty()) {
            EXPECT_EQ(names, c.names);
        }
        EXPECT_EQ(FilesIn(folder).size(), names.size());
    }
}

// Each input of a batch is split on its own; one that cannot be used does not stop the others,
// and the exit code is the worst outcome.
TEST_F(CliTest, BatchWithAMissingAndALockedInput)
{
    WriteLockedPdf();
    WriteTestPdf(Folder() + QStringLiteral("a.pdf"), 2);
    WriteTestPdf(Folder() + QStringLiteral("b.pdf"), 3);
    const QStringList split = {QStringLiteral("--every"), QStringLiteral("2"), QStringLiteral("--out"), QStringLiteral("outs")};
    FProcess.setStandardInputFile(QProcess::nullDevice());
    const TResult result = Run(split + QStringList{QStringLiteral("a.pdf"), QStringLiteral("missing.pdf"),
                                                   QStringLiteral("locked.pdf"), QStringLiteral("b.pdf")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out.split(u'\n', Qt::SkipEmptyParts).size(), 2) << result.out.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("\"missing.pdf\" was not split"))) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("\"locked.pdf\" was not split"))) << result.err.toStdString();
    EXPECT_EQ(FilesIn(Folder() + QStringLiteral("outs/a")).size(), 1);
    EXPECT_EQ(FilesIn(Folder() + QStringLiteral("outs/b")).size(), 2);
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("outs/locked")));

    // One password for every input; several plans are an array.
    const TResult planned = Run(split + QStringList{QStringLiteral("--password"), QStringLiteral("pw"), QStringLiteral("--dry-run"),
                                                    QStringLiteral("--json"), QStringLiteral("locked.pdf"), QStringLiteral("a.pdf")});
    EXPECT_EQ(planned.exitCode, 0) << planned.err.toStdString();
    const QJsonArray plans = QJsonDocument::fromJson(planned.out.toUtf8()).array();
    ASSERT_EQ(plans.size(), 2);
    EXPECT_EQ(plans[0][QStringLiteral("outputs")].toArray().size(), 1);
}

TEST_F(CliTest, PasswordFromTheCommandLine)
{
    WriteLockedPdf();
    const QStringList split = {QStringLiteral("--every"), QStringLiteral("1"), QStringLiteral("locked.pdf")};
    FProcess.setStandardInputFile(QProcess::nullDevice());
    EXPECT_EQ(Run(split).exitCode, 2); // no terminal to ask on
    EXPECT_EQ(Run(QStringList{QStringLiteral("--password"), QStringLiteral("wrong")} + split).exitCode, 2);
    const TResult unlocked = Run(QStringList{QStringLiteral("--password"), QStringLiteral("pw")} + split);
    ASSERT_EQ(unlocked.exitCode, 0) << unlocked.err.toStdString();
    EXPECT_EQ(PageNumbersOf(Folder() + QStringLiteral("locked/locked(2).pdf")), (std::vector<int>{2}));
}

// Ctrl-C, a termination and a hang-up stop the run alike: nothing of it is left, not even a
// temporary file, and the exit code tells the signal as a shell does.
TEST_F(CliTest, StopSignalsLeaveNothing)
{
    WriteTestPdf(Folder() + QStringLiteral("big.pdf"), 3000);
    for (const auto& [signal, exitCode] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129}}) {
        SCOPED_TRACE(signal);
        QProcess* process = Launch({QStringLiteral("--every"), QStringLiteral("1"), QStringLiteral("big.pdf")});
        // Wait until the run has written some outputs, then send the signal.
        const QString folder = Folder() + QStringLiteral("big");
        for (int i = 0; i < 400 && FilesIn(folder).size() < 20; ++i)
            QThread::msleep(10);
        ASSERT_GE(FilesIn(folder).size(), 20) << "the run did not get going";
        ::kill(static_cast<pid_t>(process->processId()), signal);
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), exitCode);
        EXPECT_FALSE(QFileInfo::exists(folder));
    }
}

// Ctrl-C or a termination while the password is asked ends the command at once, and gives the
// terminal its echo back.
TEST_F(CliTest, StopAtThePasswordPromptRestoresTheTerminal)
{
    WriteLockedPdf();
    for (const auto& [signal, exitCode] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        SCOPED_TRACE(signal);
        int master = -1;
        int terminal = -1;
        ASSERT_EQ(::openpty(&master, &terminal, nullptr, nullptr, nullptr), 0);
        const std::string terminalName = ::ttyname(terminal);
        // A session of its own whose controlling terminal is the new one, as in a shell.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, terminalName.c_str(), O_RDWR, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclose(&actions, master);
        posix_spawn_file_actions_addclose(&actions, terminal);
        const std::string program = Program().toStdString();
        const std::string input = (Folder() + QStringLiteral("locked.pdf")).toStdString();
        std::vector<std::string> texts{program, "--every", "1", input};
        std::vector<char*> argv;
        for (std::string& text : texts)
            argv.push_back(text.data());
        argv.push_back(nullptr);
        pid_t child = -1;
        ASSERT_EQ(::posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        // Wait for the question, then stop.
        QByteArray shown;
        char buffer[256];
        for (int i = 0; i < 100 && !shown.contains("Password for"); ++i) {
            pollfd wanted{master, POLLIN, 0};
            if (::poll(&wanted, 1, 100) > 0) {
                const ssize_t got = ::read(master, buffer, sizeof buffer);
                if (got > 0)
                    shown.append(buffer, got);
            }
        }
        ASSERT_TRUE(shown.contains("Password for")) << shown.toStdString();
        if (signal == SIGINT)
            ASSERT_EQ(::write(master, "\x03", 1), 1); // Ctrl-C typed
        else
            ::kill(child, signal);
        int status = 0;
        for (int i = 0; i < 100 && ::waitpid(child, &status, WNOHANG) == 0; ++i)
            QThread::msleep(50);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), exitCode);
        termios settings{};
        ASSERT_EQ(::tcgetattr(terminal, &settings), 0);
        EXPECT_NE(settings.c_lflag & ECHO, 0u);
        ::close(master);
        ::close(terminal);
    }
}

// Damage the PDF library repaired is not a plain success: the outputs are there, but the
// command says what was met and answers 4.
TEST_F(CliTest, ADamagedInputIsDoneWithItsWarnings)
{
    const QString source = CorpusFile(QStringLiteral("qpdf-damaged-no-startxref.pdf"));
    ASSERT_TRUE(QFile::copy(source, Folder() + QStringLiteral("damaged.pdf")));
    const TResult result = Run({QStringLiteral("--every"), QStringLiteral("10"), QStringLiteral("damaged.pdf")});
    EXPECT_EQ(result.exitCode, 4) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("\"damaged.pdf\" is damaged"))) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("\n  damaged(1).pdf: "))) << result.err.toStdString();
    EXPECT_EQ(QDir::cleanPath(result.out.trimmed()), QDir::cleanPath(Folder() + QStringLiteral("damaged")));
    EXPECT_EQ(FilesIn(Folder() + QStringLiteral("damaged")).size(), 3);
}

TEST_F(CliTest, AnOutputThatCannotBeWrittenFailsTheCommand)
{
    // The last output cannot take its name: a folder stands there. Its write fails when it is
    // closed, after the run has already said that it is done.
    WriteTestPdf(Folder() + QStringLiteral("big.pdf"), 400);
    QProcess* process = Launch({QStringLiteral("--every"), QStringLiteral("1"), QStringLiteral("big.pdf")});
    const QString folder = Folder() + QStringLiteral("big");
    for (int i = 0; i < 1000 && !QFileInfo(folder).isDir(); ++i)
        QThread::msleep(5);
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/big(400).pdf/taken")));
    ASSERT_TRUE(process->waitForFinished(60000));
    EXPECT_EQ(process->exitCode(), 3);
    EXPECT_TRUE(QString::fromUtf8(process->readAllStandardError()).contains(QStringLiteral("could not be written")));
    // No folder is printed as if all were done.
    EXPECT_TRUE(process->readAllStandardOutput().isEmpty());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/big(399).pdf")).isFile());
}

TEST_F(CliTest, BookmarkLevelsWithHigherLevelsAndBothPages)
{
    // Three levels over twelve pages; "1.1.2", "1.2", "2.1.1" and "3" start low on their page,
    // so with --both-pages the section before each of them takes that page as well.
    const QString input = Folder() + QStringLiteral("book.pdf");
    WriteTestPdf(input, 12,
                 {Mark("1", 0, 720,
                       {Mark("1.1", 0, 720, {Mark("1.1.1", 0), Mark("1.1.2", 1, 300)}),
                        Mark("1.2", 3, 300)}),
                  Mark("2", 5, 720, {Mark("2.1", 6, 720, {Mark("2.1.1", 7, 200)})}),
                  Mark("3", 10, 300)});
    const std::vector<std::string> pages = PageContents(input);
    struct Case
    {
        QStringList options;
        std::vector<std::vector<int>> outputs; // book(1).pdf, book(2).pdf, ...
        QString leftOut = {};                  // pages in no output, as standard error says
    };
    const QString higher = QStringLiteral("--higher-levels");
    const QString both = QStringLiteral("--both-pages");
    const std::vector<Case> cases = {
        {{QStringLiteral("3")}, {{1}, {2, 3}, {8, 9, 10}}, QStringLiteral("book.pdf: 4-7,11-12")},
        // A level deeper than the outline: its deepest level and the higher ones, no more.
        {{QStringLiteral("2147483647"), higher},
         {{1}, {2, 3}, {8, 9, 10}, {1, 2, 3}, {4, 5}, {7, 8, 9, 10}, {1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12}}},
        {{QStringLiteral("3"), both}, {{1, 2}, {2, 3, 4}, {8, 9, 10, 11}}, QStringLiteral("book.pdf: 5-7,12")},
        // Deepest level first, then each higher one.
        {{QStringLiteral("2"), higher},
         {{1, 2, 3}, {4, 5}, {7, 8, 9, 10}, {1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12}}},
        {{QStringLiteral("3"), higher, both},
         {{1, 2}, {2, 3, 4}, {8, 9, 10, 11}, {1, 2, 3, 4}, {4, 5}, {7, 8, 9, 10, 11},
          {1, 2, 3, 4, 5}, {6, 7, 8, 9, 10, 11}, {11, 12}}},
        {{QStringLiteral("1"), both}, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10, 11}, {11, 12}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        const QString out = Folder() + QStringLiteral("out");
        QDir(out).removeRecursively();
        const TResult result = Run(QStringList{QStringLiteral("--bookmarks")} + c.options +
                                   QStringList{QStringLiteral("--out"), out, input});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.err.contains(QStringLiteral("in no output")), !c.leftOut.isEmpty()) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.leftOut)) << result.err.toStdString();
        const QString folder = out + QStringLiteral("/book/");
        EXPECT_EQ(QDir::cleanPath(result.out.trimmed()), QDir::cleanPath(folder));
        EXPECT_EQ(FilesIn(folder).size(), static_cast<qsizetype>(c.outputs.size()));
        for (size_t k = 0; k < c.outputs.size(); ++k)
            ExpectPagesFrom(folder + QStringLiteral("book(%1).pdf").arg(k + 1), pages, c.outputs[k]);
    }
}

TEST_F(CliTest, CorpusBookmarksFollowThePlanPageByPage)
{
    // Real outlines: four levels with every kind of destination, and lecture notes whose
    // chapters start at the top margin and some sections low on a page.
    struct Case
    {
        const char* file;
        QStringList options;
    };
    const QString higher = QStringLiteral("--higher-levels");
    const QString both = QStringLiteral("--both-pages");
    const std::vector<Case> cases = {
        {"qpdf-page-labels-and-outlines.pdf", {QStringLiteral("4"), higher, both}},
        {"qpdf-page-labels-and-outlines.pdf", {QStringLiteral("3"), higher}},
        {"geotopo-komprimiert.pdf", {QStringLiteral("2"), higher, both}},
        {"geotopo-komprimiert.pdf", {QStringLiteral("2"), both}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.options.join(u' ').toStdString());
        const QString source = CorpusFile(QString::fromUtf8(c.file));
        const QString input = Folder() + QStringLiteral("doc.pdf");
        QFile::remove(input);
        ASSERT_TRUE(QFile::copy(source, input));
        const QStringList arguments = QStringList{QStringLiteral("--bookmarks")} + c.options +
                                      QStringList{QStringLiteral("--out"), Folder() + QStringLiteral("out"), input};
        const TResult dry = Run(arguments + QStringList{QStringLiteral("--dry-run")});
        ASSERT_EQ(dry.exitCode, 0) << dry.err.toStdString();
        const std::map<QString, std::vector<int>> plan = PlanOf(dry.out);
        ASSERT_FALSE(plan.empty());

        const TResult result = Run(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QString folder = QDir::cleanPath(result.out.trimmed()) + u'/';
        EXPECT_EQ(FilesIn(folder).size(), static_cast<qsizetype>(plan.size()));
        const std::vector<std::string> pages = PageContents(input);
        for (const auto& [name, inputPages] : plan)
            ExpectPagesFrom(folder + name, pages, inputPages);
        QDir(folder).removeRecursively();
    }
}

TEST_F(CliTest, ProgressBarOnlyOnATerminal)
{
    const QString input = Folder() + QStringLiteral("doc.pdf");
    WriteTestPdf(input, 60);
    struct Case
    {
        bool terminal;
        bool quiet;
        bool bar;
    };
    for (const Case& c : {Case{true, false, true}, Case{true, true, false}, Case{false, false, false}}) {
        SCOPED_TRACE(testing::Message() << "terminal " << c.terminal << " quiet " << c.quiet);
        QDir(Folder() + QStringLiteral("out")).removeRecursively();
        QStringList arguments{QStringLiteral("--every"), QStringLiteral("1"), QStringLiteral("--out"),
                              Folder() + QStringLiteral("out"), input};
        if (c.quiet)
            arguments.prepend(QStringLiteral("--quiet"));
        const TResult result = RunWithStandardError(arguments, c.terminal);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(FilesIn(Folder() + QStringLiteral("out/doc")).size(), 60);
        if (!c.bar) {
            EXPECT_EQ(result.err, QString());
            continue;
        }
        // Redrawn in place, ending full, then a new line.
        QStringList draws;
        for (const QString& part : result.err.split(u'\r'))
            if (!part.trimmed().isEmpty())
                draws.append(part.trimmed());
        ASSERT_GE(draws.size(), 2) << result.err.toStdString();
        EXPECT_TRUE(draws.front().startsWith(u'['));
        EXPECT_TRUE(result.err.contains(QStringLiteral("] 100%"))) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("[########################################] 100%")));
        EXPECT_TRUE(result.err.endsWith(u'\n'));
        // The percentages only grow.
        int last = -1;
        for (const QString& draw : draws) {
            const int percent = draw.section(u' ', -1).remove(u'%').trimmed().toInt();
            EXPECT_GE(percent, last) << draw.toStdString();
            last = percent;
        }
    }
}

} // namespace
