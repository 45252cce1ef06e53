#pragma once
// The render loop: feeds the plug-in block by block, exactly as a host's
// audio thread does, and hands the converted samples to a writer thread, so
// rendering and encoding run side by side. All buffers are made before the
// first block; the loop itself allocates nothing.

#include "tools/render/start_and_end.h"

#include <cstdint>
#include <string>
#include <vector>

namespace host {
class HostState;
class PluginInstance;
} // namespace host

namespace render {

class InputFile;
class OutputFile;
class ProgressDisplay;
class ScheduleAutomation;
class LoudnessMeter;

struct RenderSetup {
    int channels = 2;        // channels the plug-in is connected with, and in the output file
    bool spreadMono = false; // a mono input goes to both plug-in inputs
    int block = 512;         // frames per audio call
    std::int64_t frames = 0; // frames to render; an input file may end sooner
    bool trackPeak = false;  // measure the loudest sample (for integer formats, which clip)
    // A render over time: a schedule's values sent before each block, fades
    // on the written samples, the host position of the first written frame
    // (after a preroll), and the left channel of the first frames kept for a plot.
    ScheduleAutomation* automation = nullptr;
    Fades fades;
    std::int64_t firstHostFrame = 0;
    std::vector<float>* keepLeft = nullptr;
    // Loudness: a gain on the written samples (--loudness), and a meter that
    // measures them as they are written.
    float gain = 1.0f;
    LoudnessMeter* meter = nullptr;
    std::int64_t keepFrames = 0;
};

struct RenderOutcome {
    bool ok = false;
    bool interrupted = false;
    std::string error;
    std::int64_t frames = 0;         // frames written
    float peak = 0.0f;               // loudest sample, when measured
    bool inputEndedEarly = false;    // the input file held fewer frames than asked for
    std::int64_t nonFiniteInput = 0; // input samples that were NaN or infinite (rendered as silence)
    std::int64_t firstNonFiniteFrame = -1;
};

// Renders into output. input may be null: the plug-in then processes silence;
// output may be null: the render is then only measured (setup.meter).
RenderOutcome RenderToFile(host::PluginInstance& plugin, host::HostState& hostState, InputFile* input,
                           OutputFile* output, const RenderSetup& setup, ProgressDisplay& progress);

} // namespace render
