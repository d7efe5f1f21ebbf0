#include "SingleInstance.h"

#include "shell/IniFile.h"
#include "engine/EngineTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

#include <unistd.h>

namespace {

const QString kStartLine = QStringLiteral("-----------Orvane PDF Splitter Start Version:[");
const QString kTitle = QStringLiteral("Orvane PDF Splitter");
const QString kEndLine = QStringLiteral("-------------------Orvane PDF Splitter End.------------------------");

// A copy of the installed program in a folder of its own, so that its log, configuration and
// single-instance name belong to this test alone. The folder's name ends with a blank, which
// is part of the name: the program must find its files there all the same.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        const QDir bin(QCoreApplication::applicationDirPath());
        const QDir program = Program();
        QDir().mkpath(program.path());
        QDir().mkdir(RuntimeFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const char* name : {"Tavlo", "Orvane_HeapLog.so", "OrvaneUtilities.so", "OrvaneBusDocs.so", "Config.ini"})
            QFile::copy(bin.filePath(QString::fromLatin1(name)), program.filePath(QString::fromLatin1(name)));
        for (const QString& folder : {QStringLiteral("Languages"), QStringLiteral("plugins")}) {
            program.mkpath(folder);
            for (const QString& file : QDir(bin.filePath(folder)).entryList(QDir::Files))
                QFile::copy(bin.filePath(folder + u'/' + file), program.filePath(folder + u'/' + file));
        }
        mutexName = QStringLiteral("TavloTest_") + QString::number(QCoreApplication::applicationPid()) + u'_' +
                    QString::number(++serial);
        TIniFile(program.filePath(QStringLiteral("Config.ini"))).WriteString(QStringLiteral("OTHER"), QStringLiteral("MutexName"), mutexName);
    }

    QString Path(const QString& name) const { return Program().filePath(name); }

    // The session's private folder of the programs started here, which holds their guard.
    QString RuntimeFolder() const { return dir.filePath(QStringLiteral("run")); }

    std::unique_ptr<QProcess> Start(const QStringList& arguments = {}) const
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeFolder());
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(Path(QStringLiteral("Tavlo")), arguments);
        process->waitForStarted();
        return process;
    }

    QStringList LogEntries() const
    {
        QFile file(Path(QStringLiteral("log/log.txt")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        lines.removeLast();
        for (QString& line : lines) {
            // Entries carry a time stamp before their text.
            const qsizetype text = line.indexOf(QStringLiteral("---"));
            line = text < 0 ? line : line.mid(text);
        }
        return lines;
    }

    // Waits until the log holds `count` start lines (the program is then running).
    bool WaitForStarts(int count) const
    {
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            if (LogEntries().filter(kStartLine).size() >= count)
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    QString mutexName;

private:
    QDir Program() const { return QDir(dir.filePath(QStringLiteral("Program "))); }

    QTemporaryDir dir;
    static inline int serial = 0;
};

void Terminate(QProcess& process)
{
    ::kill(pid_t(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

TEST(ProgramProcess, EachRunLeavesItsStartAndEndLinesInOrder)
{
    ProgramFolder program;
    for (int run = 1; run <= 2; ++run) {
        auto process = program.Start();
        ASSERT_TRUE(program.WaitForStarts(run));
        Terminate(*process);
    }
    // Between its start and end lines each run names itself when its window first shows.
    QStringList entries = program.LogEntries();
    entries.removeIf([](const QString& line) {
        return !line.isEmpty() && !line.startsWith(kStartLine) && line != kEndLine && !line.endsWith(kTitle);
    });
    ASSERT_EQ(entries.size(), 10) << entries.join(u'|').toStdString();
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(entries[run * 5], QString());
        EXPECT_TRUE(entries[run * 5 + 1].startsWith(kStartLine)) << entries[run * 5 + 1].toStdString();
        EXPECT_TRUE(entries[run * 5 + 2].endsWith(kTitle)) << entries[run * 5 + 2].toStdString();
        EXPECT_EQ(entries[run * 5 + 3], kEndLine);
        EXPECT_EQ(entries[run * 5 + 4], QString());
    }
}

TEST(ProgramProcess, ADocumentOnTheCommandLineIsLoadedAndTheConfigurationIsWrittenBackAtTheEnd)
{
    ProgramFolder program;
    const QString document = program.Path(QStringLiteral("three pages.pdf"));
    WriteTestPdf(document, 3);
    // The configuration loses a key that only writing it back restores.
    {
        QFile file(program.Path(QStringLiteral("Config.ini")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        file.close();
        lines.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("OutFormat=")); });
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.join(u'\n').toUtf8());
    }
    ASSERT_FALSE(TIniFile(program.Path(QStringLiteral("Config.ini")))
                     .ValueExists(QStringLiteral("Format"), QStringLiteral("OutFormat")));

    auto process = program.Start({document});
    ASSERT_TRUE(program.WaitForStarts(1));
    // Loading a document asks the planner for its bookmark levels, which the log records.
    QDeadlineTimer deadline(20000);
    while (!program.LogEntries().join(u'|').contains(QStringLiteral("BookMarkLevelCount2")) &&
           !deadline.hasExpired())
        QThread::msleep(50);
    ASSERT_FALSE(deadline.hasExpired()) << program.LogEntries().join(u'|').toStdString();
    // Ending the session closes the window without asking, although a document is loaded.
    Terminate(*process);
    EXPECT_TRUE(TIniFile(program.Path(QStringLiteral("Config.ini")))
                    .ValueExists(QStringLiteral("Format"), QStringLiteral("OutFormat")));
}

TEST(ProgramProcess, ASecondInstanceEndsAndTheFirstIsAskedToComeToTheFront)
{
    ProgramFolder program;
    auto first = program.Start();
    ASSERT_TRUE(program.WaitForStarts(1));

    auto second = program.Start({program.Path(QStringLiteral("document.pdf"))});
    ASSERT_TRUE(second->waitForFinished(20000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    // The first answers a later instance only when its window carries that title.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(program.RuntimeFolder()));
    const TSingleInstance probe(program.mutexName);
    qputenv("XDG_RUNTIME_DIR", runtime);
    EXPECT_TRUE(probe.AskFirstInstance(QStringLiteral("Orvane PDF Splitter")));
    EXPECT_FALSE(probe.AskFirstInstance(QStringLiteral("Orvane Something Else")));

    Terminate(*first);
    const QStringList entries = program.LogEntries();
    EXPECT_EQ(entries.filter(kStartLine).size(), 2);
    EXPECT_EQ(entries.filter(kEndLine).size(), 2);
}

TEST(ProgramProcess, AGuardLeftByACrashedInstanceNeverBlocksAStart)
{
    ProgramFolder program;
    auto crashed = program.Start();
    ASSERT_TRUE(program.WaitForStarts(1));
    crashed->kill();
    crashed->waitForFinished();

    auto next = program.Start();
    ASSERT_TRUE(program.WaitForStarts(2));
    EXPECT_FALSE(next->waitForFinished(1500)) << "the new instance ended instead of running";
    Terminate(*next);
}

TEST(SingleInstance, OnlyTheFirstAcquiresAndAnswersWithItsHandler)
{
    const QString name = QStringLiteral("TavloUnit_") + QString::number(QCoreApplication::applicationPid());
    TSingleInstance first(name);
    ASSERT_TRUE(first.Acquire());
    QStringList asked;
    first.SetActivationHandler([&asked](const QString& title) {
        asked.append(title);
        return title == QLatin1String("Mine");
    });

    // A later instance in another process would find the lock held; in one process the lock
    // file is re-entrant, so the client side is exercised directly on a worker thread while
    // this thread serves the first instance's socket.
    bool answer = true;
    QThread* client = QThread::create([&] { answer = TSingleInstance(name).AskFirstInstance(QStringLiteral("Other")); });
    client->start();
    while (!client->wait(10))
        QCoreApplication::processEvents();
    delete client;
    EXPECT_FALSE(answer);
    EXPECT_EQ(asked, QStringList{QStringLiteral("Other")});
}

TEST(SingleInstance, KeepsItsGuardInAFolderOfTheUsersOwn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString runtime = dir.filePath(QStringLiteral("run"));
    const QString cache = dir.filePath(QStringLiteral("cache"));
    ASSERT_TRUE(QDir().mkpath(runtime));
    const QByteArray saved[] = {qgetenv("XDG_RUNTIME_DIR"), qgetenv("XDG_CACHE_HOME"), qgetenv("USER")};
    const auto restore = qScopeGuard([&saved] {
        qputenv("XDG_RUNTIME_DIR", saved[0]);
        qputenv("XDG_CACHE_HOME", saved[1]);
        qputenv("USER", saved[2]);
    });
    // As under su, in services and in containers: no user name in the environment.
    qunsetenv("USER");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    const struct
    {
        QString runtimeDir;
        QString folder;
    } cases[] = {
        {runtime, runtime + QStringLiteral("/tavlo")},
        {QString(), cache + QStringLiteral("/tavlo")},
    };
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    for (const auto& c : cases) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(c.runtimeDir));
        TSingleInstance guard(QStringLiteral("TavloPrivate"));
        ASSERT_TRUE(guard.Acquire()) << c.folder.toStdString();
        const QFileInfo socket(guard.ServerName());
        EXPECT_EQ(socket.absolutePath(), c.folder);
        EXPECT_EQ(socket.fileName(), QStringLiteral("TavloPrivate-") + QString::number(::geteuid()));
        EXPECT_TRUE(socket.exists()) << socket.filePath().toStdString();
        EXPECT_EQ(QFileInfo(c.folder).permissions() & others, QFile::Permissions()) << c.folder.toStdString();
    }
}

} // namespace
