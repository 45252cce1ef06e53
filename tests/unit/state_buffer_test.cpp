#include "core/byte_reader.h"
#include "core/state_buffer.h"

#include <gtest/gtest.h>

#include <vector>

TEST(StateBuffer, GrowthFollowsTheGranularityPolicy)
{
    StateBuffer b;
    EXPECT_EQ(b.Capacity(), 0);
    ASSERT_TRUE(b.AppendDouble(1.0));
    EXPECT_EQ(b.Capacity(), 4000);
    std::vector<int> capacities;
    while (b.Size() < 12000) {
        ASSERT_TRUE(b.AppendDouble(2.0));
        if (capacities.empty() || capacities.back() != b.Capacity())
            capacities.push_back(b.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4000, 8096, 12192}));

    StateBuffer small(128);
    small.SetSize(10);
    EXPECT_EQ(small.Capacity(), 138);
}

TEST(StateBuffer, ShrinksOnlyBelowItsThresholdAndFreesAtZero)
{
    StateBuffer b;
    b.SetSize(12100);
    EXPECT_EQ(b.Capacity(), 12192);
    b.SetSize(12000); // above min(capacity - 4 * 4096, capacity / 2): kept
    EXPECT_EQ(b.Capacity(), 12192);
    b.SetSize(100); // threshold is 1 while capacity < 4 * granularity
    EXPECT_EQ(b.Capacity(), 12192);
    EXPECT_EQ(b.Size(), 100);
    b.SetSize(100000);
    EXPECT_EQ(b.Capacity(), 147360);
    b.SetSize(80000); // above half the capacity: kept
    EXPECT_EQ(b.Capacity(), 147360);
    b.SetSize(60000);
    EXPECT_EQ(b.Capacity(), 85920);
    EXPECT_EQ(b.SetSize(0), nullptr);
    EXPECT_EQ(b.Capacity(), 0);
    EXPECT_EQ(b.SetSize(-5), nullptr);
    EXPECT_EQ(b.Size(), 0);
}

TEST(StateBuffer, AppendsLittleEndianValuesAndZeroFills)
{
    StateBuffer b;
    b.WriteChunkHeader();
    b.AppendString("ab");
    b.AppendByte(7);
    b.AppendDouble(1.5);
    const std::vector<std::uint8_t> expected = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0, 2, 0,    0,   0,
                                                'a',  'b',  7,    0,    0, 0, 0, 0, 0, 0xF8, 0x3F};
    EXPECT_EQ(std::vector<std::uint8_t>(b.Data(), b.Data() + b.Size()), expected);

    StateBuffer z;
    z.AppendByte(0xAA);
    EXPECT_EQ(z.SetSizeZeroFilled(5), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(z.Data(), z.Data() + 5),
              (std::vector<std::uint8_t>{0xAA, 0, 0, 0, 0}));
}

TEST(ByteReader, EveryTruncationAndHostilePositionStopsCleanly)
{
    const std::vector<std::uint8_t> bytes = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    std::int32_t i = 0;
    double d = 0;
    EXPECT_EQ(ReadI32(bytes, 0, i), 4);
    EXPECT_EQ(i, 1);
    EXPECT_EQ(ReadF64(bytes, 4, d), 12);
    EXPECT_EQ(d, 1.0);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        std::span<const std::uint8_t> part(bytes.data(), n);
        EXPECT_EQ(ReadF64(part, 4, d), n >= 12 ? 12 : -1) << n;
    }
    EXPECT_EQ(ReadI32(bytes, -1, i), -1);
    EXPECT_EQ(ReadI32(bytes, 0x7FFFFFFE, i), -1);
}
