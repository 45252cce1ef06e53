// What a host hears from the tone engine through the built module.

#include "plugin_fixture.h"

#include <cmath>
#include <random>
#include <vector>

namespace {

struct FloatStereo {
    explicit FloatStereo(int frames, float level = 0.0f) : left(frames, level), right(frames, level) {}
    float** Pointers()
    {
        ptrs[0] = left.data();
        ptrs[1] = right.data();
        return ptrs;
    }
    std::vector<float> left, right;
    float* ptrs[2];
};

// Renders seconds of a quiet noise input; false at the first non-finite sample.
bool RendersFinite(host::PluginInstance& plug, double rate, double seconds, int block, std::mt19937& noise)
{
    std::uniform_real_distribution<float> level(-0.1f, 0.1f);
    FloatStereo in(block), out(block);
    const long total = static_cast<long>(rate * seconds);
    for (long done = 0; done < total; done += block) {
        for (int i = 0; i < block; ++i) {
            in.left[i] = level(noise);
            in.right[i] = level(noise);
        }
        plug.ProcessReplacing(in.Pointers(), out.Pointers(), block);
        for (int i = 0; i < block; ++i)
            if (!std::isfinite(out.left[i]) || !std::isfinite(out.right[i]))
                return false;
    }
    return true;
}

} // namespace

class EngineAudioTest : public PluginTest {};

TEST_F(EngineAudioTest, EveryProgramSoundsFiniteForOneSecond)
{
    state.SetTempo(128.0);
    state.SetPlaying(true);
    auto plug = Make();
    ASSERT_TRUE(plug);
    plug->Start(44100.0, 512);
    std::mt19937 noise(7);
    const int programs = plug->Effect()->numPrograms;
    ASSERT_GT(programs, 0);
    for (int program = 0; program < programs; ++program) {
        plug->Dispatch(vst2::kOpSetProgram, 0, program);
        ASSERT_EQ(plug->Dispatch(vst2::kOpGetProgram), program);
        EXPECT_TRUE(RendersFinite(*plug, 44100.0, 1.0, 512, noise)) << "program " << program;
    }
}

TEST_F(EngineAudioTest, AnyParameterSettingSoundsFinite)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> position(0.0f, 1.0f);
    std::uniform_int_distribution<int> edge(0, 3);
    const double rates[] = {1.0, 22.0, 8000.0, 44100.0, 192000.0, 768000.0};
    for (int trial = 0; trial < 120; ++trial) {
        state.SetTempo(trial % 5 == 0 ? 0.0 : 30.0 + trial * 3.0);
        state.SetPlaying(trial % 7 != 0);
        auto plug = Make();
        ASSERT_TRUE(plug);
        const double rate = rates[trial % 6];
        plug->Start(rate, 256);
        for (int round = 0; round < 3; ++round) {
            for (int index = 0; index < plug->Effect()->numParams; ++index) {
                // Ends of the ranges half of the time: that is where arithmetic breaks.
                const int e = edge(random);
                plug->SetParameter(index, e == 0 ? 0.0f : e == 1 ? 1.0f : position(random));
            }
            EXPECT_TRUE(RendersFinite(*plug, 256.0, 3.0, 256, random))
                << "trial " << trial << " rate " << rate;
        }
    }
}

TEST_F(EngineAudioTest, ToneSoundsWhilePlayingAndStopsWithTheTransport)
{
    state.SetPlaying(true);
    auto plug = Make();
    ASSERT_TRUE(plug);
    plug->Start(48000.0, 512);
    FloatStereo in(512, 0.125f), out(512);
    double difference = 0.0;
    for (int block = 0; block < 20; ++block) {
        plug->ProcessReplacing(in.Pointers(), out.Pointers(), 512);
        for (int i = 0; i < 512; ++i)
            difference += std::fabs(out.left[i] - 0.125f * 0.5f);
    }
    EXPECT_GT(difference, 100.0);

    state.SetPlaying(false);
    plug->ProcessReplacing(in.Pointers(), out.Pointers(), 512); // ramps out
    EXPECT_EQ(out.left[511], 0.125f);
    plug->ProcessReplacing(in.Pointers(), out.Pointers(), 512);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);
}
