#include "tools/render/audio_file.h"

#include "tools/render/resampler.h"
#include "tools/render/text_folding.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace render {

namespace {

std::string Extension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return FoldCase(path.substr(dot + 1));
}

// libsndfile shortens the data of a file whose header claims more than the
// file holds, and notes "data : CLAIMED (should be PRESENT)" (WAV) or the
// same for "SSND" (AIFF) in its log; the claimed length is read back from there.
std::int64_t ClaimedFrames(SNDFILE* file, std::int64_t frames)
{
    char log[8192] = {};
    sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
    const std::string text(log);
    for (const char* chunk : {"\ndata : ", "\nSSND : "}) {
        const std::size_t at = text.find(chunk);
        if (at == std::string::npos)
            continue;
        long long claimed = 0;
        long long present = 0;
        if (std::sscanf(text.c_str() + at + std::strlen(chunk), "%lld (should be %lld)", &claimed,
                        &present) == 2 &&
            present > 0 && claimed > present)
            return static_cast<std::int64_t>(static_cast<double>(frames) * static_cast<double>(claimed) /
                                             static_cast<double>(present));
    }
    return frames;
}

} // namespace

bool ChooseOutputFormat(const std::string& path, const std::optional<std::string>& bits, OutputFormat& format,
                        std::string& error)
{
    const std::string ext = Extension(path);
    const std::string depth = bits ? FoldCase(*bits) : "";
    int major = 0;
    std::string name;
    bool floatAllowed = true;
    bool int32Allowed = true;
    if (ext == "wav") {
        major = SF_FORMAT_WAV;
        name = "WAV";
    } else if (ext == "flac") {
        major = SF_FORMAT_FLAC;
        name = "FLAC";
        floatAllowed = false;
        int32Allowed = false;
    } else if (ext == "aif" || ext == "aiff") {
        major = SF_FORMAT_AIFF;
        name = "AIFF";
    } else if (ext == "ogg" || ext == "oga") {
        if (!depth.empty()) {
            error = "--bits does not apply to Ogg Vorbis output (it has no bit depth)";
            return false;
        }
        format = {SF_FORMAT_OGG | SF_FORMAT_VORBIS, false, "Ogg Vorbis"};
        return true;
    } else {
        error = "cannot tell the output format from \"" + path +
                "\": the name must end in .wav, .flac, .ogg or .aiff";
        return false;
    }
    if (depth.empty() || depth == "24") {
        format = {major | SF_FORMAT_PCM_24, true, name + " 24-bit"};
    } else if (depth == "16") {
        format = {major | SF_FORMAT_PCM_16, true, name + " 16-bit"};
    } else if (depth == "32" && int32Allowed) {
        format = {major | SF_FORMAT_PCM_32, true, name + " 32-bit"};
    } else if (depth == "float" && floatAllowed) {
        format = {major | SF_FORMAT_FLOAT, false, name + " 32-bit float"};
    } else if (depth == "32" || depth == "float") {
        error = name + " stores 16 or 24 bits; --bits " + *bits + " needs WAV or AIFF";
        return false;
    } else {
        error = "--bits takes 16, 24, 32 or float, not \"" + *bits + "\"";
        return false;
    }
    return true;
}

bool CheckFormatLimits(const OutputFormat& format, int rate, int channels, std::string& error)
{
    const int major = format.code & SF_FORMAT_TYPEMASK;
    const int highest = major == SF_FORMAT_OGG ? 192000 : major == SF_FORMAT_FLAC ? 655350 : 0;
    if (highest && rate > highest) {
        error = format.description + " stores at most " + std::to_string(highest) + " Hz, not " +
                std::to_string(rate) + " Hz; write .wav or .aiff for this rate";
        return false;
    }
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format.code;
    if (!sf_format_check(&info)) {
        error = format.description + " cannot store " + std::to_string(rate) + " Hz with " +
                std::to_string(channels) + " channel(s)";
        return false;
    }
    return true;
}

bool FitLength(OutputFormat& format, std::int64_t frames, int channels, std::string& error)
{
    int bytesPerSample = 0;
    switch (format.code & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_16:
        bytesPerSample = 2;
        break;
    case SF_FORMAT_PCM_24:
        bytesPerSample = 3;
        break;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        bytesPerSample = 4;
        break;
    default:
        return true;
    }
    // Room for the headers and the chunks libsndfile adds.
    constexpr std::int64_t kLimit = 0xFFFFFFFFll - (1 << 20);
    if (frames * channels * bytesPerSample <= kLimit)
        return true;
    const int major = format.code & SF_FORMAT_TYPEMASK;
    if (major == SF_FORMAT_WAV) {
        format.code = SF_FORMAT_RF64 | (format.code & SF_FORMAT_SUBMASK);
        format.description = "RF64" + format.description.substr(3);
        return true;
    }
    if (major == SF_FORMAT_AIFF) {
        error = "the render is too long for AIFF (more than 4 GiB); write .wav, .flac or .ogg instead";
        return false;
    }
    return true;
}

std::unique_ptr<InputFile> InputFile::Open(const std::string& path, std::string& error)
{
    SF_INFO info{};
    // "-" is standard input (descriptor 0), read as a stream.
    SNDFILE* file =
        path == "-" ? sf_open_fd(0, SFM_READ, &info, SF_FALSE) : sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = "cannot read " + (path == "-" ? std::string("standard input") : path) + ": " +
                sf_strerror(nullptr);
        return nullptr;
    }
    std::unique_ptr<InputFile> input(new InputFile());
    input->file = file;
    input->path = path;
    input->channels = info.channels;
    input->rate = info.samplerate;
    input->frames = info.frames;
    input->announcedFrames = ClaimedFrames(file, info.frames);
    if (path == "-" && info.frames == SF_COUNT_MAX) {
        input->lengthUnknown = true;
        input->announcedFrames = info.frames;
    }
    return input;
}

InputFile::~InputFile()
{
    if (file)
        sf_close(file);
}

bool InputFile::ResampleTo(int newRate, std::string& error)
{
    resampler = Resampler::Create(rate, newRate, channels, error);
    if (!resampler)
        return false;
    const double ratio = static_cast<double>(newRate) / rate;
    auto scaled = [&](std::int64_t n) {
        return n == SF_COUNT_MAX ? n
                                 : static_cast<std::int64_t>(std::llround(static_cast<double>(n) * ratio));
    };
    frames = scaled(frames);
    announcedFrames = scaled(announcedFrames);
    rate = newRate;
    return true;
}

std::int64_t InputFile::Read(double* interleaved, std::int64_t count, std::string& error)
{
    if (!resampler)
        return ReadFile(interleaved, count, error);
    // The converted length is the file's length times the ratio; the filter's
    // last output is cut or padded with silence to reach it exactly.
    const std::int64_t wanted = lengthUnknown ? count : std::min(count, frames - delivered);
    std::int64_t got = resampler->Pull(
        interleaved, wanted, [&](double* buffer, std::int64_t n) { return ReadFile(buffer, n, error); });
    if (got < 0)
        return -1;
    if (got < wanted && !lengthUnknown) {
        std::fill(interleaved + got * channels, interleaved + wanted * channels, 0.0);
        got = wanted;
    }
    delivered += got;
    return got;
}

std::int64_t InputFile::ReadFile(double* interleaved, std::int64_t count, std::string& error)
{
    const sf_count_t n = sf_readf_double(file, interleaved, count);
    if (n < count && sf_error(file) != SF_ERR_NO_ERROR) {
        error = "cannot read " + path + ": " + sf_strerror(file);
        return -1;
    }
    return n;
}

std::unique_ptr<OutputFile> OutputFile::Open(int descriptor, const std::string& name,
                                             const OutputFormat& format, int rate, int channels,
                                             std::string& error)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format.code;
    if (!sf_format_check(&info)) {
        error = "cannot write " + name + ": " + format.description + " does not support " +
                std::to_string(rate) + " Hz with " + std::to_string(channels) + " channel(s)";
        return nullptr;
    }
    SNDFILE* file = sf_open_fd(descriptor, SFM_WRITE, &info, SF_FALSE);
    if (!file) {
        error = "cannot write " + name + ": " + sf_strerror(nullptr);
        return nullptr;
    }
    if (format.integer)
        sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    std::unique_ptr<OutputFile> output(new OutputFile());
    output->file = file;
    output->name = name;
    return output;
}

namespace {

void PutLittleEndian(std::vector<unsigned char>& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A canonical WAV header for frames of PCM or float samples. Sizes beyond
// 32 bits are written as 0xFFFFFFFF, which stream readers take as "to the end".
std::vector<unsigned char> WavHeader(int subtype, int rate, int channels, std::int64_t frames)
{
    const int bytes = subtype == SF_FORMAT_PCM_16 ? 2 : subtype == SF_FORMAT_PCM_24 ? 3 : 4;
    const std::int64_t dataBytes = frames * channels * bytes;
    const bool fits = dataBytes <= 0xFFFFFFFFLL - 36;
    std::vector<unsigned char> h;
    auto text = [&](const char* four) { h.insert(h.end(), four, four + 4); };
    text("RIFF");
    PutLittleEndian(h, fits ? static_cast<std::uint32_t>(36 + dataBytes) : 0xFFFFFFFFu, 4);
    text("WAVE");
    text("fmt ");
    PutLittleEndian(h, 16, 4);
    PutLittleEndian(h, subtype == SF_FORMAT_FLOAT ? 3 : 1, 2);
    PutLittleEndian(h, static_cast<std::uint32_t>(channels), 2);
    PutLittleEndian(h, static_cast<std::uint32_t>(rate), 4);
    PutLittleEndian(h, static_cast<std::uint32_t>(rate * channels * bytes), 4);
    PutLittleEndian(h, static_cast<std::uint32_t>(channels * bytes), 2);
    PutLittleEndian(h, static_cast<std::uint32_t>(8 * bytes), 2);
    text("data");
    PutLittleEndian(h, fits ? static_cast<std::uint32_t>(dataBytes) : 0xFFFFFFFFu, 4);
    return h;
}

} // namespace

std::unique_ptr<OutputFile> OutputFile::OpenStream(int descriptor, const std::string& name,
                                                   const OutputFormat& format, int rate, int channels,
                                                   std::int64_t frames, std::string& error)
{
    const int major = format.code & SF_FORMAT_TYPEMASK;
    if (major == SF_FORMAT_AIFF) {
        error = "AIFF cannot be written to a pipe; use --format wav, flac or ogg";
        return nullptr;
    }
    if (major != SF_FORMAT_WAV && major != SF_FORMAT_RF64)
        return Open(descriptor, name, format, rate, channels, error);
    // Standard output redirected to a file can be sought in: a normal WAV then.
    if (std::ftell(stdout) >= 0)
        return Open(descriptor, name, format, rate, channels, error);
    const int subtype = format.code & SF_FORMAT_SUBMASK;
    const OutputFormat raw{SF_FORMAT_RAW | subtype | SF_ENDIAN_LITTLE, format.integer, format.description};
    // The header goes through the C library's standard output, flushed before
    // libsndfile writes the samples behind it on the same descriptor.
    const std::vector<unsigned char> header = WavHeader(subtype, rate, channels, frames);
    if (std::fwrite(header.data(), 1, header.size(), stdout) != header.size() || std::fflush(stdout) != 0) {
        error = "cannot write " + name + ": " + std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<OutputFile> output = Open(descriptor, name, raw, rate, channels, error);
    if (output)
        output->streamedWav = true;
    return output;
}

bool OutputFile::SetTags(const AudioTags& tags, std::string& error)
{
    if (streamedWav)
        return true;
    const std::pair<int, const std::string*> fields[] = {{SF_STR_TITLE, &tags.title},
                                                         {SF_STR_ARTIST, &tags.artist},
                                                         {SF_STR_SOFTWARE, &tags.software},
                                                         {SF_STR_COMMENT, &tags.comment}};
    for (const auto& [field, text] : fields) {
        if (text->empty())
            continue;
        if (sf_set_string(file, field, text->c_str()) != 0) {
            error = "cannot tag " + name + ": " + sf_strerror(file);
            return false;
        }
    }
    return true;
}

OutputFile::~OutputFile()
{
    if (file)
        sf_close(file);
}

bool OutputFile::Write(const float* interleaved, std::int64_t frames, std::string& error)
{
    if (sf_writef_float(file, interleaved, frames) != frames) {
        error = "cannot write " + name + ": " + sf_strerror(file);
        return false;
    }
    return true;
}

bool OutputFile::Close(std::string& error)
{
    SNDFILE* closing = file;
    file = nullptr;
    if (sf_close(closing) != 0) {
        error = "cannot finish " + name + ": " + sf_strerror(nullptr);
        return false;
    }
    return true;
}

} // namespace render
