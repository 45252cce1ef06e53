#include "tools/render/loudness.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace render {

struct LoudnessMeter::State {
    ebur128_state* meter = nullptr;
    ~State()
    {
        if (meter)
            ebur128_destroy(&meter);
    }
};

std::unique_ptr<LoudnessMeter> LoudnessMeter::Create(int channels, int rate, std::string& error)
{
    std::unique_ptr<LoudnessMeter> meter(new LoudnessMeter());
    meter->state = std::make_unique<State>();
    meter->state->meter = ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(rate),
                                       EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
    if (!meter->state->meter) {
        error = "cannot measure loudness at " + std::to_string(rate) + " Hz";
        return nullptr;
    }
    meter->channels = channels;
    return meter;
}

LoudnessMeter::~LoudnessMeter() = default;

void LoudnessMeter::Add(const float* interleaved, std::int64_t frames)
{
    ebur128_add_frames_float(state->meter, interleaved, static_cast<std::size_t>(frames));
}

double LoudnessMeter::IntegratedLufs() const
{
    double lufs = 0.0;
    if (ebur128_loudness_global(state->meter, &lufs) != EBUR128_SUCCESS)
        return -std::numeric_limits<double>::infinity();
    return lufs;
}

double LoudnessMeter::TruePeakDbtp() const
{
    double peak = 0.0;
    for (int c = 0; c < channels; ++c) {
        double channelPeak = 0.0;
        if (ebur128_true_peak(state->meter, static_cast<unsigned>(c), &channelPeak) == EBUR128_SUCCESS)
            peak = std::max(peak, channelPeak);
    }
    return 20.0 * std::log10(peak);
}

LoudnessGain GainForLoudness(double measuredLufs, double truePeakDbtp, double targetLufs, double ceilingDbtp)
{
    LoudnessGain gain;
    gain.db = targetLufs - measuredLufs;
    if (truePeakDbtp + gain.db > ceilingDbtp) {
        gain.db = ceilingDbtp - truePeakDbtp;
        gain.ceilingWon = true;
    }
    return gain;
}

} // namespace render
