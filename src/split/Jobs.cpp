#include "split/Jobs.h"

#include "engine/DocEngine.h"

#include <QThread>

#include <algorithm>

#if defined(__linux__)
#include <sched.h>
#endif

int UsableProcessors()
{
#if defined(__linux__)
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) == 0)
        return std::max(CPU_COUNT(&set), 1);
#endif
    return std::max(QThread::idealThreadCount(), 1);
}

int JobsForRun(int requested, int pageCount)
{
    if (requested > 0)
        return std::min(requested, kMaxJobs);
    if (pageCount < kPagesForParallelJobs)
        return 1;
    return std::min(UsableProcessors(), kMostAutomaticJobs);
}
