// Frame pacing on the host's clock: how a renderer chooses to keep to the display, and the times at
// which paced frames are let go.
#include "plugins/common/FramePacer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ad::plugin::FramePacer;
using ad::plugin::PacingMode;

// A display of a given refresh rate and a clock that moves only when told to or slept on.
class ClockFramework : public ad::AdWindowFramework {
public:
    explicit ClockFramework(int refreshRate, uint32_t start = 1000)
        : refreshRate_(refreshRate), now_(start) {}
    const char* Identifier() const override { return ad::kAdFrameworkSdl; }
    int ClientWidth() const override { return 4; }
    int ClientHeight() const override { return 4; }
    void* NativeWindow() const override { return nullptr; }
    void PresentPixels(const uint8_t*, int, int) override {}
    int DisplayRefreshRate() const override { return refreshRate_; }
    uint32_t Ticks() override { return now_; }
    void Sleep(uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        now_ += milliseconds;
    }

    void Advance(uint32_t milliseconds) { now_ += milliseconds; }
    void SetRefreshRate(int hz) { refreshRate_ = hz; }

    std::vector<uint32_t> sleeps;

private:
    int refreshRate_;
    uint32_t now_;
};

// Presents frames that each take `work` ms to draw and returns the times, from the first frame's
// release, at which every frame after it was let go.
std::vector<uint32_t> Releases(FramePacer& pacer, ClockFramework& display,
                               const std::vector<uint32_t>& work) {
    pacer.FramePresented();
    const uint32_t start = display.Ticks();
    std::vector<uint32_t> times;
    for (uint32_t ms : work) {
        display.Advance(ms);
        pacer.FramePresented();
        times.push_back(display.Ticks() - start);
    }
    return times;
}

FramePacer PacedOn(ClockFramework& display) {
    FramePacer pacer;
    pacer.Start(display, false, false);
    return pacer;
}

TEST(FramePacerMode, WaitsForTheWindowSystemWhereItCanElsePacesUnlessToldNotToOrThereIsNoDisplay) {
    ClockFramework display(75);
    FramePacer pacer;
    EXPECT_NE(pacer.Start(display, false, true).find("vertical sync"), std::string::npos);
    EXPECT_EQ(pacer.Mode(), PacingMode::DisplayWaits);
    const std::string paced = pacer.Start(display, false, false);
    EXPECT_EQ(pacer.Mode(), PacingMode::Paced);
    EXPECT_NE(paced.find("75 Hz"), std::string::npos) << paced;
    EXPECT_NE(pacer.Start(display, true, false).find("NoVSync"), std::string::npos);
    EXPECT_EQ(pacer.Mode(), PacingMode::Unpaced);

    ClockFramework silent(0);
    EXPECT_NE(pacer.Start(silent, false, false).find("60 Hz"), std::string::npos);
    EXPECT_EQ(pacer.Mode(), PacingMode::Paced);
    ClockFramework memory(ad::kAdNoDisplay);
    pacer.Start(memory, false, false);
    EXPECT_EQ(pacer.Mode(), PacingMode::Unpaced);
}

TEST(FramePacerMode, OnlyPacedFramesAreEverHeld) {
    for (const bool noVSync : {false, true}) {
        ClockFramework display(60);
        FramePacer pacer;
        pacer.Start(display, noVSync, !noVSync);
        Releases(pacer, display, std::vector<uint32_t>(20, 1));
        EXPECT_TRUE(display.sleeps.empty()) << "noVSync " << noVSync;
    }
    ClockFramework memory(ad::kAdNoDisplay);
    FramePacer pacer = PacedOn(memory);
    Releases(pacer, memory, std::vector<uint32_t>(20, 1));
    EXPECT_TRUE(memory.sleeps.empty());
}

TEST(FramePacerSchedule, QuickFramesGoOutAtTheRefreshRateWithoutDriftingOverASecond) {
    ClockFramework display(60);
    FramePacer pacer = PacedOn(display);
    const std::vector<uint32_t> times = Releases(pacer, display, std::vector<uint32_t>(120, 2));
    EXPECT_EQ((std::vector<uint32_t>(times.begin(), times.begin() + 6)),
              (std::vector<uint32_t>{17, 34, 50, 67, 84, 100}));
    EXPECT_EQ(times[59], 1000u);
    EXPECT_EQ(times[119], 2000u);
}

TEST(FramePacerSchedule, AFrameLateByLessThanAPeriodIsMadeUpByTheNext) {
    ClockFramework display(50); // 20 ms
    FramePacer pacer = PacedOn(display);
    const std::vector<uint32_t> times = Releases(pacer, display, {5, 27, 5, 5});
    EXPECT_EQ(times, (std::vector<uint32_t>{20, 47, 60, 80}));
}

TEST(FramePacerSchedule, AStallStartsTheScheduleAfreshInsteadOfRushingFramesOut) {
    ClockFramework display(50);
    FramePacer pacer = PacedOn(display);
    const std::vector<uint32_t> times = Releases(pacer, display, {5, 100, 1, 1});
    EXPECT_EQ(times, (std::vector<uint32_t>{20, 120, 140, 160}));
}

TEST(FramePacerSchedule, FollowsTheDisplaysRateWhenItChanges) {
    ClockFramework display(50);
    FramePacer pacer = PacedOn(display);
    Releases(pacer, display, {1});
    display.SetRefreshRate(100);
    display.sleeps.clear();
    for (int frame = 0; frame < 3; ++frame) {
        display.Advance(1);
        pacer.FramePresented();
    }
    EXPECT_EQ(display.sleeps, (std::vector<uint32_t>{9, 9, 9}));
}

TEST(FramePacerSchedule, KeepsTheRateAcrossTheTickCounterWrapping) {
    ClockFramework display(60, 0xFFFFFFF0u);
    FramePacer pacer = PacedOn(display);
    const std::vector<uint32_t> times = Releases(pacer, display, std::vector<uint32_t>(6, 3));
    EXPECT_EQ(times, (std::vector<uint32_t>{17, 34, 50, 67, 84, 100}));
}

} // namespace
