#include "shell/RunLog.h"

#include "Orvane_HeapLog/HeapLogApi.h"
#include "TavloVersion.h"
#include "shell/RecordingLogSink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <thread>
#include <vector>

#if defined(Q_OS_UNIX)
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

const QRegularExpression& StampedLine()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3} (.*)$"));
    return pattern;
}

QString BuiltModulePath()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    const QStringList found = bin.entryList({QStringLiteral("Orvane_HeapLog.*")}, QDir::Files);
    for (const QString& name : found) {
        if (QLibrary::isLibrary(name))
            return bin.filePath(name);
    }
    return {};
}

// The log folder given to the sinks of these tests lies two folders deep, none of them made
// yet, as a fresh account's state folder does.
QString LogFolderIn(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("state/tavlo/log"));
}

// Loads a copy of the built sink module from the folder, so that its log lands in
// LogFolderIn(folder).
bool LoadSinkCopyInto(const QString& folder)
{
    const QString built = BuiltModulePath();
    return !built.isEmpty() &&
           QFile::copy(built, QDir(folder).filePath(QFileInfo(built).fileName())) &&
           LoadLogSink(folder, LogFolderIn(folder));
}

// The sink object of the copy in the folder (the module is loaded already).
IHeapLog* SinkIn(const QString& folder)
{
    const auto create = reinterpret_cast<CreateHeapLogFunction>(QLibrary::resolve(
        QDir(folder).filePath(QStringLiteral("Orvane_HeapLog")), kCreateHeapLogSymbol));
    return create != nullptr ? create() : nullptr;
}

QString LogFileIn(const QString& folder)
{
    return QDir(LogFolderIn(folder)).filePath(QStringLiteral("log.txt"));
}

QByteArray LogBytes(const QString& folder)
{
    QFile file(LogFileIn(folder));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList LogLines(const QString& folder)
{
    QStringList lines = QString::fromUtf8(LogBytes(folder)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The text after the time stamp; a line without a stamp gives a null string.
QString Unstamped(const QString& line)
{
    const QRegularExpressionMatch match = StampedLine().match(line);
    return match.hasMatch() ? match.captured(1) : QString();
}

class RunLogSinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FFolder.isValid());
        ASSERT_TRUE(LoadSinkCopyInto(FFolder.path()));
    }

    void TearDown() override { SetLogSink(nullptr); }

    QString Folder() const { return FFolder.path(); }

private:
    QTemporaryDir FFolder;
};

TEST_F(RunLogSinkTest, CreatesLogFolderWithParentsAndAppendsEntriesInOrder)
{
    ASSERT_FALSE(QFileInfo::exists(QDir(Folder()).filePath(QStringLiteral("state"))));

    WriteLogLine(QStringLiteral("first"));
    WriteLogLine(QString());
    WriteLogLine(QStringLiteral("second"));

    const QStringList lines = LogLines(Folder());
    ASSERT_EQ(lines.size(), 3) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Unstamped(lines[0]), QStringLiteral("first"));
    EXPECT_EQ(lines[1], QString()) << "an empty entry is an empty line without a stamp";
    EXPECT_EQ(Unstamped(lines[2]), QStringLiteral("second"));
}

TEST_F(RunLogSinkTest, WritesTextAsUtf8WithPlatformLineEnds)
{
    struct Case
    {
        const char* name;
        QString text;
        QByteArray expected; // after the time stamp
    };
    const char16_t loneHigh[] = {u'a', 0xD83D, u'b', 0};
    const char16_t loneLow[] = {0xDE00, u'z', 0};
    const char16_t highAtEnd[] = {u'q', 0xD83D, 0};
    const Case cases[] = {
        {"non-ASCII", QStringLiteral("Grüße, 日本語, 😀"),
         QStringLiteral("Grüße, 日本語, 😀").toUtf8() + "\n"},
        {"lone high surrogate", QString::fromUtf16(loneHigh),
         "a\xEF\xBF\xBD"
         "b\n"},
        {"lone low surrogate", QString::fromUtf16(loneLow), "\xEF\xBF\xBDz\n"},
        {"high surrogate at the end", QString::fromUtf16(highAtEnd), "q\xEF\xBF\xBD\n"},
        {"inner line end", QStringLiteral("one\r\ntwo"), "one\ntwo\n"},
        {"trailing line end", QStringLiteral("frame\r\n"), "frame\n"},
        {"lone carriage return kept", QStringLiteral("a\rb"), "a\rb\n"},
    };
    for (const Case& c : cases) {
        QFile::remove(LogFileIn(Folder()));
        WriteLogLine(c.text);
        const QByteArray written = LogBytes(Folder());
        ASSERT_GE(written.size(), 24) << c.name;
        EXPECT_TRUE(StampedLine()
                        .match(QString::fromLatin1(written.left(24)) + QStringLiteral("x"))
                        .hasMatch())
            << c.name;
        EXPECT_EQ(written.mid(24), c.expected) << c.name;
    }
}

TEST_F(RunLogSinkTest, SinkReportsContractVersionAndItsLogFile)
{
    IHeapLog* const sink = SinkIn(Folder());
    ASSERT_NE(sink, nullptr);
    EXPECT_EQ(sink->ContractVersion(), kHeapLogContractVersion);

    WriteLogLine(QStringLiteral("entry"));
    const QString reported = QString::fromUtf8(sink->FilePath());
    EXPECT_EQ(QFileInfo(reported).canonicalFilePath(),
              QFileInfo(LogFileIn(Folder())).canonicalFilePath());
    EXPECT_FALSE(reported.isEmpty());
}

// Entries of the form "<writer> <number> <filler>" from several writers at once: every
// line must be a whole entry, and each writer's entries must all be there, in order.
void ExpectWholeEntries(const QStringList& lines, int writers, int perWriter, int fillerLength)
{
    const QRegularExpression entry(QStringLiteral("^(\\d+) (\\d+) x{%1}$").arg(fillerLength));
    std::map<int, std::vector<int>> numbersByWriter;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = entry.match(Unstamped(line));
        ASSERT_TRUE(match.hasMatch()) << "torn entry: " << line.left(80).toStdString();
        numbersByWriter[match.captured(1).toInt()].push_back(match.captured(2).toInt());
    }
    ASSERT_EQ(static_cast<int>(numbersByWriter.size()), writers);
    for (const auto& [writer, numbers] : numbersByWriter) {
        ASSERT_EQ(static_cast<int>(numbers.size()), perWriter) << "writer " << writer;
        for (int i = 0; i < perWriter; ++i)
            ASSERT_EQ(numbers[static_cast<std::size_t>(i)], i) << "writer " << writer;
    }
}

void WriteNumberedEntries(int writer, int count, int fillerLength)
{
    const QString filler(fillerLength, QLatin1Char('x'));
    for (int i = 0; i < count; ++i)
        WriteLogLine(QStringLiteral("%1 %2 ").arg(writer).arg(i) + filler);
}

TEST_F(RunLogSinkTest, ConcurrentThreadsKeepEveryEntryWhole)
{
    constexpr int kThreads = 8;
    constexpr int kPerThread = 500;
    constexpr int kFiller = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(WriteNumberedEntries, t, kPerThread, kFiller);
    for (std::thread& thread : threads)
        thread.join();

    ExpectWholeEntries(LogLines(Folder()), kThreads, kPerThread, kFiller);
}

#if defined(Q_OS_UNIX)
TEST_F(RunLogSinkTest, ConcurrentProcessesKeepEveryEntryWhole)
{
    constexpr int kChildren = 2;
    constexpr int kPerWriter = 300;
    constexpr int kFiller = 5000; // more than one pipe buffer's worth, to invite tearing
    std::vector<pid_t> children;
    for (int c = 1; c <= kChildren; ++c) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            WriteNumberedEntries(c, kPerWriter, kFiller);
            _exit(0);
        }
        children.push_back(pid);
    }
    WriteNumberedEntries(0, kPerWriter, kFiller);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    ExpectWholeEntries(LogLines(Folder()), kChildren + 1, kPerWriter, kFiller);
}
#endif

TEST(RunLogTest, FolderWithoutUsableModuleLeavesLoggingOff)
{
    QTemporaryDir previous;
    ASSERT_TRUE(LoadSinkCopyInto(previous.path()));

    QTemporaryDir withoutModule;
    QTemporaryDir withBrokenModule;
    QFile broken(QDir(withBrokenModule.path()).filePath(QFileInfo(BuiltModulePath()).fileName()));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a library");
    broken.close();

    for (const QTemporaryDir* folder : {&withoutModule, &withBrokenModule}) {
        EXPECT_FALSE(LoadLogSink(folder->path(), LogFolderIn(folder->path())));
        EXPECT_FALSE(HasLogSink());
        WriteLogLine(QStringLiteral("goes nowhere"));
        EXPECT_FALSE(QFileInfo::exists(LogFileIn(folder->path())));
    }
    EXPECT_FALSE(QFileInfo::exists(LogFileIn(previous.path())))
        << "the earlier sink must no longer receive entries";
}

TEST(RunLogTest, EmptyTextReachesTheSinkAsEmptyStringNotNull)
{
    RecordingLogSink sink;
    SetLogSink(&sink);
    WriteLogLine(QString());
    WriteLogLine(QStringLiteral(""));
    SetLogSink(nullptr);
    WriteLogLine(QStringLiteral("after the sink is gone"));

    EXPECT_FALSE(sink.NullPassed());
    EXPECT_EQ(sink.Entries(), QStringList({QString(), QString()}));
}

TEST(RunLogTest, BannersHaveTheirExactTexts)
{
    const QString version = QString::fromUtf8(TAVLO_FILE_VERSION).left(5);
    ASSERT_EQ(version.size(), 5);
    EXPECT_EQ(StartBanner(QStringLiteral("Orvane Tavlo")),
              QStringLiteral("-----------Orvane Tavlo Start Version:[") + version +
                  QStringLiteral("]-------------"));
    EXPECT_EQ(EndBanner(QStringLiteral("Orvane Tavlo")),
              QStringLiteral("-------------------Orvane Tavlo End.------------------------"));
}

TEST(RunLogTest, SizeLimitDeletesOnlyFilesOfFiveMegabytesOrMore)
{
    struct Case
    {
        qint64 size; // -1: no file
        bool remains;
    };
    const Case cases[] = {{0, true},
                          {kLogSizeLimit - 1, true},
                          {kLogSizeLimit, false},
                          {kLogSizeLimit + 1, false},
                          {-1, false}};
    for (const Case& c : cases) {
        QTemporaryDir folder;
        const QString path = QDir(folder.path()).filePath(QStringLiteral("log.txt"));
        if (c.size >= 0) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_TRUE(file.resize(c.size));
        }
        ApplyLogSizeLimit(path);
        EXPECT_EQ(QFileInfo::exists(path), c.remains) << "size " << c.size;
        if (c.remains) {
            EXPECT_EQ(QFileInfo(path).size(), c.size);
        }
    }
}

} // namespace
