#pragma once
// Loudness of a render after EBU R128 (libebur128): the integrated loudness
// in LUFS and the true peak in dBTP, and the one gain that brings a render to
// a target loudness without its true peak passing a ceiling.

#include <cstdint>
#include <memory>
#include <string>

namespace render {

class LoudnessMeter {
public:
    static std::unique_ptr<LoudnessMeter> Create(int channels, int rate, std::string& error);
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    void Add(const float* interleaved, std::int64_t frames);
    double IntegratedLufs() const; // -inf for silence
    double TruePeakDbtp() const;   // the loudest channel; -inf for silence

private:
    LoudnessMeter() = default;
    struct State; // the library's measuring state
    std::unique_ptr<State> state;
    int channels = 0;
};

constexpr double kTruePeakCeilingDbtp = -1.0;

struct LoudnessGain {
    double db = 0.0;
    bool ceilingWon = false; // the target would have put the true peak above the ceiling
};

// The gain from measured to target loudness, lowered where the true peak
// would otherwise pass the ceiling.
LoudnessGain GainForLoudness(double measuredLufs, double truePeakDbtp, double targetLufs,
                             double ceilingDbtp = kTruePeakCeilingDbtp);

} // namespace render
