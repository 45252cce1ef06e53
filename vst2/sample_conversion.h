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

// Widens each sample, multiplies it by gain and rounds the product into the
// host's buffer, replacing or adding to what is there: in one pass the same
// operations as widening into the engine's buffer, the engine scaling it and
// rounding it back out, so the samples are the same. Source and destination
// may be the same buffer: each group is read before it is written.
template <bool Add>
void ScaleRounded(const float* src, float* dst, int count, double gain)
{
    int i = 0;
    for (; i + kGroup <= count; i += kGroup) {
        float in[kGroup];
        for (int k = 0; k < kGroup; ++k)
            in[k] = src[i + k];
        for (int k = 0; k < kGroup; ++k) {
            const float scaled = static_cast<float>(gain * static_cast<double>(in[k]));
            dst[i + k] = Add ? dst[i + k] + scaled : scaled;
        }
    }
    for (; i < count; ++i) {
        const float scaled = static_cast<float>(gain * static_cast<double>(src[i]));
        dst[i] = Add ? dst[i] + scaled : scaled;
    }
}

} // namespace sample_conversion
