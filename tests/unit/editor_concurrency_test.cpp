// The panel painting on its own thread while audio renders and the host sets
// parameters, as hosts do: the sanitizer build (thread) checks that the values
// crossing threads are guarded.

#include "panel_harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(EditorConcurrency, PaintingWhileAudioRendersAndTheHostAutomates)
{
    PanelHarness h;
    h.plug->Dispatch(vst2::kOpSetBlockSize, 0, 256, nullptr, 0.0f);
    h.plug->SetParameterValue(kLfo1Target, 1.0f); // Volume
    h.plug->SetParameterValue(kLfo2Target, 1.0f); // the same: LFO 2 yields
    h.plug->SetParameterValue(kLfo1Sync, 0.0f);   // free-running
    std::atomic<bool> done{false};

    std::thread audio([&] {
        float silence[256] = {}, left[256], right[256];
        float* in[2] = {silence, silence};
        float* out[2] = {left, right};
        while (!done.load())
            h.plug->ProcessFloat(in, out, 256, IPlugVST::ProcessMode::Replace);
    });
    std::thread host([&] {
        for (int i = 0; i < 200; ++i) {
            h.plug->SetParameterValue(kMix, static_cast<float>(i % 100) / 100.0f);
            h.plug->SetParameterValue(kIsoRate, static_cast<float>(i % 50) / 50.0f);
            h.plug->SetParameterValue(kLfo2Target, static_cast<float>(i % 6) / 5.0f);
        }
    });
    for (int tick = 0; tick < 200; ++tick) {
        h.Tick();
        h.view->wheelAt(h.Cx(kPanelFade), h.Cy(kPanelFade), kNoButton, tick % 2 ? 1 : -1);
    }
    host.join();
    done = true;
    audio.join();
    h.view->closeWindow();
    EXPECT_TRUE(EditsBalanced());
}

} // namespace
