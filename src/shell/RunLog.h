#pragma once

#include <QString>
#include <QtGlobal>

class IHeapLog;

// A log file of this size or more is deleted at start-up (5 MB).
constexpr qint64 kLogSizeLimit = 5242880;

// "log.txt" in the log folder of DataFolders(): beside the executable in "log", or in the
// user's state folder when the program's folder is not writable.
QString LogFilePath();

// Deletes the log file when it holds kLogSizeLimit bytes or more; a smaller file stays and is
// appended to. A missing file, or one that cannot be deleted, is left as it is.
void ApplyLogSizeLimit(const QString& logFilePath);

// Loads the sink module "Orvane_HeapLog" from the module folder and keeps its sink, which
// writes "log.txt" in the log folder, for the rest of the process; the module is never
// unloaded. Returns false, and logging is off, when the module or its entry point is missing.
bool LoadLogSink(const QString& moduleFolder, const QString& logFolder);

// Installs a sink directly (tests); nullptr switches logging off.
void SetLogSink(IHeapLog* sink);

bool HasLogSink();

// Hands one entry to the sink. Does nothing without a sink and never throws.
void WriteLogLine(const QString& text) noexcept;

// The lines that open and close a run of the program in the log.
QString StartBanner(const QString& productTitle);
QString EndBanner(const QString& productTitle);
