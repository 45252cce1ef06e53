// One instance driven from several threads at once, as a host does with its
// audio thread, its automation and its user interface: one thread renders
// blocks without pause while the others automate every parameter, switch and
// rename programs, take and restore both kinds of chunk, send texts for
// parameters and move the transport. Under ThreadSanitizer this is the race
// detector's test; in every build it checks for deadlock, non-finite samples
// and a final state that reloads into a fresh instance unchanged.

#include "plugin_fixture.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBlock = 512;
constexpr auto kRunTime = std::chrono::seconds(3);
// Far beyond the run time even under ThreadSanitizer: only a deadlock gets here.
constexpr auto kDeadlockLimit = std::chrono::seconds(60);

} // namespace

TEST_F(PluginTest, ThreadsRenderingAutomatingSwitchingAndSavingAtOnce)
{
    auto plug = Make();
    ASSERT_TRUE(plug);
    plug->Start(48000.0, kBlock);
    ASSERT_TRUE(plug->StringToParameter(7, "1")); // sound whatever the transport does
    const int nParams = plug->Effect()->numParams;
    const int nPrograms = plug->Effect()->numPrograms;

    std::atomic<bool> stop{false};
    std::atomic<int> finished{0};
    std::atomic<long> blocks{0};
    std::atomic<long> nonFinite{0};
    std::atomic<long> refusedChunks{0};
    std::vector<std::thread> threads;
    auto spawn = [&](auto body) {
        threads.emplace_back([&, body] {
            body();
            finished.fetch_add(1);
        });
    };

    spawn([&] { // the audio thread
        std::vector<float> inL(kBlock, 0.1f), inR(kBlock, -0.1f), outL(kBlock), outR(kBlock);
        std::vector<double> dL(kBlock, 0.1), dR(kBlock, -0.1);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        double* din[2] = {dL.data(), dR.data()};
        while (!stop.load()) {
            const long n = blocks.fetch_add(1);
            if (n % 5 == 4) {
                std::fill(dL.begin(), dL.end(), 0.1);
                std::fill(dR.begin(), dR.end(), -0.1);
                plug->ProcessDouble(din, din, kBlock); // in place, as some hosts do
                for (int i = 0; i < kBlock; ++i)
                    if (!std::isfinite(dL[static_cast<std::size_t>(i)]) ||
                        !std::isfinite(dR[static_cast<std::size_t>(i)]))
                        nonFinite.fetch_add(1);
                continue;
            }
            plug->ProcessReplacing(in, out, kBlock);
            for (int i = 0; i < kBlock; ++i)
                if (!std::isfinite(outL[static_cast<std::size_t>(i)]) ||
                    !std::isfinite(outR[static_cast<std::size_t>(i)]))
                    nonFinite.fetch_add(1);
        }
    });

    spawn([&] { // automation of every parameter
        std::mt19937 random(1);
        std::uniform_real_distribution<float> position(0.0f, 1.0f);
        while (!stop.load()) {
            for (int i = 0; i < nParams; ++i) {
                plug->SetParameter(i, position(random));
                const float back = plug->GetParameter(i);
                if (!(back >= 0.0f && back <= 1.0f))
                    nonFinite.fetch_add(1);
            }
        }
    });

    spawn([&] { // program switches and renames, as a host's program menu does
        std::mt19937 random(2);
        char name[300];
        int n = 0;
        while (!stop.load()) {
            plug->Dispatch(vst2::kOpSetProgram, 0, static_cast<std::intptr_t>(random() % nPrograms));
            std::snprintf(name, sizeof name, "renamed %d", n++);
            plug->Dispatch(vst2::kOpSetProgramName, 0, 0, name);
            plug->ProgramName();
            plug->ProgramNameIndexed(static_cast<int>(random() % nPrograms));
            plug->Dispatch(vst2::kOpGetProgram);
        }
    });

    spawn([&] { // saving and restoring, as a host's project does
        int n = 0;
        while (!stop.load()) {
            const bool bank = n++ % 3 == 0;
            const std::vector<std::uint8_t> chunk = plug->GetChunk(bank);
            if (!plug->SetChunk(bank, chunk))
                refusedChunks.fetch_add(1);
        }
    });

    spawn([&] { // texts for parameters, from a host's generic editor
        std::mt19937 random(3);
        const char* texts[] = {"440", "0.5", "-3", "1e9", "Sine", "Yes", "", "nan", "12.75", "Gold. Square"};
        while (!stop.load()) {
            const int index = static_cast<int>(random() % nParams);
            plug->StringToParameter(index, texts[random() % std::size(texts)]);
            plug->ParamDisplay(index);
            char text[32] = "0.25";
            plug->Dispatch(vst2::kOpVendorSpecific, 27, index, text);
            plug->Dispatch(vst2::kOpVendorSpecific, 7, index, text, 0.75f);
        }
    });

    spawn([&] { // the host's transport and tempo change under the plug-in
        int n = 0;
        while (!stop.load()) {
            state.SetTempo(n % 7 == 0 ? 0.0 : 60.0 + n % 120);
            state.SetPlaying(n % 3 != 0);
            state.SetAnswersTime(n % 11 != 0);
            ++n;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    const auto start = Clock::now();
    std::this_thread::sleep_for(kRunTime);
    stop.store(true);
    while (finished.load() < static_cast<int>(threads.size())) {
        if (Clock::now() - start > kDeadlockLimit) {
            // Threads stuck in a lock cannot be joined: report and end the run.
            std::fprintf(stderr, "deadlock: only %d of %zu threads finished\n", finished.load(),
                         threads.size());
            std::abort();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (auto& t : threads)
        t.join();

    EXPECT_GT(blocks.load(), 10);
    EXPECT_EQ(nonFinite.load(), 0);
    EXPECT_EQ(refusedChunks.load(), 0);

    // The final state is whole: it reloads into a fresh instance unchanged.
    state.SetAnswersTime(true);
    const std::vector<std::uint8_t> bank = plug->GetChunk(true);
    const std::vector<std::uint8_t> program = plug->GetChunk(false);
    const int current = static_cast<int>(plug->Dispatch(vst2::kOpGetProgram));
    auto fresh = Make();
    ASSERT_TRUE(fresh);
    fresh->Start(48000.0, kBlock);
    ASSERT_EQ(fresh->Dispatch(vst2::kOpSetProgram, 0, current), 0);
    ASSERT_TRUE(fresh->SetChunk(true, bank));
    EXPECT_EQ(fresh->GetChunk(true), bank);
    EXPECT_EQ(fresh->GetChunk(false), program);
    for (int i = 0; i < nParams; ++i)
        EXPECT_EQ(fresh->GetParameter(i), plug->GetParameter(i)) << "parameter " << i;
    EXPECT_EQ(fresh->ProgramName(), plug->ProgramName());
}
