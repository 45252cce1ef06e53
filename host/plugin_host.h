#pragma once
// A small VST 2 host: loads a plug-in module, creates instances through its
// entry point, answers the requests a plug-in sends (product, version, time
// information) and records the ones it is told (automation, gestures). Used by
// the black-box tests and by tessaphon-render.

#include "vst2/vst2_abi.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace host {

class PluginModule {
public:
    // Null with a message in error when the module cannot be loaded.
    static std::unique_ptr<PluginModule> Open(const std::string& path, std::string& error);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    vst2::EntryProc Entry(const char* name = "VSTPluginMain") const;
    const std::string& Path() const { return path; }

private:
    PluginModule() = default;
    void* handle = nullptr;
    std::string path;
};

struct HostRequest {
    std::int32_t opcode;
    std::int32_t index;
    std::intptr_t value;
    float opt;
};

// What the host answers and what it has been told. Shared by the plug-in's
// threads: guarded by its own mutex.
class HostState {
public:
    HostState();

    void SetProduct(const std::string& text, std::intptr_t version);
    void SetTempo(double bpm); // 0 or less: no tempo reported
    void SetPlaying(bool playing);
    void SetRecording(bool recording);
    void SetSamplePosition(double position);
    void SetTimeSignature(int numerator, int denominator);
    void SetAnswersTime(bool answers); // false: time requests get no record
    void SetTimeRecord(const vst2::TimeInfo& info);
    void SetSampleRate(double rate); // the rate the time record reports

    std::vector<HostRequest> TakeRequests(); // the recorded requests, oldest first; clears them
    int CountRequests(std::int32_t opcode) const;
    // Whether every product-string buffer the plug-in passed started with a zero.
    bool ProductBuffersCleared() const;

    std::intptr_t Answer(vst2::EffectDescriptor* effect, std::int32_t opcode, std::int32_t index,
                         std::intptr_t value, void* ptr, float opt);

private:
    mutable std::mutex mutex;
    std::string product = "Tessaphon Test Host";
    std::intptr_t vendorVersion = 10000;
    bool answersTime = true;
    bool productBuffersCleared = true;
    vst2::TimeInfo time{};
    std::vector<HostRequest> requests;
};

// One plug-in instance; closes it when destroyed.
class PluginInstance {
public:
    static std::unique_ptr<PluginInstance> Create(const PluginModule& module, HostState& state,
                                                  std::string& error,
                                                  const char* entryName = "VSTPluginMain");
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    vst2::EffectDescriptor* Effect() const { return effect; }
    std::intptr_t Dispatch(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                           void* ptr = nullptr, float opt = 0.0f);

    // Open, sample rate, block size and processing on, as a host does before audio.
    void Start(double sampleRate, int blockSize);

    float GetParameter(int index);
    void SetParameter(int index, float value);
    void ProcessReplacing(float** inputs, float** outputs, int frames);
    void Process(float** inputs, float** outputs, int frames);
    void ProcessDouble(double** inputs, double** outputs, int frames);

    std::string ParamName(int index);
    std::string ParamLabel(int index);
    std::string ParamDisplay(int index);
    std::string ProgramName();
    std::string ProgramNameIndexed(int index);
    std::vector<std::uint8_t> GetChunk(bool bank);
    bool SetChunk(bool bank, const std::vector<std::uint8_t>& bytes);
    bool StringToParameter(int index, const std::string& text);
    std::intptr_t CanDo(const std::string& text);

    // Connects the first inputs and outputs (speaker-arrangement request).
    bool SetChannelCounts(int inputs, int outputs);
    // The plug-in's display text for a normalised position, without changing
    // the parameter (vendor-specific request 7).
    std::string DisplayForNormalized(int index, float normalized);
    // The normalised position the plug-in reads from a text, without changing
    // the parameter (vendor-specific request 27); false when not answered.
    bool NormalizedForText(int index, const std::string& text, double& normalized);

    std::intptr_t SetProgram(int index);
    int Program();
    void RenameProgram(const std::string& name);
    // Opcodes 33 and 34 into pin; the result of the request.
    std::intptr_t PinProperties(bool input, int index, vst2::PinProperties& pin);
    // Opcode 66 for a key of program 0; name receives the record's text.
    std::intptr_t MidiKeyName(int key, std::string& name);
    // Opcode 42; either arrangement may be null.
    std::intptr_t SetSpeakerArrangement(const vst2::SpeakerArrangement* in,
                                        const vst2::SpeakerArrangement* out);
    // Opcode 69; either place may be null.
    std::intptr_t GetSpeakerArrangement(vst2::SpeakerArrangement** in, vst2::SpeakerArrangement** out);
    std::intptr_t VendorSpecific(std::int32_t index, std::intptr_t value, void* ptr, float opt = 0.0f);

private:
    PluginInstance() = default;
    vst2::EffectDescriptor* effect = nullptr;
};

} // namespace host
