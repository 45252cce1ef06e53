#pragma once
// One loaded plug-in as tessaphon-render drives it: the module found and
// loaded through its entry point, the host state it talks to (tempo, a
// playing transport, the sample position), and the settings the command line
// asks for (state file, program, parameters), applied only through host
// requests.

#include "host/plugin_host.h"
#include "tools/render/parameter_lookup.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace render {

// How a requested setting went: done, refused because the request itself is
// wrong (a usage error), or failed in the plug-in or on the disk.
enum class Outcome { Done, BadRequest, Failed };

class PluginSession {
public:
    // Loads modulePath, or the first module found in the usual places when it
    // is empty; opens an instance at rate and block size. Null with a message.
    static std::unique_ptr<PluginSession> Open(const std::string& modulePath, double rate, int block,
                                               double tempo, std::string& error);
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    host::PluginInstance& Plugin() { return *instance; }
    host::HostState& Host() { return state; }
    const std::string& ModulePath() const { return module->Path(); }

    std::vector<std::string> ProgramNames(); // UTF-8, one per slot
    std::string CurrentProgramName();        // UTF-8
    int CurrentProgram();
    // Whether the current slot was empty when --program chose it (selecting
    // an empty slot makes it a user preset of the sound at that moment).
    bool CurrentProgramIsEmpty();
    const std::vector<ParameterInfo>& Parameters(); // probed on first use

    bool LoadState(const std::string& path, std::string& error);
    // The plug-in's program chunk (the current settings) or bank chunk.
    std::vector<std::uint8_t> StateBytes(bool bank);
    Outcome SelectProgram(const std::string& key, std::string& error);
    Outcome Set(const std::string& assignment, std::string& error); // "PARAM=VALUE"
    // "NAME=DISPLAY" of each parameter set so far, in order, the last value
    // of a parameter set twice.
    std::vector<std::string> Changes();

    // Standard preset files: .fxp the current program, .fxb every slot.
    bool LoadPreset(const std::string& path, std::string& error);
    std::vector<std::uint8_t> PresetBytes(bool bank);

    // Connects channels (1 or 2) in and out and switches processing on.
    void StartProcessing(int channels);

private:
    PluginSession() = default;
    std::unique_ptr<host::PluginModule> module;
    host::HostState state;
    std::unique_ptr<host::PluginInstance> instance;
    std::vector<ParameterInfo> params;
    std::vector<int> changed; // indices set by Set, in order
    int emptySlotChosen = -1; // the slot SelectProgram found empty
};

} // namespace render
