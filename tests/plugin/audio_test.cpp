#include "plugin_fixture.h"

#include <algorithm>
#include <vector>

namespace {

struct StereoBlock {
    explicit StereoBlock(int frames) : left(frames), right(frames) {}
    float* ptrs[2];
    float** Pointers()
    {
        ptrs[0] = left.data();
        ptrs[1] = right.data();
        return ptrs;
    }
    std::vector<float> left, right;
};

} // namespace

// Until the tone engine sounds these use the default program with the host
// stopped: the plug-in passes its input through unchanged.
class PassThroughTest : public PluginTest {
protected:
    void SetUp() override
    {
        state.SetPlaying(false);
        plug = Make();
        ASSERT_TRUE(plug);
        plug->Start(48000.0, 512);
    }
    std::unique_ptr<host::PluginInstance> plug;
};

TEST_F(PassThroughTest, ReplacingAndAccumulatingSinglePrecision)
{
    const int n = 509; // not a whole number of the conversion's groups
    StereoBlock in(n), out(n);
    for (int i = 0; i < n; ++i) {
        in.left[i] = 0.001f * static_cast<float>(i) - 0.2f;
        in.right[i] = -0.5f + 0.0007f * static_cast<float>(i);
        out.left[i] = 9.0f;
        out.right[i] = -9.0f;
    }
    plug->ProcessReplacing(in.Pointers(), out.Pointers(), n);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);

    for (int i = 0; i < n; ++i) {
        out.left[i] = 1.0f;
        out.right[i] = 2.0f;
    }
    plug->Process(in.Pointers(), out.Pointers(), n);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(out.left[i], 1.0f + in.left[i]);
        EXPECT_EQ(out.right[i], 2.0f + in.right[i]);
    }
}

TEST_F(PassThroughTest, DoublePrecisionRendersOnTheHostsBuffersInPlace)
{
    const int n = 300;
    std::vector<double> left(n), right(n);
    for (int i = 0; i < n; ++i) {
        left[i] = 1e-9 * i + 0.123456789012345;
        right[i] = -left[i];
    }
    const auto expectLeft = left;
    const auto expectRight = right;
    double* ptrs[2] = {left.data(), right.data()};
    plug->ProcessDouble(ptrs, ptrs, n);
    EXPECT_EQ(left, expectLeft);
    EXPECT_EQ(right, expectRight);
}

TEST_F(PassThroughTest, BlocksLongerThanAnnouncedAreRenderedWhole)
{
    const int n = 512 * 3 + 17;
    StereoBlock in(n), out(n);
    for (int i = 0; i < n; ++i) {
        in.left[i] = static_cast<float>(i);
        in.right[i] = static_cast<float>(-i);
    }
    plug->ProcessReplacing(in.Pointers(), out.Pointers(), n);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);
    // In place: the host hands the same buffers for input and output.
    plug->ProcessReplacing(in.Pointers(), in.Pointers(), n);
    EXPECT_EQ(in.left[n - 1], static_cast<float>(n - 1));
}

TEST_F(PassThroughTest, ZeroAndNegativeFrameCountsAndNullPointers)
{
    StereoBlock in(8), out(8);
    out.left[0] = 5.0f;
    plug->ProcessReplacing(in.Pointers(), out.Pointers(), 0);
    plug->ProcessReplacing(in.Pointers(), out.Pointers(), -4);
    EXPECT_EQ(out.left[0], 5.0f);
    plug->ProcessReplacing(nullptr, nullptr, 8);
    float* partial[2] = {nullptr, out.right.data()};
    plug->ProcessReplacing(partial, partial, 8);
    EXPECT_EQ(out.right[0], 0.0f);
}

TEST_F(PassThroughTest, MonoArrangementConsumesOneHostPointer)
{
    vst2::SpeakerArrangement mono{};
    mono.numChannels = 1;
    EXPECT_EQ(
        plug->Dispatch(vst2::kOpSetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(&mono), &mono), 1);
    std::vector<float> in(64, 0.5f), out(64, 0.0f);
    float* ins[1] = {in.data()};
    float* outs[1] = {out.data()};
    plug->ProcessReplacing(ins, outs, 64);
    EXPECT_EQ(out, in);
}

// A host that stops connecting the right input must not hear its last block
// again: the disconnected input reads silence at once, through suspend and
// resume and in both precisions.
TEST_F(PassThroughTest, ADisconnectedInputReadsSilenceFromTheMomentItIsDisconnected)
{
    const int n = 512;
    StereoBlock in(n), out(n);
    std::fill(in.left.begin(), in.left.end(), 0.25f);
    std::fill(in.right.begin(), in.right.end(), 0.7f);
    plug->ProcessReplacing(in.Pointers(), out.Pointers(), n);
    ASSERT_EQ(out.right[n - 1], 0.7f);

    ASSERT_TRUE(plug->SetChannelCounts(1, 2));
    const std::vector<float> silence(n, 0.0f);
    for (int block = 0; block < 3; ++block) {
        float* ins[1] = {in.left.data()};
        plug->ProcessReplacing(ins, out.Pointers(), n);
        EXPECT_EQ(out.left, in.left) << block;
        EXPECT_EQ(out.right, silence) << block;
        plug->Dispatch(vst2::kOpProcessingOnOff, 0, 0);
        plug->Dispatch(vst2::kOpProcessingOnOff, 0, 1);
    }
    std::vector<double> left(n, 0.25), right(n, 0.5);
    double* ins[1] = {left.data()};
    double* outs[2] = {left.data(), right.data()};
    plug->ProcessDouble(ins, outs, n);
    EXPECT_EQ(right, std::vector<double>(n, 0.0));
}

TEST_F(PluginTest, TimeQueriesSeeWhatTheHostReports)
{
    // The time record is read through the plug-in's own requests; a host that
    // answers none must not upset processing.
    state.SetAnswersTime(false);
    auto plug = Make();
    ASSERT_TRUE(plug);
    plug->Start(44100.0, 128);
    StereoBlock in(128), out(128);
    plug->ProcessReplacing(in.Pointers(), out.Pointers(), 128);
    EXPECT_EQ(out.left, in.left);
}
