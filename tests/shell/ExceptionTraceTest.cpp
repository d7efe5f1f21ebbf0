#include "shell/ExceptionTrace.h"

#include "shell/RecordingLogSink.h"
#include "shell/RunLog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

// Throwers with external linkage, so that the trace can name them.
struct TraceProbe
{
    [[gnu::noinline]] static void ThrowRuntimeError(const char* message);
    [[gnu::noinline]] static int ThrowFromVectorAt(std::size_t index);
};

void TraceProbe::ThrowRuntimeError(const char* message)
{
    throw std::runtime_error(message);
}

int TraceProbe::ThrowFromVectorAt(std::size_t index)
{
    const std::vector<int> values(3);
    return values.at(index);
}

namespace {

const char kMessage[] = "message that stays out of the log";

void ThrowAndCatch()
{
    try {
        TraceProbe::ThrowRuntimeError(kMessage);
    } catch (const std::runtime_error&) {
    }
}

QString HexAddress(const void* address)
{
    return QString::number(reinterpret_cast<quintptr>(address), 16);
}

// The lines of one trace entry; every line, the last included, ends with "\r\n".
QStringList FrameLines(const QString& entry)
{
    EXPECT_TRUE(entry.endsWith(QStringLiteral("\r\n")));
    QStringList lines = entry.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

qsizetype FirstLineContaining(const QStringList& lines, const QString& text)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(text))
            return i;
    }
    return -1;
}

// "module +0xoffset" with an optional "function+0xoffset": a file name, never a path, and
// no absolute address.
void ExpectWellFormedFrames(const QStringList& lines)
{
    static const QRegularExpression frame(
        QStringLiteral("^[^ /]+ \\+0x[0-9a-f]+( .+\\+0x[0-9a-f]+)?$"));
    ASSERT_FALSE(lines.isEmpty());
    const QString probeAddress =
        HexAddress(reinterpret_cast<const void*>(&TraceProbe::ThrowRuntimeError));
    for (const QString& line : lines) {
        EXPECT_TRUE(frame.match(line).hasMatch() || line == QStringLiteral("?"))
            << line.toStdString();
        EXPECT_FALSE(line.contains(probeAddress)) << line.toStdString();
        EXPECT_FALSE(line.contains(QStringLiteral("__cxa_throw"))) << line.toStdString();
    }
}

QString ProgramFileName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

class ExceptionTraceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLogSink(&FSink);
        InstallExceptionTrace();
    }

    void TearDown() override
    {
        RemoveExceptionTrace();
        SetLogSink(nullptr);
    }

    QStringList Entries() const { return FSink.Entries(); }

private:
    RecordingLogSink FSink;
};

TEST_F(ExceptionTraceTest, CaughtExceptionLeavesOneTraceEntry)
{
    ThrowAndCatch();

    const QStringList entries = Entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_FALSE(entries[0].contains(QLatin1String(kMessage)));
    const QStringList lines = FrameLines(entries[0]);
    ExpectWellFormedFrames(lines);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines[0].startsWith(ProgramFileName() + QStringLiteral(" +0x")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral(" TraceProbe::ThrowRuntimeError(char const*)+0x")))
        << "the throwing function comes first: " << lines[0].toStdString();
}

TEST_F(ExceptionTraceTest, ThrowOnWorkerThreadIsTracedOnThatThread)
{
    std::thread worker(ThrowAndCatch);
    worker.join();

    const QStringList entries = Entries();
    ASSERT_EQ(entries.size(), 1);
    const QStringList lines = FrameLines(entries[0]);
    ExpectWellFormedFrames(lines);
    EXPECT_EQ(FirstLineContaining(lines, QStringLiteral("TraceProbe::ThrowRuntimeError")), 0);
    EXPECT_EQ(FirstLineContaining(lines, QStringLiteral("ExceptionTraceTest")), -1)
        << "the worker's stack does not hold the test body";
}

TEST_F(ExceptionTraceTest, ThrowInsideStandardLibraryIsTraced)
{
    EXPECT_THROW(TraceProbe::ThrowFromVectorAt(7), std::out_of_range);

    const QStringList entries = Entries();
    ASSERT_EQ(entries.size(), 1);
    const QStringList lines = FrameLines(entries[0]);
    ExpectWellFormedFrames(lines);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("libstdc++.so"))) << lines[0].toStdString();
    EXPECT_GT(FirstLineContaining(lines, QStringLiteral("TraceProbe::ThrowFromVectorAt")), 0);
}

TEST_F(ExceptionTraceTest, NothingIsTracedOnceRemoved)
{
    RemoveExceptionTrace();
    ThrowAndCatch();
    EXPECT_TRUE(Entries().isEmpty());
}

// A sink that throws and catches inside Append: that inner throw must not trace itself
// again (endless recursion) nor be written into the entry being written.
class SelfThrowingSink final : public IHeapLog
{
public:
    int ContractVersion() const noexcept override { return kHeapLogContractVersion; }
    const char* FilePath() const noexcept override { return ""; }
    void Append(const char16_t* text) noexcept override
    {
        try {
            TraceProbe::ThrowRuntimeError("inside the sink");
        } catch (const std::runtime_error&) {
        }
        FRecorder.Append(text);
    }
    QStringList Entries() const { return FRecorder.Entries(); }

private:
    RecordingLogSink FRecorder;
};

TEST_F(ExceptionTraceTest, ThrowInsideTheSinkDoesNotTraceItself)
{
    SelfThrowingSink sink;
    SetLogSink(&sink);
    ThrowAndCatch();
    SetLogSink(nullptr);

    EXPECT_EQ(sink.Entries().size(), 1);
}

} // namespace
