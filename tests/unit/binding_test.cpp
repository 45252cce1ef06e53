// The binding's conversations with the host that no module-level test reaches:
// wheel gestures, MIDI output, the time requests and the scratch buffers.

#include "core/editor_link.h"
#include "engine_harness.h"
#include "plugin/block_state.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Stands in for the editor's side of a wheel gesture: the countdown it runs.
class CountdownPanel : public EditorLink {
public:
    explicit CountdownPanel(int& ticks) : armed(ticks) {}
    void UpdateControlsForParameter(int, double, bool) override {}
    void paramChangedFromUser(int, double) override {}
    void hideBoundControls(int, bool) override {}
    bool createCanvas() override { return true; }
    void* openWindow(void*) override { return nullptr; }
    void closeWindow() override {}
    bool wheelFromHost(float) override { return false; }
    void armEndEditCountdown(int ticks) override { armed = ticks; }
    void clearEndEditCountdown() override { armed = 0; }
    int FrameRate() const override { return 30; }
    int Width() const override { return 100; }
    int Height() const override { return 100; }

private:
    int& armed;
};

using Requests = std::vector<std::pair<int, int>>; // opcode, parameter index

// The gesture and automation requests the host was sent, oldest first; clears them.
Requests TakeEdits()
{
    Requests edits;
    TestHostTime& t = TestTime();
    for (std::size_t i = 0; i < t.told.size(); ++i)
        if (t.told[i] == vst2::kHostBeginEdit || t.told[i] == vst2::kHostAutomate ||
            t.told[i] == vst2::kHostEndEdit)
            edits.emplace_back(t.told[i], t.toldIndex[i]);
    t.told.clear();
    t.toldIndex.clear();
    return edits;
}

void WheelStep(EnginePlug& plug, int index, double normalized)
{
    plug.BeginParamEditUnlessPending(index);
    plug.SetParameterFromEditor(index, normalized);
    plug.DeferParamEditEnd(index);
}

constexpr int kBegin = vst2::kHostBeginEdit;
constexpr int kSet = vst2::kHostAutomate;
constexpr int kEnd = vst2::kHostEndEdit;

} // namespace

// Wheel steps on one parameter make one gesture that ends when the countdown
// runs out (half a second of editor frames) or another parameter's gesture
// begins; without an editor each step is a gesture of its own.
TEST(Binding, WheelStepsAreBracketedAsOneGesturePerParameter)
{
    EngineHarness h;
    WheelStep(h.plug, kMix, 0.3); // no editor: ended at once
    EXPECT_EQ(TakeEdits(), (Requests{{kBegin, kMix}, {kSet, kMix}, {kEnd, kMix}}));

    int ticks = 0;
    h.plug.AttachEditor(new CountdownPanel(ticks));
    WheelStep(h.plug, kMix, 0.4);
    WheelStep(h.plug, kMix, 0.5);
    EXPECT_EQ(ticks, 15);
    EXPECT_EQ(TakeEdits(), (Requests{{kBegin, kMix}, {kSet, kMix}, {kSet, kMix}}));

    WheelStep(h.plug, kPan, 0.5); // another parameter: the pending gesture ends first
    EXPECT_EQ(TakeEdits(), (Requests{{kEnd, kMix}, {kBegin, kPan}, {kSet, kPan}}));
    EXPECT_EQ(ticks, 15);

    h.plug.FlushPendingParamEdit(); // the countdown ran out
    EXPECT_EQ(ticks, 0);
    h.plug.FlushPendingParamEdit();
    EXPECT_EQ(TakeEdits(), (Requests{{kEnd, kPan}}));

    h.plug.BeginParamEdit(kRound); // a plain gesture also ends a pending one
    WheelStep(h.plug, kMix, 0.6);
    h.plug.BeginParamEdit(kRound);
    EXPECT_EQ(TakeEdits(),
              (Requests{{kBegin, kRound}, {kBegin, kMix}, {kSet, kMix}, {kEnd, kMix}, {kBegin, kRound}}));
}

// Each message goes to the host as a list of one event, laid out as hosts read it.
TEST(Binding, MidiOutputSendsOneEventPerMessage)
{
    EngineHarness h;
    TestTime().midi.clear();
    const MidiMessage notes[] = {{5, 0x90, 60, 100}, {17, 0x80, 60, 0}};
    EXPECT_TRUE(h.plug.EmitMidiMessages(notes, 2));
    ASSERT_EQ(TestTime().midi.size(), 2u);
    const vst2::MidiEvent& on = TestTime().midi[0];
    EXPECT_EQ(on.type, vst2::kEventMidi);
    EXPECT_EQ(on.byteSize, 32);
    EXPECT_EQ(on.deltaFrames, 5);
    EXPECT_EQ(on.flags | on.noteLength | on.noteOffset | on.detune | on.noteOffVelocity, 0);
    EXPECT_EQ(static_cast<unsigned char>(on.midiData[0]), 0x90);
    EXPECT_EQ(on.midiData[1], 60);
    EXPECT_EQ(on.midiData[2], 100);
    EXPECT_EQ(on.midiData[3], 0);
    EXPECT_EQ(TestTime().midi[1].deltaFrames, 17);

    const unsigned char dump[] = {0xF0, 0x7D, 0x01, 0xF7};
    EXPECT_TRUE(h.plug.EmitSysEx({3, 4, dump}));
    ASSERT_EQ(TestTime().sysEx.size(), 1u);
    const vst2::SysExEvent& sysEx = TestTime().sysEx[0];
    EXPECT_EQ(sysEx.type, vst2::kEventSysEx);
    EXPECT_EQ(sysEx.byteSize, 48);
    EXPECT_EQ(sysEx.deltaFrames, 3);
    EXPECT_EQ(sysEx.dumpBytes, 4);
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(sysEx.sysexDump), dump);
}

// Each time request asks for only what it reads, and reads only what the host
// marked valid.
TEST(Binding, TimeRequestsAskForWhatTheyReadAndRoundThePosition)
{
    EngineHarness h;
    TestHostTime& t = TestTime();
    t.playing = false;
    t.recording = true;
    EXPECT_EQ(h.plug.GetTransportState(), 2); // recording without playing
    t.playing = true;
    EXPECT_EQ(h.plug.GetTransportState(), 1);
    t.recording = false;
    t.playing = false;
    EXPECT_EQ(h.plug.GetTransportState(), 0);

    const std::pair<double, int> positions[] = {
        {1000.4, 1000}, {1000.5, 1001}, {-0.5, 0}, {-7.0, 0}, {1e30, INT_MAX}};
    for (auto [position, expected] : positions) {
        t.samplePos = position;
        EXPECT_EQ(h.plug.GetSamplePosition(), expected) << position;
    }

    int numerator = -1, denominator = -1;
    h.plug.GetHostTimeSignature(numerator, denominator);
    EXPECT_EQ(std::pair(numerator, denominator), std::pair(0, 0)); // not marked valid
    t.numerator = 7;
    t.denominator = 8;
    h.plug.GetHostTimeSignature(numerator, denominator);
    EXPECT_EQ(std::pair(numerator, denominator), std::pair(7, 8));
    t.denominator = -8;
    h.plug.GetHostTimeSignature(numerator, denominator);
    EXPECT_EQ(std::pair(numerator, denominator), std::pair(0, 0));

    h.plug.GetHostTempo();
    EXPECT_EQ(t.lastMask, vst2::kTimeTempoValid);
    h.plug.GetHostTimeSignature(numerator, denominator);
    EXPECT_EQ(t.lastMask, vst2::kTimeSignatureValid);
    h.plug.GetSamplePosition();
    EXPECT_EQ(t.lastMask, 0);
    h.plug.GetTransportState();
    EXPECT_EQ(t.lastMask, 0);
}

// A new block size leaves every scratch buffer that size and silent; a refused
// one keeps the previous size.
TEST(Binding, ScratchBuffersAreZeroedOnABlockSizeChange)
{
    EngineHarness h;
    h.plug.Dispatch(vst2::kOpSetBlockSize, 0, 64, nullptr, 0.0f);
    std::vector<float> left(64, 0.7f), right(64, -0.7f);
    float* io[2] = {left.data(), right.data()};
    h.plug.ProcessFloat(io, io, 64, IPlugVST::ProcessMode::Replace);
    const auto filled = h.plug.AllScratchSamples();
    ASSERT_EQ(filled.size(), 4u * 64);
    ASSERT_NE(filled, std::vector<double>(4 * 64, 0.0));

    h.plug.Dispatch(vst2::kOpSetBlockSize, 0, 100, nullptr, 0.0f);
    EXPECT_EQ(h.plug.AllScratchSamples(), std::vector<double>(4 * 100, 0.0));
    h.plug.Dispatch(vst2::kOpSetBlockSize, 0, -5, nullptr, 0.0f);
    EXPECT_EQ(h.plug.AllScratchSamples().size(), 4u * 100);
}

namespace {

// The bits of a block of samples: NaNs compare by their payload.
std::vector<std::uint32_t> Bits(const std::vector<float>& samples)
{
    std::vector<std::uint32_t> bits(samples.size());
    std::memcpy(bits.data(), samples.data(), samples.size() * sizeof(float));
    return bits;
}

} // namespace

// A single-precision block the engine only scales (the tone held back and
// silent) goes from the host's input straight to its output. It must come out
// as rendering it in the engine would, to the bit, signalling NaNs and
// subnormals included, and leave the engine where rendering would: through a
// stop that ramps the tone out, quiet blocks that change tempo, pan and mix,
// and playing again, with the host asked for the time as often.
TEST(Binding, ScaledBlocksMatchRenderedOnesAndAdvanceTheEngineAlike)
{
    EngineHarness scaled;
    EnginePlug rendered(TestHostCallback);
    rendered.Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
    rendered.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, 48000.0f);
    rendered.Dispatch(vst2::kOpSetBlockSize, 0, 4096, nullptr, 0.0f);
    rendered.Dispatch(vst2::kOpProcessingOnOff, 0, 1, nullptr, 0.0f);
    const auto set = [&](int index, double value) {
        scaled.Set(index, value);
        rendered.GetParam(index)->SetClamped(value);
        rendered.ParameterChanged(index);
    };
    set(kLfo1Target, 4); // a tempo-locked LFO on pan
    set(kMix, 40);

    const int n = 301;
    std::vector<float> left(n), right(n);
    for (int i = 0; i < n; ++i) {
        left[i] = 0.37f * static_cast<float>(std::sin(i * 0.1));
        right[i] = static_cast<float>(i) * 1e-3f - 0.1f;
    }
    std::uint32_t signalling = 0x7FA00001u;
    std::memcpy(&left[3], &signalling, sizeof(float));
    left[4] = 1e-40f; // subnormal
    right[5] = -0.0f;

    struct Block {
        bool playing;
        double tempo, pan, mix;
    };
    const Block blocks[] = {{true, 120, 0, 40},
                            {false, 120, 0, 40},
                            {false, 120, 0, 40},
                            {false, 90, 60, 70},
                            {true, 90, 60, 70}};
    for (const Block& b : blocks) {
        TestTime().playing = b.playing;
        TestTime().tempo = b.tempo;
        set(kPan, b.pan);
        set(kMix, b.mix);

        std::vector<float> outL(n, 9.0f), outR(n, 9.0f);
        float* ins[2] = {left.data(), right.data()};
        float* outs[2] = {outL.data(), outR.data()};
        const int before = TestTime().requests;
        scaled.plug.ProcessFloat(ins, outs, n, IPlugVST::ProcessMode::Replace);
        const int asked = TestTime().requests - before;

        std::vector<double> l(left.begin(), left.end()), r(right.begin(), right.end());
        double* io[2] = {l.data(), r.data()};
        rendered.ProcessDouble(io, io, n);
        EXPECT_EQ(TestTime().requests - before - asked, asked);
        const std::vector<float> expectL(l.begin(), l.end()), expectR(r.begin(), r.end());
        EXPECT_EQ(Bits(outL), Bits(expectL)) << "playing " << b.playing << " tempo " << b.tempo;
        EXPECT_EQ(Bits(outR), Bits(expectR)) << "playing " << b.playing << " tempo " << b.tempo;

        const BlockState s = BlockStateOf(scaled.plug), e = BlockStateOf(rendered);
        EXPECT_EQ(s.mixCurrent, e.mixCurrent);
        EXPECT_EQ(s.panCurrent, e.panCurrent);
        EXPECT_EQ(s.carrierPhase, e.carrierPhase);
        EXPECT_EQ(s.isoPhase, e.isoPhase);
        EXPECT_EQ(s.lfoInc[0], e.lfoInc[0]);
        EXPECT_EQ(s.lfoPhase[0], e.lfoPhase[0]);
        EXPECT_EQ(scaled.plug.samplesPerWholeNote, rendered.samplesPerWholeNote);
    }

    // Outputs that are the other channel's input cannot be scaled channel by
    // channel: the block takes the scratch buffers and the channels swap.
    TestTime().playing = false;
    std::vector<float> a(n, 0.25f), c(n, -0.5f);
    float* ins[2] = {a.data(), c.data()};
    scaled.Render(n); // the tone ramped out
    float* swapped[2] = {c.data(), a.data()};
    scaled.plug.ProcessFloat(ins, swapped, n, IPlugVST::ProcessMode::Replace);
    EXPECT_EQ(a, std::vector<float>(n, -0.5f));
    EXPECT_EQ(c, std::vector<float>(n, 0.25f));
}
