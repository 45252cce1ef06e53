#include "core/instance_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

// The engine re-enters the lock it already holds (RenderBlock and ResetEngine
// call ParameterChanged), so a lock that is not recursive deadlocks here
// instead of passing.
TEST(InstanceLock, OwnerReentersAndOthersWaitUntilTheLastRelease)
{
    InstanceLock lock;
    std::atomic<int> stage{0};
    lock.Lock();
    lock.Lock();
    {
        LockGuard again(lock);
    }
    lock.Unlock();
    // Still held once: another thread must not get in until it is released.
    std::thread other([&] {
        stage = 1;
        LockGuard guard(lock);
        EXPECT_EQ(stage.load(), 2) << "entered while the owner still held the lock";
        stage = 3;
    });
    while (stage.load() != 1)
        std::this_thread::yield();
    for (int i = 0; i < 1000; ++i)
        std::this_thread::yield();
    stage = 2;
    lock.Unlock();
    other.join();
    EXPECT_EQ(stage.load(), 3);
}

TEST(InstanceLock, GuardsAPlainCounterAcrossThreads)
{
    InstanceLock lock;
    long counter = 0;
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                LockGuard guard(lock);
                LockGuard nested(lock);
                const long seen = counter;
                std::this_thread::yield();
                counter = seen + 1;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(counter, static_cast<long>(kThreads) * kRounds);
}

TEST(InstanceLock, CreationLockIsOneProcessWideLock)
{
    InstanceLock* seen[4] = {};
    std::vector<std::thread> threads;
    for (auto& slot : seen)
        threads.emplace_back([&slot] { slot = &CreationLock(); });
    for (std::thread& t : threads)
        t.join();
    for (InstanceLock* s : seen)
        EXPECT_EQ(s, &CreationLock());
    LockGuard outer(CreationLock());
    LockGuard inner(CreationLock());
}
