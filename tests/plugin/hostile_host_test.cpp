// A host that sends what no well-behaved host would: non-finite and huge
// numbers in every numeric operand, null pointers, impossible sizes, blocks
// longer than announced, time information that is nonsense or missing, and
// instances made and closed in bulk. After every abuse the instance must still
// render finite samples and answer its requests.

#include "plugin_fixture.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int kBlock = 256;
constexpr std::size_t kParamTextSize = 32;
// Mix: 0 .. 100 %, whole percents, so 0.5 is exact.
constexpr int kMixParam = 9;

// Renders frames through all three audio calls and reports whether every
// sample came back finite.
::testing::AssertionResult RendersFinite(host::PluginInstance& plug, int frames = kBlock)
{
    // Zero or negative counts get buffers of one block: the plug-in must not touch them.
    const auto size = static_cast<std::size_t>(frames > 0 ? frames : kBlock);
    std::vector<float> inL(size, 0.25f), inR(inL.size(), -0.25f);
    std::vector<float> outL(inL.size(), 0.0f), outR(inL.size(), 0.0f);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    plug.ProcessReplacing(in, out, frames);
    plug.Process(in, out, frames);
    std::vector<double> dL(inL.size(), 0.25), dR(inL.size(), -0.25), oL(inL.size(), 0.0), oR(inL.size(), 0.0);
    double* din[2] = {dL.data(), dR.data()};
    double* dout[2] = {oL.data(), oR.data()};
    plug.ProcessDouble(din, dout, frames);
    for (std::size_t i = 0; i < static_cast<std::size_t>(std::max(frames, 0)); ++i)
        if (!std::isfinite(outL[i]) || !std::isfinite(outR[i]) || !std::isfinite(oL[i]) ||
            !std::isfinite(oR[i]))
            return ::testing::AssertionFailure() << "sample " << i << " is not finite";
    return ::testing::AssertionSuccess();
}

// Still an instance a host can work with: identifies itself, reads back every
// parameter as a position in 0 .. 1 with a bounded display text, takes a parameter
// change, hands out a whole program chunk and renders finite samples.
::testing::AssertionResult IsHealthy(host::PluginInstance& plug)
{
    if (plug.Dispatch(vst2::kOpIdentify) != vst2::kIdentifyAnswer)
        return ::testing::AssertionFailure() << "does not identify itself";
    const int n = plug.Effect()->numParams;
    for (int i = 0; i < n; ++i) {
        const float v = plug.GetParameter(i);
        if (!(v >= 0.0f && v <= 1.0f))
            return ::testing::AssertionFailure() << "parameter " << i << " reads " << v;
        if (plug.ParamDisplay(i).size() >= kParamTextSize)
            return ::testing::AssertionFailure() << "parameter " << i << " has an unbounded display";
    }
    const float before = plug.GetParameter(kMixParam);
    plug.SetParameter(kMixParam, 0.5f);
    if (plug.GetParameter(kMixParam) != 0.5f)
        return ::testing::AssertionFailure() << "a parameter change did not take";
    plug.SetParameter(kMixParam, before);
    if (plug.GetChunk(false).size() != 8 + 8 * static_cast<std::size_t>(n))
        return ::testing::AssertionFailure() << "the program chunk is not whole";
    return RendersFinite(plug);
}

class HostileHostTest : public PluginTest {
protected:
    void SetUp() override
    {
        plug = Make();
        ASSERT_TRUE(plug);
        plug->Start(48000.0, kBlock);
        // Sound on whatever the transport says, so the tone path is exercised.
        ASSERT_TRUE(plug->StringToParameter(7, "1"));
    }
    std::unique_ptr<host::PluginInstance> plug;
};

} // namespace

TEST_F(HostileHostTest, NonFiniteAndHugeParameterValuesKeepEveryParameterInRange)
{
    const int n = plug->Effect()->numParams;
    for (float bad :
         {kNaN, kInf, -kInf, 1e30f, -1e30f, 3.0f, -0.5f, std::numeric_limits<float>::denorm_min()}) {
        for (int i = -2; i < n + 2; ++i)
            plug->SetParameter(i, bad);
        EXPECT_TRUE(IsHealthy(*plug)) << "after setParameter " << bad;
    }
}

TEST_F(HostileHostTest, PositionsOutsideTheRangeCountAsItsNearestEnd)
{
    // A curved mapping must not fold a negative position back into the range.
    const int n = plug->Effect()->numParams;
    for (int i = 0; i < n; ++i) {
        plug->SetParameter(i, 0.0f);
        const std::string atZero = plug->ParamDisplay(i);
        plug->SetParameter(i, -0.5f);
        EXPECT_EQ(plug->GetParameter(i), 0.0f) << "parameter " << i;
        EXPECT_EQ(plug->ParamDisplay(i), atZero) << "parameter " << i;
        plug->SetParameter(i, 1.0f);
        const std::string atOne = plug->ParamDisplay(i);
        plug->SetParameter(i, 7.0f);
        EXPECT_EQ(plug->GetParameter(i), 1.0f) << "parameter " << i;
        EXPECT_EQ(plug->ParamDisplay(i), atOne) << "parameter " << i;
    }
}

TEST_F(HostileHostTest, SampleRatesThatAreNotPositiveFiniteNumbers)
{
    for (float rate :
         {kNaN, kInf, -kInf, 0.0f, -44100.0f, 1e-30f, 1e30f, std::numeric_limits<float>::max(), 1.0f}) {
        plug->Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, rate);
        EXPECT_TRUE(IsHealthy(*plug)) << "after sample rate " << rate;
        plug->Dispatch(vst2::kOpProcessingOnOff, 0, 0);
        plug->Dispatch(vst2::kOpProcessingOnOff, 0, 1);
        EXPECT_TRUE(RendersFinite(*plug)) << "after a restart at sample rate " << rate;
    }
}

TEST_F(HostileHostTest, BlockSizesZeroNegativeAndHuge)
{
    const std::intptr_t sizes[] = {
        0,          -1,         INT_MIN,         INT_MAX, static_cast<std::intptr_t>(INT_MAX) + 1,
        INTPTR_MAX, INTPTR_MIN, INT_MAX / 8 + 1, 1,       3,
        1 << 18};
    for (std::intptr_t size : sizes) {
        plug->Dispatch(vst2::kOpSetBlockSize, 0, size);
        EXPECT_TRUE(IsHealthy(*plug)) << "after block size " << size;
        EXPECT_TRUE(RendersFinite(*plug, 3 * kBlock + 5)) << "after block size " << size;
    }
}

TEST_F(HostileHostTest, BlocksLongerThanAnnouncedMatchTheSameAudioInAnnouncedPieces)
{
    // The long block is rendered in pieces inside the plug-in; a host that
    // keeps to the announced size must hear exactly the same.
    auto reference = Make();
    ASSERT_TRUE(reference);
    reference->Start(48000.0, kBlock);
    ASSERT_TRUE(reference->StringToParameter(7, "1"));

    const int total = 5 * kBlock + 77;
    std::vector<float> in(total), outLong(total), outPieces(total), scratch(total);
    for (int i = 0; i < total; ++i)
        in[static_cast<std::size_t>(i)] = 0.3f * std::sin(0.05f * static_cast<float>(i));
    float* inputs[2] = {in.data(), in.data()};
    float* longOut[2] = {outLong.data(), scratch.data()};
    plug->ProcessReplacing(inputs, longOut, total);
    for (int done = 0; done < total; done += kBlock) {
        float* pieceIn[2] = {in.data() + done, in.data() + done};
        float* pieceOut[2] = {outPieces.data() + done, scratch.data() + done};
        reference->ProcessReplacing(pieceIn, pieceOut, std::min(kBlock, total - done));
    }
    EXPECT_EQ(outLong, outPieces);
    for (int frames : {0, -1, INT_MIN})
        EXPECT_TRUE(RendersFinite(*plug, frames)) << frames << " frames";
    EXPECT_TRUE(IsHealthy(*plug));
}

TEST_F(HostileHostTest, ChunkSizesNegativeAndBeyondTwoToThe31AreRefusedWithoutChange)
{
    ASSERT_TRUE(plug->StringToParameter(kMixParam, "37"));
    const std::vector<std::uint8_t> bank = plug->GetChunk(true);
    std::vector<std::uint8_t> program = plug->GetChunk(false);
    const std::intptr_t sizes[] = {-1,
                                   -8,
                                   INT_MIN,
                                   static_cast<std::intptr_t>(INT_MIN) - 1,
                                   static_cast<std::intptr_t>(INT_MAX) + 1,
                                   std::intptr_t{1} << 40,
                                   INTPTR_MAX,
                                   INTPTR_MIN};
    for (int kind : {0, 1})
        for (std::intptr_t size : sizes)
            EXPECT_EQ(plug->Dispatch(vst2::kOpSetChunk, kind, size, program.data()), 0) << "size " << size;
    EXPECT_EQ(plug->GetChunk(true), bank);
    EXPECT_TRUE(IsHealthy(*plug));
}

TEST_F(HostileHostTest, ABankCutShortStillSavesAChunkThatLoads)
{
    // A slot that was empty and whose values ran out must not be saved as an
    // initialised slot without values: the next reader would lose its place.
    const int n = plug->Effect()->numPrograms;
    ASSERT_EQ(plug->Dispatch(vst2::kOpSetProgram, 0, n - 1), 0); // captures the last, empty slot
    ASSERT_EQ(plug->Dispatch(vst2::kOpSetProgram, 0, 0), 0);
    std::vector<std::uint8_t> full = plug->GetChunk(true);
    for (std::size_t cut : {std::size_t{1}, std::size_t{8}, std::size_t{100}, std::size_t{199}}) {
        auto other = Make();
        ASSERT_TRUE(other);
        other->Start(48000.0, kBlock);
        const std::vector<std::uint8_t> damaged(full.begin(), full.end() - static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(other->SetChunk(true, damaged)) << "cut " << cut;
        const std::vector<std::uint8_t> saved = other->GetChunk(true);
        auto fresh = Make();
        ASSERT_TRUE(fresh);
        fresh->Start(48000.0, kBlock);
        EXPECT_TRUE(fresh->SetChunk(true, saved)) << "cut " << cut;
        EXPECT_EQ(fresh->GetChunk(true), saved) << "cut " << cut;
        EXPECT_TRUE(IsHealthy(*other));
    }
}

TEST_F(HostileHostTest, SpeakerArrangementCountsOfAnySize)
{
    for (std::int32_t count : {INT_MIN, -1, 0, 1, 2, 3, 64, INT_MAX}) {
        vst2::SpeakerArrangement in{}, out{};
        in.numChannels = count;
        out.numChannels = count;
        EXPECT_EQ(
            plug->Dispatch(vst2::kOpSetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(&in), &out), 1);
        EXPECT_TRUE(RendersFinite(*plug)) << "count " << count;
        out.numChannels = count == INT_MIN ? INT_MAX : 2 - count;
        EXPECT_EQ(plug->Dispatch(vst2::kOpSetSpeakerArrangement, 0, 0, &out), 1);
        EXPECT_EQ(
            plug->Dispatch(vst2::kOpSetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(&in), nullptr),
            1);
        EXPECT_TRUE(RendersFinite(*plug)) << "count " << count;
    }
    vst2::SpeakerArrangement stereo{};
    stereo.numChannels = 2;
    plug->Dispatch(vst2::kOpSetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(&stereo), &stereo);
    EXPECT_TRUE(IsHealthy(*plug));
}

TEST_F(HostileHostTest, TimeInformationThatIsNonsenseOrMissing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::int32_t allFlags = vst2::kTimeTempoValid | vst2::kTimeSignatureValid |
                                  vst2::kTimeTransportPlaying | vst2::kTimeTransportRecording;
    // The LFOs locked to the tempo are where the tempo reaches the sound.
    ASSERT_TRUE(plug->StringToParameter(10, "1"));
    ASSERT_TRUE(plug->StringToParameter(12, "1"));
    ASSERT_TRUE(plug->StringToParameter(17, "2"));
    ASSERT_TRUE(plug->StringToParameter(19, "1"));
    for (double tempo : {nan, 0.0, -120.0, 1e308, -1e308, inf, -inf, 5e-324, 1e-300, 120.0}) {
        for (double position : {nan, -1.0, 1e308, inf}) {
            vst2::TimeInfo info{};
            info.tempo = tempo;
            info.samplePos = position;
            info.sampleRate = nan;
            info.ppqPos = nan;
            info.timeSigNumerator = INT_MIN;
            info.timeSigDenominator = 0;
            info.flags = allFlags;
            state.SetTimeRecord(info);
            EXPECT_TRUE(RendersFinite(*plug)) << "tempo " << tempo << " position " << position;
        }
    }
    state.SetAnswersTime(false);
    EXPECT_TRUE(IsHealthy(*plug)) << "with no time information";
    state.SetAnswersTime(true);
    state.SetTempo(120.0);
    EXPECT_TRUE(IsHealthy(*plug));
}

TEST_F(HostileHostTest, NullPointersForEveryRequestThatTakesOne)
{
    struct Case {
        std::int32_t opcode;
        std::int32_t index;
        std::intptr_t value;
        std::intptr_t expected;
    };
    const Case cases[] = {
        {vst2::kOpSetProgramName, 0, 0, 0},
        {vst2::kOpGetProgramName, 0, 0, 0},
        {vst2::kOpGetParamLabel, 0, 0, 0},
        {vst2::kOpGetParamDisplay, 0, 0, 0},
        {vst2::kOpGetParamName, 0, 0, 0},
        {vst2::kOpEditorGetRect, 0, 0, 0},
        {vst2::kOpEditorOpen, 0, 0, 0},
        {vst2::kOpGetChunk, 0, 0, 0},
        {vst2::kOpGetChunk, 1, 0, 0},
        {vst2::kOpSetChunk, 0, 208, 0},
        {vst2::kOpSetChunk, 1, 208, 0},
        {vst2::kOpProcessEvents, 0, 0, 0},
        {vst2::kOpStringToParameter, 0, 0, 1},
        {vst2::kOpStringToParameter, 99, 0, 0},
        {vst2::kOpGetProgramNameIndexed, 0, 0, 0},
        {vst2::kOpGetInputProperties, 0, 0, 0},
        {vst2::kOpGetOutputProperties, 0, 0, 0},
        {vst2::kOpSetSpeakerArrangement, 0, 0, 1},
        {vst2::kOpGetEffectName, 0, 0, 0},
        {vst2::kOpGetVendorName, 0, 0, 0},
        {vst2::kOpGetProductName, 0, 0, 0},
        {vst2::kOpVendorSpecific, 7, 0, 0},
        {vst2::kOpVendorSpecific, 27, 0, 0},
        {vst2::kOpCanDo, 0, 0, 0},
        {vst2::kOpGetMidiKeyName, 0, 0, 0},
        {vst2::kOpGetSpeakerArrangement, 0, 0, 1},
    };
    const std::vector<std::uint8_t> bank = plug->GetChunk(true);
    for (const Case& c : cases)
        EXPECT_EQ(plug->Dispatch(c.opcode, c.index, c.value, nullptr), c.expected) << "opcode " << c.opcode;
    EXPECT_EQ(plug->GetChunk(true), bank);

    // Null host buffers in the audio calls: silence in, nothing written.
    plug->ProcessReplacing(nullptr, nullptr, kBlock);
    plug->Process(nullptr, nullptr, kBlock);
    plug->ProcessDouble(nullptr, nullptr, kBlock);
    float* none[2] = {nullptr, nullptr};
    plug->ProcessReplacing(none, none, kBlock);
    double* noneD[2] = {nullptr, nullptr};
    plug->ProcessDouble(noneD, noneD, kBlock);

    // A descriptor without its instance (or no descriptor at all) is answered with nothing.
    vst2::EffectDescriptor* effect = plug->Effect();
    EXPECT_EQ(effect->dispatcher(nullptr, vst2::kOpIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect->getParameter(nullptr, 0), 0.0f);
    effect->setParameter(nullptr, 0, 0.5f);
    effect->processReplacing(nullptr, none, none, kBlock);
    effect->process(nullptr, none, none, kBlock);
    effect->processDoubleReplacing(nullptr, noneD, noneD, kBlock);
    EXPECT_TRUE(IsHealthy(*plug));
}

TEST_F(HostileHostTest, EventListsLongerThanTheRecordDeclares)
{
    // The list's pointer array runs past the two entries the record declares.
    constexpr int kEvents = 9;
    std::vector<vst2::MidiEvent> midi(kEvents);
    std::vector<void*> storage(2 + kEvents + 1, nullptr);
    const std::int32_t count = kEvents;
    std::memcpy(storage.data(), &count, sizeof count);
    for (int i = 0; i < kEvents; ++i) {
        midi[static_cast<std::size_t>(i)].type = vst2::kEventMidi;
        midi[static_cast<std::size_t>(i)].byteSize = sizeof(vst2::MidiEvent);
        midi[static_cast<std::size_t>(i)].deltaFrames = i * 1000 - 3000;
        midi[static_cast<std::size_t>(i)].midiData[0] = static_cast<char>(0x90 + i);
        storage[static_cast<std::size_t>(2 + i)] = i == 4 ? nullptr : &midi[static_cast<std::size_t>(i)];
    }
    EXPECT_EQ(plug->Dispatch(vst2::kOpProcessEvents, 0, 0, storage.data()), 1);
    EXPECT_TRUE(IsHealthy(*plug));
}

TEST_F(PluginTest, AHundredInstancesInARowAndInterleaved)
{
    for (int i = 0; i < 100; ++i) {
        auto plug = Make();
        ASSERT_TRUE(plug);
        if (i % 10 == 0) {
            plug->Start(44100.0, 64);
            EXPECT_TRUE(RendersFinite(*plug, 64));
        }
    }

    std::vector<std::unique_ptr<host::PluginInstance>> alive;
    for (int i = 0; i < 100; ++i) {
        alive.push_back(Make());
        ASSERT_TRUE(alive.back());
        alive.back()->Start(48000.0, 128);
        // Every third step closes the survivor in the middle.
        if (i % 3 == 2)
            alive.erase(alive.begin() + static_cast<std::ptrdiff_t>(alive.size() / 2));
    }
    for (auto& plug : alive)
        ASSERT_TRUE(RendersFinite(*plug, 128));
    EXPECT_TRUE(IsHealthy(*alive.front()));
    EXPECT_TRUE(IsHealthy(*alive.back()));
}
