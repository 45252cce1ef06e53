// The fuzz targets reuse one instance and restore it between inputs; a finding
// is only worth something when the restored instance is indistinguishable
// from a new one. Here an instance is led through everything the targets do to
// it, restored, and compared with a new instance in all a host can observe.

#include "tests/fuzz/fuzz_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Everything a host can read from an instance, rendered output included.
struct Observed {
    std::vector<std::uint8_t> bank;
    std::vector<std::uint8_t> program;
    std::intptr_t currentProgram = 0;
    std::vector<std::string> texts; // per parameter: position bits, display and label
    std::vector<std::int32_t> descriptor;
    std::vector<std::uint8_t> rendered;

    bool operator==(const Observed&) const = default;
};

std::string ParameterTexts(fuzz::Instance& plug, int index)
{
    vst2::EffectDescriptor* e = plug.Effect();
    const float position = e->getParameter(e, index);
    char bits[sizeof position];
    std::memcpy(bits, &position, sizeof bits);
    char display[32] = {};
    char label[32] = {};
    plug.Dispatch(vst2::kOpGetParamDisplay, index, 0, display);
    plug.Dispatch(vst2::kOpGetParamLabel, index, 0, label);
    return std::string(bits, sizeof bits) + display + '|' + label;
}

// Blocks in all three processing calls, the bytes of every output sample.
std::vector<std::uint8_t> RenderedBytes(fuzz::Instance& plug)
{
    vst2::EffectDescriptor* e = plug.Effect();
    constexpr int kFrames = 700;
    std::vector<std::uint8_t> bytes;
    std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
    std::vector<double> dInL(kFrames), dInR(kFrames), dOutL(kFrames), dOutR(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        dInL[static_cast<std::size_t>(i)] = 0.3 * std::sin(0.02 * i);
        dInR[static_cast<std::size_t>(i)] = -dInL[static_cast<std::size_t>(i)];
        inL[static_cast<std::size_t>(i)] = static_cast<float>(dInL[static_cast<std::size_t>(i)]);
        inR[static_cast<std::size_t>(i)] = static_cast<float>(dInR[static_cast<std::size_t>(i)]);
    }
    const auto append = [&bytes](const void* data, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
    };
    for (int block = 0; block < 6; ++block) {
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        double* dIn[2] = {dInL.data(), dInR.data()};
        double* dOut[2] = {dOutL.data(), dOutR.data()};
        if (block % 3 == 2) {
            e->processDoubleReplacing(e, dIn, dOut, kFrames);
            append(dOutL.data(), dOutL.size() * sizeof(double));
            append(dOutR.data(), dOutR.size() * sizeof(double));
        } else {
            (block % 3 == 0 ? e->processReplacing : e->process)(e, in, out, kFrames);
            append(outL.data(), outL.size() * sizeof(float));
            append(outR.data(), outR.size() * sizeof(float));
        }
    }
    return bytes;
}

Observed Observe(fuzz::Instance& plug)
{
    Observed seen;
    vst2::EffectDescriptor* e = plug.Effect();
    seen.bank = plug.GetChunk(true);
    seen.program = plug.GetChunk(false);
    seen.currentProgram = plug.Dispatch(vst2::kOpGetProgram);
    for (int i = 0; i < e->numParams; ++i)
        seen.texts.push_back(ParameterTexts(plug, i));
    seen.descriptor = {e->numPrograms, e->numParams,    e->numInputs, e->numOutputs,
                       e->flags,       e->initialDelay, e->uniqueID,  e->version};
    seen.rendered = RenderedBytes(plug);
    return seen;
}

// What the fuzz targets do to an instance: another program and rate, every
// parameter moved, a program renamed, a foreign chunk, events, one channel,
// blocks of odd lengths, another tempo and a stopped transport.
void Disturb(fuzz::Instance& plug)
{
    vst2::EffectDescriptor* e = plug.Effect();
    plug.Dispatch(vst2::kOpSetProgram, 0, 17);
    for (int i = 0; i < e->numParams; ++i)
        e->setParameter(e, i, static_cast<float>((i * 37) % 100) / 100.0f);
    char name[] = "Renamed";
    plug.Dispatch(vst2::kOpSetProgramName, 0, 0, name);
    plug.Render(1, 333);
    plug.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, 44100.0f);
    plug.Dispatch(vst2::kOpSetBlockSize, 0, 64);
    vst2::SpeakerArrangement mono{};
    mono.numChannels = 1;
    plug.Dispatch(vst2::kOpSetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(&mono), &mono);
    const std::vector<std::uint8_t> other = plug.GetChunk(false);
    plug.Dispatch(vst2::kOpSetProgram, 0, 3);
    plug.SetChunk(false, other);
    vst2::MidiEvent note{};
    note.type = vst2::kEventMidi;
    note.byteSize = sizeof note;
    note.midiData[0] = static_cast<char>(0xB0);
    note.midiData[1] = 7;
    note.midiData[2] = 90;
    vst2::EventList list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<vst2::Event*>(&note);
    plug.Dispatch(vst2::kOpProcessEvents, 0, 0, &list);
    fuzz::Answers().time.tempo = 97.0;
    plug.Render(2, 129);
    fuzz::Answers().time.flags = 0;
    plug.Render(0, 1000);
    plug.Dispatch(vst2::kOpProcessingOnOff, 0, 0);
}

TEST(FuzzRestore, ARestoredInstanceIsIndistinguishableFromANewOne)
{
    fuzz::Instance used;
    used.Start(48000.0f, 512);
    // Twice: a restore must also hold after an earlier restore.
    for (int round = 0; round < 2; ++round) {
        Disturb(used);
        ASSERT_TRUE(used.Restore());
        const Observed restored = Observe(used);
        fuzz::Instance fresh;
        fresh.Start(48000.0f, 512);
        const Observed expected = Observe(fresh);
        EXPECT_EQ(restored.bank, expected.bank);
        EXPECT_EQ(restored.program, expected.program);
        EXPECT_EQ(restored.currentProgram, expected.currentProgram);
        EXPECT_EQ(restored.texts, expected.texts);
        EXPECT_EQ(restored.descriptor, expected.descriptor);
        EXPECT_TRUE(restored.rendered == expected.rendered) << "rendered samples differ";
        ASSERT_TRUE(used.Restore());
    }
}

TEST(FuzzRestore, TheDisturbanceIsObservable)
{
    // Guards the test above against a disturbance that changes nothing.
    fuzz::Instance used;
    used.Start(48000.0f, 512);
    Disturb(used);
    const Observed disturbed = Observe(used);
    fuzz::Instance fresh;
    fresh.Start(48000.0f, 512);
    const Observed expected = Observe(fresh);
    EXPECT_NE(disturbed.bank, expected.bank);
    EXPECT_FALSE(disturbed.rendered == expected.rendered);
}

} // namespace
