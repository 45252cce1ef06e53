#include "tools/render/plugin_session.h"

#include "tools/render/pending_file.h"
#include "tools/render/plugin_locator.h"
#include "tools/render/preset_file.h"
#include "tools/render/program_lookup.h"
#include "tools/render/text_folding.h"

#include <fstream>
#include <iterator>

namespace render {

namespace {

// A state file is a chunk the plug-in wrote; nothing it writes comes near this.
constexpr std::streamoff kMaxStateBytes = 64 * 1024 * 1024;
constexpr std::uint8_t kChunkMagic[4] = {0x74, 0x66, 0x66, 0x70};

// A bare file name would send the loader through the system's library
// folders; "./" makes it the file in the current folder.
std::string ExplicitPath(const std::string& path)
{
    return path.find('/') == std::string::npos ? "./" + path : path;
}

// Reads a whole state or preset file; what names the kind in messages.
bool ReadSettingsFile(const std::string& path, const char* what, std::vector<std::uint8_t>& bytes,
                      std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = std::string("cannot read the ") + what + " file " + path;
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0 || size > kMaxStateBytes) {
        error = path + " is not a Tessaphon " + what + " file (too large)";
        return false;
    }
    bytes.assign(static_cast<std::size_t>(size), 0);
    if (size > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), size)) {
        error = std::string("cannot read the ") + what + " file " + path;
        return false;
    }
    return true;
}

std::unique_ptr<host::PluginModule> LoadModule(const std::string& requested, std::string& error)
{
    if (!requested.empty()) {
        std::string path = ExplicitPath(requested);
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
        names.push_back(instance->ProgramNameIndexed(slot));
    return names;
}

std::string PluginSession::CurrentProgramName()
{
    return instance->ProgramName();
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
    std::vector<std::uint8_t> bytes;
    if (!ReadSettingsFile(path, "state", bytes, error))
        return false;
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

std::vector<std::uint8_t> PluginSession::StateBytes(bool bank)
{
    return instance->GetChunk(bank);
}

namespace {

// Whether slot holds no program, read from the bank chunk: after the 8-byte
// header, one record per slot: a little-endian name length, the name, an
// initialised flag and, when it is set, the slot's values.
bool SlotIsEmpty(const std::vector<std::uint8_t>& bank, int slot, int params)
{
    std::size_t pos = 8;
    for (int i = 0; i <= slot; ++i) {
        if (pos + 4 > bank.size())
            return false;
        const std::uint32_t length = bank[pos] | (bank[pos + 1] << 8) | (bank[pos + 2] << 16) |
                                     (static_cast<std::uint32_t>(bank[pos + 3]) << 24);
        pos += 4 + length;
        if (pos >= bank.size())
            return false;
        const bool initialised = bank[pos] != 0;
        if (i == slot)
            return !initialised;
        pos += 1 + (initialised ? static_cast<std::size_t>(params) * 8 : 0);
    }
    return false;
}

} // namespace

bool PluginSession::CurrentProgramIsEmpty()
{
    return emptySlotChosen >= 0 && emptySlotChosen == CurrentProgram();
}

Outcome PluginSession::SelectProgram(const std::string& key, std::string& error)
{
    const int slot = FindProgram(ProgramNames(), key, error);
    if (slot < 0)
        return Outcome::BadRequest;
    if (SlotIsEmpty(instance->GetChunk(true), slot, instance->Effect()->numParams))
        emptySlotChosen = slot;
    instance->Dispatch(vst2::kOpSetProgram, 0, slot);
    if (CurrentProgram() != slot) {
        error = "the plug-in did not switch to program slot " + std::to_string(slot);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

Outcome PluginSession::Set(const std::string& assignment, std::string& error)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos) {
        error = "--set takes PARAM=VALUE, not \"" + assignment + "\"";
        return Outcome::BadRequest;
    }
    const ParameterInfo* param = FindParameter(Parameters(), assignment.substr(0, eq), error);
    std::string text;
    if (!param || !ValueTextFor(*param, assignment.substr(eq + 1), text, error))
        return Outcome::BadRequest;
    if (!instance->StringToParameter(param->index, text)) {
        error = "the plug-in refused " + assignment;
        return Outcome::Failed;
    }
    std::erase(changed, param->index);
    changed.push_back(param->index);
    return Outcome::Done;
}

std::vector<std::string> PluginSession::Changes()
{
    std::vector<std::string> out;
    for (const int index : changed) {
        const ParameterInfo& p = Parameters()[static_cast<std::size_t>(index)];
        std::string value = instance->ParamDisplay(index);
        if (!p.label.empty())
            value += " " + p.label;
        out.push_back(p.name + "=" + value);
    }
    return out;
}

namespace {

PresetShape ShapeOf(host::PluginInstance& plugin)
{
    return {plugin.Effect()->uniqueID, plugin.Effect()->numParams, plugin.Effect()->numPrograms};
}

std::vector<float> CurrentValues(host::PluginInstance& plugin)
{
    std::vector<float> values;
    for (int i = 0; i < plugin.Effect()->numParams; ++i)
        values.push_back(plugin.GetParameter(i));
    return values;
}

void ApplyProgram(host::PluginInstance& plugin, const PresetProgram& program)
{
    for (std::size_t i = 0; i < program.values.size(); ++i)
        plugin.SetParameter(static_cast<int>(i), program.values[i]);
    if (!program.name.empty())
        plugin.RenameProgram(program.name);
}

} // namespace

bool PluginSession::LoadPreset(const std::string& path, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadSettingsFile(path, "preset", bytes, error))
        return false;
    Preset preset;
    if (!DecodePreset(bytes, ShapeOf(*instance), preset, error)) {
        error = path + " is not a preset of this plug-in: " + error;
        return false;
    }
    if (!preset.bank) {
        ApplyProgram(*instance, preset.programs.front());
        return true;
    }
    // A host loads a bank slot by slot; the current slot is selected again
    // at the end, so the sound is that slot's from the bank.
    const int current = CurrentProgram();
    for (std::size_t slot = 0; slot < preset.programs.size(); ++slot) {
        instance->Dispatch(vst2::kOpSetProgram, 0, static_cast<std::intptr_t>(slot));
        ApplyProgram(*instance, preset.programs[slot]);
    }
    instance->Dispatch(vst2::kOpSetProgram, 0, current);
    return true;
}

std::vector<std::uint8_t> PluginSession::PresetBytes(bool bank)
{
    Preset preset;
    preset.bank = bank;
    preset.pluginId = instance->Effect()->uniqueID;
    preset.pluginVersion = instance->Effect()->version;
    if (!bank) {
        preset.programs.push_back({CurrentProgramName(), CurrentValues(*instance)});
        return EncodePreset(preset);
    }
    // Stepping through the slots changes an instance (the slot being left
    // keeps the live values, an empty slot takes the sound as a user
    // preset), so a copy of this one's bank is stepped through instead.
    std::string error;
    std::unique_ptr<host::PluginInstance> copy = host::PluginInstance::Create(*module, state, error);
    if (!copy)
        return {};
    copy->Dispatch(vst2::kOpOpen);
    if (!copy->SetChunk(true, instance->GetChunk(true)))
        return {};
    for (int slot = 0; slot < copy->Effect()->numPrograms; ++slot) {
        copy->Dispatch(vst2::kOpSetProgram, 0, slot);
        preset.programs.push_back({copy->ProgramName(), CurrentValues(*copy)});
    }
    return EncodePreset(preset);
}

void PluginSession::StartProcessing(int channels)
{
    instance->SetChannelCounts(channels, channels);
    instance->Dispatch(vst2::kOpProcessingOnOff, 0, 1);
}

} // namespace render
