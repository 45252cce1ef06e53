#pragma once
// The scenario the Linux module and the Windows DLL both render, and the
// comparison of two renders. Black box: the plug-in is reached only through
// its descriptor, as a host reaches it.

#include <array>
#include <string>
#include <vector>

inline constexpr double kScenarioRate = 44100.0;
inline constexpr int kScenarioBlock = 512;           // 44100 = 86 blocks and one of 68 frames
inline constexpr int kScenarioFramesPerPart = 44100; // one second

struct ScenarioSetting {
    int index = -1; // -1: unused entry
    float normalized = 0.0f;
};

// One part: select a program (by slot; -1 keeps the current one), set the
// parameters in order, then render one second.
struct ScenarioPart {
    const char* name;
    int program;
    std::array<ScenarioSetting, 14> settings;
};

extern const std::array<ScenarioPart, 7> kScenario;

inline int ScenarioFrames()
{
    return static_cast<int>(kScenario.size()) * kScenarioFramesPerPart;
}

struct PartReport {
    double peak = 0.0;    // largest magnitude in the first render
    double maxDiff = 0.0; // largest difference between the renders
    int firstOver = -1;   // first frame (within the part) beyond the tolerance, -1 for none
};

struct ComparisonReport {
    bool ok = false;
    std::vector<PartReport> parts;
    std::string text; // one line per part and a verdict
};

// Two renders agree when both hold the whole scenario, every sample of both is
// finite, and corresponding samples differ by at most the tolerance.
ComparisonReport CompareRenders(const std::vector<double>& a, const std::vector<double>& b, double tolerance);
