#pragma once
// Sample-rate conversion of interleaved doubles with libsoxr at its very high
// quality, pulled block by block: the resampler asks its source for input as
// it needs it, and flushes its filter once the source has ended.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct soxr;

namespace render {

class Resampler {
public:
    // Reads up to count frames into buffer: the frames read, 0 at the end, -1 on an error.
    using Source = std::function<std::int64_t(double* buffer, std::int64_t count)>;

    static std::unique_ptr<Resampler> Create(double fromRate, double toRate, int channels,
                                             std::string& error);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // Up to count frames at the new rate; fewer only once the source has
    // ended and everything is out; -1 when the source failed.
    std::int64_t Pull(double* out, std::int64_t count, const Source& source);

private:
    Resampler() = default;
    soxr* state = nullptr;
    int channels = 0;
    std::vector<double> input;
    std::size_t inputFrames = 0; // frames in input not yet taken by the resampler
    std::size_t inputStart = 0;
    bool sourceEnded = false;
    bool flushed = false;
};

} // namespace render
