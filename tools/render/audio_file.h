#pragma once
// Audio files through libsndfile: the output format chosen from the file
// name and --bits, an input file read as interleaved doubles, and an output
// file written from interleaved floats (with clipping for integer formats, so
// loud samples saturate instead of wrapping around).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct sf_private_tag;

namespace render {

struct OutputFormat {
    int code = 0;            // libsndfile major format | subtype
    bool integer = false;    // samples are stored as integers (clipped at full scale)
    std::string description; // "FLAC 24-bit"
};

// Format for path's extension (wav, flac, ogg/oga, aif/aiff) and bits ("16",
// "24", "32", "float"; empty: 24-bit PCM, or Vorbis for Ogg). False with a
// message for an unknown extension or a depth the format cannot store.
bool ChooseOutputFormat(const std::string& path, const std::optional<std::string>& bits, OutputFormat& format,
                        std::string& error);

// The sample rates and channel counts the format can store; false with a
// message that names the limit (Ogg Vorbis up to 192000 Hz, FLAC up to 655350 Hz).
bool CheckFormatLimits(const OutputFormat& format, int rate, int channels, std::string& error);

// WAV and AIFF hold at most 4 GiB of audio. A longer WAV is written as RF64
// (its 64-bit form); a longer AIFF is refused with a message.
bool FitLength(OutputFormat& format, std::int64_t frames, int channels, std::string& error);

struct AudioTags {
    std::string title;
    std::string artist;
    std::string software;
    std::string comment;
};

class Resampler;

class InputFile {
public:
    static std::unique_ptr<InputFile> Open(const std::string& path, std::string& error);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    int Channels() const { return channels; }
    int Rate() const { return rate; }
    std::int64_t Frames() const { return frames; } // what the file holds, as far as the reader can tell
    // The length the header announces: more than Frames when the file was cut
    // short (its data chunk claims more bytes than follow).
    std::int64_t AnnouncedFrames() const { return announcedFrames; }
    // Standard input whose length its format does not tell (Ogg, FLAC): the
    // render runs until it ends.
    bool LengthUnknown() const { return lengthUnknown; }
    // Reads up to count frames; returns the frames read (0 at the end) or -1
    // with a message on a read error.
    std::int64_t Read(double* interleaved, std::int64_t count, std::string& error);

    // From now on Read delivers the file at newRate (libsoxr, very high
    // quality), and Rate, Frames and AnnouncedFrames count at that rate.
    bool ResampleTo(int newRate, std::string& error);

private:
    InputFile() = default;
    std::int64_t ReadFile(double* interleaved, std::int64_t count, std::string& error);
    std::unique_ptr<Resampler> resampler;
    std::int64_t delivered = 0; // frames Read has given at the new rate
    sf_private_tag* file = nullptr;
    std::string path;
    int channels = 0;
    int rate = 0;
    std::int64_t frames = 0;
    std::int64_t announcedFrames = 0;
    bool lengthUnknown = false;
};

class OutputFile {
public:
    // Writes into an open descriptor (which stays the caller's to close).
    static std::unique_ptr<OutputFile> Open(int descriptor, const std::string& name,
                                            const OutputFormat& format, int rate, int channels,
                                            std::string& error);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Writes standard output (descriptor is its descriptor) as a stream that
    // is never sought back into: WAV
    // with its sizes for frames written up front (libsndfile cannot write WAV
    // to a pipe), FLAC and Ogg as they come; AIFF is refused.
    static std::unique_ptr<OutputFile> OpenStream(int descriptor, const std::string& name,
                                                  const OutputFormat& format, int rate, int channels,
                                                  std::int64_t frames, std::string& error);

    // Title, artist, software and comment, in the formats that carry them
    // (WAV's INFO list, FLAC and Ogg comments, AIFF's text chunks); set
    // before the first Write. A stream of WAV has no place for them.
    bool SetTags(const AudioTags& tags, std::string& error);

    bool Write(const float* interleaved, std::int64_t frames, std::string& error);
    bool Close(std::string& error); // finishes the header; false with a message

private:
    OutputFile() = default;
    sf_private_tag* file = nullptr;
    std::string name;
    bool streamedWav = false; // raw samples behind a header of our own
};

} // namespace render
