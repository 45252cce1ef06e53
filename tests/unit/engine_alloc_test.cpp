// Counts heap allocations while the engine renders and while the editor
// repaints on its timer. Built as its own test program because it replaces the
// global allocation functions.

#include "engine_harness.h"
#include "panel_harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* Allocate(std::size_t size)
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

TEST(EngineAllocation, RenderingAllocatesNothingAfterTheFirstBlock)
{
    EngineHarness h(48000.0);
    h.Set(kLfo1Target, 1);
    h.Set(kLfo1Sync, 0);
    h.Set(kLfo1Wave, 4);
    h.Set(kLfo2Target, 4);
    h.Set(kWave, 5);
    Stereo in(512, 0.1), out(512);
    h.plug.RenderBlock(in.Pointers(), out.Pointers(), 512);

    allocations = 0;
    counting = true;
    for (int block = 0; block < 1000; ++block) {
        if (block == 500)
            TestTime().tempo = 97.0; // a tempo change re-runs parameter changes
        h.plug.RenderBlock(in.Pointers(), out.Pointers(), 512);
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_TRUE(h.plug.lfoActive[0] && h.plug.lfoActive[1]);
}

TEST(EditorAllocation, IdleTicksAllocateNothing)
{
    PanelHarness h;
    h.plug->GetParam(kLfo1Target)->SetClamped(4); // both LFOs on Pan: one runs, one yields
    h.plug->ParameterChanged(kLfo1Target);
    h.plug->GetParam(kLfo2Target)->SetClamped(4);
    h.plug->ParameterChanged(kLfo2Target);
    Stereo in(512), out(512);
    for (int i = 0; i < 3; ++i)
        h.Tick(); // the window just opened: texts and fonts are made here

    allocations = 0;
    counting = true;
    for (int tick = 0; tick < 100; ++tick) {
        h.plug->RenderBlock(in.Pointers(), out.Pointers(), 512); // the indicators move
        h.Tick();
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
}
