#include "core/instance_lock.h"

#include <mutex>
#include <new>

namespace {
std::recursive_mutex& Native(std::byte* storage)
{
    return *std::launder(reinterpret_cast<std::recursive_mutex*>(storage));
}
} // namespace

static_assert(sizeof(std::recursive_mutex) <= 64);

InstanceLock::InstanceLock()
{
    new (storage) std::recursive_mutex();
}

InstanceLock::~InstanceLock()
{
    Native(storage).~recursive_mutex();
}

void InstanceLock::Lock()
{
    Native(storage).lock();
}

void InstanceLock::Unlock()
{
    Native(storage).unlock();
}

InstanceLock& CreationLock()
{
    static InstanceLock lock;
    return lock;
}
