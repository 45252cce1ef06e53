#include "tools/render/plugin_session.h"

#include "tools/render/pending_file.h"
#include "tools/render/plugin_locator.h"
#include "tools/render/program_lookup.h"
#include "tools/render/text_encoding.h"

#include <fstream>
#include <iterator>

namespace render {

namespace {

// A state file is a chunk the plug-in wrote; nothing it writes comes near this.
constexpr std::streamoff kMaxStateBytes = 64 * 1024 * 1024;
constexpr std::uint8_t kChunkMagic[4] = {0x74, 0x66, 0x66, 0x70};

std::unique_ptr<host::PluginModule> LoadModule(const std::string& requested, std::string& error)
{
    if (!requested.empty()) {
        std::string path = requested;
        if (!IsRegularFile(path) && IsRegularFile(path + "/" + kModuleFileName))
            path += std::string("/") + kModuleFileName;
        if (!IsRegularFile(path)) {
            error = "no plug-in module at " + requested;
            return nullptr;
        }
        return host::PluginModule::Open(path, error);
    }
    const std::vector<std::string> candidates = DefaultModuleCandidates();
    for (const std::string& path : candidates)
        if (IsRegularFile(path))
            return host::PluginModule::Open(path, error);
    error = std::string("cannot find the plug-in ") + kModuleFileName + "; looked in:";
    for (const std::string& path : candidates)
        error += "\n  " + path;
    error += "\nBuild it (bash scripts/demo.sh) or name it with --plugin PATH.";
    return nullptr;
}

} // namespace

std::unique_ptr<PluginSession> PluginSession::Open(const std::string& modulePath, double rate, int block,
                                                   double tempo, std::string& error)
{
    std::unique_ptr<PluginSession> session(new PluginSession());
    session->module = LoadModule(modulePath, error);
    if (!session->module)
        return nullptr;
    session->state.SetTempo(tempo);
    session->state.SetPlaying(true);
    session->state.SetSampleRate(rate);
    session->state.SetSamplePosition(0.0);
    session->instance = host::PluginInstance::Create(*session->module, session->state, error);
    if (!session->instance) {
        error = session->module->Path() + ": " + error;
        return nullptr;
    }
    host::PluginInstance& plugin = *session->instance;
    if (plugin.Effect()->numInputs < 2 || plugin.Effect()->numOutputs < 2) {
        error = session->module->Path() + " is not a stereo effect";
        return nullptr;
    }
    plugin.Dispatch(vst2::kOpOpen);
    plugin.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    plugin.Dispatch(vst2::kOpSetBlockSize, 0, block);
    return session;
}

PluginSession::~PluginSession()
{
    instance.reset(); // closes the instance before the host state and the module go
}

std::vector<std::string> PluginSession::ProgramNames()
{
    std::vector<std::string> names;
    for (int slot = 0; slot < instance->Effect()->numPrograms; ++slot)
        names.push_back(Windows1252ToUtf8(instance->ProgramNameIndexed(slot)));
    return names;
}

std::string PluginSession::CurrentProgramName()
{
    return Windows1252ToUtf8(instance->ProgramName());
}

int PluginSession::CurrentProgram()
{
    return static_cast<int>(instance->Dispatch(vst2::kOpGetProgram));
}

const std::vector<ParameterInfo>& PluginSession::Parameters()
{
    if (params.empty())
        params = ProbeParameters(*instance, instance->Effect()->numParams);
    return params;
}

bool PluginSession::LoadState(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read the state file " + path;
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0 || size > kMaxStateBytes) {
        error = path + " is not a Tessaphon state file (too large)";
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), size)) {
        error = "cannot read the state file " + path;
        return false;
    }
    const std::size_t programBytes = static_cast<std::size_t>(instance->Effect()->numParams) * 8;
    const bool headed = bytes.size() >= 8 && std::equal(kChunkMagic, kChunkMagic + 4, bytes.begin());
    const bool program = bytes.size() == programBytes + 8 && headed;
    if (!headed) {
        error = path + " is not a Tessaphon state file (it lacks the state header)";
        return false;
    }
    if (!instance->SetChunk(!program, bytes)) {
        error = "the plug-in could not read " + path + " (damaged, or written by another version)";
        return false;
    }
    return true;
}

bool PluginSession::SaveState(const std::string& path, bool bank, std::string& error)
{
    const std::vector<std::uint8_t> bytes = instance->GetChunk(bank);
    if (bytes.empty()) {
        error = "the plug-in gave no state to write to " + path;
        return false;
    }
    std::unique_ptr<PendingFile> file = PendingFile::Create(path, error);
    return file && file->Write(bytes, error) && file->Commit(error);
}

bool PluginSession::SelectProgram(const std::string& key, std::string& error)
{
    const int slot = FindProgram(ProgramNames(), key, error);
    if (slot < 0)
        return false;
    instance->Dispatch(vst2::kOpSetProgram, 0, slot);
    if (CurrentProgram() != slot) {
        error = "the plug-in did not switch to program slot " + std::to_string(slot);
        return false;
    }
    return true;
}

bool PluginSession::Set(const std::string& assignment, std::string& error)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos) {
        error = "--set takes PARAM=VALUE, not \"" + assignment + "\"";
        return false;
    }
    const ParameterInfo* param = FindParameter(Parameters(), assignment.substr(0, eq), error);
    std::string text;
    if (!param || !ValueTextFor(*param, assignment.substr(eq + 1), text, error))
        return false;
    if (!instance->StringToParameter(param->index, text)) {
        error = "the plug-in refused " + assignment;
        return false;
    }
    return true;
}

void PluginSession::StartProcessing(int channels)
{
    instance->SetChannelCounts(channels, channels);
    instance->Dispatch(vst2::kOpProcessingOnOff, 0, 1);
}

} // namespace render
