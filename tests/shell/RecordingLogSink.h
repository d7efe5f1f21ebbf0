#pragma once

#include "Orvane_HeapLog/HeapLogApi.h"

#include <QString>
#include <QStringList>

#include <mutex>

// An in-process log sink that keeps every entry, for tests of what reaches the run log.
class RecordingLogSink final : public IHeapLog
{
public:
    int ContractVersion() const noexcept override { return kHeapLogContractVersion; }
    const char* FilePath() const noexcept override { return ""; }

    void Append(const char16_t* text) noexcept override
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        if (text == nullptr)
            FNullPassed = true;
        else
            FEntries.append(QString::fromUtf16(text));
    }

    QStringList Entries() const
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        return FEntries;
    }

    bool NullPassed() const
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        return FNullPassed;
    }

private:
    mutable std::mutex FMutex;
    QStringList FEntries;
    bool FNullPassed = false;
};
