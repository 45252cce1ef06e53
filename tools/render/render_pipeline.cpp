#include "tools/render/render_pipeline.h"

#include "host/plugin_host.h"
#include "tools/render/audio_file.h"
#include "tools/render/loudness.h"
#include "tools/render/progress.h"
#include "tools/render/schedule_automation.h"
#include "tools/render/terminal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace render {

namespace {

// About a third of a second of audio per chunk at 48 kHz: large writes, and
// few enough hand-overs between the threads to cost nothing.
constexpr int kChunkFrames = 16384;
constexpr std::size_t kChunkCount = 4;

struct Chunk {
    std::vector<float> samples;
    std::int64_t frames = 0;
};

// Chunks go round a fixed ring: the renderer fills chunk n % kChunkCount once
// the writer has finished with it, the writer takes them in order.
class ChunkRing {
public:
    ChunkRing(std::size_t samplesPerChunk)
    {
        for (Chunk& c : chunks)
            c.samples.resize(samplesPerChunk);
    }

    Chunk* NextToFill()
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return filled - written < kChunkCount || failed; });
        return failed ? nullptr : &chunks[filled % kChunkCount];
    }
    void Filled()
    {
        std::lock_guard<std::mutex> lock(mutex);
        ++filled;
        changed.notify_all();
    }
    void Finish()
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        changed.notify_all();
    }

    Chunk* NextToWrite()
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return written < filled || finished; });
        return written < filled ? &chunks[written % kChunkCount] : nullptr;
    }
    void Written()
    {
        std::lock_guard<std::mutex> lock(mutex);
        ++written;
        changed.notify_all();
    }
    void Fail(std::string message)
    {
        std::lock_guard<std::mutex> lock(mutex);
        failed = true;
        error = std::move(message);
        changed.notify_all();
    }
    std::string Error()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return error;
    }

private:
    std::array<Chunk, kChunkCount> chunks;
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t filled = 0;
    std::size_t written = 0;
    bool finished = false;
    bool failed = false;
    std::string error;
};

// Writes each chunk, and measures its loudness on the way when asked; with
// no output the render is only measured.
void WriteChunks(ChunkRing& ring, OutputFile* output, LoudnessMeter* meter)
{
    while (Chunk* chunk = ring.NextToWrite()) {
        std::string error;
        if (meter)
            meter->Add(chunk->samples.data(), chunk->frames);
        if (output && !output->Write(chunk->samples.data(), chunk->frames, error)) {
            ring.Fail(error);
            return;
        }
        ring.Written();
    }
}

// The plug-in's doubles, rounded to float and interleaved for the file.
float Interleave(const double* const* outs, int channels, int frames, float* dst, bool trackPeak)
{
    float peak = 0.0f;
    if (channels == 2) {
        const double* l = outs[0];
        const double* r = outs[1];
        for (int i = 0; i < frames; ++i) {
            dst[2 * i] = static_cast<float>(l[i]);
            dst[2 * i + 1] = static_cast<float>(r[i]);
        }
    } else {
        const double* m = outs[0];
        for (int i = 0; i < frames; ++i)
            dst[i] = static_cast<float>(m[i]);
    }
    if (trackPeak)
        for (int i = 0; i < frames * channels; ++i)
            peak = std::max(peak, std::fabs(dst[i]));
    return peak;
}

// Fades the chunk's frames and keeps what a plot asks for.
void FinishChunk(const RenderSetup& setup, float* interleaved, std::int64_t frames, std::int64_t firstFrame)
{
    if (setup.gain != 1.0f)
        for (std::int64_t i = 0; i < frames * setup.channels; ++i)
            interleaved[i] *= setup.gain;
    if (setup.fades.Any())
        ApplyFades(setup.fades, interleaved, setup.channels, frames, firstFrame);
    if (setup.keepLeft)
        for (std::int64_t i = 0; i < frames && firstFrame + i < setup.keepFrames; ++i)
            setup.keepLeft->push_back(interleaved[i * setup.channels]);
}

// A NaN or infinite input sample would turn into a full-scale click, or
// spread through the plug-in; it is rendered as silence and counted.
void SilenceNonFinite(double* samples, std::int64_t frames, int channels, std::int64_t firstFrame,
                      RenderOutcome& outcome)
{
    for (std::int64_t i = 0; i < frames * channels; ++i) {
        if (std::isfinite(samples[i]))
            continue;
        samples[i] = 0.0;
        if (outcome.nonFiniteInput++ == 0)
            outcome.firstNonFiniteFrame = firstFrame + i / channels;
    }
}

} // namespace

RenderOutcome RenderToFile(host::PluginInstance& plugin, host::HostState& hostState, InputFile* input,
                           OutputFile* output, const RenderSetup& setup, ProgressDisplay& progress)
{
    RenderOutcome outcome;
    const int block = setup.block;
    const int channels = setup.channels;
    const int blocksPerChunk = std::max(1, kChunkFrames / block);
    const std::int64_t chunkFrames = static_cast<std::int64_t>(blocksPerChunk) * block;
    const int fileChannels = input ? input->Channels() : 0;

    std::vector<double> inputFrames(input ? static_cast<std::size_t>(chunkFrames * fileChannels) : 0);
    std::vector<double> inL(static_cast<std::size_t>(block), 0.0);
    std::vector<double> inR(static_cast<std::size_t>(block), 0.0);
    std::vector<double> outL(static_cast<std::size_t>(block), 0.0);
    std::vector<double> outR(static_cast<std::size_t>(block), 0.0);
    double* ins[2] = {inL.data(), inR.data()};
    double* outs[2] = {outL.data(), outR.data()};

    ChunkRing ring(static_cast<std::size_t>(chunkFrames * channels));
    std::thread writer(WriteChunks, std::ref(ring), output, setup.meter);

    std::int64_t position = 0;
    bool inputEnded = false;
    std::string readError;
    while (position < setup.frames && !inputEnded) {
        if (InterruptRequested()) {
            outcome.interrupted = true;
            break;
        }
        Chunk* chunk = ring.NextToFill();
        if (!chunk)
            break;
        std::int64_t frames = std::min(chunkFrames, setup.frames - position);
        if (input) {
            const std::int64_t got = input->Read(inputFrames.data(), frames, readError);
            if (got < 0)
                break;
            if (got < frames) {
                frames = got;
                inputEnded = true;
                outcome.inputEndedEarly = true;
            }
            SilenceNonFinite(inputFrames.data(), frames, fileChannels, position, outcome);
        }
        for (std::int64_t done = 0; done < frames; done += block) {
            const int n = static_cast<int>(std::min<std::int64_t>(block, frames - done));
            if (input) {
                const double* src = inputFrames.data() + done * fileChannels;
                if (fileChannels == 2) {
                    for (int i = 0; i < n; ++i) {
                        inL[i] = src[2 * i];
                        inR[i] = src[2 * i + 1];
                    }
                } else {
                    std::copy(src, src + n, inL.begin());
                    if (setup.spreadMono)
                        std::copy(src, src + n, inR.begin());
                }
            }
            if (setup.automation)
                setup.automation->BeforeBlock(position + done);
            hostState.SetSamplePosition(static_cast<double>(setup.firstHostFrame + position + done));
            plugin.ProcessDouble(ins, outs, n);
            const float peak =
                Interleave(outs, channels, n, chunk->samples.data() + done * channels, setup.trackPeak);
            outcome.peak = std::max(outcome.peak, peak);
        }
        FinishChunk(setup, chunk->samples.data(), frames, position);
        chunk->frames = frames;
        if (frames > 0)
            ring.Filled();
        position += frames;
        // The host state records what the plug-in tells it (automation and
        // the like); over an hours-long render that list must not grow.
        hostState.TakeRequests();
        progress.Update(position);
    }
    ring.Finish();
    writer.join();

    outcome.frames = position;
    const std::string writeError = ring.Error();
    if (!writeError.empty())
        outcome.error = writeError;
    else if (!readError.empty())
        outcome.error = readError;
    outcome.ok = outcome.error.empty() && !outcome.interrupted;
    return outcome;
}

} // namespace render
