#include "vst2/iplug_vst.h"

#include "core/bounded_string.h"
#include "core/editor_link.h"
#include "vst2/host_text.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

// Host requests through the descriptor's dispatcher. The caller holds the
// instance lock. Texts from the host are read with a bound; texts to the host
// are this plug-in's own and are copied whole with their terminator, never more
// than the field they come from.

namespace {

// Field sizes the host provides for the texts it asks for.
constexpr std::size_t kParamTextField = 32; // label, display, name: our texts fit in 31
constexpr std::size_t kProgramNameField = 256;
constexpr std::size_t kPlugNameField = 128;
constexpr std::size_t kPinLabelField = 64;

void CopyToHost(void* ptr, std::size_t field, const char* text)
{
    CopyText(static_cast<char*>(ptr), field, text);
}

bool IsNamed(const char* text, const char* expected)
{
    return std::strncmp(text, expected, kHostTextLimit) == 0;
}

} // namespace

std::intptr_t IPlugVST::Dispatch(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                 float opt)
{
    using namespace vst2;
    switch (opcode) {
    case kOpOpen:
        PrepareForHost();
        for (int i = 0; i < NParams(); ++i)
            ParameterChanged(i);
        return 0;
    case kOpSetProgram:
        StoreCurrentProgram(nullptr);
        if (value >= INT_MIN && value <= INT_MAX)
            SelectProgram(static_cast<int>(value));
        return 0;
    case kOpGetProgram:
        return CurrentProgram();
    case kOpSetProgramName:
        if (ptr) {
            char name[kProgramNameSize] = {};
            ProgramNameFromHost(name, sizeof name, static_cast<const char*>(ptr));
            StoreCurrentProgram(name);
        }
        return 0;
    case kOpGetProgramName:
        if (ptr)
            ProgramNameToHost(static_cast<char*>(ptr), kProgramNameField, GetProgramName(CurrentProgram()));
        return 0;
    case kOpGetParamLabel:
        if (const IParameter* p = GetParam(index); p && ptr)
            CopyToHost(ptr, kParamTextField, p->GetLabel());
        return 0;
    case kOpGetParamDisplay:
        if (const IParameter* p = GetParam(index); p && ptr)
            p->GetDisplay(p->Value(), false, static_cast<char*>(ptr), kParamTextField);
        return 0;
    case kOpGetParamName:
        if (const IParameter* p = GetParam(index); p && ptr)
            CopyToHost(ptr, kParamTextField, p->GetName());
        return 0;
    case kOpSetSampleRate:
        SetSampleRateFromHost(opt);
        return 0;
    case kOpSetBlockSize:
        SetBlockSizeFromHost(value);
        return 0;
    case kOpProcessingOnOff:
        if (value != 0) {
            ActivationChanged(true);
        } else {
            ActivationChanged(false);
            ResetEngine();
        }
        return 0;
    case kOpEditorGetRect:
        if (ptr && editor) {
            *static_cast<EditorRect**>(ptr) = &editorRect;
            return 1;
        }
        return 0;
    case kOpEditorOpen:
        if (editor && editor->openWindow(ptr)) {
            OnEditorOpened();
            return 1;
        }
        return 0;
    case kOpEditorClose:
        if (editor) {
            OnEditorClosing();
            editor->closeWindow();
            return 1;
        }
        return 0;
    case kOpIdentify:
        return kIdentifyAnswer;
    case kOpGetChunk:
    case kOpSetChunk:
        return DispatchChunk(opcode, index, value, ptr);
    case kOpProcessEvents: {
        if (!ptr)
            return 0;
        // The pointer array runs on past the two entries the record declares,
        // so each pointer is read from its byte offset.
        const auto* list = static_cast<const EventList*>(ptr);
        const auto* slots = static_cast<const unsigned char*>(ptr) + offsetof(EventList, events);
        for (std::int32_t i = 0; i < list->numEvents; ++i) {
            const Event* event = nullptr;
            std::memcpy(&event, slots + static_cast<std::size_t>(i) * sizeof event, sizeof event);
            if (!event)
                continue;
            if (event->type == kEventMidi) {
                const auto* midi = reinterpret_cast<const MidiEvent*>(event);
                MidiMessage message;
                message.offset = midi->deltaFrames;
                message.status = static_cast<unsigned char>(midi->midiData[0]);
                message.data1 = static_cast<unsigned char>(midi->midiData[1]);
                message.data2 = static_cast<unsigned char>(midi->midiData[2]);
                HandleMidiMessage(message);
            } else if (event->type == kEventSysEx) {
                const auto* sysex = reinterpret_cast<const SysExEvent*>(event);
                SysExMessage message;
                message.offset = sysex->deltaFrames;
                message.size = sysex->dumpBytes;
                message.data = reinterpret_cast<const unsigned char*>(sysex->sysexDump);
                HandleSysEx(message);
            }
        }
        return 1;
    }
    case kOpCanBeAutomated:
        return 1;
    case kOpStringToParameter: {
        IParameter* p = GetParam(index);
        if (!p)
            return 0;
        if (ptr) {
            char text[kHostTextLimit + 1] = {};
            CopyText(text, sizeof text, static_cast<const char*>(ptr));
            const double v = p->ParseText(text);
            if (editor)
                editor->UpdateControlsForParameter(index, v, false);
            p->SetClamped(v);
            ParameterChanged(index);
        }
        return 1;
    }
    case kOpGetProgramNameIndexed: {
        if (!ptr)
            return 0;
        const char* name = GetProgramName(index);
        ProgramNameToHost(static_cast<char*>(ptr), kProgramNameField, name);
        return name[0] ? 1 : 0;
    }
    case kOpGetInputProperties:
    case kOpGetOutputProperties: {
        const bool input = opcode == kOpGetInputProperties;
        const int count = input ? NInputs() : NOutputs();
        if (!ptr || index < 0 || index >= count)
            return 0;
        auto* pin = static_cast<PinProperties*>(ptr);
        pin->flags = (index % 2 == 0 && index != count - 1) ? (kPinIsActive | kPinIsStereo) : kPinIsActive;
        std::snprintf(pin->label, kPinLabelField, input ? "Input %d" : "Output %d", index + 1);
        return 1;
    }
    case kOpGetCategory:
        return IsInstrument() ? 2 : 1;
    case kOpSetSpeakerArrangement: {
        const auto* in = reinterpret_cast<const SpeakerArrangement*>(value);
        const auto* out = static_cast<const SpeakerArrangement*>(ptr);
        if (in) {
            const int n = in->numChannels < 0 ? 0 : in->numChannels;
            for (int i = 0; i < NInputs(); ++i)
                SetInputConnected(i, i < n);
        }
        if (out) {
            const int n = out->numChannels < 0 ? 0 : out->numChannels;
            for (int i = 0; i < NOutputs(); ++i)
                SetOutputConnected(i, i < n);
        }
        return 1;
    }
    case kOpGetEffectName:
    case kOpGetVendorName:
    case kOpGetProductName:
        if (!ptr)
            return 0;
        CopyToHost(ptr, kPlugNameField,
                   opcode == kOpGetEffectName   ? EffectName()
                   : opcode == kOpGetVendorName ? VendorName()
                                                : ProductName());
        return 1;
    case kOpGetVendorVersion:
        return descriptor.version;
    case kOpVendorSpecific:
        return DispatchVendorSpecific(index, value, ptr, opt);
    case kOpCanDo:
        return DispatchCanDo(static_cast<const char*>(ptr));
    case kOpGetInterfaceVersion:
        return kInterfaceVersion;
    case kOpGetMidiKeyName: {
        if (!ptr)
            return 0;
        auto* record = static_cast<KeyNameRecord*>(ptr);
        record->keyName[0] = '\0';
        const bool named = GetMidiNoteName(record->keyNumber, record->keyName);
        record->keyName[sizeof record->keyName - 1] = '\0';
        return named ? 1 : 0;
    }
    case kOpGetSpeakerArrangement:
        if (value)
            *reinterpret_cast<SpeakerArrangement**>(value) = &inputArrangement;
        if (ptr)
            *static_cast<SpeakerArrangement**>(ptr) = &outputArrangement;
        return 1;
    default:
        return 0;
    }
}

void IPlugVST::SetSampleRateFromHost(float rate)
{
    // A rate that is not a finite positive number is refused; the previous one stays.
    if (!std::isfinite(rate) || rate <= 0.0f)
        return;
    sampleRate = rate;
    ResetEngine();
}

void IPlugVST::SetBlockSizeFromHost(std::intptr_t frames)
{
    if (frames > 0 && frames <= INT_MAX)
        ChangeBlockSize(static_cast<int>(frames));
    ResetEngine();
}

std::intptr_t IPlugVST::DispatchChunk(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr)
{
    if (!ptr)
        return 0;
    const bool bank = index == 0;
    StateBuffer& buffer = bank ? bankChunk : programChunk;
    if (opcode == vst2::kOpGetChunk) {
        if (!WriteChunk(bank, buffer))
            return 0;
        *static_cast<void**>(ptr) = buffer.Data();
        return buffer.Size();
    }
    // Sizes outside 0 .. 2^31 - 1 are refused before anything is read.
    if (value < 0 || value > INT_MAX)
        return 0;
    return ReadChunk(bank, buffer, ptr, value) ? 1 : 0;
}

std::intptr_t IPlugVST::DispatchVendorSpecific(std::int32_t index, std::intptr_t value, void* ptr, float opt)
{
    const bool validParam = value >= 0 && value < NParams();
    IParameter* p = validParam ? GetParam(static_cast<int>(value)) : nullptr;
    switch (index) {
    case vst2::kVendorParamDisplay:
        if (!ptr)
            return 0;
        if (p)
            p->GetDisplay(static_cast<double>(opt), true, static_cast<char*>(ptr), kParamTextField);
        return vst2::kVendorSpecificYes;
    case vst2::kVendorParamIsStepped: {
        if (!p)
            return 0;
        double lo = 0.0;
        double hi = 0.0;
        p->GetRange(lo, hi);
        const ParameterKind kind = p->Kind();
        const bool smallRange = std::fabs(hi - lo) < 1.5;
        if (kind == ParameterKind::Integral ||
            ((kind == ParameterKind::Int || kind == ParameterKind::Enum) && smallRange))
            return vst2::kVendorSpecificYes;
        return 0;
    }
    case vst2::kVendorParamFromText: {
        if (!ptr || !p)
            return 0;
        auto* text = static_cast<char*>(ptr);
        if (text[0]) {
            char copy[kHostTextLimit + 1] = {};
            CopyText(copy, sizeof copy, text);
            const double normalized = p->NormalizeValue(p->ParseText(copy));
            // "%.17f" of a position from 0 to 1 needs 19 characters and the terminator.
            FormatFixed(text, 20, normalized, 17);
        }
        return vst2::kVendorSpecificYes;
    }
    case vst2::kVendorWheel:
        if (value == vst2::kVendorWheelValue && editor)
            return editor->wheelFromHost(opt) ? 1 : 0;
        return 0;
    default:
        return 0;
    }
}

std::intptr_t IPlugVST::DispatchCanDo(const char* text) const
{
    if (!text)
        return 0;
    if (IsNamed(text, "receiveVstTimeInfo"))
        return 1;
    const int midi = MidiMode();
    if ((midi == 1 || midi == 3) && (IsNamed(text, "sendVstEvents") || IsNamed(text, "sendVstMidiEvent")))
        return 1;
    if ((midi == 1 || midi == 2) &&
        (IsNamed(text, "receiveVstEvents") || IsNamed(text, "receiveVstMidiEvent")))
        return 1;
    if (IsNamed(text, "hasCockosExtensions") || IsNamed(text, "hasCockosViewAsConfig"))
        return vst2::kExtensionsAnswer;
    return 0;
}
