#include "shell/RunLog.h"

#include "Orvane_HeapLog/HeapLogApi.h"
#include "shell/DataFolders.h"
#include "shell/PathUtils.h"
#include "shell/VersionInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <atomic>

namespace {

std::atomic<IHeapLog*> g_sink{nullptr};

IHeapLog* CreateSinkFromModule(const QString& modulePath, const QString& logFolder)
{
    // The library object may go: a QLibrary that is not unloaded explicitly keeps the module
    // loaded until the process ends, which the sink relies on.
    QLibrary library(modulePath);
    if (!library.load())
        return nullptr;
    const auto create =
        reinterpret_cast<CreateHeapLogInFunction>(library.resolve(kCreateHeapLogInSymbol));
    return create != nullptr ? create(QFile::encodeName(logFolder).constData()) : nullptr;
}

} // namespace

QString LogFilePath()
{
    return DataFolders().LogFolder + QStringLiteral("log.txt");
}

void ApplyLogSizeLimit(const QString& logFilePath)
{
    const QFileInfo file(logFilePath);
    if (file.isFile() && file.size() >= kLogSizeLimit)
        QFile::remove(logFilePath);
}

bool LoadLogSink(const QString& moduleFolder, const QString& logFolder)
{
    IHeapLog* const sink = CreateSinkFromModule(
        WithTrailingBackslash(moduleFolder) + QStringLiteral("Orvane_HeapLog"), logFolder);
    g_sink.store(sink);
    return sink != nullptr;
}

void SetLogSink(IHeapLog* sink)
{
    g_sink.store(sink);
}

bool HasLogSink()
{
    return g_sink.load() != nullptr;
}

void WriteLogLine(const QString& text) noexcept
{
    IHeapLog* const sink = g_sink.load();
    if (sink == nullptr)
        return;
    try {
        static constexpr char16_t empty[] = u"";
        sink->Append(text.isEmpty() ? empty : reinterpret_cast<const char16_t*>(text.utf16()));
    } catch (...) {
        // Logging never fails towards the caller.
    }
}

QString StartBanner(const QString& productTitle)
{
    return QStringLiteral("-----------") + productTitle + QStringLiteral(" Start Version:[") +
           ShortFileVersion(QCoreApplication::applicationFilePath()) +
           QStringLiteral("]-------------");
}

QString EndBanner(const QString& productTitle)
{
    return QStringLiteral("-------------------") + productTitle +
           QStringLiteral(" End.------------------------");
}
