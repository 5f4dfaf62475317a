// The replaceable tick source and the system clock behind it.
#include "engine/platform/TickSource.hpp"

#include <gtest/gtest.h>

namespace {

using namespace ad::platform;

TEST(TickSource, ManualTicksSleepAdvancesItAndIsRecorded) {
    ManualTicks manual(42);
    TickSource& clock = manual;
    EXPECT_EQ(clock.Ticks(), 42u);
    clock.Sleep(8);
    EXPECT_EQ(manual.Ticks(), 50u);
    EXPECT_EQ(manual.Sleeps(), std::vector<uint32_t>{8});
}

TEST(TickSource, SystemClockAdvancesAtLeastBySleptTime) {
    TickSource& clock = SystemTicks();
    const uint32_t before = clock.Ticks();
    clock.Sleep(3);
    const uint32_t after = clock.Ticks();
    EXPECT_GE(static_cast<uint32_t>(after - before), 3u);
}

TEST(TickSource, ManualTicksWrapsLikeTheSystemCounter) {
    ManualTicks manual(0xFFFFFFF0u);
    manual.Advance(0x20);
    EXPECT_EQ(manual.Ticks(), 0x10u);
}

} // namespace
