// The run-log sink: appends each entry to "log.txt" in the folder the program names, or in
// "log/" beside this module, which lies beside the program's executable. Plain C++ and POSIX
// only, so that it carries no dependency of its own into the program.

#include "HeapLogApi.h"
#include "Utf16ToUtf8.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>
#include <string_view>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

#if defined(_WIN32)
constexpr std::string_view kLineEnd = "\r\n";
#else
constexpr std::string_view kLineEnd = "\n";
#endif

// Any function of this module: dladdr on its address names the module's file.
void ModuleAnchor() {}

// The folder of this module, ending with "/"; empty when it cannot be found.
std::string ModuleFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModuleAnchor), &info) == 0 || info.dli_fname == nullptr)
        return {};
    const std::string file = info.dli_fname;
    const std::size_t slash = file.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
    if (folder.empty() || folder.front() != '/') {
        // A module loaded by a relative path: pin the folder now, before the working folder moves.
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd) == nullptr)
            return {};
        folder = std::string(cwd) + "/" + folder;
    }
    return folder;
}

// "2026-12-08 21:30:00.123 " in local time.
std::string TimeStamp()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(now.tv_nsec / 1000000));
    return text;
}

std::string WithPlatformLineEnds(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += kLineEnd;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool EndsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// One entry as it lands in the file: a time stamp unless the entry is empty, the text with
// platform line ends, and one line end unless the text already ends with one (a stack trace
// does), so that an empty line in the file is always an empty entry.
std::string FormatEntry(const char16_t* text)
{
    const std::string body = WithPlatformLineEnds(Utf16ToUtf8(text));
    if (body.empty())
        return std::string(kLineEnd);
    std::string entry = TimeStamp() + body;
    if (!EndsWith(entry, kLineEnd))
        entry += kLineEnd;
    return entry;
}

std::string WithoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// Like "mkdir -p": the user's state folder may be missing from its root on (a fresh account).
void MakeFolders(const std::string& folder) noexcept
{
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        ::mkdir(folder.substr(0, slash).c_str(), 0777);
    ::mkdir(folder.c_str(), 0777);
}

bool WriteWhole(int fd, const std::string& bytes)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

class HeapLog final : public IHeapLog
{
public:
    // Without a folder the sink stays silent rather than guess a place.
    explicit HeapLog(const std::string& logFolder)
        : FLogFolder(WithoutTrailingSlash(logFolder)),
          FFilePath(FLogFolder.empty() ? std::string() : FLogFolder + "/log.txt")
    {
    }

    int ContractVersion() const noexcept override { return kHeapLogContractVersion; }

    const char* FilePath() const noexcept override { return FFilePath.c_str(); }

    void Append(const char16_t* text) noexcept override
    {
        if (text == nullptr || FFilePath.empty())
            return;
        try {
            // Everything that may allocate happens before the lock is taken.
            const std::string entry = FormatEntry(text);
            const std::lock_guard<std::mutex> lock(FMutex);
            WriteEntry(entry);
        } catch (...) {
            // A log that cannot be written must never disturb the program.
        }
    }

private:
    // The file is opened for each entry, so that a file removed or moved away meanwhile is
    // simply created again. O_APPEND and one write() per entry keep entries of other
    // processes from interleaving with ours.
    void WriteEntry(const std::string& entry) const noexcept
    {
        int fd = OpenLogFile();
        if (fd < 0 && errno == ENOENT) {
            MakeFolders(FLogFolder);
            fd = OpenLogFile();
        }
        if (fd < 0)
            return;
        WriteWhole(fd, entry);
        ::close(fd);
    }

    int OpenLogFile() const noexcept
    {
        int fd;
        do {
            fd = ::open(FFilePath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        return fd;
    }

    const std::string FLogFolder;
    const std::string FFilePath;
    std::mutex FMutex;
};

// One sink per loaded module, kept until the process ends; the first caller names its folder.
IHeapLog* TheSink(const std::string& logFolder) noexcept
{
    try {
        static HeapLog* const sink = new HeapLog(logFolder);
        return sink;
    } catch (...) {
        return nullptr;
    }
}

} // namespace

extern "C" ORVANE_HEAPLOG_EXPORT IHeapLog* CreateHeapLog()
{
    try {
        const std::string module = ModuleFolder();
        return TheSink(module.empty() ? std::string() : module + "log");
    } catch (...) {
        return nullptr;
    }
}

extern "C" ORVANE_HEAPLOG_EXPORT IHeapLog* CreateHeapLogIn(const char* logFolder)
{
    try {
        return TheSink(logFolder != nullptr ? std::string(logFolder) : std::string());
    } catch (...) {
        return nullptr;
    }
}
