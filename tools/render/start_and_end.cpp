#include "tools/render/start_and_end.h"

#include "host/plugin_host.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace render {

namespace {

// What is left of a glide once it counts as settled.
constexpr double kSettledShare = 1e-4;

} // namespace

std::int64_t SettledGlideFrames(double fadeMs, double rate, int block)
{
    const double glide = std::round(fadeMs * rate * 0.00025);
    if (glide <= block)
        return block;
    const double shareLeftPerBlock = 1.0 - block / glide;
    const double blocks = std::ceil(std::log(kSettledShare) / std::log(shareLeftPerBlock));
    return static_cast<std::int64_t>(blocks) * block;
}

std::int64_t RunPreroll(host::PluginInstance& plugin, host::HostState& hostState, std::int64_t frames,
                        int block, std::int64_t limit)
{
    std::vector<double> silence(static_cast<std::size_t>(block), 0.0);
    std::vector<double> outL(static_cast<std::size_t>(block), 0.0);
    std::vector<double> outR(static_cast<std::size_t>(block), 0.0);
    double* ins[2] = {silence.data(), silence.data()};
    double* outs[2] = {outL.data(), outR.data()};
    std::int64_t position = 0;
    int last = 0;
    while (position < frames) {
        const int n = static_cast<int>(std::min<std::int64_t>(block, frames - position));
        hostState.SetSamplePosition(static_cast<double>(position));
        plugin.ProcessDouble(ins, outs, n);
        position += n;
        last = n - 1;
    }
    for (std::int64_t extra = 0; extra < limit; ++extra) {
        if (outL[static_cast<std::size_t>(last)] == 0.0 && outR[static_cast<std::size_t>(last)] == 0.0)
            break;
        hostState.SetSamplePosition(static_cast<double>(position));
        plugin.ProcessDouble(ins, outs, 1);
        ++position;
        last = 0;
    }
    return position;
}

double FadeGain(const Fades& fades, std::int64_t frame)
{
    constexpr double kQuarterTurn = std::numbers::pi / 2.0;
    double gain = 1.0;
    if (frame < fades.in)
        gain *= std::sin(kQuarterTurn * static_cast<double>(frame) / static_cast<double>(fades.in));
    const std::int64_t fromEnd = fades.total - 1 - frame;
    if (fromEnd < fades.out)
        gain *= std::sin(kQuarterTurn * static_cast<double>(std::max<std::int64_t>(fromEnd, 0)) /
                         static_cast<double>(fades.out));
    return gain;
}

void ApplyFades(const Fades& fades, float* interleaved, int channels, std::int64_t frames,
                std::int64_t firstFrame)
{
    const std::int64_t fadeOutStart = fades.total - fades.out;
    for (std::int64_t i = 0; i < frames; ++i) {
        const std::int64_t frame = firstFrame + i;
        if (frame >= fades.in && frame < fadeOutStart)
            continue;
        const float gain = static_cast<float>(FadeGain(fades, frame));
        for (int c = 0; c < channels; ++c)
            interleaved[i * channels + c] *= gain;
    }
}

} // namespace render
