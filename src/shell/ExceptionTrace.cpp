#include "shell/ExceptionTrace.h"

#include "shell/RunLog.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <typeinfo>

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

// Takes over the runtime's throw for the whole process: the executable is searched first, so
// throws in every library land here. The real __cxa_throw (or a sanitizer's interceptor of
// it) is the next one in the search order. The function carries the runtime's symbol name
// under a name of its own, since the compiler declares __cxa_throw itself with other
// parameter types.
extern "C" __attribute__((visibility("default"), noreturn)) void
InterposedCxaThrow(void* thrownException, std::type_info* type,
                   void (*destructor)(void*)) __asm__("__cxa_throw");

namespace {

using CxaThrowFunction = void (*)(void*, std::type_info*, void (*)(void*));

constexpr int kMaxFrames = 64;

std::atomic<bool> g_traceInstalled{false};

// Set while this thread writes a trace, so that a throw inside the trace or the sink passes
// straight through instead of tracing itself.
thread_local bool t_writingTrace = false;

CxaThrowFunction RealCxaThrow()
{
    static const auto real = reinterpret_cast<CxaThrowFunction>(dlsym(RTLD_NEXT, "__cxa_throw"));
    return real;
}

std::string Demangled(const char* name)
{
    int status = 0;
    char* const demangled = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    if (demangled == nullptr)
        return name;
    std::string result = demangled;
    std::free(demangled);
    return result;
}

std::string BaseName(const char* path)
{
    const std::string file = path;
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

std::string Hex(std::uintptr_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

// "module +0xoffset function+0xoffset"; the frame's address is a return address, so the
// byte before it is looked up, which still lies in the calling function when the call was
// its last instruction.
std::string FrameLine(void* frame)
{
    const auto address = reinterpret_cast<std::uintptr_t>(frame);
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(address - 1), &info) == 0 || info.dli_fname == nullptr)
        return "?";
    // Appended piece by piece: g++ 12 at -O3 takes chained std::string additions for
    // overlapping copies (-Wrestrict).
    std::string line = BaseName(info.dli_fname);
    line.append(" +").append(Hex(address - reinterpret_cast<std::uintptr_t>(info.dli_fbase)));
    if (info.dli_sname != nullptr && info.dli_saddr != nullptr) {
        line.append(" ").append(Demangled(info.dli_sname)).append("+");
        line.append(Hex(address - reinterpret_cast<std::uintptr_t>(info.dli_saddr)));
    }
    return line;
}

bool IsThisInterposer(void* frame)
{
    Dl_info info{};
    return dladdr(frame, &info) != 0 &&
           info.dli_saddr == reinterpret_cast<void*>(&InterposedCxaThrow);
}

// The index of the throw point's frame: the frames up to the interposer belong to the
// capture itself (a sanitizer's backtrace() adds one of its own).
int FirstFrameToShow(void* const* frames, int count)
{
    for (int i = 0; i < count; ++i) {
        if (IsThisInterposer(frames[i]))
            return i + 1;
    }
    return 0;
}

std::string TraceText(void* const* frames, int count)
{
    std::string text;
    for (int i = FirstFrameToShow(frames, count); i < count; ++i) {
        text += FrameLine(frames[i]);
        text += "\r\n";
    }
    return text;
}

void WriteTrace(void* const* frames, int count)
{
    t_writingTrace = true;
    try {
        WriteLogLine(QString::fromStdString(TraceText(frames, count)));
    } catch (...) {
        // A trace that cannot be built is dropped; the exception itself goes on.
    }
    t_writingTrace = false;
}

} // namespace

extern "C" void InterposedCxaThrow(void* thrownException, std::type_info* type,
                                   void (*destructor)(void*))
{
    if (g_traceInstalled.load(std::memory_order_relaxed) && !t_writingTrace && HasLogSink()) {
        void* frames[kMaxFrames];
        const int count = backtrace(frames, kMaxFrames);
        WriteTrace(frames, count);
    }
    const CxaThrowFunction real = RealCxaThrow();
    if (real == nullptr)
        std::abort();
    real(thrownException, type, destructor);
    __builtin_unreachable();
}

void InstallExceptionTrace()
{
    // The first backtrace() loads the unwinder; do it now rather than inside a throw.
    void* frames[1];
    backtrace(frames, 1);
    RealCxaThrow();
    g_traceInstalled.store(true);
}

void RemoveExceptionTrace()
{
    g_traceInstalled.store(false);
}
