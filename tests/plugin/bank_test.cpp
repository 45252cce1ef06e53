#include "host_text.h"
#include "plugin_fixture.h"

#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

// Program slots and state chunks through the module, as a host sees them.

namespace {

using Values = std::array<double, 25>;

// Every program name of a fresh instance, Windows-1252 bytes ("\x96" is the en
// dash). Kept apart from the plug-in's own table so that a slip in either shows.
const char* const kExpectedNames[150] = {
    "---- default ----",
    "Higher frequencies",
    "Left - Right balance",
    "Volume balance",
    "Rich balance",
    "Triangle waves",
    "Saw waves",
    "Square waves",
    "Golden Sine",
    "Golden Sine Half",
    "Golden Triangle",
    "Golden Square",
    "Isochronic Golden",
    "Aggressive",
    "Isochronic - 0.2 (Dental pain)",
    "Isochronic - 0.28 (Arthritis)",
    "Isochronic - 0.3 (Depression)",
    "Isochronic - 0.37 (Drug addiction)",
    "Isochronic - 0.4 (Confusion)",
    "Isochronic - 0.5 (Post traumatics)",
    "Isochronic - 0.9 (Euphoria)",
    "Isochronic - 1 (Feeling of well-being, pituitary stimulation)",
    "Isochronic - 1.45 (Tri-thalamic entrainment, Alzheimer)",
    "Isochronic - 1.5 (Abrahams universal healing rate)",
    "Isochronic - 1.8 (Sinus congestion)",
    "Isochronic - 2.0 (Nerve regeneration)",
    "Isochronic - 2.06 (Associated with coccyx)",
    "Isochronic - 2.2 (Dreamless sleep, trance state)",
    "Isochronic - 2.3 (Associated with genitals)",
    "Isochronic - 2.57 (Associated with bladder)",
    "Isochronic - 2.67 (Associated with intestines)",
    "Isochronic - 3.0 (Increased Reaction Time)",
    "Isochronic - 3.4 (Sound sleep)",
    "Isochronic - 3.44 (Associated with ovaries)",
    "Isochronic - 3.5 (Feeling of unity with everythin)",
    "Isochronic - 3.6 (Remedy for anger & irritability)",
    "Isochronic - 3.84 (Associated with the liver/pancreas)",
    "Isochronic - 4.0 (Extrasensory perception, astral Projection)",
    "Isochronic - 4.11 (Associated with kidneys)",
    "Isochronic - 4.5 (Shamanic & Tibetan state of consciousness)",
    "Isochronic - 4.6 (Associated with spleen & blood)",
    "Isochronic - 4.9 (Relaxation & meditation)",
    "Isochronic - 5.0 (Relaxed states, pain-relief)",
    "Isochronic - 5.14 (Associated with stomach)",
    "Isochronic - 5.35 (Associated with lungs)",
    "Isochronic - 5.5 (Beyond knowledge to knowing)",
    "Isochronic - 5.8 (Reduce fear, absent-mindedness)",
    "Isochronic - 6.0 (Creative visualization)",
    "Isochronic - 6.15 (Associated with heart)",
    "Isochronic - 6.3 (Mental & astral projection)",
    "Isochronic - 7.0 (Mental & astral projection 2)",
    "Isochronic - 7.5 (Inter-awareness of self)",
    "Isochronic - 7.8 (Stimulates ESP, paranormal)",
    "Isochronic - 8.0 (Learning new information)",
    "Isochronic - 8.6 (Induces sleep, tingling sensations)",
    "Isochronic - 9.0 (Awareness of causes of body imbalance)",
    "Isochronic - 9.41 (Pyramid frequency)",
    "Isochronic - 9.6 (Earth's magnetic field)",
    "Isochronic - 10.6 (Relaxed & alert)",
    "Isochronic - 11.0 (Focused alertness)",
    "Isochronic - 14.1 (Earth Resonance)",
    "Isochronic - 15.0 (Euphoria)",
    "Isochronic - 20.3 (Earth Resonance)",
    "Isochronic - 22.02 (Serotonin)",
    "Isochronic - 26.4 (Earth Resonance)",
    "Isochronic - 30.0 (Associated with marijuana)",
    "Isochronic - 31.32 (Pituitary stimulation to release growth hormone)",
    "Isochronic - 32.0 (Desensitizer; enhanced vigour & alertnes)",
    "Isochronic - 33.0 (Christ consciousness)",
    "Isochronic - 35.0 (Awakening of mid-chakras, balance of chakras)",
    "Isochronic - 38.0 (Endorphin release)",
    "Isochronic - 46.98 (Useful for weird effects)",
    "Isochronic - 55.0 (Tantric yoga, stimulates the kundalini)",
    "Isochronic - 63.5 (Astral projection)",
    "Isochronic - 70.0 (Mental & astral projection)",
    "Isochronic - 83.0 (Third eye opening)",
    "Isochronic - 90.0 (Pleasure, producing beta-endorphins)",
    "Isochronic - 105.0 (Overall view of complete situation)",
    "Isochronic - 108.0 (Total knowing)",
    "Isochronic - 111.0 (Beta endorphins)",
    "Isochronic - 176.0 (Associated with colon)",
    "Isochronic - 8.0 (Muladhara chakra)",
    "Isochronic - 9.0 (Svadhisthana chakra)",
    "Isochronic - 10.0 (Manipura chakra)",
    "Isochronic - 10.5 (Anahata chakra)",
    "Isochronic - 12.0 (Vishuddha chakra)",
    "Isochronic - 13.0 (Ajna chakra)",
    "Isochronic - 15.0 (Sahasrara chakra)",
    "Isochronic - 7.83 (Schumann Resonance)",
    "Isochronic - 14.3 (Schumann Resonance)",
    "Isochronic - 20.8 (Schumann Resonance)",
    "Isochronic - 27.3 (Schumann Resonance)",
    "Isochronic - 33.8 (Schumann Resonance)",
    "Isochronic - 126.22 (Sun: light, warmth, joy, animus)",
    "Isochronic - 136.1 (Earth: resonates with the earth year)",
    "Isochronic - 140.25 (Pluto: power, crisis & changes)",
    "Isochronic - 141.27 (Mercury: intellectuality, mobility)",
    "Isochronic - 144.72 (Mars: activity, energy, freedom, humor)",
    "Isochronic - 147.85 (Saturn: separation, sorrow, death)",
    "Isochronic - 183.58 (Jupiter: growth, success, justice, spirituality)",
    "Isochronic - 194.71 (Earth: stability, grounding)",
    "Isochronic - 207.36 (Uranus: spontaneity, independence, originality)",
    "Isochronic - 211.44 (Neptune: the unconscious, secrets, imagination, spiritual love)",
    "Isochronic - 221.23 (Venus: beauty, love, sexuality, sensuality, harmony)",
    "Healing \x96 110 Hz (Stomach)",
    "Healing \x96 117.3 Hz (Pancreas)",
    "Healing \x96 164.3 Hz (Gall Bladder)",
    "Healing \x96 176 Hz (Colon)",
    "Healing \x96 220 Hz (Lungs)",
    "Healing \x96 264 Hz (Personality)",
    "Healing \x96 281.6 Hz (Small Intestine)",
    "Healing \x96 295.8 Hz (Fat Cells)",
    "Healing \x96 317.8 Hz (Liver)",
    "Healing \x96 319.9 Hz (Kidneys)",
    "Healing \x96 321.9 Hz (Blood)",
    "Healing \x96 324 Hz (Muscles)",
    "Healing \x96 352 Hz (Bladder)",
    "Healing \x96 418.3 Hz (Bones)",
    "Healing \x96 432 Hz (Natural, harmonic intonation of nature)",
    "Healing \x96 492 Hz (Spleen)",
    "Healing \x96 492.8 Hz (Adrenals, thyroid & parathyroid)",
    "Healing \x96 586 Hz (Circulation  & sex)",
    "Solfeggio UT \x96 396 Hz (Turning grief into joy, liberating Guilt and Fear)",
    "Solfeggio UT \x96 396 Hz LFO",
    "Solfeggio RE \x96 417 Hz (Undoing Situations and Facilitating Change)",
    "Solfeggio RE \x96 417 Hz LFO",
    "Solfeggio MI \x96 528 Hz (Transformation and Miracles, DNA Repair)",
    "Solfeggio MI \x96 528 Hz LFO",
    "Solfeggio FA \x96 639 Hz (Relationship, connecting with spiritual family)",
    "Solfeggio FA \x96 639 Hz LFO",
    "Solfeggio SOL \x96 741 Hz (Solving problems, expressions/solutions)",
    "Solfeggio SOL \x96 741 Hz LFO",
    "Solfeggio LA \x96 852 Hz (Awakening Intuition, returning to Spiritual Order)",
    "Solfeggio LA \x96 852 Hz LFO",
    "Solfeggio SI \x96 963 Hz (Awakens any system to its original, perfect state)",
    "Solfeggio SI \x96 963 Hz LFO",
    "Solfeggio - 174 Hz (Natural anaesthetic, reduce pain physically and energetically)",
    "Solfeggio - 174 Hz LFO",
    "Solfeggio \x96 285 Hz (Return tissue into its original form, influences energy fields)",
    "Solfeggio \x96 285 Hz LFO",
    "Solfeggio \x96 936 Hz (Pineal Gland Activator)",
    "Solfeggio \x96 936 Hz Hz LFO",
    "- 143 -",
    "- 144 -",
    "- 145 -",
    "- 146 -",
    "- 147 -",
    "- 148 -",
    "- 149 -",
    "- 150 -",
};

// Slot 0: the parameter defaults.
constexpr Values kDefaults = {200, 4,    75, 0, 0, 0, 1, 0,  1000, 50, 0, 0, 1,
                              15,  2000, 90, 0, 0, 0, 1, 15, 2000, 90, 0, 0};
// What every factory program starts from.
constexpr Values kBaseline = {200, 4,    100, 0, 0, 0, 1, 1,  1000, 90, 0, 0, 1,
                              15,  2000, 90,  0, 0, 0, 1, 15, 2000, 90, 0, 0};

std::int32_t I32At(const std::vector<std::uint8_t>& b, std::size_t pos)
{
    std::uint32_t v = 0;
    for (std::size_t i = 4; i-- > 0;)
        v = (v << 8) | b.at(pos + i);
    return static_cast<std::int32_t>(v);
}

double F64At(const std::vector<std::uint8_t>& b, std::size_t pos)
{
    std::uint64_t v = 0;
    for (std::size_t i = 8; i-- > 0;)
        v = (v << 8) | b.at(pos + i);
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
}

void AppendI32(std::vector<std::uint8_t>& b, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

void AppendF64(std::vector<std::uint8_t>& b, double d)
{
    std::uint64_t v;
    std::memcpy(&v, &d, sizeof v);
    for (int i = 0; i < 8; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> Header(std::int32_t version = 0x10000)
{
    std::vector<std::uint8_t> b;
    AppendI32(b, 0x70666674);
    AppendI32(b, version);
    return b;
}

std::vector<std::uint8_t> Block(const Values& values, std::size_t count = 25)
{
    std::vector<std::uint8_t> b;
    for (std::size_t i = 0; i < count; ++i)
        AppendF64(b, values[i]);
    return b;
}

struct BankRecord {
    std::string name;
    bool initialised = false;
    Values values{};
};

// Splits a bank chunk into its records; fails the test on a malformed one.
std::vector<BankRecord> ParseBank(const std::vector<std::uint8_t>& chunk)
{
    std::vector<BankRecord> records;
    std::size_t pos = 8;
    while (pos < chunk.size()) {
        BankRecord r;
        const std::int32_t n = I32At(chunk, pos);
        EXPECT_GE(n, 0);
        pos += 4;
        r.name.assign(reinterpret_cast<const char*>(chunk.data()) + pos, static_cast<std::size_t>(n));
        pos += static_cast<std::size_t>(n);
        r.initialised = chunk.at(pos++) != 0;
        if (r.initialised) {
            for (std::size_t i = 0; i < 25; ++i)
                r.values[i] = F64At(chunk, pos + 8 * i);
            pos += 200;
        }
        records.push_back(r);
    }
    EXPECT_EQ(pos, chunk.size());
    return records;
}

} // namespace

class BankTest : public PluginTest {
protected:
    void SetUp() override
    {
        plug = Make();
        ASSERT_TRUE(plug);
        plug->Start(48000.0, 256);
    }

    // The live values, exactly, from a program chunk.
    Values Live(host::PluginInstance& p)
    {
        const auto chunk = p.GetChunk(false);
        Values v{};
        EXPECT_EQ(chunk.size(), 208u);
        if (chunk.size() == 208)
            for (std::size_t i = 0; i < 25; ++i)
                v[i] = F64At(chunk, 8 + 8 * i);
        return v;
    }
    Values Live() { return Live(*plug); }

    std::unique_ptr<host::PluginInstance> plug;
};

TEST_F(BankTest, ListsEveryProgramNameByteForByte)
{
    for (int i = 0; i < 150; ++i) {
        EXPECT_EQ(plug->ProgramNameIndexed(i), AsHostText(kExpectedNames[i])) << "slot " << i;
        // Windows-1252, never UTF-8: no lead byte of a multi-byte sequence.
        EXPECT_EQ(std::string(kExpectedNames[i]).find('\xE2'), std::string::npos) << "slot " << i;
    }
    EXPECT_EQ(plug->ProgramName(), AsHostText(kExpectedNames[0]));
    EXPECT_EQ(plug->Program(), 0);
}

TEST_F(BankTest, SelectingFactorySlotsLoadsTheirValues)
{
    struct Change {
        int index;
        double value;
    };
    struct Row {
        int slot;
        std::vector<Change> changes; // against the baseline
    };
    const Row rows[] = {
        {1, {{0, 400}, {2, 90}}},
        {14, {{1, 0.2}}},
        {73, {{1, 63}}}, // named 63.5
        {103, {{1, 221.23}}},
        {108, {{0, 200}, {2, 75}, {6, 0}}}, // named 220 Hz
        {121, {{0, 586}, {2, 75}, {6, 0}}},
        {123, {{0, 396}, {2, 75}, {6, 0}, {9, 0}, {10, 4}, {13, 18}, {15, 100}, {17, 5}, {22, 50}}},
        {141, {{0, 936}, {2, 75}, {6, 0}, {9, 0}, {10, 4}, {13, 18}, {15, 100}, {17, 5}, {22, 40}}},
        {0, {}},
    };
    for (const Row& r : rows) {
        Values expected = r.slot == 0 ? kDefaults : kBaseline;
        for (const Change& c : r.changes)
            expected[static_cast<std::size_t>(c.index)] = c.value;
        EXPECT_EQ(plug->SetProgram(r.slot), 0);
        EXPECT_EQ(plug->Program(), r.slot);
        EXPECT_EQ(plug->ProgramName(), AsHostText(kExpectedNames[r.slot]));
        EXPECT_EQ(Live(), expected) << "slot " << r.slot;
    }
    // What the host shows for slot 123.
    plug->SetProgram(123);
    EXPECT_EQ(plug->ParamDisplay(9), "0");
    EXPECT_EQ(plug->ParamDisplay(10), "Pan");
    EXPECT_EQ(plug->ParamDisplay(13), "2/1");
    EXPECT_EQ(plug->ParamDisplay(15), "100");
    EXPECT_EQ(plug->ParamDisplay(17), "Volume");
    EXPECT_EQ(plug->ParamDisplay(22), "50");
    plug->SetProgram(1);
    EXPECT_EQ(plug->ParamDisplay(0), "400.0");
    EXPECT_EQ(plug->ParamDisplay(7), "Yes");
}

TEST_F(BankTest, EditsAreStoredInTheSlotBeingLeft)
{
    plug->SetProgram(5);
    plug->SetParameter(9, 0.25f); // Mix 25 instead of 80
    plug->SetProgram(6);
    EXPECT_EQ(Live()[9], 50.0);
    plug->SetProgram(5);
    EXPECT_EQ(Live()[9], 25.0);
    // The factory values of slot 5 are gone for this instance, not for a new one.
    auto fresh = Make();
    fresh->SetProgram(5);
    EXPECT_EQ(Live(*fresh)[9], 80.0);
}

TEST_F(BankTest, SelectingEmptySlotsCapturesTheSoundAsUserPresets)
{
    plug->SetProgram(40);
    plug->StringToParameter(0, "333.3");
    const Values before = Live();
    plug->SetProgram(142);
    EXPECT_EQ(plug->Program(), 142);
    EXPECT_EQ(plug->ProgramName(), "user preset 1");
    EXPECT_EQ(Live(), before); // the sound stays
    plug->SetProgram(145);
    EXPECT_EQ(plug->ProgramNameIndexed(145), "user preset 2");
    EXPECT_EQ(plug->ProgramNameIndexed(143), "- 144 -");
    plug->SetProgram(0);
    plug->SetProgram(142);
    EXPECT_EQ(plug->ProgramName(), "user preset 1"); // now filled: loaded, not captured again
    EXPECT_EQ(Live(), before);
}

TEST_F(BankTest, RenamingCutsLongNamesAndKeepsTheNameWhenEmpty)
{
    plug->SetProgram(2);
    plug->RenameProgram("");
    EXPECT_EQ(plug->ProgramName(), "Left - Right balance");
    // An en dash in the host's own text is stored as the Windows-1252 byte.
    plug->RenameProgram(AsHostText("Mine \x96 1"));
    EXPECT_EQ(plug->ProgramNameIndexed(2), AsHostText("Mine \x96 1"));
    const auto bank = plug->GetChunk(true);
    const std::string stored = "Mine \x96 1";
    EXPECT_NE(std::string(bank.begin(), bank.end()).find(stored), std::string::npos);
    const std::string longName(1000, 'n');
    plug->RenameProgram(longName);
    EXPECT_EQ(plug->ProgramName(), longName.substr(0, 255));
    // A renamed slot keeps the live values.
    plug->StringToParameter(9, "12");
    plug->RenameProgram("");
    plug->SetProgram(3);
    plug->SetProgram(2);
    EXPECT_EQ(Live()[9], 12.0);
}

TEST_F(BankTest, ProgramChunkIsHeaderAndTheLiveValues)
{
    const auto chunk = plug->GetChunk(false);
    ASSERT_EQ(chunk.size(), 208u);
    EXPECT_EQ(std::vector<std::uint8_t>(chunk.begin(), chunk.begin() + 8),
              (std::vector<std::uint8_t>{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(Live(), kDefaults);
    void* data = nullptr;
    EXPECT_EQ(plug->Dispatch(vst2::kOpGetChunk, 1, 0, nullptr), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpGetChunk, 7, 0, &data), 208); // any index but 0: program
}

TEST_F(BankTest, BankChunkOfAFreshInstance)
{
    const auto chunk = plug->GetChunk(true);
    ASSERT_EQ(chunk.size(), 34924u);
    EXPECT_EQ(std::vector<std::uint8_t>(chunk.begin(), chunk.begin() + 8), Header());
    const auto records = ParseBank(chunk);
    ASSERT_EQ(records.size(), 150u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].name, kExpectedNames[i]) << i;
        EXPECT_EQ(records[i].initialised, i <= 141) << i;
    }
    EXPECT_EQ(records[0].values, kDefaults);
    EXPECT_EQ(records[2].values[13], 18.0);
    // Asking twice gives the same bytes.
    EXPECT_EQ(plug->GetChunk(true), chunk);
}

TEST_F(BankTest, BankRoundTripReproducesEverySlot)
{
    plug->SetProgram(7);
    plug->StringToParameter(9, "33");
    plug->RenameProgram("Edited");
    plug->SetProgram(146); // captured as user preset 1
    plug->SetProgram(30);
    plug->StringToParameter(0, "1234.5");
    const Values live = Live();
    const auto chunk = plug->GetChunk(true);

    auto second = Make();
    ASSERT_TRUE(second);
    second->Start(44100.0, 512);
    second->SetProgram(3);
    ASSERT_TRUE(second->SetChunk(true, chunk));
    EXPECT_EQ(second->Program(), 3); // the index is not in the chunk
    EXPECT_EQ(Live(*second), ParseBank(chunk)[3].values);

    // Names, flags and values of all 150 slots: the second instance's bank is
    // byte for byte the first one's.
    EXPECT_EQ(second->GetChunk(true), chunk);
    EXPECT_EQ(second->ProgramNameIndexed(7), "Edited");
    EXPECT_EQ(second->ProgramNameIndexed(146), "user preset 1");
    second->SetProgram(30);
    EXPECT_EQ(Live(*second), live);
}

TEST_F(BankTest, ProgramRoundTripLandsInTheCurrentSlot)
{
    plug->SetProgram(60);
    plug->StringToParameter(4, "-40");
    const auto chunk = plug->GetChunk(false);

    auto second = Make();
    ASSERT_TRUE(second);
    second->SetProgram(9);
    ASSERT_TRUE(second->SetChunk(false, chunk));
    EXPECT_EQ(second->GetChunk(false), chunk);
    second->SetProgram(10);
    second->SetProgram(9);
    EXPECT_EQ(second->GetChunk(false), chunk);
    EXPECT_EQ(second->ProgramName(), AsHostText(kExpectedNames[9]));
}

TEST_F(BankTest, BlocksWithoutHeaderAreReadFromTheFirstByte)
{
    Values values = kBaseline;
    values[0] = 777.7;
    values[24] = 1;
    for (bool bank : {false, true}) { // a bank without header is a parameter block too
        ASSERT_TRUE(plug->SetChunk(bank, Block(values))) << bank;
        EXPECT_EQ(Live(), values);
        plug->SetChunk(false, Block(kDefaults));
    }

    // 24 doubles: applied, the last parameter reads 0, and the request fails.
    ASSERT_TRUE(plug->SetChunk(false, Block(values)));
    Values shorter = kDefaults;
    shorter[0] = 555;
    EXPECT_FALSE(plug->SetChunk(false, Block(shorter, 24)));
    Values expected = shorter;
    expected[24] = 0;
    EXPECT_EQ(Live(), expected);

    // A bank chunk of an older version is a parameter block after the header.
    std::vector<std::uint8_t> old = Header(0xFFFF);
    const auto block = Block(values);
    old.insert(old.end(), block.begin(), block.end());
    EXPECT_TRUE(plug->SetChunk(true, old));
    EXPECT_EQ(Live(), values);
}

TEST_F(BankTest, ShortHeadersAndSizesOutsideTheRangeFail)
{
    const auto magic = Header();
    for (bool bank : {false, true}) {
        for (std::size_t n = 4; n < 8; ++n) {
            const std::vector<std::uint8_t> cut(magic.begin(),
                                                magic.begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_FALSE(plug->SetChunk(bank, cut)) << bank << " " << n;
        }
        EXPECT_FALSE(plug->SetChunk(bank, magic)); // header without body
        EXPECT_FALSE(plug->SetChunk(bank, {}));
    }

    plug->SetProgram(1);
    const auto before = plug->GetChunk(true);
    std::vector<std::uint8_t> bytes = magic;
    for (std::intptr_t size : {std::intptr_t{-1}, std::intptr_t{INT_MIN}, std::intptr_t{INT_MAX} + 1,
                               std::intptr_t{1} << 40, std::intptr_t{-1} << 40})
        for (std::int32_t index : {0, 1})
            EXPECT_EQ(plug->Dispatch(vst2::kOpSetChunk, index, size, bytes.data()), 0) << size;
    EXPECT_EQ(plug->Dispatch(vst2::kOpSetChunk, 0, 8, nullptr), 0);
    EXPECT_EQ(plug->GetChunk(true), before); // nothing was read
}

TEST_F(BankTest, EveryTruncationOfAChunkFailsCleanly)
{
    const auto program = plug->GetChunk(false);
    for (std::size_t n = 0; n < program.size(); ++n)
        EXPECT_FALSE(plug->SetChunk(
            false,
            std::vector<std::uint8_t>(program.begin(), program.begin() + static_cast<std::ptrdiff_t>(n))))
            << n;
    EXPECT_TRUE(plug->SetChunk(false, program));

    const auto bank = plug->GetChunk(true);
    for (std::size_t n = 8; n < bank.size(); n += 61) {
        auto target = Make();
        EXPECT_FALSE(target->SetChunk(
            true, std::vector<std::uint8_t>(bank.begin(), bank.begin() + static_cast<std::ptrdiff_t>(n))))
            << n;
    }
}

TEST_F(BankTest, HostileNameLengthsStayInsideTheData)
{
    const auto good = plug->GetChunk(true);
    for (std::int32_t length : {INT_MAX, INT_MAX - 3, INT_MIN, -1, -4, -8, -13, 1 << 30, 35000}) {
        std::vector<std::uint8_t> bad = good;
        const auto v = static_cast<std::uint32_t>(length);
        for (int i = 0; i < 4; ++i)
            bad[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
        auto target = Make();
        target->SetChunk(true, bad); // outcome aside, nothing is read outside the data
        EXPECT_EQ(target->Program(), 0);
    }

    // A name longer than a slot's field is cut; a zero byte ends it early.
    std::vector<std::uint8_t> bank = Header();
    AppendI32(bank, 0); // empty name: the flag follows at once
    bank.push_back(1);
    const auto block = Block(kBaseline);
    bank.insert(bank.end(), block.begin(), block.end());
    const std::string longName(300, 'L');
    AppendI32(bank, 300);
    bank.insert(bank.end(), longName.begin(), longName.end());
    bank.push_back(0);
    const std::string withZero("ab\0cd", 5);
    AppendI32(bank, 5);
    bank.insert(bank.end(), withZero.begin(), withZero.end());
    bank.push_back(0);
    EXPECT_FALSE(plug->SetChunk(true, bank)); // 147 records missing
    EXPECT_EQ(plug->ProgramNameIndexed(0), "");
    EXPECT_EQ(plug->ProgramNameIndexed(1), std::string(255, 'L'));
    EXPECT_EQ(plug->ProgramNameIndexed(2), "ab");
    EXPECT_EQ(Live(), kBaseline);
}

TEST_F(BankTest, ArbitraryBytesNeverCrash)
{
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(seed >> 24);
    };
    const auto good = plug->GetChunk(true);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes = good;
        // Damage a few bytes near the start, where the record lengths sit.
        for (int k = 0; k < 6; ++k)
            bytes[8 + next() % 400] = next();
        bytes.resize(8 + (static_cast<std::size_t>(next()) << 7) % good.size());
        plug->SetChunk(round % 2 == 0, bytes);
        for (int i = 0; i < 150; ++i)
            EXPECT_LE(plug->ProgramNameIndexed(i).size(), 255u);
    }
}

// Hosts may hand back the very block the plug-in gave them, without copying it.
TEST_F(BankTest, SettingTheChunkJustFetchedReadsItWhole)
{
    plug->SetProgram(20);
    plug->StringToParameter(9, "61");
    for (std::int32_t index : {0, 1}) {
        const auto copy = plug->GetChunk(index == 0);
        void* data = nullptr;
        const std::intptr_t size = plug->Dispatch(vst2::kOpGetChunk, index, 0, &data);
        ASSERT_GT(size, 0);
        EXPECT_EQ(plug->Dispatch(vst2::kOpSetChunk, index, size, data), 1) << index;
        EXPECT_EQ(plug->GetChunk(index == 0), copy) << index;
        // Part of the block, from its start, as a headerless or short chunk.
        plug->Dispatch(vst2::kOpGetChunk, index, 0, &data);
        plug->Dispatch(vst2::kOpSetChunk, index, 6, data);
    }
}
