// A host that knows parameters only by their names, as some hosts store and
// apply effect settings: every name must lead back to exactly one parameter,
// or a value lands on the wrong one and the sound changes.

#include "plugin_fixture.h"

#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

std::map<std::string, float> SaveByName(host::PluginInstance& plug)
{
    std::map<std::string, float> saved;
    for (int i = 0; i < plug.Effect()->numParams; ++i)
        saved[plug.ParamName(i)] = plug.GetParameter(i);
    return saved;
}

// Applies the values in the order of their names, as a host walking its store does.
void RestoreByName(host::PluginInstance& plug, const std::map<std::string, float>& saved)
{
    std::map<std::string, int> indexOf;
    for (int i = 0; i < plug.Effect()->numParams; ++i)
        indexOf[plug.ParamName(i)] = i;
    for (const auto& [name, value] : saved)
        if (const auto found = indexOf.find(name); found != indexOf.end())
            plug.SetParameter(found->second, value);
}

// Two seconds of both channels, fed with a slow ramp so that the mix counts.
std::vector<float> Render(host::PluginInstance& plug)
{
    std::vector<float> in(kBlock), left(kBlock), right(kBlock), all;
    for (int block = 0; block < static_cast<int>(2 * kRate) / kBlock; ++block) {
        for (int i = 0; i < kBlock; ++i)
            in[static_cast<std::size_t>(i)] = static_cast<float>(((block * kBlock + i) % 4800) / 48000.0);
        float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {left.data(), right.data()};
        plug.ProcessReplacing(inputs, outputs, kBlock);
        all.insert(all.end(), left.begin(), left.end());
        all.insert(all.end(), right.begin(), right.end());
    }
    return all;
}

} // namespace

class ByNameHostTest : public PluginTest {};

TEST_F(ByNameHostTest, SettingsRestoredByNameSoundTheSame)
{
    state.SetTempo(120.0);
    state.SetPlaying(true);
    // The default program, programs with a pulse switched off or golden
    // shapes, and programs whose LFOs run on note values.
    for (const int program : {0, 2, 12, 58, 108, 123, 141}) {
        auto original = Make();
        auto restored = Make();
        ASSERT_TRUE(original && restored);
        original->Start(kRate, kBlock);
        restored->Start(kRate, kBlock);
        original->SetProgram(program);
        const auto saved = SaveByName(*original);
        ASSERT_EQ(saved.size(), static_cast<std::size_t>(original->Effect()->numParams))
            << "program " << program << ": two parameters share a name";
        EXPECT_EQ(saved.count(""), 0u) << "a parameter without a name";
        RestoreByName(*restored, saved);
        for (int i = 0; i < original->Effect()->numParams; ++i)
            EXPECT_EQ(restored->GetParameter(i), original->GetParameter(i))
                << "program " << program << ", " << i;
        EXPECT_EQ(Render(*restored), Render(*original)) << "program " << program;
    }
}
