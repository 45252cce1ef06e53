#pragma once
// Runs tessaphon-render as a separate process, as a user would, and reads
// back what it wrote: its exit status, its stdout and stderr, and audio files.

#include <sys/types.h>

#include <string>
#include <vector>

struct ToolResult {
    int status = -1; // exit status; 128 + signal number when killed
    std::string out;
    std::string err;
};

// Runs the tool with args (no shell) and waits for it.
ToolResult RunTool(const std::vector<std::string>& args);

// How the process is started: in folder (empty: the test's own), with a
// file-size limit in bytes (0: none).
struct ToolSetup {
    std::string folder;
    long long fileSizeLimit = 0;
};
ToolResult RunToolWith(const ToolSetup& setup, const std::vector<std::string>& args);

// Starts the tool with args, its output discarded; the caller waits with WaitTool.
pid_t StartTool(const std::vector<std::string>& args);
int WaitTool(pid_t pid);

struct Audio {
    int rate = 0;
    int channels = 0;
    int format = 0;
    std::vector<float> samples; // interleaved
    long long Frames() const { return channels ? static_cast<long long>(samples.size()) / channels : 0; }
    float At(long long frame, int channel) const
    {
        return samples[static_cast<std::size_t>(frame * channels + channel)];
    }
};

// Frames at which the left channel turns from silence to sound, from frame
// from on, in windows of window frames (a carrier period, so that zero
// crossings do not count as gaps).
std::vector<long long> PulseStarts(const Audio& audio, long long from, int window);

// False when the file cannot be read.
bool ReadAudio(const std::string& path, Audio& audio);
// Writes float samples (interleaved) as a WAV file of 32-bit floats.
bool WriteAudio(const std::string& path, int rate, int channels, const std::vector<float>& samples);

// A fresh folder for one test, removed with its content afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string Path(const std::string& name) const { return folder + "/" + name; }
    std::vector<std::string> Entries() const;

private:
    std::string folder;
};

std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
