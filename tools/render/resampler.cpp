#include "tools/render/resampler.h"

#include <soxr.h>

namespace render {

namespace {

constexpr std::int64_t kInputBlock = 8192;

} // namespace

std::unique_ptr<Resampler> Resampler::Create(double fromRate, double toRate, int channels, std::string& error)
{
    std::unique_ptr<Resampler> r(new Resampler());
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT64_I, SOXR_FLOAT64_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, 0);
    soxr_error_t failure = nullptr;
    r->state =
        soxr_create(fromRate, toRate, static_cast<unsigned>(channels), &failure, &io, &quality, nullptr);
    if (!r->state || failure) {
        error = std::string("cannot resample: ") + (failure ? failure : "no resampler");
        return nullptr;
    }
    r->channels = channels;
    r->input.resize(static_cast<std::size_t>(kInputBlock * channels));
    return r;
}

Resampler::~Resampler()
{
    if (state)
        soxr_delete(state);
}

std::int64_t Resampler::Pull(double* out, std::int64_t count, const Source& source)
{
    std::int64_t produced = 0;
    const std::size_t width = static_cast<std::size_t>(channels);
    while (produced < count && !flushed) {
        if (inputFrames == 0 && !sourceEnded) {
            const std::int64_t got = source(input.data(), kInputBlock);
            if (got < 0)
                return -1;
            sourceEnded = got == 0;
            inputFrames = static_cast<std::size_t>(got);
            inputStart = 0;
        }
        std::size_t taken = 0;
        std::size_t made = 0;
        // After the source's end, null input drains the filter.
        const double* from = sourceEnded ? nullptr : input.data() + inputStart * width;
        soxr_process(state, from, inputFrames, &taken, out + static_cast<std::size_t>(produced) * width,
                     static_cast<std::size_t>(count - produced), &made);
        inputStart += taken;
        inputFrames -= taken;
        produced += static_cast<std::int64_t>(made);
        if (sourceEnded && made == 0)
            flushed = true;
    }
    return produced;
}

} // namespace render
