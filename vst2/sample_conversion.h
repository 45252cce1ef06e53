#pragma once

// Conversion between the host's single-precision buffers and the engine's
// double-precision ones. Widening a float to a double and rounding a double to
// the nearest float are exact operations whichever instructions carry them out,
// so the samples are the same as a one-at-a-time loop would give.
//
// The loops work in fixed-size groups: a group with a known length compiles to
// packed conversions at the project's optimisation level, where a loop of
// unknown length stays one sample at a time. The remainder runs singly.

namespace sample_conversion {

constexpr int kGroup = 8;

// Widens floats to doubles or rounds doubles to floats.
template <typename From, typename To>
void Convert(const From* src, To* dst, int count)
{
    int i = 0;
    for (; i + kGroup <= count; i += kGroup)
        for (int k = 0; k < kGroup; ++k)
            dst[i + k] = static_cast<To>(src[i + k]);
    for (; i < count; ++i)
        dst[i] = static_cast<To>(src[i]);
}

// Adds each sample, rounded to single precision, to the host's buffer.
inline void NarrowAndAdd(const double* src, float* dst, int count)
{
    int i = 0;
    for (; i + kGroup <= count; i += kGroup)
        for (int k = 0; k < kGroup; ++k)
            dst[i + k] += static_cast<float>(src[i + k]);
    for (; i < count; ++i)
        dst[i] += static_cast<float>(src[i]);
}

} // namespace sample_conversion
