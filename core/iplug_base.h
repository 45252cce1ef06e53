#pragma once
// The plug-in core: parameters, program slots, serialised state and the channel
// model, independent of the plug-in interface. Owns its parameters, programs,
// channels and the attached editor. No OS calls.

#include "core/channels.h"
#include "core/instance_lock.h"
#include "core/iparameter.h"
#include "core/state_buffer.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class EditorLink;

constexpr std::size_t kProgramNameSize = 256;
constexpr std::size_t kPlugNameSize = 128;

struct IProgram {
    bool initialised = false;
    char name[kProgramNameSize] = {};
    StateBuffer data{4096};
};

class IPlugBase {
public:
    IPlugBase(int paramCount, const char* channelConfig, int programCount, const char* effectName,
              const char* productName, const char* vendorName, int vendorVersion, std::int32_t uniqueId,
              std::int32_t vendorId, int latency, int midiMode, bool usesChunks, bool isInstrument);

    // The instance's overridable operations, in their fixed order.
    virtual ~IPlugBase();                                                     // 1
    virtual void ResetEngine();                                               // 2
    virtual void ParameterChanged(int index);                                 // 3
    virtual void RenderBlock(double** inputs, double** outputs, int frames);  // 4
    virtual void OnEditorOpened() {}                                          // 5
    virtual void OnEditorClosing() {}                                         // 6
    virtual void ReservedHook1() {}                                           // 7
    virtual void ActivationChanged(bool on);                                  // 8
    virtual void HandleMidiMessage(const MidiMessage&) {}                     // 9
    virtual void HandleSysEx(const SysExMessage&) {}                          // 10
    virtual bool GetMidiNoteName(int key, char* text);                        // 11 (text: 64 bytes)
    virtual bool StoreState(StateBuffer& buffer);                             // 12
    virtual int RestoreState(std::span<const std::uint8_t> data, int pos);    // 13
    virtual void BeginParamEdit(int) {}                                       // 14
    virtual void BeginParamEditUnlessPending(int) {}                          // 15
    virtual void AutomateParam(int, double) {}                                // 16
    virtual void EndParamEdit(int) {}                                         // 17
    virtual void RequestDisplayUpdate() {}                                    // 18
    virtual int GetSamplePosition() { return 0; }                             // 19
    virtual double GetHostTempo() { return 0.0; }                             // 20
    virtual void GetHostTimeSignature(int& numerator, int& denominator);      // 21
    virtual int GetHostId() { return hostId; }                                // 22
    virtual void UpdateEditorRect() {}                                        // 23
    virtual void ReservedHook2() {}                                           // 24
    virtual void PrepareForHost() {}                                          // 25
    virtual void AttachEditor(EditorLink* view);                              // 26
    virtual void ChangeBlockSize(int frames);                                 // 27
    virtual void ChangeLatency(int samples) { latency = samples; }            // 28
    virtual bool EmitMidiMessage(const MidiMessage&) { return false; }        // 29
    virtual bool EmitMidiMessages(const MidiMessage* list, int count);        // 30
    virtual bool EmitSysEx(const SysExMessage&) { return false; }             // 31
    virtual bool StoreParams(StateBuffer& buffer);                            // 32
    virtual int RestoreParams(std::span<const std::uint8_t> data, int pos);   // 33
    virtual bool StorePrograms(StateBuffer& buffer);                          // 34
    virtual int RestorePrograms(std::span<const std::uint8_t> data, int pos); // 35

    IPlugBase(const IPlugBase&) = delete;
    IPlugBase& operator=(const IPlugBase&) = delete;

    // Parameters.
    int NParams() const { return static_cast<int>(params.size()); }
    IParameter* GetParam(int index);
    const IParameter* GetParam(int index) const;

    // Programs.
    int NPrograms() const { return static_cast<int>(programs.size()); }
    IProgram* GetProgram(int index);
    int CurrentProgram() const { return currentProgram; }
    void MakeProgram(const char* name, std::span<const double> values);
    void MakeDefaultPrograms(const char* name, int count);
    void EnsureAtLeastOneProgram();
    void MakeUserPresetName(char* out, std::size_t outSize) const;
    const char* GetProgramName(int index) const;
    void StoreCurrentProgram(const char* newName);
    bool SelectProgram(int index);
    void PushParametersToEditor();

    // Editor gestures. Any thread; each takes the instance lock.
    // The late end of a wheel edit: the parameter becomes the pending edit and
    // the editor's countdown is armed (half a second of its ticks); without an
    // editor the edit ends at once.
    void DeferParamEditEnd(int index);
    // Ends the pending wheel edit, if any, and clears the editor's countdown.
    void FlushPendingParamEdit();
    // The editor changed a parameter: value, host automation, engine. A value
    // that is not a finite number changes nothing.
    void SetParameterFromEditor(int index, double normalized);

    // State chunks: the host's get and set requests, into and from the chunk
    // buffer of the matching kind. WriteChunk is true when the buffer holds a
    // whole chunk, header included; ReadChunk is true when the data was read
    // without running out.
    bool WriteChunk(bool bank, StateBuffer& buffer);
    bool ReadChunk(bool bank, StateBuffer& buffer, const void* bytes, std::int64_t byteCount);

    // Channels.
    bool HasChannelConfig(int inputs, int outputs) const;
    int NInputs() const { return static_cast<int>(inputChannels.size()); }
    int NOutputs() const { return static_cast<int>(outputChannels.size()); }
    int NChannelConfigs() const { return static_cast<int>(channelConfigs.size()); }
    const ChannelIOConfig& ChannelConfig(int index) const
    {
        return channelConfigs[static_cast<std::size_t>(index)];
    }
    void SetInputConnected(int index, bool connected);
    void SetOutputConnected(int index, bool connected);
    bool IsInputConnected(int index) const
    {
        return inputChannels[static_cast<std::size_t>(index)]->connected;
    }
    bool IsOutputConnected(int index) const
    {
        return outputChannels[static_cast<std::size_t>(index)]->connected;
    }

    // Identity.
    const char* EffectName() const { return effectName; }
    const char* ProductName() const { return productName; }
    const char* VendorName() const { return vendorName; }
    int VendorVersion() const { return vendorVersion; }
    std::int32_t UniqueId() const { return uniqueId; }
    std::int32_t VendorId() const { return vendorId; }
    int Latency() const { return latency; }
    int MidiMode() const { return midiMode; }
    bool UsesChunks() const { return usesChunks; }
    bool IsInstrument() const { return isInstrument; }
    int HostVersion() const { return hostVersion; }

    double SampleRate() const { return sampleRate; }
    int BlockSize() const { return blockSize; }
    EditorLink* Editor() const { return editor.get(); }
    InstanceLock& Lock() { return lock; }

protected:
    InstanceLock lock;
    int hostId = -1;
    int hostVersion = 0;
    double sampleRate = 44100.0;
    int blockSize = 0;
    std::unique_ptr<EditorLink> editor;
    int currentProgram = 0;
    int pendingParamEdit = -1;

    std::vector<std::unique_ptr<InputChannel>> inputChannels;
    std::vector<std::unique_ptr<OutputChannel>> outputChannels;
    std::vector<double*> inputPointers;
    std::vector<double*> outputPointers;

private:
    void ParseChannelConfig(const char* text);
    template <typename F>
    void ForEachScratch(F&& f);

    char effectName[kPlugNameSize] = {};
    char productName[kPlugNameSize] = {};
    char vendorName[kPlugNameSize] = {};
    int vendorVersion;
    std::int32_t uniqueId;
    std::int32_t vendorId;
    int latency;
    int midiMode;
    bool usesChunks;
    bool isInstrument;

    std::vector<std::unique_ptr<IParameter>> params;
    std::vector<std::unique_ptr<IProgram>> programs;
    std::vector<ChannelIOConfig> channelConfigs;
};
