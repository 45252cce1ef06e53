#include "core/byte_reader.h"
#include "plugin/vstclass.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

// The factory bank as stored in the slots: checked against the numbers its
// names carry and against the parameter ranges, so that a value typed wrong in
// the table shows up without a second copy of the table.

namespace {

using Values = std::array<double, kNumParams>;

constexpr Values kBaseline = {200, 4,    100, 0, 0, 0, 1, 1,  1000, 90, 0, 0, 1,
                              15,  2000, 90,  0, 0, 0, 1, 15, 2000, 90, 0, 0};

Values Stored(VSTCLASS& plug, int slot)
{
    Values v{};
    const IProgram* program = plug.GetProgram(slot);
    EXPECT_EQ(program->data.Size(), 200) << "slot " << slot;
    for (int i = 0; i < kNumParams; ++i)
        ReadF64(program->data.Bytes(), 8 * i, v[static_cast<std::size_t>(i)]);
    return v;
}

// The number after the first occurrence of marker in name.
double NumberAfter(const std::string& name, const std::string& marker)
{
    const std::size_t at = name.find(marker);
    EXPECT_NE(at, std::string::npos) << name;
    return at == std::string::npos ? -1.0 : std::strtod(name.c_str() + at + marker.size(), nullptr);
}

} // namespace

TEST(FactoryBank, ConstructionLeavesTheDefaultsLive)
{
    VSTCLASS plug(nullptr);
    EXPECT_EQ(plug.CurrentProgram(), 0);
    const Values slot0 = Stored(plug, 0);
    for (int i = 0; i < kNumParams; ++i)
        EXPECT_EQ(slot0[static_cast<std::size_t>(i)], plug.GetParam(i)->Value()) << i;
    EXPECT_EQ(slot0[kRound], 75.0);
    EXPECT_EQ(slot0[kPlayAnyway], 0.0);
    EXPECT_EQ(slot0[kMix], 50.0);
    for (int slot = 0; slot < kNumPrograms; ++slot)
        EXPECT_EQ(plug.GetProgram(slot)->initialised, slot <= 141) << slot;
}

TEST(FactoryBank, EveryValueLiesInItsRangeAndIntegralValuesAreWhole)
{
    VSTCLASS plug(nullptr);
    for (int slot = 1; slot <= 141; ++slot) {
        const Values v = Stored(plug, slot);
        for (int i = 0; i < kNumParams; ++i) {
            const IParameter* p = plug.GetParam(i);
            const double x = v[static_cast<std::size_t>(i)];
            EXPECT_GE(x, p->Min()) << "slot " << slot << " parameter " << i;
            EXPECT_LE(x, p->Max()) << "slot " << slot << " parameter " << i;
            if (p->IsIntegral()) {
                EXPECT_EQ(x, static_cast<double>(static_cast<int>(x)))
                    << "slot " << slot << " parameter " << i;
            }
        }
    }
}

TEST(FactoryBank, RatesAndFrequenciesMatchTheirNames)
{
    VSTCLASS plug(nullptr);
    for (int slot = 14; slot <= 141; ++slot) {
        const std::string name = plug.GetProgramName(slot);
        const Values v = Stored(plug, slot);
        Values expected = kBaseline;
        if (slot <= 103) {
            // Slot 73 is named 63.5 but pulses at 63.
            expected[kIsoRate] = slot == 73 ? 63.0 : NumberAfter(name, "Isochronic - ");
        } else {
            const bool healing = slot <= 121;
            const std::string dash = slot == 136 || slot == 137 ? "- " : "\x96 ";
            EXPECT_EQ(name.rfind(healing ? "Healing " : "Solfeggio ", 0), 0u) << name;
            // Slot 108 is named 220 Hz but sounds at 200.
            expected[kBaseFreq] = slot == 108 ? 200.0 : NumberAfter(name, dash);
            expected[kRound] = 75;
            expected[kIsoSwitch] = 0;
            const bool lfoTwin = name.size() > 4 && name.compare(name.size() - 4, 4, " LFO") == 0;
            EXPECT_EQ(lfoTwin, !healing && slot % 2 == 1) << name;
            if (lfoTwin) {
                // The twin sounds as the plain program before it, with the LFOs on.
                EXPECT_EQ(v[kBaseFreq], Stored(plug, slot - 1)[kBaseFreq]) << name;
                expected[kMix] = 0;
                expected[kLfo1Target] = 4;
                expected[kLfo1RateSynced] = 18;
                expected[kLfo1Depth] = 100;
                expected[kLfo2Target] = 5;
                expected[kLfo2Depth] =
                    slot <= 125 || slot == 137 || slot == 139 ? 50 : (slot <= 131 ? 45 : 40);
            }
        }
        EXPECT_EQ(v, expected) << "slot " << slot << " " << name;
    }
}

TEST(FactoryBank, SoundCharactersChangeOnlyTheirOwnColumns)
{
    VSTCLASS plug(nullptr);
    // The columns each program of slots 1 to 13 may change, as a bit mask.
    auto bit = [](int index) { return 1u << index; };
    const unsigned lfoColumns =
        bit(kLfo1Target) | bit(kLfo1RateSynced) | bit(kLfo1Depth) | bit(kLfo2Target) | bit(kLfo2Depth);
    const unsigned allowed[14] = {
        0,
        bit(kBaseFreq) | bit(kRound),
        bit(kRound) | lfoColumns,
        bit(kRound) | bit(kMix) | lfoColumns,
        bit(kMix) | lfoColumns,
        bit(kWave) | bit(kMix),
        bit(kWave) | bit(kMix),
        bit(kWave) | bit(kMix),
        bit(kWave) | bit(kMix),
        bit(kWave) | bit(kMix),
        bit(kWave) | bit(kMix),
        bit(kWave) | bit(kMix),
        bit(kGoldenIso),
        bit(kRound),
    };
    for (int slot = 1; slot <= 13; ++slot) {
        const Values v = Stored(plug, slot);
        for (int i = 0; i < kNumParams; ++i)
            if (!(allowed[slot] & bit(i))) {
                EXPECT_EQ(v[static_cast<std::size_t>(i)], kBaseline[static_cast<std::size_t>(i)])
                    << "slot " << slot << " parameter " << i;
            }
        if (slot >= 5 && slot <= 11) {
            EXPECT_EQ(v[kWave], slot - 4) << "one program per carrier shape";
        }
    }
}
