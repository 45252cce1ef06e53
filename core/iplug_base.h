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

    // The instance's overridable operations, in the order of the instance's
    // table of them: keep it, add new ones at the end. Each says which thread
    // calls it and whether the instance lock is held (the lock is recursive).
    // "Host thread": whichever thread the host sends its requests from.

    // Host thread (close request), after the lock was taken and released.
    virtual ~IPlugBase();
    // Host thread (resume, suspend, sample rate, block size); lock held.
    virtual void ResetEngine();
    // Any thread that changed the parameter (host, editor, engine, loaded state); lock held.
    virtual void ParameterChanged(int index);
    // Audio thread, once per piece of a host block; lock held.
    virtual void RenderBlock(double** inputs, double** outputs, int frames);
    // Host thread, after the editor's window opened; lock held.
    virtual void OnEditorOpened() {}
    // Host thread, before the editor's window closes; lock held.
    virtual void OnEditorClosing() {}
    // Never called; keeps its place in the order.
    virtual void ReservedHook1() {}
    // Host thread (processing switched on or off); lock held.
    virtual void ActivationChanged(bool on);
    // Thread of the host's event list, usually the audio thread before a block; lock held.
    virtual void HandleMidiMessage(const MidiMessage&) {}
    // As HandleMidiMessage; lock held.
    virtual void HandleSysEx(const SysExMessage&) {}
    // Host thread (MIDI key name request; text holds 64 bytes); lock held.
    virtual bool GetMidiNoteName(int key, char* text);
    // Host thread (state chunk request); lock held.
    virtual bool StoreState(StateBuffer& buffer);
    // Host thread (state chunk handed in); lock held.
    virtual int RestoreState(std::span<const std::uint8_t> data, int pos);
    // Any thread that starts a gesture (editor, engine); lock held.
    virtual void BeginParamEdit(int) {}
    // Editor thread (a wheel step); takes the lock itself.
    virtual void BeginParamEditUnlessPending(int) {}
    // Any thread that changed a parameter for the host to record; lock held.
    virtual void AutomateParam(int, double) {}
    // Any thread that ends a gesture; lock held.
    virtual void EndParamEdit(int) {}
    // Any thread; lock held.
    virtual void RequestDisplayUpdate() {}
    // Audio thread while rendering, or the host thread; lock held.
    virtual int GetSamplePosition() { return 0; }
    // Audio thread while rendering, or the host thread; lock held.
    virtual double GetHostTempo() { return 0.0; }
    // Audio thread while rendering, or the host thread; lock held.
    virtual void GetHostTimeSignature(int& numerator, int& denominator);
    // Host thread (the requests that depend on the host); lock held.
    virtual int GetHostId() { return hostId; }
    // Thread that attached or resized the editor; lock held.
    virtual void UpdateEditorRect() {}
    // Never called; keeps its place in the order.
    virtual void ReservedHook2() {}
    // Host thread (open request, before the parameters reach the engine); lock held.
    virtual void PrepareForHost() {}
    // Thread that creates the editor, before the host sees it; takes the lock itself.
    virtual void AttachEditor(EditorLink* view);
    // Host thread (block size request), or the constructor; lock held.
    virtual void ChangeBlockSize(int frames);
    // Any thread; lock held.
    virtual void ChangeLatency(int samples) { latency = samples; }
    // Audio thread while rendering; lock held.
    virtual bool EmitMidiMessage(const MidiMessage&) { return false; }
    // Audio thread while rendering; lock held.
    virtual bool EmitMidiMessages(const MidiMessage* list, int count);
    // Audio thread while rendering; lock held.
    virtual bool EmitSysEx(const SysExMessage&) { return false; }
    // Host thread (program change or name, state chunk); lock held.
    virtual bool StoreParams(StateBuffer& buffer);
    // Host thread (program change, state chunk); lock held.
    virtual int RestoreParams(std::span<const std::uint8_t> data, int pos);
    // Host thread (bank chunk request); lock held.
    virtual bool StorePrograms(StateBuffer& buffer);
    // Host thread (bank chunk handed in); lock held.
    virtual int RestorePrograms(std::span<const std::uint8_t> data, int pos);
    // Audio thread, once per piece of a host block, in place of RenderBlock
    // where the binding can scale the host's samples itself; lock held. An
    // engine that can tell before rendering that every output channel of the
    // piece will be its input channel times one gain, and nothing else,
    // finishes the piece as RenderBlock would, sets gain and returns true.
    // Otherwise it returns false and RenderBlock follows for the same piece.
    virtual bool RenderBlockAsGain(int, double&) { return false; }

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
    // Replaces a slot's values with the live ones.
    bool RewriteSlot(IProgram& slot);

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
    int hostId = -1; // not asked yet; the binding names the values
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
