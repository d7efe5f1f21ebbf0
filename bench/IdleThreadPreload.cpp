// Preloaded into qpdf by EngineSplitBench: starts one idle thread, so that qpdf runs in a
// multi-threaded process as the engine does. The C and C++ runtimes take faster paths (plain
// reference counts, unlocked allocation) while a process has a single thread; this shows
// what that is worth.

#include <chrono>
#include <thread>

namespace {

struct IdleThread
{
    IdleThread()
    {
        std::thread([] {
            for (;;)
                std::this_thread::sleep_for(std::chrono::hours(1));
        }).detach();
    }
};

const IdleThread idleThread;

} // namespace
