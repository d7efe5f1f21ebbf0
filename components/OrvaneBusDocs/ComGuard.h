#pragma once

#include "engine/ComBase.h"

#include <exception>
#include <new>

// Runs the body of an interface operation: exceptions never cross the interface; they turn
// into failure statuses here.
template <class Body>
HRESULT GuardedCall(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}
