#include "render_scenario.h"

#include "plugin/vstclass.h"

#include <cmath>
#include <cstdio>

namespace {

// Normalised value of list entry `entry` of a list with `count` entries.
constexpr float Entry(int entry, int count)
{
    return static_cast<float>(entry) / static_cast<float>(count - 1);
}

} // namespace

// The host plays at 120 beats per minute throughout. Slots that hold no factory
// program yet are taken as they are.
const std::array<ScenarioPart, 7> kScenario = {{
    {"default program", 0, {}},
    {"factory slot 1", 1, {}},
    {"factory slot 23", 23, {}},
    {"factory slot 77", 77, {}},
    {"factory slot 141", 141, {}},
    {"both LFOs, golden shapes",
     0,
     {{
         {kPlayAnyway, 1.0f},
         {kWave, Entry(4, 8)}, // "Golden Sine"
         {kGoldenIso, 1.0f},
         {kIsoRate, 0.02f},
         {kLfo1Target, Entry(1, 6)}, // "Base Freq"
         {kLfo1Wave, Entry(1, 7)},   // "Triangle"
         {kLfo1Sync, 0.0f},
         {kLfo1RateMs, 0.1f},        // about 700 ms
         {kLfo2Target, Entry(4, 6)}, // "Pan"
         {kLfo2Wave, Entry(4, 7)},   // "Square"
         {kLfo2Sync, 1.0f},
         {kLfo2RateSynced, Entry(9, 31)}, // "1/4"
         {kLfo2Depth, 0.6f},
         {kLfo2Start, 0.25f},
     }}},
    {"glide to a new tone",
     -1,
     {{
         {kBaseFreq, 0.3f},
         {kIsoRate, 0.05f},
         {kFade, 0.002f},
         {kRound, 0.2f},
         {kPan, 0.8f},
         {kMix, 0.9f},
         {kLfo1Target, Entry(0, 6)}, // "No Assign"
     }}},
}};

ComparisonReport CompareRenders(const std::vector<double>& a, const std::vector<double>& b, double tolerance)
{
    ComparisonReport report;
    const std::size_t expected = static_cast<std::size_t>(ScenarioFrames()) * 2;
    if (a.size() != expected || b.size() != expected) {
        char line[160];
        std::snprintf(line, sizeof line, "renders hold %zu and %zu samples, the scenario has %zu: FAILED\n",
                      a.size(), b.size(), expected);
        report.text = line;
        return report;
    }
    // A NaN compares false with everything: "not greater than the tolerance"
    // would let it pass, so finiteness is checked on its own.
    bool ok = std::isfinite(tolerance) && tolerance >= 0.0;
    const std::size_t perPart = static_cast<std::size_t>(kScenarioFramesPerPart) * 2;
    for (std::size_t p = 0; p < kScenario.size(); ++p) {
        PartReport part;
        bool finite = true;
        for (std::size_t i = p * perPart; i < (p + 1) * perPart; ++i) {
            if (!std::isfinite(a[i]) || !std::isfinite(b[i])) {
                finite = false;
                if (part.firstOver < 0)
                    part.firstOver = static_cast<int>((i - p * perPart) / 2);
                continue;
            }
            part.peak = std::max(part.peak, std::fabs(a[i]));
            const double diff = std::fabs(a[i] - b[i]);
            part.maxDiff = std::max(part.maxDiff, diff);
            if (!(diff <= tolerance) && part.firstOver < 0)
                part.firstOver = static_cast<int>((i - p * perPart) / 2);
        }
        ok = ok && part.firstOver < 0;
        char line[200];
        std::snprintf(line, sizeof line, "%-28s peak %.6f  max difference %.3g%s%s\n", kScenario[p].name,
                      part.peak, part.maxDiff, finite ? "" : "  NON-FINITE SAMPLES",
                      part.firstOver < 0 ? "" : "  (beyond tolerance)");
        report.text += line;
        report.parts.push_back(part);
    }
    char verdict[80];
    std::snprintf(verdict, sizeof verdict, "tolerance %.3g: %s\n", tolerance, ok ? "same" : "FAILED");
    report.text += verdict;
    report.ok = ok;
    return report;
}
