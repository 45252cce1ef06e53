#include "host/event_list.h"
#include "plugin_fixture.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

// The dispatcher's requests as a host sends them. Where the module has no
// editor window, editor requests answer as for a plug-in without an editor.

namespace {

constexpr char kMark = 'x';

// A host text buffer pre-filled with marks, so that untouched buffers and
// bytes written past a terminator both show.
struct TextBuffer {
    TextBuffer() { std::memset(bytes, kMark, sizeof bytes); }
    bool Untouched() const
    {
        for (char c : bytes)
            if (c != kMark)
                return false;
        return true;
    }
    // The text up to its terminator; the bytes after it must still be marks.
    std::string Text() const
    {
        const std::size_t n = strnlen(bytes, sizeof bytes);
        for (std::size_t i = n + 1; i < sizeof bytes; ++i)
            if (bytes[i] != kMark)
                return "<written past the terminator>";
        return std::string(bytes, n);
    }
    char bytes[512];
};

} // namespace

class DispatcherTest : public PluginTest {
protected:
    void SetUp() override
    {
        plug = Make();
        ASSERT_TRUE(plug);
        plug->Start(48000.0, 256);
    }
    std::unique_ptr<host::PluginInstance> plug;
};

TEST_F(DispatcherTest, FixedAnswersAndUnhandledRequests)
{
    struct Row {
        std::int32_t opcode;
        std::int32_t index;
        std::intptr_t expected;
    };
    const Row rows[] = {
        {vst2::kOpIdentify, 0, 0x4E764566},
        {vst2::kOpGetInterfaceVersion, 0, 2400},
        {vst2::kOpGetVendorVersion, 0, 10000},
        {vst2::kOpGetCategory, 0, 1},
        {vst2::kOpCanBeAutomated, 0, 1},
        {vst2::kOpCanBeAutomated, 24, 1},
        {vst2::kOpCanBeAutomated, 500, 1},
        {vst2::kOpEditorIdle, 0, 0},
        {vst2::kOpVariableIo, 0, 0},
        {vst2::kOpIdle, 0, 0},
        {vst2::kOpGetProgram, 0, 0},
        {9, 0, 0},
        {16, 0, 0},
        {70, 0, 0},
        {71, 0, 0},
        {1000, 0, 0},
        {-1, 0, 0},
        {INT_MIN, 0, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(plug->Dispatch(r.opcode, r.index), r.expected)
            << "opcode " << r.opcode << " index " << r.index;
}

TEST_F(DispatcherTest, NullObjectIsRefused)
{
    vst2::EffectDescriptor orphan = *plug->Effect();
    orphan.object = nullptr;
    for (std::int32_t opcode : {0, 3, 22, 35, 49, 58})
        EXPECT_EQ(orphan.dispatcher(&orphan, opcode, 0, 0, nullptr, 0.0f), 0) << opcode;
    EXPECT_EQ(orphan.dispatcher(nullptr, vst2::kOpIdentify, 0, 0, nullptr, 0.0f), 0);
}

TEST_F(DispatcherTest, EditorRequestsWithoutAHostWindow)
{
    // With an editor: its rectangle, 550 x 365; without one the place stays as it was.
    void* rect = &rect;
    void* const before = rect;
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorGetRect, 0, 0, &rect), kModuleHasEditor ? 1 : 0);
    if (kModuleHasEditor) {
        const auto* r = static_cast<const vst2::EditorRect*>(rect);
        EXPECT_EQ(r->top, 0);
        EXPECT_EQ(r->left, 0);
        EXPECT_EQ(r->bottom, 365);
        EXPECT_EQ(r->right, 550);
    } else {
        EXPECT_EQ(rect, before);
    }
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorGetRect), 0);
    // A parent that is no window (or none): nothing opens.
    char notAWindow[16] = {};
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorOpen, 0, 0, notAWindow), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorOpen), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), kModuleHasEditor ? 1 : 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorIdle), 0);
    EXPECT_EQ(plug->VendorSpecific(0x73744341, 0x57686565, nullptr, 1.0f), 0); // wheel, no window
}

TEST_F(DispatcherTest, PlugInNamesAreCopiedWholeAndNoFurther)
{
    const struct {
        std::int32_t opcode;
        const char* text;
    } rows[] = {
        {vst2::kOpGetEffectName, "Tessaphon"},
        {vst2::kOpGetVendorName, "Kelvo"},
        {vst2::kOpGetProductName, ""},
    };
    for (const auto& r : rows) {
        TextBuffer buffer;
        EXPECT_EQ(plug->Dispatch(r.opcode, 0, 0, buffer.bytes), 1) << r.opcode;
        EXPECT_EQ(buffer.Text(), r.text) << r.opcode;
        EXPECT_EQ(plug->Dispatch(r.opcode), 0) << r.opcode;
    }
}

TEST_F(DispatcherTest, ParameterTextsCheckTheIndex)
{
    for (std::int32_t opcode : {vst2::kOpGetParamLabel, vst2::kOpGetParamDisplay, vst2::kOpGetParamName}) {
        for (int index : {-1, 25, 1000, INT_MIN}) {
            TextBuffer buffer;
            EXPECT_EQ(plug->Dispatch(opcode, index, 0, buffer.bytes), 0);
            EXPECT_TRUE(buffer.Untouched()) << "opcode " << opcode << " index " << index;
        }
        EXPECT_EQ(plug->Dispatch(opcode, 0), 0); // null text: nothing written, no crash
    }
    TextBuffer name, label, display;
    EXPECT_EQ(plug->Dispatch(vst2::kOpGetParamName, 3, 0, name.bytes), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpGetParamLabel, 0, 0, label.bytes), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpGetParamDisplay, 0, 0, display.bytes), 0);
    EXPECT_EQ(name.Text(), "Wave");
    EXPECT_EQ(label.Text(), "Hz");
    EXPECT_EQ(display.Text(), "200.0");
}

TEST_F(DispatcherTest, TextToParameterClampsToTheRangeWithoutTellingTheHost)
{
    struct Row {
        int index;
        const char* text;
        const char* display;
    };
    const Row rows[] = {
        {0, "440", "440.0"},
        {0, "50000", "20000.0"}, // above the range: its end
        {0, "-3", "20.0"},       // below: its start
        {0, "abc", "20.0"},      // not a number: 0, clamped
        {0, "", "20.0"},
        {0, " 123.45Hz", "123.5"}, // read up to the first character that does not fit; not snapped
        {3, "Saw", "Saw"},
        {3, "saw", "Sine"}, // display texts match exactly
        {3, "6", "Gold. Triangle"},
        {3, "9", "Gold. Square"},
        {4, "-250", "-100"},
        {9, "1e9", "100"},
        {9, "1e999", "100"},
        {8, "0", "1"},
        {14, "nan", "60"},
        {24, "0.5", "0"}, // the parameter without definition: no step, no decimals
        {24, "7", "1"},
    };
    for (const Row& r : rows) {
        EXPECT_TRUE(plug->StringToParameter(r.index, r.text)) << r.text;
        EXPECT_EQ(plug->ParamDisplay(r.index), r.display)
            << "parameter " << r.index << " text '" << r.text << "'";
    }
    // A very long number is read with a bound and still lands on the range's end.
    EXPECT_TRUE(plug->StringToParameter(0, std::string(20000, '9')));
    EXPECT_EQ(plug->ParamDisplay(0), "20000.0");

    EXPECT_EQ(plug->Dispatch(vst2::kOpStringToParameter, 9, 0, nullptr), 1); // valid index, no text
    EXPECT_EQ(plug->ParamDisplay(9), "100");
    EXPECT_FALSE(plug->StringToParameter(25, "1"));
    EXPECT_FALSE(plug->StringToParameter(-1, "1"));
    EXPECT_EQ(state.CountRequests(vst2::kHostAutomate), 0);
}

TEST_F(DispatcherTest, VendorSpecificDisplayOfANormalisedValue)
{
    char text[64] = "untouched";
    EXPECT_EQ(plug->VendorSpecific(7, 0, text, 0.5f), 0xBEEF);
    EXPECT_STREQ(text, "5015.0"); // shape 2: 20 + 19980 / 4
    EXPECT_EQ(plug->VendorSpecific(7, 3, text, 2.0f / 7.0f), 0xBEEF);
    EXPECT_STREQ(text, "Saw");
    EXPECT_EQ(plug->VendorSpecific(7, 9, text, 1.0f), 0xBEEF);
    EXPECT_STREQ(text, "100");

    std::strcpy(text, "untouched");
    EXPECT_EQ(plug->VendorSpecific(7, 25, text, 0.5f), 0xBEEF); // answered, nothing written
    EXPECT_EQ(plug->VendorSpecific(7, -1, text, 0.5f), 0xBEEF);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(plug->VendorSpecific(7, 0, nullptr, 0.5f), 0);
}

TEST_F(DispatcherTest, VendorSpecificSwitchQueryAnswersForTwoStateParameters)
{
    for (int i = -1; i <= 25; ++i) {
        const bool isSwitch = i == 5 || i == 6 || i == 7 || i == 12 || i == 19;
        EXPECT_EQ(plug->VendorSpecific(8, i, nullptr), isSwitch ? 0xBEEF : 0) << "parameter " << i;
    }
}

TEST_F(DispatcherTest, VendorSpecificTextToNormalisedValue)
{
    struct Row {
        int index;
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {0, "5015", "0.50000000000000000"}, {0, "200", "0.09491579957524990"},
        {0, "1e30", "1.00000000000000000"}, {9, "25", "0.25000000000000000"},
        {3, "Saw", "0.28571428571428570"},  {3, "junk", "0.00000000000000000"},
    };
    for (const Row& r : rows) {
        char text[64] = {};
        std::strcpy(text, r.text);
        EXPECT_EQ(plug->VendorSpecific(27, r.index, text), 0xBEEF) << r.text;
        EXPECT_STREQ(text, r.expected) << r.text;
    }
    char empty[64] = {};
    EXPECT_EQ(plug->VendorSpecific(27, 0, empty), 0xBEEF); // only asks whether it is supported
    EXPECT_STREQ(empty, "");
    char text[64] = "5015";
    EXPECT_EQ(plug->VendorSpecific(27, 25, text), 0);
    EXPECT_EQ(plug->VendorSpecific(27, -1, text), 0);
    EXPECT_STREQ(text, "5015");
    EXPECT_EQ(plug->VendorSpecific(27, 0, nullptr), 0);
    // Nothing of this touches the parameter.
    EXPECT_EQ(plug->ParamDisplay(0), "200.0");

    for (std::int32_t index : {0, 1, 6, 9, 26, 28, 0x73744340})
        EXPECT_EQ(plug->VendorSpecific(index, 0, text, 1.0f), 0) << index;
}

TEST_F(DispatcherTest, CanDoComparesWholeTexts)
{
    const struct {
        const char* text;
        std::intptr_t expected;
    } rows[] = {
        {"receiveVstTimeInfo", 1},
        {"hasCockosExtensions", 0xBEEF0000},
        {"hasCockosViewAsConfig", 0xBEEF0000},
        {"receiveVstEvents", 0}, // no MIDI in this plug-in
        {"receiveVstMidiEvent", 0},
        {"sendVstEvents", 0},
        {"sendVstMidiEvent", 0},
        {"receiveVstTimeInfoX", 0},
        {"receiveVstTimeInfo ", 0},
        {"receiveVstTime", 0},
        {"receivevsttimeinfo", 0},
        {"hasCockosExtensionsPlus", 0},
        {"", 0},
        {"bypass", 0},
    };
    for (const auto& r : rows)
        EXPECT_EQ(plug->CanDo(r.text), r.expected) << "'" << r.text << "'";
    EXPECT_EQ(plug->Dispatch(vst2::kOpCanDo), 0);
}

TEST_F(DispatcherTest, PinPropertiesPairTheChannels)
{
    for (bool input : {true, false}) {
        const std::string prefix = input ? "Input " : "Output ";
        for (int index = -1; index <= 2; ++index) {
            vst2::PinProperties pin{};
            std::memset(&pin, 0x5A, sizeof pin);
            const std::intptr_t result = plug->PinProperties(input, index, pin);
            if (index < 0 || index > 1) {
                EXPECT_EQ(result, 0) << prefix << index;
                EXPECT_EQ(pin.flags, 0x5A5A5A5A);
                EXPECT_EQ(pin.label[0], 0x5A);
                continue;
            }
            EXPECT_EQ(result, 1);
            EXPECT_EQ(std::string(pin.label), prefix + std::to_string(index + 1));
            // The first of a pair is active and stereo; the last channel only active.
            EXPECT_EQ(pin.flags, index == 0 ? 3 : 1) << prefix << index;
            EXPECT_EQ(pin.arrangementType, 0x5A5A5A5A); // left as the host gave it
            EXPECT_EQ(pin.shortLabel[0], 0x5A);
        }
        EXPECT_EQ(plug->Dispatch(input ? vst2::kOpGetInputProperties : vst2::kOpGetOutputProperties, 0), 0);
    }
}

TEST_F(DispatcherTest, EventListsAreAcceptedWithNullEntries)
{
    host::EventListBuilder events;
    events.AddNull();
    events.AddMidi(0, 0x90, 60, 100);
    events.AddSysEx(3, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    events.AddNull();
    events.AddOther(5);
    events.AddSysEx(4, {});
    // More entries than the list record declares in its fixed part.
    for (int i = 0; i < 40; ++i) {
        events.AddMidi(i, 0x80, static_cast<std::uint8_t>(i), 0);
        events.AddNull();
    }
    EXPECT_EQ(plug->Dispatch(vst2::kOpProcessEvents, 0, 0, events.List()), 1);

    host::EventListBuilder none;
    EXPECT_EQ(plug->Dispatch(vst2::kOpProcessEvents, 0, 0, none.List()), 1);
    EXPECT_EQ(plug->Dispatch(vst2::kOpProcessEvents), 0);
    // Incoming MIDI changes nothing.
    EXPECT_EQ(plug->ParamDisplay(0), "200.0");
}

TEST_F(DispatcherTest, MidiKeyNamesAreEmpty)
{
    for (int key : {0, 60, 127, -1, 1000}) {
        std::string name;
        EXPECT_EQ(plug->MidiKeyName(key, name), 0) << key;
        EXPECT_EQ(name, "") << key;
    }
    EXPECT_EQ(plug->Dispatch(vst2::kOpGetMidiKeyName), 0);
}

TEST_F(DispatcherTest, SpeakerArrangementsReportStereo)
{
    vst2::SpeakerArrangement* in = nullptr;
    vst2::SpeakerArrangement* out = nullptr;
    EXPECT_EQ(plug->GetSpeakerArrangement(&in, &out), 1);
    ASSERT_TRUE(in && out);
    EXPECT_EQ(in->type, vst2::kArrangementStereo);
    EXPECT_EQ(in->numChannels, 2);
    EXPECT_EQ(out->type, vst2::kArrangementStereo);
    EXPECT_EQ(out->numChannels, 2);

    vst2::SpeakerArrangement* only = nullptr;
    EXPECT_EQ(plug->GetSpeakerArrangement(nullptr, &only), 1);
    EXPECT_EQ(only, out);
    EXPECT_EQ(plug->GetSpeakerArrangement(&only, nullptr), 1);
    EXPECT_EQ(only, in);
    EXPECT_EQ(plug->GetSpeakerArrangement(nullptr, nullptr), 1);
}

// After a set-arrangement request the single-precision calls consume only as
// many host pointers as channels are connected: the pointer arrays below are
// exactly that long, so a read past them shows under the address sanitizer.
TEST_F(DispatcherTest, SettingArrangementsConnectsChannels)
{
    constexpr int n = 64;
    auto arrangement = [](int channels) {
        vst2::SpeakerArrangement a{};
        a.numChannels = channels;
        return a;
    };
    std::vector<float> inL(n, 0.25f), inR(n, -0.25f), outL(n), outR(n);
    auto fillNan = [&] {
        std::fill(outL.begin(), outL.end(), NAN);
        std::fill(outR.begin(), outR.end(), NAN);
    };
    auto written = [](const std::vector<float>& v) {
        for (float x : v)
            if (!std::isfinite(x))
                return false;
        return true;
    };

    const auto mono = arrangement(1);
    EXPECT_EQ(plug->SetSpeakerArrangement(&mono, &mono), 1);
    {
        auto ins = std::make_unique<float*[]>(1);
        auto outs = std::make_unique<float*[]>(1);
        ins[0] = inL.data();
        outs[0] = outL.data();
        fillNan();
        plug->ProcessReplacing(ins.get(), outs.get(), n);
        EXPECT_TRUE(written(outL));
        EXPECT_FALSE(written(outR));
    }

    // A negative count disconnects everything: no host pointer is read.
    const auto negative = arrangement(-3);
    EXPECT_EQ(plug->SetSpeakerArrangement(&negative, &negative), 1);
    plug->ProcessReplacing(nullptr, nullptr, n);

    // Counts above the channels connect all of them; one side at a time.
    const auto many = arrangement(8);
    EXPECT_EQ(plug->SetSpeakerArrangement(nullptr, &many), 1);
    EXPECT_EQ(plug->SetSpeakerArrangement(&many, nullptr), 1);
    EXPECT_EQ(plug->SetSpeakerArrangement(nullptr, nullptr), 1);
    {
        auto ins = std::make_unique<float*[]>(2);
        auto outs = std::make_unique<float*[]>(2);
        ins[0] = inL.data();
        ins[1] = inR.data();
        outs[0] = outL.data();
        outs[1] = outR.data();
        fillNan();
        plug->ProcessReplacing(ins.get(), outs.get(), n);
        EXPECT_TRUE(written(outL));
        EXPECT_TRUE(written(outR));
    }

    // The binding's own records are not changed by the request.
    vst2::SpeakerArrangement* in = nullptr;
    vst2::SpeakerArrangement* out = nullptr;
    plug->GetSpeakerArrangement(&in, &out);
    EXPECT_EQ(in->numChannels, 2);
    EXPECT_EQ(out->numChannels, 2);
}

TEST_F(DispatcherTest, ProgramNameByIndexBeyondTheSlots)
{
    for (int index : {150, 151, -1, INT_MAX, INT_MIN}) {
        TextBuffer buffer;
        EXPECT_EQ(plug->Dispatch(vst2::kOpGetProgramNameIndexed, index, 0, buffer.bytes), 0) << index;
        EXPECT_EQ(buffer.Text(), "") << index;
    }
    EXPECT_EQ(plug->Dispatch(vst2::kOpGetProgramNameIndexed, 0), 0);
    TextBuffer first;
    EXPECT_EQ(plug->Dispatch(vst2::kOpGetProgramNameIndexed, 0, 0, first.bytes), 1);
    EXPECT_EQ(first.Text(), "---- default ----");
}

TEST_F(DispatcherTest, ProgramRequestsWithoutText)
{
    EXPECT_EQ(plug->Dispatch(vst2::kOpSetProgramName), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpGetProgramName), 0);
    EXPECT_EQ(plug->ProgramName(), "---- default ----");
    // Indices outside the slots, also beyond 32 bits, leave the current program.
    for (std::intptr_t index : {std::intptr_t{150}, std::intptr_t{-1}, std::intptr_t{1} << 32})
        EXPECT_EQ(plug->Dispatch(vst2::kOpSetProgram, 0, index), 0);
    EXPECT_EQ(plug->Program(), 0);
}
