#pragma once
// How a render begins and ends: the preroll that runs the plug-in before the
// first written frame, so the glide of pitch and pulse rate from 0 Hz that
// follows the plug-in's creation is not heard, and the equal-power fades
// applied to the written samples.

#include <cstdint>

namespace host {
class HostState;
class PluginInstance;
} // namespace host

namespace render {

// Frames, in whole blocks, until the plug-in's start-up glide has settled to
// within 0.01 % of its targets: the glide takes a quarter of the "Fade" time;
// blocks shorter than that each cover their share of the remaining distance.
std::int64_t SettledGlideFrames(double fadeMs, double rate, int block);

// Runs the plug-in on silence for frames (whole blocks of block frames, the
// last one shorter), then on single frames until its output falls silent, as
// it does between two pulses, so the render starts where a pulse begins; at
// most limit frames are added that way. Returns the frames run.
std::int64_t RunPreroll(host::PluginInstance& plugin, host::HostState& hostState, std::int64_t frames,
                        int block, std::int64_t limit);

struct Fades {
    std::int64_t total = 0; // frames in the render
    std::int64_t in = 0;    // fade-in frames
    std::int64_t out = 0;   // fade-out frames
    bool Any() const { return in > 0 || out > 0; }
};

// The gain of frame: sin of a quarter turn over the fade (equal power), so
// the first frame and the last are exactly 0.
double FadeGain(const Fades& fades, std::int64_t frame);

// Scales interleaved frames starting at firstFrame.
void ApplyFades(const Fades& fades, float* interleaved, int channels, std::int64_t frames,
                std::int64_t firstFrame);

} // namespace render
