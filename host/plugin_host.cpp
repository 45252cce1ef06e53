#include "host/plugin_host.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace host {

namespace {

// The state of the instance being built: a plug-in may call its host before
// the host knows the descriptor.
thread_local HostState* constructing = nullptr;

std::intptr_t HostCallbackFn(vst2::EffectDescriptor* effect, std::int32_t opcode, std::int32_t index,
                             std::intptr_t value, void* ptr, float opt)
{
    HostState* state = effect && effect->user ? static_cast<HostState*>(effect->user) : constructing;
    if (opcode == vst2::kHostVersion)
        return 2400;
    return state ? state->Answer(effect, opcode, index, value, ptr, opt) : 0;
}

std::string TextFrom(const char* buffer, std::size_t size)
{
    return std::string(buffer, strnlen(buffer, size));
}

} // namespace

HostState::HostState()
{
    time.sampleRate = 48000.0;
    time.tempo = 120.0;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
    time.flags = vst2::kTimeTempoValid | vst2::kTimeSignatureValid | vst2::kTimeTransportPlaying;
}

void HostState::SetProduct(const std::string& text, std::intptr_t version)
{
    std::lock_guard<std::mutex> guard(mutex);
    product = text;
    vendorVersion = version;
}

void HostState::SetTempo(double bpm)
{
    std::lock_guard<std::mutex> guard(mutex);
    time.tempo = bpm;
    if (bpm > 0)
        time.flags |= vst2::kTimeTempoValid;
    else
        time.flags &= ~vst2::kTimeTempoValid;
}

void HostState::SetPlaying(bool playing)
{
    std::lock_guard<std::mutex> guard(mutex);
    time.flags =
        playing ? (time.flags | vst2::kTimeTransportPlaying) : (time.flags & ~vst2::kTimeTransportPlaying);
}

void HostState::SetRecording(bool recording)
{
    std::lock_guard<std::mutex> guard(mutex);
    time.flags = recording ? (time.flags | vst2::kTimeTransportRecording)
                           : (time.flags & ~vst2::kTimeTransportRecording);
}

void HostState::SetSamplePosition(double position)
{
    std::lock_guard<std::mutex> guard(mutex);
    time.samplePos = position;
}

void HostState::SetTimeSignature(int numerator, int denominator)
{
    std::lock_guard<std::mutex> guard(mutex);
    time.timeSigNumerator = numerator;
    time.timeSigDenominator = denominator;
}

void HostState::SetAnswersTime(bool answers)
{
    std::lock_guard<std::mutex> guard(mutex);
    answersTime = answers;
}

void HostState::SetTimeRecord(const vst2::TimeInfo& info)
{
    std::lock_guard<std::mutex> guard(mutex);
    time = info;
}

void HostState::SetSampleRate(double rate)
{
    std::lock_guard<std::mutex> guard(mutex);
    time.sampleRate = rate;
}

std::vector<HostRequest> HostState::TakeRequests()
{
    std::lock_guard<std::mutex> guard(mutex);
    std::vector<HostRequest> taken;
    taken.swap(requests);
    return taken;
}

bool HostState::ProductBuffersCleared() const
{
    std::lock_guard<std::mutex> guard(mutex);
    return productBuffersCleared;
}

int HostState::CountRequests(std::int32_t opcode) const
{
    std::lock_guard<std::mutex> guard(mutex);
    return static_cast<int>(std::count_if(requests.begin(), requests.end(),
                                          [opcode](const HostRequest& r) { return r.opcode == opcode; }));
}

std::intptr_t HostState::Answer(vst2::EffectDescriptor*, std::int32_t opcode, std::int32_t index,
                                std::intptr_t value, void* ptr, float opt)
{
    std::lock_guard<std::mutex> guard(mutex);
    switch (opcode) {
    case vst2::kHostGetTime: {
        if (!answersTime)
            return 0;
        // The plug-in reads the record after this returns, on its own thread:
        // each thread gets its own copy, valid until that thread's next
        // request (as hosts promise), so a test may change the time while
        // another thread renders.
        thread_local vst2::TimeInfo copy;
        copy = time;
        return reinterpret_cast<std::intptr_t>(&copy);
    }
    case vst2::kHostGetProductString:
        requests.push_back({opcode, index, value, opt});
        if (ptr) {
            productBuffersCleared = productBuffersCleared && static_cast<const char*>(ptr)[0] == '\0';
            const std::size_t n = std::min<std::size_t>(product.size(), 255);
            std::memcpy(ptr, product.data(), n);
            static_cast<char*>(ptr)[n] = '\0';
        }
        return 1;
    case vst2::kHostGetVendorVersion:
        requests.push_back({opcode, index, value, opt});
        return vendorVersion;
    case vst2::kHostProcessEvents:
        requests.push_back({opcode, index, value, opt});
        return 1;
    default:
        requests.push_back({opcode, index, value, opt});
        return 0;
    }
}

std::unique_ptr<PluginInstance> PluginInstance::Create(const PluginModule& module, HostState& state,
                                                       std::string& error, const char* entryName)
{
    const vst2::EntryProc entry = module.Entry(entryName);
    if (!entry) {
        error = std::string("the module has no entry point ") + entryName;
        return nullptr;
    }
    constructing = &state;
    vst2::EffectDescriptor* effect = entry(HostCallbackFn);
    constructing = nullptr;
    if (!effect || effect->magic != vst2::kEffectMagic) {
        error = "the entry point returned no plug-in";
        return nullptr;
    }
    effect->user = &state;
    std::unique_ptr<PluginInstance> instance(new PluginInstance());
    instance->effect = effect;
    return instance;
}

PluginInstance::~PluginInstance()
{
    if (effect)
        effect->dispatcher(effect, vst2::kOpClose, 0, 0, nullptr, 0.0f);
}

std::intptr_t PluginInstance::Dispatch(std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                       void* ptr, float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void PluginInstance::Start(double sampleRate, int blockSize)
{
    Dispatch(vst2::kOpOpen);
    Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    Dispatch(vst2::kOpSetBlockSize, 0, blockSize);
    Dispatch(vst2::kOpProcessingOnOff, 0, 1);
}

float PluginInstance::GetParameter(int index)
{
    return effect->getParameter(effect, index);
}

void PluginInstance::SetParameter(int index, float value)
{
    effect->setParameter(effect, index, value);
}

void PluginInstance::ProcessReplacing(float** inputs, float** outputs, int frames)
{
    effect->processReplacing(effect, inputs, outputs, frames);
}

void PluginInstance::Process(float** inputs, float** outputs, int frames)
{
    effect->process(effect, inputs, outputs, frames);
}

void PluginInstance::ProcessDouble(double** inputs, double** outputs, int frames)
{
    effect->processDoubleReplacing(effect, inputs, outputs, frames);
}

std::string PluginInstance::ParamName(int index)
{
    char text[256] = {};
    Dispatch(vst2::kOpGetParamName, index, 0, text);
    return TextFrom(text, sizeof text);
}

std::string PluginInstance::ParamLabel(int index)
{
    char text[256] = {};
    Dispatch(vst2::kOpGetParamLabel, index, 0, text);
    return TextFrom(text, sizeof text);
}

std::string PluginInstance::ParamDisplay(int index)
{
    char text[256] = {};
    Dispatch(vst2::kOpGetParamDisplay, index, 0, text);
    return TextFrom(text, sizeof text);
}

std::string PluginInstance::ProgramName()
{
    char text[512] = {};
    Dispatch(vst2::kOpGetProgramName, 0, 0, text);
    return TextFrom(text, sizeof text);
}

std::string PluginInstance::ProgramNameIndexed(int index)
{
    char text[512] = {};
    Dispatch(vst2::kOpGetProgramNameIndexed, index, 0, text);
    return TextFrom(text, sizeof text);
}

std::vector<std::uint8_t> PluginInstance::GetChunk(bool bank)
{
    void* data = nullptr;
    const std::intptr_t size = Dispatch(vst2::kOpGetChunk, bank ? 0 : 1, 0, &data);
    if (size <= 0 || !data)
        return {};
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

bool PluginInstance::SetChunk(bool bank, const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> copy = bytes;
    if (copy.empty())
        copy.reserve(1);
    return Dispatch(vst2::kOpSetChunk, bank ? 0 : 1, static_cast<std::intptr_t>(bytes.size()), copy.data()) ==
           1;
}

bool PluginInstance::StringToParameter(int index, const std::string& text)
{
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    return Dispatch(vst2::kOpStringToParameter, index, 0, copy.data()) == 1;
}

std::intptr_t PluginInstance::CanDo(const std::string& text)
{
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    return Dispatch(vst2::kOpCanDo, 0, 0, copy.data());
}

bool PluginInstance::SetChannelCounts(int inputs, int outputs)
{
    vst2::SpeakerArrangement in{};
    vst2::SpeakerArrangement out{};
    in.type = inputs == 1 ? vst2::kArrangementMono : vst2::kArrangementStereo;
    in.numChannels = inputs;
    out.type = outputs == 1 ? vst2::kArrangementMono : vst2::kArrangementStereo;
    out.numChannels = outputs;
    return Dispatch(vst2::kOpSetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(&in), &out) == 1;
}

std::string PluginInstance::DisplayForNormalized(int index, float normalized)
{
    char text[256] = {};
    Dispatch(vst2::kOpVendorSpecific, vst2::kVendorParamDisplay, index, text, normalized);
    return TextFrom(text, sizeof text);
}

bool PluginInstance::NormalizedForText(int index, const std::string& text, double& normalized)
{
    if (text.empty() || text.size() > 200)
        return false;
    char buffer[256] = {};
    std::memcpy(buffer, text.data(), text.size());
    if (Dispatch(vst2::kOpVendorSpecific, vst2::kVendorParamFromText, index, buffer) !=
        vst2::kVendorSpecificYes)
        return false;
    const std::size_t length = strnlen(buffer, sizeof buffer);
    const auto result = std::from_chars(buffer, buffer + length, normalized);
    return result.ec == std::errc() && result.ptr == buffer + length;
}

std::intptr_t PluginInstance::SetProgram(int index)
{
    return Dispatch(vst2::kOpSetProgram, 0, index);
}

int PluginInstance::Program()
{
    return static_cast<int>(Dispatch(vst2::kOpGetProgram));
}

void PluginInstance::RenameProgram(const std::string& name)
{
    std::vector<char> copy(name.begin(), name.end());
    copy.push_back('\0');
    Dispatch(vst2::kOpSetProgramName, 0, 0, copy.data());
}

std::intptr_t PluginInstance::PinProperties(bool input, int index, vst2::PinProperties& pin)
{
    return Dispatch(input ? vst2::kOpGetInputProperties : vst2::kOpGetOutputProperties, index, 0, &pin);
}

std::intptr_t PluginInstance::MidiKeyName(int key, std::string& name)
{
    vst2::KeyNameRecord record{};
    record.keyNumber = key;
    // A name the plug-in leaves alone shows up as these marks.
    std::memset(record.keyName, 'x', sizeof record.keyName - 1);
    const std::intptr_t result = Dispatch(vst2::kOpGetMidiKeyName, 0, 0, &record);
    name = TextFrom(record.keyName, sizeof record.keyName);
    return result;
}

std::intptr_t PluginInstance::SetSpeakerArrangement(const vst2::SpeakerArrangement* in,
                                                    const vst2::SpeakerArrangement* out)
{
    return Dispatch(vst2::kOpSetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(in),
                    const_cast<vst2::SpeakerArrangement*>(out));
}

std::intptr_t PluginInstance::GetSpeakerArrangement(vst2::SpeakerArrangement** in,
                                                    vst2::SpeakerArrangement** out)
{
    return Dispatch(vst2::kOpGetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(in), out);
}

std::intptr_t PluginInstance::VendorSpecific(std::int32_t index, std::intptr_t value, void* ptr, float opt)
{
    return Dispatch(vst2::kOpVendorSpecific, index, value, ptr, opt);
}

} // namespace host
