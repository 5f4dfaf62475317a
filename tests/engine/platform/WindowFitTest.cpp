// Tests of fitting the game's picture into a window of another size: the bars, and the mouse mapped
// back into the picture.
#include <gtest/gtest.h>

#include "engine/platform/Window.hpp"

namespace {

using ad::platform::EventKind;
using ad::platform::FitInto;
using ad::platform::HeadlessWindow;
using ad::platform::WindowEvent;

TEST(FitInto, AWiderAreaGetsBarsAtTheSidesATallerOneAtTopAndBottom) {
    const auto wide = FitInto(1024, 768, 1920, 1080);
    EXPECT_EQ(wide.height, 1080);
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.x, 240);
    EXPECT_EQ(wide.y, 0);
    const auto tall = FitInto(1024, 768, 1024, 1000);
    EXPECT_EQ(tall.width, 1024);
    EXPECT_EQ(tall.height, 768);
    EXPECT_EQ(tall.y, 116);
    const auto same = FitInto(800, 600, 800, 600);
    EXPECT_EQ(same.x, 0);
    EXPECT_EQ(same.width, 800);
}

TEST(FitInto, ANothingSizedPictureOrAreaFillsTheArea) {
    const auto empty = FitInto(0, 0, 640, 480);
    EXPECT_EQ(empty.width, 640);
    EXPECT_EQ(empty.height, 480);
    EXPECT_EQ(FitInto(640, 480, 0, 0).width, 0);
}

WindowEvent Click(HeadlessWindow& window, int x, int y) {
    window.PushEvent({EventKind::MouseDown, 0, x, y});
    WindowEvent event;
    EXPECT_TRUE(window.PollEvent(event));
    return event;
}

TEST(MapToPicture, TheMouseLandsOnThePicturesPixelsAndBarsClampToItsEdge) {
    HeadlessWindow window(1920, 1080);
    window.SetLogicalSize(1024, 768);
    // The picture is 1440 x 1080 from x 240: the window's middle is the picture's middle.
    WindowEvent event = Click(window, 960, 540);
    EXPECT_EQ(event.x, 512);
    EXPECT_EQ(event.y, 384);
    event = Click(window, 240 + 1440 / 4, 270);
    EXPECT_EQ(event.x, 256);
    EXPECT_EQ(event.y, 192);
    event = Click(window, 10, 10); // on the left bar
    EXPECT_EQ(event.x, 0);
    event = Click(window, 1915, 1079);
    EXPECT_EQ(event.x, 1023);
    EXPECT_EQ(event.y, 767);
}

TEST(MapToPicture, AWindowOfThePicturesSizeOrNoLogicalSizeLeavesPositionsAlone) {
    HeadlessWindow window(1024, 768);
    WindowEvent event = Click(window, 700, 300);
    EXPECT_EQ(event.x, 700);
    window.SetLogicalSize(1024, 768);
    event = Click(window, 700, 300);
    EXPECT_EQ(event.x, 700);
    EXPECT_EQ(event.y, 300);
    window.PushEvent({EventKind::KeyDown, 13, 5, 5});
    window.SetLogicalSize(512, 384);
    ASSERT_TRUE(window.PollEvent(event));
    EXPECT_EQ(event.x, 5) << "only mouse events are mapped";
}

} // namespace
