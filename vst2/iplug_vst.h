#pragma once
// The VST 2 binding: the descriptor record the host drives, the dispatcher,
// the audio and parameter callbacks, parameter gestures, host time queries and
// MIDI output. Reaches the tone engine only through the core's overridable
// operations.

#include "core/iplug_base.h"
#include "vst2/vst2_abi.h"

#include <cstdint>

class IPlugVST : public IPlugBase {
public:
    IPlugVST(vst2::HostCallback host, int paramCount, const char* channelConfig, int programCount,
             const char* effect, const char* product, const char* vendor, int version, std::int32_t unique,
             std::int32_t vendorCode, int latencySamples, int midi, bool chunks, bool instrument);
    ~IPlugVST() override;

    vst2::EffectDescriptor* Descriptor() { return &descriptor; }
    static IPlugVST* FromDescriptor(vst2::EffectDescriptor* effect);

    // The core's operations, called from the threads and with the lock as
    // their declarations in IPlugBase say.
    void BeginParamEdit(int index) override;
    void BeginParamEditUnlessPending(int index) override;
    void AutomateParam(int index, double normalized) override;
    void EndParamEdit(int index) override;
    void RequestDisplayUpdate() override;
    int GetSamplePosition() override;
    double GetHostTempo() override;
    void GetHostTimeSignature(int& numerator, int& denominator) override;
    int GetHostId() override;
    void UpdateEditorRect() override;
    void PrepareForHost() override;
    void AttachEditor(EditorLink* view) override;
    void ChangeLatency(int samples) override;
    bool EmitMidiMessage(const MidiMessage& message) override;
    bool EmitSysEx(const SysExMessage& message) override;

    // 1 playing, 2 recording, 0 otherwise.
    int GetTransportState();
    // Sample rate / tempo × 60, or 0 without a usable tempo.
    double ComputeSamplesPerBeat();

    static int LookUpHost(const char* product);
    void SetHost(const char* product, int packedVersion);

    // Descriptor entry points, with the instance lock held.
    std::intptr_t Dispatch(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                           float opt);
    float GetParameterValue(std::int32_t index);
    void SetParameterValue(std::int32_t index, float value);

    enum class ProcessMode { Accumulate, Replace };
    void ProcessFloat(float** inputs, float** outputs, std::int32_t frames, ProcessMode mode);
    void ProcessDouble(double** inputs, double** outputs, std::int32_t frames);

    const vst2::SpeakerArrangement& InputArrangement() const { return inputArrangement; }
    const vst2::SpeakerArrangement& OutputArrangement() const { return outputArrangement; }

protected:
    std::intptr_t CallHost(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                           void* ptr = nullptr, float opt = 0.0f);
    const vst2::TimeInfo* GetTimeInfo(std::int32_t mask);

private:
    std::intptr_t DispatchChunk(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr);
    std::intptr_t DispatchVendorSpecific(std::int32_t index, std::intptr_t value, void* ptr, float opt);
    std::intptr_t DispatchCanDo(const char* text) const;
    void SetSampleRateFromHost(float rate);
    void SetBlockSizeFromHost(std::intptr_t frames);
    // Renders a host block of any length under the lock, in pieces no longer
    // than the block size: scale(done, n) may finish the piece starting at
    // frame done by itself (true); otherwise attach(done, n) points the
    // channels at it, the engine renders n frames, collect(n) hands the
    // piece's output on.
    template <typename ScalePiece, typename AttachPiece, typename CollectPiece>
    void RenderInPieces(int frames, ScalePiece&& scale, AttachPiece&& attach, CollectPiece&& collect);
    // Whether a single-precision block's host buffers can take a piece scaled
    // by one gain straight from input to output.
    bool HostBuffersTakeGain(float** hostIn, float** hostOut, int frames) const;

    vst2::EditorRect editorRect{};
    vst2::HostCallback hostCallback = nullptr;
    vst2::SpeakerArrangement inputArrangement{};
    vst2::SpeakerArrangement outputArrangement{};
    bool prepared = false;
    StateBuffer programChunk{4096};
    StateBuffer bankChunk{4096};
    vst2::EffectDescriptor descriptor{};
};

namespace vst2 {
// What the exported entry points do: builds one instance under the creation
// lock and returns its descriptor, or null. Never throws.
EffectDescriptor* CreateEffect(HostCallback host) noexcept;
} // namespace vst2

// Builds the plug-in's own instance; defined by the plug-in.
IPlugVST* MakePlugin(vst2::HostCallback host);
