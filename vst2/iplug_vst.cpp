#include "vst2/iplug_vst.h"

#include "core/bounded_string.h"
#include "core/editor_link.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace {

using vst2::EffectDescriptor;

int DecimalVersion(int packed)
{
    return (packed >> 16) * 10000 + ((packed >> 8) & 0xFF) * 100 + (packed & 0xFF);
}

std::intptr_t DispatcherThunk(EffectDescriptor* effect, std::int32_t opcode, std::int32_t index,
                              std::intptr_t value, void* ptr, float opt) noexcept
{
    try {
        IPlugVST* plug = IPlugVST::FromDescriptor(effect);
        if (!plug)
            return 0;
        if (opcode == vst2::kOpClose) {
            // Taken once so that a call already running on another thread
            // ends first. The lock lives in the instance and is released
            // before the instance goes, so it cannot guard what comes after:
            // safety rests on the host making no call once it has sent close.
            {
                LockGuard guard(plug->Lock());
            }
            effect->object = nullptr;
            delete plug;
            return 0;
        }
        if (opcode == vst2::kOpEditorIdle) {
            // The editor's window work runs without the instance lock, as a
            // window procedure would: only its calls into the core take it,
            // so painting a frame never holds up the audio thread.
            if (EditorLink* editor = plug->Editor())
                editor->idleFromHost();
            return 0;
        }
        LockGuard guard(plug->Lock());
        return plug->Dispatch(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

float GetParameterThunk(EffectDescriptor* effect, std::int32_t index) noexcept
{
    try {
        IPlugVST* plug = IPlugVST::FromDescriptor(effect);
        return plug ? plug->GetParameterValue(index) : 0.0f;
    } catch (...) {
        return 0.0f;
    }
}

void SetParameterThunk(EffectDescriptor* effect, std::int32_t index, float value) noexcept
{
    try {
        if (IPlugVST* plug = IPlugVST::FromDescriptor(effect))
            plug->SetParameterValue(index, value);
    } catch (...) {
    }
}

void ProcessThunk(EffectDescriptor* effect, float** in, float** out, std::int32_t frames) noexcept
{
    try {
        if (IPlugVST* plug = IPlugVST::FromDescriptor(effect))
            plug->ProcessFloat(in, out, frames, IPlugVST::ProcessMode::Accumulate);
    } catch (...) {
    }
}

void ProcessReplacingThunk(EffectDescriptor* effect, float** in, float** out, std::int32_t frames) noexcept
{
    try {
        if (IPlugVST* plug = IPlugVST::FromDescriptor(effect))
            plug->ProcessFloat(in, out, frames, IPlugVST::ProcessMode::Replace);
    } catch (...) {
    }
}

void ProcessDoubleThunk(EffectDescriptor* effect, double** in, double** out, std::int32_t frames) noexcept
{
    try {
        if (IPlugVST* plug = IPlugVST::FromDescriptor(effect))
            plug->ProcessDouble(in, out, frames);
    } catch (...) {
    }
}

std::int32_t ArrangementType(int channels)
{
    if (channels <= 0)
        return vst2::kArrangementEmpty;
    if (channels == 1)
        return vst2::kArrangementMono;
    if (channels == 2)
        return vst2::kArrangementStereo;
    return vst2::kArrangementUserDefined;
}

} // namespace

IPlugVST::IPlugVST(vst2::HostCallback host, int paramCount, const char* channelConfig, int programCount,
                   const char* effect, const char* product, const char* vendor, int version,
                   std::int32_t unique, std::int32_t vendorCode, int latencySamples, int midi, bool chunks,
                   bool instrument)
    : IPlugBase(paramCount, channelConfig, programCount, effect, product, vendor, version, unique, vendorCode,
                latencySamples, midi, chunks, instrument),
      hostCallback(host)
{
    std::memset(&descriptor, 0, sizeof descriptor);
    descriptor.magic = vst2::kEffectMagic;
    descriptor.dispatcher = DispatcherThunk;
    descriptor.process = ProcessThunk;
    descriptor.setParameter = SetParameterThunk;
    descriptor.getParameter = GetParameterThunk;
    descriptor.processReplacing = ProcessReplacingThunk;
    descriptor.processDoubleReplacing = ProcessDoubleThunk;
    descriptor.numPrograms = NPrograms();
    descriptor.numParams = NParams();
    descriptor.numInputs = NInputs();
    descriptor.numOutputs = NOutputs();
    descriptor.uniqueID = unique;
    descriptor.version = DecimalVersion(version);
    descriptor.ioRatio = 1.0f;
    descriptor.object = this;
    descriptor.initialDelay = latencySamples;

    descriptor.flags = vst2::kFlagCanReplace | vst2::kFlagCanDoubleReplace;
    if (chunks)
        descriptor.flags |= vst2::kFlagProgramChunks;
    if (HasChannelConfig(1, -1))
        descriptor.flags |= vst2::kFlagCanMono;
    if (instrument)
        descriptor.flags |= vst2::kFlagIsSynth;

    inputArrangement.numChannels = NInputs();
    inputArrangement.type = ArrangementType(NInputs());
    outputArrangement.numChannels = NOutputs();
    outputArrangement.type = ArrangementType(NOutputs());

    for (int i = 0; i < NInputs(); ++i)
        SetInputConnected(i, true);
    for (int i = 0; i < NOutputs(); ++i)
        SetOutputConnected(i, true);
    ChangeBlockSize(1024);
}

// The editor goes first, while the whole instance still exists: closing its
// window may end a pending wheel edit, which reaches the host through this
// binding.
IPlugVST::~IPlugVST()
{
    editor.reset();
}

IPlugVST* IPlugVST::FromDescriptor(vst2::EffectDescriptor* effect)
{
    return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
}

std::intptr_t IPlugVST::CallHost(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                 float opt)
{
    return hostCallback ? hostCallback(&descriptor, opcode, index, value, ptr, opt) : 0;
}

void IPlugVST::BeginParamEdit(int index)
{
    FlushPendingParamEdit();
    CallHost(vst2::kHostBeginEdit, index);
}

void IPlugVST::BeginParamEditUnlessPending(int index)
{
    LockGuard guard(lock);
    if (index != pendingParamEdit) {
        FlushPendingParamEdit();
        CallHost(vst2::kHostBeginEdit, index);
    }
}

void IPlugVST::AutomateParam(int index, double normalized)
{
    CallHost(vst2::kHostAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IPlugVST::EndParamEdit(int index)
{
    CallHost(vst2::kHostEndEdit, index);
}

void IPlugVST::RequestDisplayUpdate()
{
    CallHost(vst2::kHostUpdateDisplay);
}

const vst2::TimeInfo* IPlugVST::GetTimeInfo(std::int32_t mask)
{
    return reinterpret_cast<const vst2::TimeInfo*>(CallHost(vst2::kHostGetTime, 0, mask));
}

int IPlugVST::GetSamplePosition()
{
    const vst2::TimeInfo* info = GetTimeInfo(0);
    if (info && info->samplePos >= 0.0)
        return SaturatingTrunc(info->samplePos + 0.5);
    return 0;
}

double IPlugVST::GetHostTempo()
{
    if (!hostCallback)
        return 0.0;
    const vst2::TimeInfo* info = GetTimeInfo(vst2::kTimeTempoValid);
    // A tempo that is not a finite number counts as no tempo.
    if (info && (info->flags & vst2::kTimeTempoValid) && info->tempo >= 0.0 && std::isfinite(info->tempo))
        return info->tempo;
    return 0.0;
}

void IPlugVST::GetHostTimeSignature(int& numerator, int& denominator)
{
    numerator = 0;
    denominator = 0;
    const vst2::TimeInfo* info = GetTimeInfo(vst2::kTimeSignatureValid);
    if (info && (info->flags & vst2::kTimeSignatureValid) && info->timeSigNumerator >= 0 &&
        info->timeSigDenominator >= 0) {
        numerator = info->timeSigNumerator;
        denominator = info->timeSigDenominator;
    }
}

int IPlugVST::GetTransportState()
{
    const vst2::TimeInfo* info = GetTimeInfo(0);
    if (!info)
        return 0;
    if (info->flags & vst2::kTimeTransportPlaying)
        return 1;
    if (info->flags & vst2::kTimeTransportRecording)
        return 2;
    return 0;
}

double IPlugVST::ComputeSamplesPerBeat()
{
    const double tempo = GetHostTempo();
    if (tempo > 0.0) {
        const double samples = sampleRate / tempo * 60.0;
        return std::isfinite(samples) ? samples : 0.0;
    }
    return 0.0;
}

void IPlugVST::UpdateEditorRect()
{
    if (!editor)
        return;
    editorRect.top = 0;
    editorRect.left = 0;
    editorRect.bottom = static_cast<std::int16_t>(editor->Height());
    editorRect.right = static_cast<std::int16_t>(editor->Width());
}

void IPlugVST::AttachEditor(EditorLink* view)
{
    if (!view)
        return;
    IPlugBase::AttachEditor(view);
    descriptor.flags |= vst2::kFlagHasEditor;
    UpdateEditorRect();
}

void IPlugVST::ChangeLatency(int samples)
{
    IPlugBase::ChangeLatency(samples);
    descriptor.initialDelay = samples;
}

bool IPlugVST::EmitMidiMessage(const MidiMessage& message)
{
    vst2::MidiEvent event{};
    event.type = vst2::kEventMidi;
    event.byteSize = static_cast<std::int32_t>(sizeof event);
    event.deltaFrames = message.offset;
    event.midiData[0] = static_cast<char>(message.status);
    event.midiData[1] = static_cast<char>(message.data1);
    event.midiData[2] = static_cast<char>(message.data2);
    vst2::EventList list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<vst2::Event*>(&event);
    list.events[1] = nullptr;
    return CallHost(vst2::kHostProcessEvents, 0, 0, &list) == 1;
}

bool IPlugVST::EmitSysEx(const SysExMessage& message)
{
    vst2::SysExEvent event{};
    event.type = vst2::kEventSysEx;
    event.byteSize = static_cast<std::int32_t>(sizeof event);
    event.deltaFrames = message.offset;
    event.dumpBytes = message.size;
    event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(message.data));
    vst2::EventList list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<vst2::Event*>(&event);
    list.events[1] = nullptr;
    return CallHost(vst2::kHostProcessEvents, 0, 0, &list) == 1;
}

float IPlugVST::GetParameterValue(std::int32_t index)
{
    LockGuard guard(lock);
    const IParameter* param = GetParam(index);
    return param ? static_cast<float>(param->ReadNormalized()) : 0.0f;
}

void IPlugVST::SetParameterValue(std::int32_t index, float value)
{
    LockGuard guard(lock);
    IParameter* param = GetParam(index);
    // A value that is not a finite number changes nothing.
    if (!param || !std::isfinite(value))
        return;
    if (editor)
        editor->UpdateControlsForParameter(index, value, true);
    param->WriteNormalized(value);
    ParameterChanged(index);
}
