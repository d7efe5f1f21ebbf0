#pragma once

#include <mutex>

// The PDF library's objects are not safe for use from several threads at once, and a written
// output reads the stream data of its inputs. Every use of a PDF object of the engine (opening,
// querying, copying, writing, destroying) therefore holds this one lock. It is recursive, as
// releasing the last reference to a document may happen while the lock is held. The operation
// controls (Pause, Resume, Stop) never take it.
using EngineLockGuard = std::unique_lock<std::recursive_mutex>;

EngineLockGuard LockEngine();
