#pragma once
// The tone engine's per-sample arithmetic: phase wrapping, the carrier shapes,
// the pulse gate and the LFO waves. Shared by the block loops and the single
// LFO step so that every path computes a sample the same way. No OS calls.

#include <bit>
#include <cmath>
#include <cstdint>

namespace engine {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kThreeHalvesPi = 4.71238898038469;
constexpr double kTwoOverPi = 0.6366197723675814;
constexpr double kFourOverPi = 1.2732395447351628;
constexpr double kFourOverThreePi = 0.4244131815783876;
constexpr double kFiveThirds = 1.6666666666666667;
constexpr double kOneOverPi = 0.3183098861837907;
constexpr double kSilence = 1e-24;

// Brings a phase that left [0, 2π) by more than one period (or by a negative
// step) back into it. Rare: extreme increments at very low sample rates. Kept
// out of line so that the per-sample advance around it stays small enough to
// be inlined into the sample loops.
[[gnu::noinline, gnu::cold]] inline double WrapPhaseSlow(double p)
{
    if (!std::isfinite(p))
        return 0.0;
    p = std::fmod(p, kTwoPi);
    if (p < 0.0)
        p += kTwoPi;
    return p < kTwoPi ? p : 0.0;
}

// p + inc, less 2π once when that reaches 2π; anything still outside [0, 2π)
// is wrapped the slow way. Most steps land inside [0, 2π), which one unsigned
// comparison of the bits tells: from +0 up, doubles order as their bit
// patterns do, and -0, negatives and NaNs all compare above 2π's. The other
// steps take the wrap, and a phase that is still outside after it (an
// increment of 2π or more, a negative one, or not a number) the slow way.
inline double AdvancePhase(double p, double inc)
{
    constexpr std::uint64_t kTwoPiBits = std::bit_cast<std::uint64_t>(kTwoPi);
    p += inc;
    if (std::bit_cast<std::uint64_t>(p) >= kTwoPiBits) {
        if (p >= kTwoPi) {
            p -= kTwoPi;
            if (!(p < kTwoPi))
                p = WrapPhaseSlow(p);
        } else if (!(p >= 0.0)) {
            p = WrapPhaseSlow(p);
        }
    }
    return p;
}

struct GoldenShape {
    double split; // goldenSplit
    double k1, k2, k3;
};

// Carrier wave value at phase p (waves 7 and above are the golden square).
template <int Wave>
inline double CarrierValue(double p, const GoldenShape& g)
{
    if constexpr (Wave == 0) {
        return std::sin(p);
    } else if constexpr (Wave == 1) {
        return p < kPi ? p * kTwoOverPi - 1.0 : 3.0 - p * kTwoOverPi;
    } else if constexpr (Wave == 2) {
        return 1.0 - p * kOneOverPi;
    } else if constexpr (Wave == 3) {
        return p < kPi ? 1.0 : -1.0;
    } else if constexpr (Wave == 4) {
        return p < g.split ? std::cos(p * g.k1) : std::cos(p * g.k2 + g.k3);
    } else if constexpr (Wave == 5) {
        return p < g.split ? 2.0 * std::sin(p * g.k1) - 1.0 : 2.0 * std::sin(p * g.k2 + g.k3) - 1.0;
    } else if constexpr (Wave == 6) {
        return p < g.split ? p * g.k1 - 1.0 : g.k2 - p * g.k3;
    } else {
        return p < g.split ? 1.0 : -1.0;
    }
}

inline double CarrierValue(int wave, double p, const GoldenShape& g)
{
    switch (wave) {
    case 0:
        return CarrierValue<0>(p, g);
    case 1:
        return CarrierValue<1>(p, g);
    case 2:
        return CarrierValue<2>(p, g);
    case 3:
        return CarrierValue<3>(p, g);
    case 4:
        return CarrierValue<4>(p, g);
    case 5:
        return CarrierValue<5>(p, g);
    case 6:
        return CarrierValue<6>(p, g);
    default:
        return CarrierValue<7>(p, g);
    }
}

// Pulse gate at phase t: an envelope r·sin + (1 − r) over the open part of the
// period, -1 (shut) elsewhere. The open part is the first half, or the golden
// fraction openEnd of it with openScale mapping it onto a half sine. With r = 0
// (a hard pulse) the envelope is exactly 1 - r whatever the sine, so the sine is
// not evaluated.
inline double PlainGate(double t, double round, double flat)
{
    if (!(t < kPi))
        return -1.0;
    return round == 0.0 ? flat : round * std::sin(t) + flat;
}

inline double GoldenGate(double t, double round, double flat, double openEnd, double openScale)
{
    if (!(t < openEnd))
        return -1.0;
    return round == 0.0 ? flat : round * std::sin(t * openScale) + flat;
}

// LFO wave value at phase p. The square is smoothed by one pole whose state the
// call updates; the other waves leave it alone. A held LFO (increment 0: synced
// without a host tempo) keeps its value, so its square stops smoothing too.
template <int Wave>
inline double LfoWaveValue(double p, double& squareState, double smoothIn, double smoothKeep, bool held)
{
    if constexpr (Wave == 0) {
        return std::sin(p);
    } else if constexpr (Wave == 1) {
        return p < kPi ? p * kTwoOverPi - 1.0 : 3.0 - p * kTwoOverPi;
    } else if constexpr (Wave == 2) {
        return p < kHalfPi ? p * kFourOverPi - 1.0 : kFiveThirds - p * kFourOverThreePi;
    } else if constexpr (Wave == 3) {
        return p < kThreeHalvesPi ? p * kFourOverThreePi - 1.0 : 7.0 - p * kFourOverPi;
    } else if constexpr (Wave == 4) {
        if (held)
            return squareState;
        const double q = p < kPi ? 1.0 : -1.0;
        const double v = smoothIn * q + smoothKeep * squareState;
        squareState = v;
        return v;
    } else if constexpr (Wave == 5) {
        return 2.0 * std::sin(p / 2.0) - 1.0;
    } else {
        return 2.0 * std::sin(p / 2.0 + kPi) + 1.0;
    }
}

inline double LfoWaveValue(int wave, double p, double& squareState, double smoothIn, double smoothKeep,
                           bool held)
{
    switch (wave) {
    case 0:
        return LfoWaveValue<0>(p, squareState, smoothIn, smoothKeep, held);
    case 1:
        return LfoWaveValue<1>(p, squareState, smoothIn, smoothKeep, held);
    case 2:
        return LfoWaveValue<2>(p, squareState, smoothIn, smoothKeep, held);
    case 3:
        return LfoWaveValue<3>(p, squareState, smoothIn, smoothKeep, held);
    case 4:
        return LfoWaveValue<4>(p, squareState, smoothIn, smoothKeep, held);
    case 5:
        return LfoWaveValue<5>(p, squareState, smoothIn, smoothKeep, held);
    case 6:
        return LfoWaveValue<6>(p, squareState, smoothIn, smoothKeep, held);
    default:
        return 0.0;
    }
}

// Rounds half away from zero (truncating x ± 0.5) into an unsigned 32-bit count,
// saturating at both ends; NaN gives 0.
inline std::uint32_t RoundToCount(double x)
{
    if (!(x > 0.0))
        return 0;
    const double r = x + 0.5;
    if (r >= 4294967295.0)
        return 4294967295u;
    return static_cast<std::uint32_t>(r);
}

} // namespace engine
