#pragma once
// One loaded plug-in as tessaphon-render drives it: the module found and
// loaded through its entry point, the host state it talks to (tempo, a
// playing transport, the sample position), and the settings the command line
// asks for (state file, program, parameters), applied only through host
// requests.

#include "host/plugin_host.h"
#include "tools/render/parameter_lookup.h"

#include <memory>
#include <string>
#include <vector>

namespace render {

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
    const std::vector<ParameterInfo>& Parameters(); // probed on first use

    bool LoadState(const std::string& path, std::string& error);
    bool SaveState(const std::string& path, bool bank, std::string& error);
    bool SelectProgram(const std::string& key, std::string& error);
    bool Set(const std::string& assignment, std::string& error); // "PARAM=VALUE"

    // Connects channels (1 or 2) in and out and switches processing on.
    void StartProcessing(int channels);

private:
    PluginSession() = default;
    std::unique_ptr<host::PluginModule> module;
    host::HostState state;
    std::unique_ptr<host::PluginInstance> instance;
    std::vector<ParameterInfo> params;
};

} // namespace render
