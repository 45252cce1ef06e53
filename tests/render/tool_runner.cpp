#include "tool_runner.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<std::string> CommandLine(const std::vector<std::string>& args)
{
    std::vector<std::string> all{TESSAPHON_RENDER_PATH};
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

// The argv of a command line; points into all, which must outlive it.
std::vector<char*> ArgumentPointers(std::vector<std::string>& all)
{
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& outPath, const std::string& errPath)
{
    std::vector<std::string> all = CommandLine(args);
    std::vector<char*> argv = ArgumentPointers(all);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace

int WaitTool(pid_t pid)
{
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

ToolResult RunTool(const std::vector<std::string>& args)
{
    TempFolder logs;
    ToolResult result;
    result.status = WaitTool(Spawn(args, logs.Path("out"), logs.Path("err")));
    result.out = ReadFileText(logs.Path("out"));
    result.err = ReadFileText(logs.Path("err"));
    return result;
}

ToolResult RunToolWith(const ToolSetup& setup, const std::vector<std::string>& args)
{
    TempFolder logs;
    const std::string outPath = logs.Path("out");
    const std::string errPath = logs.Path("err");
    std::vector<std::string> all = CommandLine(args);
    std::vector<char*> argv = ArgumentPointers(all);
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(126);
        if (!setup.folder.empty() && chdir(setup.folder.c_str()) != 0)
            _exit(126);
        if (setup.fileSizeLimit > 0) {
            const rlimit limit{static_cast<rlim_t>(setup.fileSizeLimit),
                               static_cast<rlim_t>(setup.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        signal(SIGXFSZ, SIG_DFL); // as a shell leaves it
        execv(argv[0], argv.data());
        _exit(127);
    }
    ToolResult result;
    result.status = WaitTool(pid);
    result.out = ReadFileText(outPath);
    result.err = ReadFileText(errPath);
    return result;
}

pid_t StartTool(const std::vector<std::string>& args)
{
    return Spawn(args, "/dev/null", "/dev/null");
}

bool ReadAudio(const std::string& path, Audio& audio)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return false;
    audio.rate = info.samplerate;
    audio.channels = info.channels;
    audio.format = info.format;
    audio.samples.assign(static_cast<std::size_t>(info.frames * info.channels), 0.0f);
    const sf_count_t n = sf_readf_float(file, audio.samples.data(), info.frames);
    sf_close(file);
    audio.samples.resize(static_cast<std::size_t>(n * info.channels));
    return true;
}

bool WriteAudio(const std::string& path, int rate, int channels, const std::vector<float>& samples)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    const bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

TempFolder::TempFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tessaphon-render-test-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    folder = mkdtemp(name.data()) ? name.data() : "/tmp";
}

TempFolder::~TempFolder()
{
    for (const std::string& entry : Entries())
        unlink(Path(entry).c_str());
    rmdir(folder.c_str());
}

std::vector<std::string> TempFolder::Entries() const
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* e = readdir(dir))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(dir);
    }
    return names;
}

std::string ReadFileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// Frames at which the left channel turns from silence to sound, looking at
// windows of one carrier period so that zero crossings do not count as gaps.
std::vector<long long> PulseStarts(const Audio& audio, long long from, int window)
{
    std::vector<long long> starts;
    bool wasOn = true;
    for (long long w = from; w + window <= audio.Frames(); w += window) {
        float peak = 0.0f;
        for (long long i = w; i < w + window; ++i)
            peak = std::max(peak, std::fabs(audio.At(i, 0)));
        const bool on = peak > 1e-4f;
        if (on && !wasOn)
            starts.push_back(w);
        wasOn = on;
    }
    return starts;
}
