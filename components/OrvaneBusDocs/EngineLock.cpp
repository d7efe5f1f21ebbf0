#include "EngineLock.h"

EngineLockGuard LockEngine()
{
    // Never destroyed: a worker thread that is still ending when the process exits may take it.
    static auto* const engineMutex = new std::recursive_mutex;
    return EngineLockGuard(*engineMutex);
}
