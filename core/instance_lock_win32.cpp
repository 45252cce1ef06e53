#include "core/instance_lock.h"

#include <windows.h>

#include <new>

namespace {
CRITICAL_SECTION& Native(std::byte* storage)
{
    return *std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}
} // namespace

static_assert(sizeof(CRITICAL_SECTION) <= 64);
static_assert(alignof(CRITICAL_SECTION) <= 16);

// Critical sections are recursive: the owning thread may enter again, which the
// engine relies on when RenderBlock or ResetEngine call ParameterChanged.
InstanceLock::InstanceLock()
{
    InitializeCriticalSection(&Native(storage));
}

InstanceLock::~InstanceLock()
{
    DeleteCriticalSection(&Native(storage));
}

void InstanceLock::Lock()
{
    EnterCriticalSection(&Native(storage));
}

void InstanceLock::Unlock()
{
    LeaveCriticalSection(&Native(storage));
}

// Created on the first call (thread-safe static initialisation) and deleted by
// the library's own exit handlers when the DLL is unloaded.
InstanceLock& CreationLock()
{
    static InstanceLock lock;
    return lock;
}
