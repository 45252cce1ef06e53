#pragma once
// The VST 2 binary interface as this plug-in and its hosts see it: record
// layouts of the 64-bit ABI, written from their documented offsets and checked
// below, and named constants for every request code the system uses.
// No OS headers, no behaviour.

#include <cstddef>
#include <cstdint>

namespace vst2 {

struct EffectDescriptor;

using HostCallback = std::intptr_t (*)(EffectDescriptor* effect, std::int32_t opcode, std::int32_t index,
                                       std::intptr_t value, void* ptr, float opt);
using DispatcherProc = std::intptr_t (*)(EffectDescriptor* effect, std::int32_t opcode, std::int32_t index,
                                         std::intptr_t value, void* ptr, float opt);
using ProcessProc = void (*)(EffectDescriptor* effect, float** inputs, float** outputs, std::int32_t frames);
using ProcessDoubleProc = void (*)(EffectDescriptor* effect, double** inputs, double** outputs,
                                   std::int32_t frames);
using SetParameterProc = void (*)(EffectDescriptor* effect, std::int32_t index, float value);
using GetParameterProc = float (*)(EffectDescriptor* effect, std::int32_t index);
using EntryProc = EffectDescriptor* (*)(HostCallback host);

constexpr std::int32_t FourCC(char a, char b, char c, char d)
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr std::int32_t kEffectMagic = FourCC('V', 's', 't', 'P');

// Descriptor flags.
constexpr std::int32_t kFlagHasEditor = 0x01;
constexpr std::int32_t kFlagCanMono = 0x08;
constexpr std::int32_t kFlagCanReplace = 0x10;
constexpr std::int32_t kFlagProgramChunks = 0x20;
constexpr std::int32_t kFlagIsSynth = 0x100;
constexpr std::int32_t kFlagCanDoubleReplace = 0x1000;

// The descriptor record the entry point hands to the host: 192 bytes.
struct EffectDescriptor {
    std::int32_t magic;
    std::int32_t padding0;
    DispatcherProc dispatcher;
    ProcessProc process;
    SetParameterProc setParameter;
    GetParameterProc getParameter;
    std::int32_t numPrograms;
    std::int32_t numParams;
    std::int32_t numInputs;
    std::int32_t numOutputs;
    std::int32_t flags;
    std::int32_t padding1;
    std::intptr_t reserved1;
    std::intptr_t reserved2;
    std::int32_t initialDelay;
    std::int32_t realQualities;
    std::int32_t offQualities;
    float ioRatio;
    void* object;
    void* user;
    std::int32_t uniqueID;
    std::int32_t version;
    ProcessProc processReplacing;
    ProcessDoubleProc processDoubleReplacing;
    char future[56];
};

static_assert(sizeof(void*) == 8, "the plug-in is built for the 64-bit ABI only");
static_assert(offsetof(EffectDescriptor, magic) == 0);
static_assert(offsetof(EffectDescriptor, dispatcher) == 8);
static_assert(offsetof(EffectDescriptor, process) == 16);
static_assert(offsetof(EffectDescriptor, setParameter) == 24);
static_assert(offsetof(EffectDescriptor, getParameter) == 32);
static_assert(offsetof(EffectDescriptor, numPrograms) == 40);
static_assert(offsetof(EffectDescriptor, numParams) == 44);
static_assert(offsetof(EffectDescriptor, numInputs) == 48);
static_assert(offsetof(EffectDescriptor, numOutputs) == 52);
static_assert(offsetof(EffectDescriptor, flags) == 56);
static_assert(offsetof(EffectDescriptor, reserved1) == 64);
static_assert(offsetof(EffectDescriptor, reserved2) == 72);
static_assert(offsetof(EffectDescriptor, initialDelay) == 80);
static_assert(offsetof(EffectDescriptor, realQualities) == 84);
static_assert(offsetof(EffectDescriptor, offQualities) == 88);
static_assert(offsetof(EffectDescriptor, ioRatio) == 92);
static_assert(offsetof(EffectDescriptor, object) == 96);
static_assert(offsetof(EffectDescriptor, user) == 104);
static_assert(offsetof(EffectDescriptor, uniqueID) == 112);
static_assert(offsetof(EffectDescriptor, version) == 116);
static_assert(offsetof(EffectDescriptor, processReplacing) == 120);
static_assert(offsetof(EffectDescriptor, processDoubleReplacing) == 128);
static_assert(offsetof(EffectDescriptor, future) == 136);
static_assert(sizeof(EffectDescriptor) == 192);

struct SpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    std::int32_t type;
    char future[28];
};
static_assert(sizeof(SpeakerProperties) == 112);

struct SpeakerArrangement {
    std::int32_t type; // -1 none, 0 mono, 1 stereo, -2 user-defined
    std::int32_t numChannels;
    SpeakerProperties speakers[8];
};
static_assert(offsetof(SpeakerArrangement, numChannels) == 4);
static_assert(sizeof(SpeakerArrangement) == 904);

constexpr std::int32_t kArrangementUserDefined = -2;
constexpr std::int32_t kArrangementEmpty = -1;
constexpr std::int32_t kArrangementMono = 0;
constexpr std::int32_t kArrangementStereo = 1;

// Time information the host answers to kHostGetTime.
struct TimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    std::int32_t timeSigNumerator;
    std::int32_t timeSigDenominator;
    std::int32_t smpteOffset;
    std::int32_t smpteFrameRate;
    std::int32_t samplesToNextClock;
    std::int32_t flags;
};
static_assert(offsetof(TimeInfo, tempo) == 32);
static_assert(offsetof(TimeInfo, timeSigNumerator) == 64);
static_assert(offsetof(TimeInfo, timeSigDenominator) == 68);
static_assert(offsetof(TimeInfo, flags) == 84);

constexpr std::int32_t kTimeTransportPlaying = 0x02;
constexpr std::int32_t kTimeTransportRecording = 0x08;
constexpr std::int32_t kTimeTempoValid = 0x400;
constexpr std::int32_t kTimeSignatureValid = 0x2000;

// Events: a list header followed by a variable array of event pointers.
struct Event {
    std::int32_t type;
    std::int32_t byteSize;
    std::int32_t deltaFrames;
    std::int32_t flags;
    char data[16];
};
static_assert(sizeof(Event) == 32);

struct EventList {
    std::int32_t numEvents;
    std::int32_t padding;
    std::intptr_t reserved;
    Event* events[2];
};
static_assert(offsetof(EventList, events) == 16);

constexpr std::int32_t kEventMidi = 1;
constexpr std::int32_t kEventSysEx = 6;

struct MidiEvent {
    std::int32_t type;
    std::int32_t byteSize;
    std::int32_t deltaFrames;
    std::int32_t flags;
    std::int32_t noteLength;
    std::int32_t noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};
static_assert(offsetof(MidiEvent, midiData) == 24);
static_assert(sizeof(MidiEvent) == 32);

struct SysExEvent {
    std::int32_t type;
    std::int32_t byteSize;
    std::int32_t deltaFrames;
    std::int32_t flags;
    std::int32_t dumpBytes;
    std::int32_t padding;
    std::intptr_t reserved1;
    char* sysexDump;
    std::intptr_t reserved2;
};
static_assert(offsetof(SysExEvent, dumpBytes) == 16);
static_assert(offsetof(SysExEvent, sysexDump) == 32);
static_assert(sizeof(SysExEvent) == 48);

struct PinProperties {
    char label[64];
    std::int32_t flags; // 1 active, 2 stereo pair
    std::int32_t arrangementType;
    char shortLabel[8];
    char future[48];
};
static_assert(offsetof(PinProperties, flags) == 64);

constexpr std::int32_t kPinIsActive = 1;
constexpr std::int32_t kPinIsStereo = 2;

struct KeyNameRecord {
    std::int32_t programIndex;
    std::int32_t keyNumber;
    char keyName[64];
    std::int32_t reserved;
    std::int32_t flags;
};
static_assert(offsetof(KeyNameRecord, keyName) == 8);

struct EditorRect {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};

// Dispatcher requests (host to plug-in).
enum Opcode : std::int32_t {
    kOpOpen = 0,
    kOpClose = 1,
    kOpSetProgram = 2,
    kOpGetProgram = 3,
    kOpSetProgramName = 4,
    kOpGetProgramName = 5,
    kOpGetParamLabel = 6,
    kOpGetParamDisplay = 7,
    kOpGetParamName = 8,
    kOpSetSampleRate = 10,
    kOpSetBlockSize = 11,
    kOpProcessingOnOff = 12,
    kOpEditorGetRect = 13,
    kOpEditorOpen = 14,
    kOpEditorClose = 15,
    kOpEditorIdle = 19,
    kOpIdentify = 22,
    kOpGetChunk = 23,
    kOpSetChunk = 24,
    kOpProcessEvents = 25,
    kOpCanBeAutomated = 26,
    kOpStringToParameter = 27,
    kOpGetProgramNameIndexed = 29,
    kOpGetInputProperties = 33,
    kOpGetOutputProperties = 34,
    kOpGetCategory = 35,
    kOpVariableIo = 41,
    kOpSetSpeakerArrangement = 42,
    kOpGetEffectName = 45,
    kOpGetVendorName = 47,
    kOpGetProductName = 48,
    kOpGetVendorVersion = 49,
    kOpVendorSpecific = 50,
    kOpCanDo = 51,
    kOpIdle = 53,
    kOpGetInterfaceVersion = 58,
    kOpGetMidiKeyName = 66,
    kOpGetSpeakerArrangement = 69,
};

// Host requests (plug-in to host).
enum HostOpcode : std::int32_t {
    kHostAutomate = 0,
    kHostVersion = 1,
    kHostWantMidi = 6,
    kHostGetTime = 7,
    kHostProcessEvents = 8,
    kHostUpdateDisplay = 42,
    kHostBeginEdit = 43,
    kHostEndEdit = 44,
    kHostGetProductString = 33,
    kHostGetVendorVersion = 34,
};

constexpr std::intptr_t kIdentifyAnswer = FourCC('N', 'v', 'E', 'f');
constexpr std::intptr_t kInterfaceVersion = 2400;
constexpr std::intptr_t kVendorSpecificYes = 0xBEEF;
constexpr std::intptr_t kExtensionsAnswer = 0xBEEF0000;

// Vendor-specific requests (the index of kOpVendorSpecific) the plug-in
// answers. For the parameter requests, value is the parameter's index.
// The display text of the normalised position opt, into ptr; the parameter keeps its value.
constexpr std::int32_t kVendorParamDisplay = 7;
// Whether the parameter moves in whole steps (integral, or a small integer or choice range).
constexpr std::int32_t kVendorParamIsStepped = 8;
// Replaces the text at ptr by the normalised position it reads as ("%.17f").
constexpr std::int32_t kVendorParamFromText = 27;
// A mouse-wheel step over the editor: index kVendorWheel, value kVendorWheelValue, opt the distance.
constexpr std::int32_t kVendorWheel = FourCC('s', 't', 'C', 'A');
constexpr std::intptr_t kVendorWheelValue = FourCC('W', 'h', 'e', 'e');

} // namespace vst2
