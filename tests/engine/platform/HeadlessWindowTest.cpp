// Headless window: display modes against its fake screen, its event queue and its kept frames.
#include "engine/platform/Window.hpp"

#include <gtest/gtest.h>

namespace {

using namespace ad::platform;

DisplaySettings Settings(int width, int height, int bitDepth, DisplayMode mode) {
    return DisplaySettings{width, height, bitDepth, mode};
}

TEST(HeadlessWindowDisplayModes, WindowModeCentresTheClientAreaWithIntegerDivision) {
    HeadlessWindow window(100, 100);
    window.SetScreenSize(1025, 769);
    window.ApplyDisplayMode(Settings(800, 600, 32, DisplayMode::Window));
    EXPECT_EQ(window.ClientWidth(), 800);
    EXPECT_EQ(window.ClientHeight(), 600);
    EXPECT_EQ(window.Left(), 112);
    EXPECT_EQ(window.Top(), 84);
    EXPECT_TRUE(window.Bordered());
}

TEST(HeadlessWindowDisplayModes, ScreenSizedCoversTheScreenWithoutBorder) {
    HeadlessWindow window(772, 699);
    window.SetScreenSize(1280, 1024);
    window.ApplyDisplayMode(Settings(800, 600, 32, DisplayMode::Window));
    window.ApplyDisplayMode(Settings(800, 600, 32, DisplayMode::ScreenSized));
    EXPECT_EQ(window.ClientWidth(), 1280);
    EXPECT_EQ(window.ClientHeight(), 1024);
    EXPECT_EQ(window.Left(), 0);
    EXPECT_EQ(window.Top(), 0);
    EXPECT_FALSE(window.Bordered());
}

TEST(HeadlessWindowDisplayModes, FullScreenSwitchesOnlyToAnExactlyMatchingMode) {
    HeadlessWindow window(772, 699);
    window.SetScreenSize(1920, 1080);
    window.SetScreenModes({{1024, 768, 16, 60}, {800, 600, 32, 60}, {1024, 768, 32, 75}});

    window.ApplyDisplayMode(Settings(1024, 768, 24, DisplayMode::FullScreen));
    EXPECT_FALSE(window.ScreenModeSwitched()) << "24 is neither 16 nor 32";
    EXPECT_EQ(window.ClientWidth(), 1920) << "without a switch the window covers the screen as it is";
    EXPECT_FALSE(window.Bordered());

    window.ApplyDisplayMode(Settings(1024, 768, 32, DisplayMode::FullScreen));
    EXPECT_TRUE(window.ScreenModeSwitched());
    EXPECT_EQ(window.ScreenWidth(), 1024);
    EXPECT_EQ(window.ClientWidth(), 1024);
    EXPECT_EQ(window.ClientHeight(), 768);
    EXPECT_EQ(window.Left(), 0);
    EXPECT_FALSE(window.Bordered());
}

TEST(HeadlessWindowDisplayModes, DesignedKeepsSizeAndPlace) {
    HeadlessWindow window(772, 699);
    window.ApplyDisplayMode(Settings(640, 480, 32, DisplayMode::Window));
    const int left = window.Left();
    window.ApplyDisplayMode(Settings(1024, 768, 32, DisplayMode::Designed));
    EXPECT_EQ(window.ClientWidth(), 640);
    EXPECT_EQ(window.Left(), left);
    EXPECT_TRUE(window.Bordered());
}

TEST(HeadlessWindowEvents, QueueIsFirstInFirstOutAndWaitNeverBlocks) {
    HeadlessWindow window(10, 10);
    WindowEvent event;
    EXPECT_FALSE(window.PollEvent(event));
    EXPECT_FALSE(window.WaitEvent(event, kWaitForever));
    window.PushEvent({EventKind::KeyDown, 0x41, 0, 0, MouseButton::Left});
    window.PushEvent({EventKind::MouseDown, 0, 3, 4, MouseButton::Middle});
    ASSERT_TRUE(window.PollEvent(event));
    EXPECT_EQ(event.key, 0x41);
    window.PushEvent({EventKind::Close, 0, 0, 0, MouseButton::Left});
    ASSERT_TRUE(window.WaitEvent(event, 5));
    EXPECT_EQ(event.kind, EventKind::MouseDown);
    EXPECT_EQ(event.button, MouseButton::Middle);
    ASSERT_TRUE(window.PollEvent(event));
    EXPECT_EQ(event.kind, EventKind::Close);
    EXPECT_FALSE(window.PollEvent(event));
    EXPECT_EQ(window.WaitCount(), 2);
    EXPECT_EQ(window.LastWaitTimeout(), 5u);
}

TEST(HeadlessWindowFrames, PresentKeepsACopyOfTheLastFrame) {
    HeadlessWindow window(2, 1);
    EXPECT_TRUE(window.Frame().empty());
    std::vector<uint8_t> pixels{1, 2, 3, 255, 4, 5, 6, 255};
    window.PresentPixels(pixels.data(), 2, 1);
    pixels[0] = 99;
    EXPECT_EQ(window.Frame(), (std::vector<uint8_t>{1, 2, 3, 255, 4, 5, 6, 255}));
    EXPECT_EQ(window.FrameWidth(), 2);
    EXPECT_EQ(window.FrameHeight(), 1);
    const std::vector<uint8_t> single{7, 8, 9, 10};
    window.PresentPixels(single.data(), 1, 1);
    EXPECT_EQ(window.Frame(), single);
    EXPECT_EQ(window.PresentCount(), 2);
}

} // namespace
