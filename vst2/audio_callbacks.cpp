#include "vst2/iplug_vst.h"

#include "vst2/sample_conversion.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// The host's buffers are attached per block: connected channels consume the
// host's pointers in order, disconnected ones keep reading (and writing) their
// scratch buffers. A block longer than the announced block size is rendered in
// pieces no larger than the scratch buffers; a missing host pointer reads as
// silence and its output is discarded. A single-precision piece that the
// engine only scales by one gain skips the scratch buffers: the binding scales
// the host's samples itself.

namespace {

void ZeroSamples(double* samples, int count)
{
    std::fill(samples, samples + count, 0.0);
}

// Calls f(channel, host pointer) for each connected channel in order; the
// connected channels take the host's pointers one after another, and a host
// that passed no array gives null for each.
template <typename Channel, typename Sample, typename F>
void ForEachConnected(std::vector<std::unique_ptr<Channel>>& channels, Sample** host, F&& f)
{
    int next = 0;
    for (auto& c : channels) {
        if (!c->connected)
            continue;
        f(*c, host ? host[next] : nullptr);
        ++next;
    }
}

// Whether [a, a + n) and [b, b + n) share no sample.
bool Apart(const float* a, const float* b, int n)
{
    const auto x = reinterpret_cast<std::uintptr_t>(a);
    const auto y = reinterpret_cast<std::uintptr_t>(b);
    const auto bytes = static_cast<std::uintptr_t>(n) * sizeof(float);
    return x + bytes <= y || y + bytes <= x;
}

} // namespace

bool IPlugVST::HostBuffersTakeGain(float** hostIn, float** hostOut, int frames) const
{
    // Every channel connected, as many outputs as inputs, every buffer there,
    // and each output either its own input's buffer or clear of all inputs:
    // then scaling channel by channel reads what converting all inputs first
    // would have.
    if (frames < 0 || !hostIn || !hostOut || inputChannels.size() != outputChannels.size())
        return false;
    const std::size_t channels = inputChannels.size();
    for (std::size_t c = 0; c < channels; ++c)
        if (!inputChannels[c]->connected || !outputChannels[c]->connected || !hostIn[c] || !hostOut[c])
            return false;
    for (std::size_t out = 0; out < channels; ++out)
        for (std::size_t in = 0; in < channels; ++in)
            if (!(out == in && hostOut[out] == hostIn[in]) && !Apart(hostOut[out], hostIn[in], frames))
                return false;
    return true;
}

template <typename ScalePiece, typename AttachPiece, typename CollectPiece>
void IPlugVST::RenderInPieces(int frames, ScalePiece&& scale, AttachPiece&& attach, CollectPiece&& collect)
{
    LockGuard guard(lock);
    if (frames < 0 || blockSize <= 0)
        return;
    if (MidiMode() != 0)
        CallHost(vst2::kHostWantMidi);

    int done = 0;
    do {
        const int n = std::min(frames - done, blockSize);
        if (!scale(done, n)) {
            attach(done, n);
            RenderBlock(inputPointers.data(), outputPointers.data(), n);
            collect(n);
        }
        done += n;
    } while (done < frames);

    // Point the connected channels' slots back at their scratch buffers, so
    // that no pointer into the host's buffers outlives the call.
    for (auto& c : inputChannels)
        if (c->connected)
            inputPointers[static_cast<std::size_t>(c->slot)] = c->Samples();
    for (auto& c : outputChannels)
        if (c->connected)
            outputPointers[static_cast<std::size_t>(c->slot)] = c->Samples();
}

void IPlugVST::ProcessFloat(float** hostIn, float** hostOut, std::int32_t frames, ProcessMode mode)
{
    // Single precision: the input is converted into the scratch buffers, the
    // engine renders into them, and the result is converted back out; or the
    // engine finishes the piece as a gain and the input is scaled straight
    // into the output.
    const bool scalable = HostBuffersTakeGain(hostIn, hostOut, frames);
    const auto scale = [&](int done, int n) {
        double gain = 0.0;
        if (!scalable || !RenderBlockAsGain(n, gain))
            return false;
        for (std::size_t c = 0; c < outputChannels.size(); ++c) {
            if (mode == ProcessMode::Replace)
                sample_conversion::ScaleRounded<false>(hostIn[c] + done, hostOut[c] + done, n, gain);
            else
                sample_conversion::ScaleRounded<true>(hostIn[c] + done, hostOut[c] + done, n, gain);
        }
        return true;
    };
    const auto attach = [&](int done, int n) {
        ForEachConnected(inputChannels, hostIn, [&](InputChannel& c, const float* src) {
            double* scratch = c.Samples();
            if (src)
                sample_conversion::Convert(src + done, scratch, n);
            else
                ZeroSamples(scratch, n);
            inputPointers[static_cast<std::size_t>(c.slot)] = scratch;
        });
        ForEachConnected(outputChannels, hostOut, [&](OutputChannel& c, float* dst) {
            c.hostOutput = dst ? dst + done : nullptr;
            outputPointers[static_cast<std::size_t>(c.slot)] = c.Samples();
        });
    };
    const auto collect = [&](int n) {
        for (auto& c : outputChannels) {
            if (!c->connected || !c->hostOutput)
                continue;
            const double* rendered = c->Samples();
            float* dst = c->hostOutput;
            if (mode == ProcessMode::Replace)
                sample_conversion::Convert(rendered, dst, n);
            else
                sample_conversion::NarrowAndAdd(rendered, dst, n);
            c->hostOutput = nullptr;
        }
    };
    RenderInPieces(frames, scale, attach, collect);
}

void IPlugVST::ProcessDouble(double** hostIn, double** hostOut, std::int32_t frames)
{
    // Double precision: the engine reads and writes the host's buffers
    // directly, even when the host passes the same buffer as input and output.
    // That is safe because the engine reads both inputs of a frame before it
    // writes that frame's outputs, and never reads a frame it has written.
    const auto attach = [&](int done, int n) {
        ForEachConnected(inputChannels, hostIn, [&](InputChannel& c, double* src) {
            if (!src)
                ZeroSamples(c.Samples(), n);
            inputPointers[static_cast<std::size_t>(c.slot)] = src ? src + done : c.Samples();
        });
        ForEachConnected(outputChannels, hostOut, [&](OutputChannel& c, double* dst) {
            outputPointers[static_cast<std::size_t>(c.slot)] = dst ? dst + done : c.Samples();
        });
    };
    RenderInPieces(
        frames, [](int, int) { return false; }, attach, [](int) {});
}
