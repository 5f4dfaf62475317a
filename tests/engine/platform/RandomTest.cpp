// The seedable generator: repeatable sequences, ranges, and seeding from the tick source.
#include "engine/platform/Random.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/platform/TickSource.hpp"

namespace {

using namespace ad::platform;

std::vector<int32_t> Draws(int count, int32_t n) {
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(Random(n));
    return values;
}

TEST(RandomTest, SameSeedRepeatsTheSequenceAndOtherSeedsDiffer) {
    SetRandSeed(42);
    const auto first = Draws(50, 1000);
    SetRandSeed(42);
    EXPECT_EQ(Draws(50, 1000), first);
    SetRandSeed(43);
    EXPECT_NE(Draws(50, 1000), first);
}

TEST(RandomTest, RandomStaysInRangeAndReachesEveryValue) {
    SetRandSeed(7);
    std::vector<int> seen(7, 0);
    for (int32_t value : Draws(7000, 7)) {
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 7);
        ++seen[static_cast<size_t>(value)];
    }
    for (int count : seen) {
        EXPECT_GT(count, 850);
        EXPECT_LT(count, 1150);
    }
}

TEST(RandomTest, EmptyOrNegativeRangesGiveZero) {
    SetRandSeed(1);
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
    EXPECT_EQ(Random(1), 0);
}

TEST(RandomTest, FloatsLieInTheHalfOpenUnitInterval) {
    SetRandSeed(3);
    double low = 1.0, high = 0.0;
    for (int i = 0; i < 10000; ++i) {
        const double value = RandomFloat();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    EXPECT_LT(low, 0.01);
    EXPECT_GT(high, 0.99);
}

TEST(RandomTest, RandomizeSeedsFromTheTickCountItIsGiven) {
    ManualTicks ticks(123456);
    Randomize(ticks);
    const auto seeded = Draws(20, 1 << 30);
    SetRandSeed(123456);
    EXPECT_EQ(Draws(20, 1 << 30), seeded);
}

} // namespace
