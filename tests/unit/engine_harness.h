#pragma once
// Drives a VSTCLASS directly, as the binding does, with a small host that
// answers tempo and transport. One harness at a time per process: the host
// callback reads a process-wide record.

#include "plugin/vstclass.h"

#include <vector>

struct TestHostTime {
    double tempo = 120.0; // 0: no tempo reported
    bool playing = true;
    int requests = 0;
    std::vector<int> told; // opcodes of the other requests, oldest first
    // What the binding's own tests set and read.
    bool recording = false;
    double samplePos = 0.0;
    int numerator = 0; // time signature; 0: none reported
    int denominator = 0;
    std::intptr_t lastMask = -1;           // the flags the last time request asked for
    std::vector<int> toldIndex{};          // the index of each request in told
    std::vector<vst2::MidiEvent> midi{};   // MIDI events the plug-in sent, copied
    std::vector<vst2::SysExEvent> sysEx{}; // system-exclusive events, copied
};

inline TestHostTime& TestTime()
{
    static TestHostTime time;
    return time;
}

// Copies the events of a list the plug-in sent; 1 when it was a well-formed list.
inline std::intptr_t TakeEvents(const void* ptr)
{
    const auto* list = static_cast<const vst2::EventList*>(ptr);
    if (!list || list->numEvents != 1 || list->events[1] != nullptr)
        return 0;
    const vst2::Event* event = list->events[0];
    if (event->type == vst2::kEventMidi)
        TestTime().midi.push_back(*reinterpret_cast<const vst2::MidiEvent*>(event));
    else if (event->type == vst2::kEventSysEx)
        TestTime().sysEx.push_back(*reinterpret_cast<const vst2::SysExEvent*>(event));
    return 1;
}

inline std::intptr_t TestHostCallback(vst2::EffectDescriptor*, std::int32_t opcode, std::int32_t index,
                                      std::intptr_t value, void* ptr, float)
{
    static vst2::TimeInfo info{};
    TestHostTime& t = TestTime();
    if (opcode != vst2::kHostGetTime) {
        t.told.push_back(opcode);
        t.toldIndex.push_back(index);
        return opcode == vst2::kHostProcessEvents ? TakeEvents(ptr) : 0;
    }
    ++t.requests;
    t.lastMask = value;
    info = {};
    info.tempo = t.tempo;
    info.samplePos = t.samplePos;
    info.timeSigNumerator = t.numerator;
    info.timeSigDenominator = t.denominator;
    info.flags = (t.tempo > 0.0 ? vst2::kTimeTempoValid : 0) | (t.playing ? vst2::kTimeTransportPlaying : 0) |
                 (t.recording ? vst2::kTimeTransportRecording : 0) |
                 (t.numerator != 0 ? vst2::kTimeSignatureValid : 0);
    return reinterpret_cast<std::intptr_t>(&info);
}

// Lets a test give the core a sample rate the dispatcher would refuse.
class EnginePlug : public VSTCLASS {
public:
    // Without a panel: the tests that need one attach their own.
    explicit EnginePlug(vst2::HostCallback host) : VSTCLASS(host, nullptr) {}
    void ForceSampleRate(double rate) { sampleRate = rate; }
    // Every sample of every input's and output's scratch buffer.
    std::vector<double> AllScratchSamples()
    {
        std::vector<double> all;
        for (auto& c : inputChannels)
            all.insert(all.end(), c->Samples(), c->Samples() + c->scratch.Size() / 8);
        for (auto& c : outputChannels)
            all.insert(all.end(), c->Samples(), c->Samples() + c->scratch.Size() / 8);
        return all;
    }
};

struct Stereo {
    explicit Stereo(int frames, double level = 0.0) : left(frames, level), right(frames, level) {}
    std::vector<double> left, right;
    double* ptrs[2];
    double** Pointers()
    {
        ptrs[0] = left.data();
        ptrs[1] = right.data();
        return ptrs;
    }
};

class EngineHarness {
public:
    explicit EngineHarness(double rate = 48000.0, double tempo = 120.0, bool playing = true)
        : plug(TestHostCallback)
    {
        TestTime() = {tempo, playing, 0, {}};
        plug.Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
        plug.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
        plug.Dispatch(vst2::kOpSetBlockSize, 0, 4096, nullptr, 0.0f);
        plug.Dispatch(vst2::kOpProcessingOnOff, 0, 1, nullptr, 0.0f);
    }

    // A real value, as a host or a loaded program would set it.
    void Set(int index, double value)
    {
        plug.GetParam(index)->SetClamped(value);
        plug.ParameterChanged(index);
    }

    // Renders frames of a constant input level and returns the output.
    Stereo Render(int frames, double inputLevel = 0.0)
    {
        Stereo in(frames, inputLevel), out(frames);
        plug.RenderBlock(in.Pointers(), out.Pointers(), frames);
        return out;
    }

    // Renders total frames in blocks of blockFrames.
    Stereo RenderLong(int total, int blockFrames, double inputLevel = 0.0)
    {
        Stereo all(0);
        for (int done = 0; done < total; done += blockFrames) {
            const Stereo part = Render(std::min(blockFrames, total - done), inputLevel);
            all.left.insert(all.left.end(), part.left.begin(), part.left.end());
            all.right.insert(all.right.end(), part.right.begin(), part.right.end());
        }
        return all;
    }

    EnginePlug plug;
};
