// Renders one fixed scenario through a built plug-in module, the way a host
// drives it, so that the Linux module and the Windows DLL can be compared
// sample by sample.
//
//   render_scenario render MODULE OUTPUT     write the scenario's output samples
//   render_scenario compare A B TOLERANCE    compare two renders written by "render"
//   render_scenario repeat MODULE            render twice in one process; the two must be identical
//
// The output file holds, part after part, the frames of processDoubleReplacing
// as interleaved left/right little-endian IEEE 754 doubles.

#include "render_scenario.h"

#include "host/plugin_host.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A stereo test signal made only of additions and multiplications, so that it
// is the same to the bit on every platform: a slowly rotating phasor (the
// rotation constants are written out rather than computed by a maths library)
// plus white noise from a 32-bit xorshift generator.
class TestSignal {
public:
    void Fill(double* left, double* right, int frames)
    {
        // cos and sin of 2π × 331 / 44100.
        constexpr double kCos = 0.9988881964453319;
        constexpr double kSin = 0.0471420301025752;
        for (int i = 0; i < frames; ++i) {
            const double c = re * kCos - im * kSin;
            const double s = re * kSin + im * kCos;
            re = c;
            im = s;
            left[i] = 0.5 * re + 0.25 * Noise();
            right[i] = 0.5 * im - 0.125 * Noise();
        }
    }

private:
    double Noise()
    {
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        return static_cast<double>(noise) * (2.0 / 4294967296.0) - 1.0;
    }

    double re = 1.0;
    double im = 0.0;
    std::uint32_t noise = 2463534242u;
};

bool RenderScenario(const std::string& modulePath, std::vector<double>& samples, std::string& error)
{
    auto module = host::PluginModule::Open(modulePath, error);
    if (!module)
        return false;
    host::HostState state; // playing at 120 beats per minute
    auto plug = host::PluginInstance::Create(*module, state, error);
    if (!plug)
        return false;
    plug->Start(kScenarioRate, kScenarioBlock);

    TestSignal signal;
    std::vector<double> inL(kScenarioBlock), inR(kScenarioBlock), outL(kScenarioBlock), outR(kScenarioBlock);
    samples.clear();
    samples.reserve(static_cast<std::size_t>(ScenarioFrames()) * 2);
    // One stream from start to end: a part's program change and settings meet
    // the glides and LFO phases the previous part left behind.
    for (const ScenarioPart& part : kScenario) {
        if (part.program >= 0)
            plug->Dispatch(vst2::kOpSetProgram, 0, part.program);
        for (const ScenarioSetting& setting : part.settings) {
            if (setting.index >= 0)
                plug->SetParameter(setting.index, setting.normalized);
        }
        for (int done = 0; done < kScenarioFramesPerPart;) {
            const int n = std::min(kScenarioBlock, kScenarioFramesPerPart - done);
            signal.Fill(inL.data(), inR.data(), n);
            double* ins[2] = {inL.data(), inR.data()};
            double* outs[2] = {outL.data(), outR.data()};
            plug->ProcessDouble(ins, outs, n);
            for (int i = 0; i < n; ++i) {
                samples.push_back(outL[i]);
                samples.push_back(outR[i]);
            }
            done += n;
        }
    }
    return true;
}

bool WriteSamples(const std::string& path, const std::vector<double>& samples)
{
    std::vector<unsigned char> bytes(samples.size() * 8);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &samples[i], 8);
        for (int b = 0; b < 8; ++b)
            bytes[i * 8 + b] = static_cast<unsigned char>(bits >> (8 * b));
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool ReadSamples(const std::string& path, std::vector<double>& samples)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() % 8 != 0)
        return false;
    samples.resize(bytes.size() / 8);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::uint64_t bits = 0;
        for (int b = 8; b-- > 0;)
            bits = (bits << 8) | bytes[i * 8 + b];
        std::memcpy(&samples[i], &bits, 8);
    }
    return true;
}

int Render(const std::string& modulePath, const std::string& outputPath)
{
    std::vector<double> samples;
    std::string error;
    if (!RenderScenario(modulePath, samples, error)) {
        std::fprintf(stderr, "render_scenario: %s\n", error.c_str());
        return 1;
    }
    if (!WriteSamples(outputPath, samples)) {
        std::fprintf(stderr, "render_scenario: cannot write %s\n", outputPath.c_str());
        return 1;
    }
    const ComparisonReport report = CompareRenders(samples, samples, 0.0);
    for (std::size_t p = 0; p < report.parts.size(); ++p)
        std::printf("%-28s peak %.6f\n", kScenario[p].name, report.parts[p].peak);
    return report.ok ? 0 : 1;
}

int Compare(const std::string& pathA, const std::string& pathB, double tolerance)
{
    std::vector<double> a, b;
    if (!ReadSamples(pathA, a) || !ReadSamples(pathB, b)) {
        std::fprintf(stderr, "render_scenario: cannot read %s or %s\n", pathA.c_str(), pathB.c_str());
        return 1;
    }
    const ComparisonReport report = CompareRenders(a, b, tolerance);
    std::printf("%s", report.text.c_str());
    return report.ok ? 0 : 1;
}

int Repeat(const std::string& modulePath)
{
    std::vector<double> first, second;
    std::string error;
    if (!RenderScenario(modulePath, first, error) || !RenderScenario(modulePath, second, error)) {
        std::fprintf(stderr, "render_scenario: %s\n", error.c_str());
        return 1;
    }
    const ComparisonReport report = CompareRenders(first, second, 0.0);
    std::printf("%s", report.text.c_str());
    return report.ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "render" && argc == 4)
        return Render(argv[2], argv[3]);
    if (mode == "compare" && argc == 5)
        return Compare(argv[2], argv[3], std::strtod(argv[4], nullptr));
    if (mode == "repeat" && argc == 3)
        return Repeat(argv[2]);
    std::fprintf(stderr, "usage: render_scenario render MODULE OUTPUT\n"
                         "       render_scenario compare A B TOLERANCE\n"
                         "       render_scenario repeat MODULE\n");
    return 2;
}
