#pragma once
// The recursive lock that guards one plug-in instance (and the library-wide
// creation lock). A critical section on Windows, std::recursive_mutex
// elsewhere; the file chosen by the build holds the platform's half.

#include <cstddef>

class InstanceLock {
public:
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    void Lock();
    void Unlock();

private:
    alignas(16) std::byte storage[64];
};

class LockGuard {
public:
    explicit LockGuard(InstanceLock& lock) : held(lock) { held.Lock(); }
    ~LockGuard() { held.Unlock(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    InstanceLock& held;
};

// Process-wide lock that lets one instance be built at a time. Lives for the
// whole process.
InstanceLock& CreationLock();
