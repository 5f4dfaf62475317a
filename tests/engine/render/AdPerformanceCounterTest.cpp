// Frame timer: first frame, settling, smoothing, the time-gap limit, FPS counting, the frame-rate cap
// and the tick counter's wrap-around, all driven by a hand-moved clock.
#include "engine/render/AdPerformanceCounter.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using ad::TAdPerformanceCounter;
using ad::TAdPerformanceCounterState;
using ad::platform::ManualTicks;

// A clock whose sleeps do not move it, like a coarse counter that has not ticked yet.
class FrozenTicks : public ad::platform::TickSource {
public:
    uint32_t Ticks() override { return 5000; }
    void Sleep(uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
    std::vector<uint32_t> sleeps;
};

// Runs the counter through its first frame and the settling frame that sees a non-zero difference.
void SettleWith(TAdPerformanceCounter& counter, ManualTicks& ticks, uint32_t frameMs) {
    ticks.Advance(frameMs);
    counter.Calculate();
    ticks.Advance(frameMs);
    counter.Calculate();
}

TEST(AdPerformanceCounterStart, FirstFrameIsOneMillisecondThenSettlingHoldsZero) {
    ManualTicks ticks(1000);
    TAdPerformanceCounter counter(false, ticks);
    EXPECT_EQ(counter.State, TAdPerformanceCounterState::Resumed);

    ticks.Advance(40);
    counter.Calculate();
    EXPECT_EQ(counter.TimeGap, 1);
    EXPECT_EQ(counter.State, TAdPerformanceCounterState::Running);

    counter.Calculate(); // shorter than one tick
    EXPECT_EQ(counter.TimeGap, 0);
    EXPECT_TRUE(counter.Settling);
    counter.Calculate();
    EXPECT_EQ(counter.TimeGap, 0);

    ticks.Advance(16);
    counter.Calculate(); // the first non-zero difference ends settling but still reports 0
    EXPECT_EQ(counter.TimeGap, 0);
    EXPECT_FALSE(counter.Settling);

    ticks.Advance(16);
    counter.Calculate();
    EXPECT_DOUBLE_EQ(counter.TimeGap, 16.0 / 21.0);
}

TEST(AdPerformanceCounterStart, CreatedPausedReportsNoTime) {
    ManualTicks ticks(0);
    TAdPerformanceCounter counter(true, ticks);
    for (int i = 0; i < 3; ++i) {
        ticks.Advance(30);
        counter.Calculate();
        EXPECT_EQ(counter.TimeGap, 0);
        EXPECT_EQ(counter.State, TAdPerformanceCounterState::Paused);
    }
}

TEST(AdPerformanceCounterStart, ReadsTheClockItWasGivenFromTheStart) {
    ManualTicks ticks(777);
    TAdPerformanceCounter counter(false, ticks);
    EXPECT_EQ(counter.LastTickCount, 777);
    ticks.Advance(100);
    counter.Calculate();
    EXPECT_EQ(counter.FpsTime, 100); // it keeps reading the clock it was created on
}

TEST(AdPerformanceCounterSmoothing, ApproachesTheFrameTimeByOneTwentyFirstOfTheGap) {
    ManualTicks ticks(0);
    TAdPerformanceCounter counter(false, ticks);
    SettleWith(counter, ticks, 16);
    double previous = counter.TimeGap;
    for (int frame = 0; frame < 150; ++frame) {
        ticks.Advance(16);
        counter.Calculate();
        EXPECT_NEAR(16 - counter.TimeGap, (16 - previous) * 20 / 21, 1e-9) << "frame " << frame;
        EXPECT_GT(counter.TimeGap, previous);
        previous = counter.TimeGap;
    }
    EXPECT_NEAR(counter.TimeGap, 16, 0.02); // 16 x (20/21)^150 is about 0.011
}

TEST(AdPerformanceCounterSmoothing, WithoutInterpolationTheRawDifferenceIsUsed) {
    ManualTicks ticks(0);
    TAdPerformanceCounter counter(false, ticks);
    counter.Interpolate = false;
    SettleWith(counter, ticks, 10);
    ticks.Advance(33);
    counter.Calculate();
    EXPECT_EQ(counter.TimeGap, 33);
}

TEST(AdPerformanceCounterSmoothing, NegativeFactorDoesNotBreakTheSmoothing) {
    ManualTicks ticks(0);
    TAdPerformanceCounter counter(false, ticks);
    SettleWith(counter, ticks, 10);
    counter.InterpolationFactor = -1;
    ticks.Advance(12);
    counter.Calculate();
    EXPECT_EQ(counter.TimeGap, 12);
}

TEST(AdPerformanceCounterLimit, TwoSecondStallGivesAtMostFiftyMilliseconds) {
    ManualTicks ticks(0);
    TAdPerformanceCounter counter(false, ticks);
    SettleWith(counter, ticks, 16);
    for (int i = 0; i < 200; ++i) {
        ticks.Advance(16);
        counter.Calculate();
    }
    ticks.Advance(2000);
    counter.Calculate();
    EXPECT_EQ(counter.TimeGap, 50);
    ticks.Advance(16);
    counter.Calculate(); // the next frame smooths down from the limit, not from the stall
    EXPECT_DOUBLE_EQ(counter.TimeGap, (16 + 20 * 50.0) / 21);

    counter.Interpolate = false;
    ticks.Advance(2000);
    counter.Calculate();
    EXPECT_EQ(counter.TimeGap, 50);
}

TEST(AdPerformanceCounterFps, ChangesOnlyPastOneSecondAndCountsTheCrossingFrame) {
    ManualTicks ticks(0);
    TAdPerformanceCounter counter(false, ticks);
    for (int frame = 1; frame <= 10; ++frame) {
        ticks.Advance(100);
        counter.Calculate();
    }
    EXPECT_EQ(counter.FPS, 0) << "exactly 1000 ms is not more than a second";
    EXPECT_EQ(counter.FpsFrames, 10);
    ticks.Advance(100);
    counter.Calculate();
    EXPECT_EQ(counter.FPS, 11);
    EXPECT_EQ(counter.FpsFrames, 0);
    EXPECT_EQ(counter.FpsTime, 0);

    for (int frame = 1; frame <= 60; ++frame) {
        ticks.Advance(17);
        counter.Calculate();
    }
    EXPECT_EQ(counter.FPS, 59); // 59 x 17 = 1003 ms crosses the second
}

TEST(AdPerformanceCounterCap, SleepsAfterAOneMillisecondFrameButNotAfterTwo) {
    ManualTicks ticks(0);
    TAdPerformanceCounter counter(false, ticks);
    counter.Interpolate = false;
    SettleWith(counter, ticks, 5);
    counter.MaximumFrameRate = 500;

    ticks.Advance(1);
    counter.Calculate();
    EXPECT_EQ(ticks.Sleeps(), std::vector<uint32_t>{1});
    EXPECT_EQ(counter.LastSleep, 1);
    EXPECT_EQ(counter.TimeGap, 1) << "the sleep shows up in the next frame, not in this one";

    ticks.ClearSleeps();
    counter.LastSleep = 0;
    ticks.Advance(2);
    counter.Calculate();
    EXPECT_TRUE(ticks.Sleeps().empty());
    EXPECT_EQ(counter.LastSleep, 0);
}

TEST(AdPerformanceCounterCap, TheLastSleepIsNotCountedAsWork) {
    ManualTicks ticks(0);
    TAdPerformanceCounter counter(false, ticks);
    SettleWith(counter, ticks, 5);
    counter.MaximumFrameRate = 500;
    ticks.Advance(1);
    counter.Calculate(); // sleeps 1, which moves the clock
    counter.Calculate(); // diff 1 is all sleep: the frame did no work and waits a whole period
    EXPECT_EQ(ticks.Sleeps(), (std::vector<uint32_t>{1, 2}));
    counter.Calculate(); // diff 2, all of it slept
    EXPECT_EQ(ticks.Sleeps(), (std::vector<uint32_t>{1, 2, 2}));
}

TEST(AdPerformanceCounterCap, NoCapNoSleepAndALaggingClockNeverSleepsMoreThanAPeriod) {
    ManualTicks ticks(0);
    TAdPerformanceCounter uncapped(false, ticks);
    for (int i = 0; i < 5; ++i)
        uncapped.Calculate();
    EXPECT_TRUE(ticks.Sleeps().empty());

    FrozenTicks frozen;
    TAdPerformanceCounter counter(false, frozen);
    counter.MaximumFrameRate = 500;
    for (int i = 0; i < 20; ++i)
        counter.Calculate();
    ASSERT_FALSE(frozen.sleeps.empty());
    for (uint32_t slept : frozen.sleeps)
        EXPECT_LE(slept, 2u);
}

TEST(AdPerformanceCounterWrap, DifferencesStaySmallAcrossTwoToTheThirtyFirstAndZero) {
    for (uint32_t start : {0x7FFFFFF0u, 0xFFFFFFF8u, 0xFFFFFFFFu}) {
        ManualTicks ticks(start);
        TAdPerformanceCounter counter(false, ticks);
        counter.Interpolate = false;
        for (int frame = 0; frame < 4; ++frame) {
            ticks.Advance(16);
            counter.Calculate();
        }
        EXPECT_EQ(counter.TimeGap, 16) << std::hex << start;
        EXPECT_EQ(counter.FpsTime, 64) << std::hex << start;
        EXPECT_EQ(counter.LastTickCount, static_cast<uint32_t>(start + 64)) << std::hex << start;
    }
}

} // namespace
