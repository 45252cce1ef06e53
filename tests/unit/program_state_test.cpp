#include "core/byte_reader.h"
#include "plugin/vstclass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<VSTCLASS> MakeInstance()
{
    return std::make_unique<VSTCLASS>(nullptr);
}

std::vector<std::uint8_t> Bytes(const StateBuffer& b)
{
    return std::vector<std::uint8_t>(b.Data(), b.Data() + b.Size());
}

} // namespace

TEST(Programs, EmptySlotsAreNamedByNumber)
{
    auto plug = MakeInstance();
    EXPECT_STREQ(plug->GetProgramName(0), "---- default ----");
    EXPECT_STREQ(plug->GetProgramName(149), "- 150 -");
    EXPECT_STREQ(plug->GetProgramName(150), "");
    EXPECT_STREQ(plug->GetProgramName(-1), "");
}

TEST(Programs, SelectingEmptySlotsCapturesUserPresets)
{
    auto plug = MakeInstance();
    plug->GetParam(kMix)->SetClamped(33);
    EXPECT_TRUE(plug->SelectProgram(148));
    EXPECT_STREQ(plug->GetProgramName(148), "user preset 1");
    EXPECT_EQ(plug->GetParam(kMix)->Value(), 33.0);
    EXPECT_TRUE(plug->SelectProgram(149));
    EXPECT_STREQ(plug->GetProgramName(149), "user preset 2");
    EXPECT_EQ(plug->CurrentProgram(), 149);
    EXPECT_FALSE(plug->SelectProgram(150));
    EXPECT_FALSE(plug->SelectProgram(-1));
    EXPECT_EQ(plug->CurrentProgram(), 149);
}

TEST(Programs, StoreOnLeaveAndRenameKeepNamesWhenEmpty)
{
    auto plug = MakeInstance();
    plug->GetParam(kRound)->SetClamped(12);
    plug->StoreCurrentProgram("");
    EXPECT_STREQ(plug->GetProgramName(0), "---- default ----");
    plug->StoreCurrentProgram("Mine");
    EXPECT_STREQ(plug->GetProgramName(0), "Mine");
    plug->SelectProgram(149);
    plug->GetParam(kRound)->SetClamped(99);
    EXPECT_TRUE(plug->SelectProgram(0));
    EXPECT_EQ(plug->GetParam(kRound)->Value(), 12.0);
}

TEST(Programs, MakeProgramStoresIntegralKindsAsIntegersUnclamped)
{
    VSTCLASS plug(nullptr);
    std::vector<double> values(kNumParams, 0.0);
    values[kBaseFreq] = 123.45;
    values[kRound] = 7.9; // Int: taken as 7
    values[kMix] = 250;   // stored as is, clamped only when loaded
    // The factory bank fills slots 0 to 141; the program goes into the first empty one.
    const int first = 142;
    ASSERT_FALSE(plug.GetProgram(first)->initialised);
    ASSERT_TRUE(plug.GetProgram(first - 1)->initialised);
    plug.MakeProgram("test", values);
    IProgram* slot = plug.GetProgram(first);
    ASSERT_TRUE(slot->initialised);
    EXPECT_STREQ(slot->name, "test");
    EXPECT_EQ(slot->data.Size(), 200);
    double v = 0;
    ReadF64(slot->data.Bytes(), 8 * kBaseFreq, v);
    EXPECT_EQ(v, 123.45);
    ReadF64(slot->data.Bytes(), 8 * kRound, v);
    EXPECT_EQ(v, 7.0);
    ReadF64(slot->data.Bytes(), 8 * kMix, v);
    EXPECT_EQ(v, 250.0);
    plug.SelectProgram(first);
    EXPECT_EQ(plug.GetParam(kMix)->Value(), 100.0);
}

TEST(StateChunk, ProgramChunkIsHeaderAndParameterValues)
{
    auto plug = MakeInstance();
    StateBuffer buffer;
    ASSERT_TRUE(plug->WriteChunk(false, buffer));
    const auto bytes = Bytes(buffer);
    ASSERT_EQ(bytes.size(), 208u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<std::uint8_t>{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}));
    for (int i = 0; i < kNumParams; ++i) {
        double v = 0;
        ReadF64(bytes, 8 + 8 * i, v);
        EXPECT_EQ(v, plug->GetParam(i)->Value()) << i;
    }
}

TEST(StateChunk, HeaderlessBlocksAreReadFromTheFirstByte)
{
    auto plug = MakeInstance();
    StateBuffer buffer;
    std::vector<double> values(kNumParams, 0.0);
    values[kBaseFreq] = 440;
    values[kMix] = 70;
    values[kLfoRestart] = 1;
    StateBuffer block;
    for (double v : values)
        block.AppendDouble(v);
    EXPECT_TRUE(plug->ReadChunk(false, buffer, block.Data(), block.Size()));
    EXPECT_EQ(plug->GetParam(kBaseFreq)->Value(), 440.0);
    EXPECT_EQ(plug->GetParam(kRound)->Value(), 0.0);
    EXPECT_EQ(plug->GetParam(kLfoRestart)->Value(), 1.0);

    // 24 doubles: applied, the last parameter set to 0 clamped, and a failure.
    EXPECT_FALSE(plug->ReadChunk(false, buffer, block.Data(), 24 * 8));
    EXPECT_EQ(plug->GetParam(kLfoRestart)->Value(), 0.0);
    EXPECT_EQ(plug->GetParam(kBaseFreq)->Value(), 440.0);
    // The values land in the current slot either way.
    double stored = 0;
    ReadF64(plug->GetProgram(0)->data.Bytes(), 0, stored);
    EXPECT_EQ(stored, 440.0);
}

TEST(StateChunk, ShortAndHostileDataFailsWithoutReadingPastIt)
{
    auto plug = MakeInstance();
    StateBuffer buffer;
    const std::uint8_t magic[] = {0x74, 0x66, 0x66, 0x70};
    EXPECT_FALSE(plug->ReadChunk(false, buffer, magic, 4));
    EXPECT_FALSE(plug->ReadChunk(true, buffer, magic, 4));
    EXPECT_FALSE(plug->ReadChunk(true, buffer, magic, -1));
    EXPECT_FALSE(plug->ReadChunk(true, buffer, magic, 0x80000000LL));
    EXPECT_FALSE(plug->ReadChunk(true, buffer, nullptr, 4));

    // Every truncation of a good chunk stops cleanly.
    StateBuffer good;
    ASSERT_TRUE(plug->WriteChunk(true, good));
    const auto bytes = Bytes(good);
    for (std::size_t n = 0; n < bytes.size(); n += 97)
        EXPECT_FALSE(MakeInstance()->ReadChunk(true, buffer, bytes.data(), static_cast<std::int64_t>(n)))
            << n;

    // A record whose name length points far beyond the data.
    StateBuffer hostile;
    hostile.WriteChunkHeader();
    hostile.AppendInt32(0x7FFFFFF0);
    hostile.AppendByte(1);
    EXPECT_FALSE(plug->ReadChunk(true, buffer, hostile.Data(), hostile.Size()));
    StateBuffer negative;
    negative.WriteChunkHeader();
    negative.AppendInt32(-100);
    negative.AppendByte(1);
    EXPECT_FALSE(plug->ReadChunk(true, buffer, negative.Data(), negative.Size()));
}

TEST(StateChunk, BankRoundTripReproducesSlotsAndLiveValues)
{
    auto first = MakeInstance();
    first->GetParam(kBaseFreq)->SetClamped(321.5);
    first->SelectProgram(149); // captures "user preset 1" with 321.5
    first->GetParam(kBaseFreq)->SetClamped(999);
    first->StoreCurrentProgram("renamed");
    StateBuffer chunk;
    ASSERT_TRUE(first->WriteChunk(true, chunk));

    auto second = MakeInstance();
    StateBuffer buffer;
    ASSERT_TRUE(second->ReadChunk(true, buffer, chunk.Data(), chunk.Size()));
    for (int i = 0; i < kNumPrograms; ++i) {
        EXPECT_STREQ(second->GetProgramName(i), first->GetProgramName(i)) << i;
        EXPECT_EQ(second->GetProgram(i)->initialised, first->GetProgram(i)->initialised) << i;
    }
    EXPECT_EQ(second->CurrentProgram(), 0); // the index is not in the chunk
    second->SelectProgram(149);
    EXPECT_EQ(second->GetParam(kBaseFreq)->Value(), 999.0);
}

TEST(StateChunk, ZeroLengthNameContinuesWithTheFlag)
{
    auto plug = MakeInstance();
    StateBuffer bank;
    bank.WriteChunkHeader();
    bank.AppendInt32(0);
    bank.AppendByte(1);
    for (int i = 0; i < kNumParams; ++i)
        bank.AppendDouble(i == kMix ? 12.0 : plug->GetParam(i)->Value());
    StateBuffer buffer;
    plug->ReadChunk(true, buffer, bank.Data(), bank.Size());
    EXPECT_STREQ(plug->GetProgramName(0), "");
    EXPECT_EQ(plug->GetParam(kMix)->Value(), 12.0);
}
