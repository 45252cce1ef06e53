#include "vst2/iplug_vst.h"

#include <algorithm>
#include <cstring>

// The host's buffers are attached per block: connected channels consume the
// host's pointers in order, disconnected ones keep reading (and writing) their
// scratch buffers. A block longer than the announced block size is rendered in
// pieces no larger than the scratch buffers; a missing host pointer reads as
// silence and its output is discarded.

namespace {

void ZeroSamples(double* samples, int count)
{
    std::fill(samples, samples + count, 0.0);
}

} // namespace

void IPlugVST::ProcessFloat(float** hostIn, float** hostOut, std::int32_t frames, ProcessMode mode)
{
    LockGuard guard(lock);
    if (frames < 0 || blockSize <= 0)
        return;
    if (MidiMode() != 0)
        CallHost(vst2::kHostWantMidi);

    int done = 0;
    do {
        const int n = std::min(frames - done, blockSize);
        int next = 0;
        for (auto& c : inputChannels) {
            if (!c->connected)
                continue;
            const float* src = hostIn ? hostIn[next] : nullptr;
            ++next;
            double* scratch = c->Samples();
            if (src)
                for (int i = 0; i < n; ++i)
                    scratch[i] = src[done + i];
            else
                ZeroSamples(scratch, n);
            inputPointers[static_cast<std::size_t>(c->slot)] = scratch;
        }
        next = 0;
        for (auto& c : outputChannels) {
            if (!c->connected)
                continue;
            float* dst = hostOut ? hostOut[next] : nullptr;
            ++next;
            c->hostOutput = dst ? dst + done : nullptr;
            outputPointers[static_cast<std::size_t>(c->slot)] = c->Samples();
        }

        RenderBlock(inputPointers.data(), outputPointers.data(), n);

        for (auto& c : outputChannels) {
            if (!c->connected || !c->hostOutput)
                continue;
            const double* rendered = c->Samples();
            float* dst = c->hostOutput;
            if (mode == ProcessMode::Replace)
                for (int i = 0; i < n; ++i)
                    dst[i] = static_cast<float>(rendered[i]);
            else
                for (int i = 0; i < n; ++i)
                    dst[i] += static_cast<float>(rendered[i]);
            c->hostOutput = nullptr;
        }
        done += n;
    } while (done < frames);
}

void IPlugVST::ProcessDouble(double** hostIn, double** hostOut, std::int32_t frames)
{
    LockGuard guard(lock);
    if (frames < 0 || blockSize <= 0)
        return;
    if (MidiMode() != 0)
        CallHost(vst2::kHostWantMidi);

    int done = 0;
    do {
        const int n = std::min(frames - done, blockSize);
        int next = 0;
        for (auto& c : inputChannels) {
            if (!c->connected)
                continue;
            double* src = hostIn ? hostIn[next] : nullptr;
            ++next;
            if (!src)
                ZeroSamples(c->Samples(), n);
            inputPointers[static_cast<std::size_t>(c->slot)] = src ? src + done : c->Samples();
        }
        next = 0;
        for (auto& c : outputChannels) {
            if (!c->connected)
                continue;
            double* dst = hostOut ? hostOut[next] : nullptr;
            ++next;
            outputPointers[static_cast<std::size_t>(c->slot)] = dst ? dst + done : c->Samples();
        }
        RenderBlock(inputPointers.data(), outputPointers.data(), n);
        done += n;
    } while (done < frames);

    // Leave the disconnected channels' slots on their scratch buffers.
    for (auto& c : inputChannels)
        if (c->connected)
            inputPointers[static_cast<std::size_t>(c->slot)] = c->Samples();
    for (auto& c : outputChannels)
        if (c->connected)
            outputPointers[static_cast<std::size_t>(c->slot)] = c->Samples();
}
