#include <gtest/gtest.h>

#include "model/Random.h"

namespace quilmo {
namespace {

TEST(RandomTest, FirstDrawsFollowTheFormula)
{
    // seed 0 -> 1 -> 134775814 -> 3698175007 -> 870078620 (each s * 134775813 + 1 mod 2^32);
    // a draw of n is (s * n) >> 32.
    TRandom random(0);
    EXPECT_EQ(random.Next(100), 0);  // 1 * 100 >> 32
    EXPECT_EQ(random.Seed(), 1u);
    EXPECT_EQ(random.Next(100), 3);  // 13477581400 >> 32
    EXPECT_EQ(random.Seed(), 134775814u);
    EXPECT_EQ(random.Next(5), 4);    // 3698175007 * 5 >> 32
    EXPECT_EQ(random.Seed(), 3698175007u);
    EXPECT_EQ(random.Next(100), 20);
    EXPECT_EQ(random.Seed(), 870078620u);

    // The multiplication wraps at 2^32: 0x80000000 * odd + 1 = 0x80000001.
    random.SetSeed(0x80000000u);
    EXPECT_EQ(random.Next(4), 2);
    EXPECT_EQ(random.Seed(), 0x80000001u);
    // The largest seed and range: 0x4D60AE66 * 134775813 + 1 = 0xFFFFFFFF (mod 2^32),
    // and 0xFFFFFFFF * 0x7FFFFFFF >> 32 = 0x7FFFFFFE, still below n.
    random.SetSeed(0x4D60AE66u);
    EXPECT_EQ(random.Next(INT32_MAX), INT32_MAX - 1);
    EXPECT_EQ(random.Seed(), 0xFFFFFFFFu);
}

TEST(RandomTest, EmptyRangeDrawsZero)
{
    TRandom random(0);
    EXPECT_EQ(random.Next(0), 0);
    EXPECT_EQ(random.Next(-3), 0);
}

TEST(RandomTest, ShuffleSeedsAndSwapsTwoNMinusOneTimes)
{
    // Seed 7, n = 3: five swaps (i, j) = (0,2) (0,2) (0,0) (0,1) (2,0).
    TIntDynArray order = {0, 1, 2};
    TRandom random(12345);  // overwritten by the seed given
    ShuffleIndices(order, random, 7);
    EXPECT_EQ(order, (TIntDynArray{2, 0, 1}));
    EXPECT_EQ(random.Seed(), 86081933u);  // ten draws after 7

    TIntDynArray empty;
    ShuffleIndices(empty, random, 7);
    EXPECT_EQ(random.Seed(), 7u);  // seeded, nothing drawn
}

}  // namespace
}  // namespace quilmo
