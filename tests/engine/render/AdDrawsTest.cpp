// The window's drawing surface: each way its initialisation fails, the surface events, display
// modes, texture surfaces and clearing through the software plugin.
#include "engine/render/AdDraws.hpp"

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "engine/render/AdMessages.hpp"
#include "tests/support/HeadlessSurface.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

const std::string kFakes = VIMBO_FAKE_PLUGIN_DIR "/";

class AdDrawInit : public ::testing::Test {
protected:
    void SetUp() override { folder_ = vimbo::test::MakeTempFolder("draw"); }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::unique_ptr<ad::TAdDraw> MakeDraw(const std::string& library) {
        auto draw = std::make_unique<ad::TAdDraw>(&window_, folder_ + "adlog.txt");
        if (!library.empty()) draw->SetDllName(library);
        return draw;
    }

    std::string folder_;
    ad::platform::HeadlessWindow window_{320, 240};
};

TEST_F(AdDrawInit, WithoutALibraryFailsWithMessage65306AndLogsIt) {
    auto draw = MakeDraw("");
    EXPECT_FALSE(draw->Initialize());
    EXPECT_FALSE(draw->CanDraw());
    EXPECT_EQ(draw->LastError, ad::MessageText(ad::kMsgNoLibraryLoaded));
    ASSERT_EQ(draw->Log.Entries().size(), 1u);
    EXPECT_EQ(draw->Log.Entries()[0].Type, ad::TAdLogType::Error);
    EXPECT_EQ(draw->Log.Entries()[0].Sender, "TAdDraw");
    EXPECT_TRUE(std::filesystem::exists(folder_ + "adlog.txt"));
}

TEST_F(AdDrawInit, ReportsEachFailureOfThePluginWithItsOwnMessage) {
    struct Case {
        const char* library;
        int message;
    };
    for (const Case& c : {Case{"NoAppFakeAdPlugin.so", ad::kMsgNoApplication},
                          Case{"WindowOnlyFakeAdPlugin.so", ad::kMsgNoWindowFramework},
                          Case{"FailingFakeAdPlugin.so", ad::kMsgInitFailed}}) {
        auto draw = MakeDraw(kFakes + c.library);
        EXPECT_FALSE(draw->Initialize()) << c.library;
        EXPECT_EQ(draw->LastError, ad::MessageText(c.message)) << c.library;
        EXPECT_EQ(draw->AppObject(), nullptr) << c.library;
        EXPECT_FALSE(draw->Initialized()) << c.library;
    }
}

TEST_F(AdDrawInit, FiresInitialisingThenInitialisedToTheLastRegisteredFirst) {
    auto draw = MakeDraw(kFakes + "GoodFakeAdPlugin.so");
    std::vector<std::string> seen;
    draw->SurfaceEventList.Add([&](ad::TAdSurfaceEvent e) { seen.push_back("first:" + std::to_string(e)); });
    draw->SurfaceEventList.Add([&](ad::TAdSurfaceEvent e) { seen.push_back("second:" + std::to_string(e)); });
    ASSERT_TRUE(draw->Initialize());
    EXPECT_EQ(seen, (std::vector<std::string>{"second:0", "first:0", "second:1", "first:1"}));
    seen.clear();
    draw->Finalize();
    EXPECT_EQ(seen, (std::vector<std::string>{"second:2", "first:2"}));
    EXPECT_FALSE(draw->CanDraw());
}

TEST_F(AdDrawInit, FullScreenWithAPluginThatSwitchesItselfAsksTheWindowToCoverTheScreen) {
    window_.SetScreenSize(1280, 1024);
    auto draw = MakeDraw(kFakes + "GoodFakeAdPlugin.so");
    draw->DisplayMode = 3;
    draw->DisplayWidth = 1024;
    draw->DisplayHeight = 768;
    ASSERT_TRUE(draw->Initialize());
    EXPECT_FALSE(window_.Bordered());
    EXPECT_EQ(window_.Left(), 0);
    EXPECT_EQ(window_.ClientWidth(), 1280);
    EXPECT_EQ(window_.ClientHeight(), 1024);
    EXPECT_EQ(draw->GetWidth(), 1280);
}

TEST_F(AdDrawInit, WindowModeCentresTheChosenClientSizeAndTakesTheTitle) {
    window_.SetScreenSize(1280, 1024);
    auto draw = MakeDraw(vimbo::test::SoftwarePluginPath());
    draw->ApplicationTitle = "vimbo 2";
    draw->DisplayMode = 1;
    draw->DisplayWidth = 1024;
    draw->DisplayHeight = 768;
    ASSERT_TRUE(draw->Initialize());
    EXPECT_EQ(window_.Caption(), "vimbo 2");
    EXPECT_EQ(window_.ClientWidth(), 1024);
    EXPECT_EQ(window_.Left(), (1280 - 1024) / 2);
    EXPECT_EQ(window_.Top(), (1024 - 768) / 2);
    EXPECT_EQ(draw->GetWidth(), 1024);
    EXPECT_EQ(draw->GetHeight(), 768);
}

TEST(AdDrawSurface, ClearsAndPresentsTheWholeWindow) {
    vimbo::test::HeadlessSurface s(64, 48);
    ASSERT_TRUE(s.draw->Initialized()) << s.draw->LastError;
    EXPECT_EQ(s.draw->Options(), 262);
    s.draw->ClearSurface(0x0000FF); // red in the desktop's colour format
    s.draw->BeginScene();
    s.draw->EndScene();
    s.draw->Flip();
    ASSERT_EQ(s.window->PresentCount(), 1);
    EXPECT_EQ(s.FramePixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(s.FramePixel(63, 47), 0xFFFF0000u);
}

TEST(AdDrawSurface, DrawingOperationsDoNothingWhileItCannotDraw) {
    ad::platform::HeadlessWindow window(32, 32);
    ad::TAdDraw draw(&window, vimbo::test::MakeTempFolder("idle") + "adlog.txt");
    draw.ClearSurface(0xFFFFFF);
    draw.BeginScene();
    draw.EndScene();
    draw.Flip();
    EXPECT_EQ(window.PresentCount(), 0);
}

TEST(AdTextureSurface, FollowsThePluginThroughFinaliseAndInitialise) {
    vimbo::test::HeadlessSurface s(64, 48);
    ASSERT_TRUE(s.draw->Initialized());
    ad::TAdTextureSurface target(s.draw.get());
    ASSERT_NE(target.Texture(), nullptr);
    target.SetSize(32, 32);
    EXPECT_EQ(target.Texture()->Width(), 32);
    s.draw->Finalize();
    EXPECT_EQ(target.Texture(), nullptr);
    EXPECT_FALSE(target.CanDraw());
    ASSERT_TRUE(s.draw->Initialize());
    ASSERT_NE(target.Texture(), nullptr);
    EXPECT_EQ(target.Texture()->Width(), 32);
}

TEST(AdTextureSurface, ClearsItsOwnTargetNotTheScreen) {
    vimbo::test::HeadlessSurface s(16, 16);
    ASSERT_TRUE(s.draw->Initialized());
    ad::TAdTextureSurface target(s.draw.get());
    target.SetSize(8, 8);
    target.ClearSurface(0x00FF00); // green
    EXPECT_TRUE(target.Active());
    s.draw->ClearSurface(0xFF0000); // blue, on the screen
    EXPECT_FALSE(target.Active());
    EXPECT_TRUE(s.draw->Active());
    std::vector<uint8_t> pixels(8 * 8 * 4);
    ASSERT_TRUE(target.Texture()->ReadPixels(pixels.data()));
    EXPECT_EQ(pixels[0], 0);   // blue
    EXPECT_EQ(pixels[1], 255); // green
    EXPECT_EQ(pixels[2], 0);   // red
    s.draw->Flip();
    EXPECT_EQ(s.FramePixel(5, 5), 0xFF0000FFu);
}

TEST(AdScene, SetupOfASmallerLogicalSizeKeepsTheViewportAndRestoresTheActiveSurface) {
    vimbo::test::HeadlessSurface s(16, 16);
    ASSERT_TRUE(s.draw->Initialized());
    ad::TAdTextureSurface target(s.draw.get());
    target.SetSize(32, 32);
    s.draw->Activate();
    target.Setup2DScene(50, 20);
    EXPECT_TRUE(s.draw->Active());
    EXPECT_EQ(target.GetWidth(), 50);
    EXPECT_EQ(target.Scene()->ViewPort, (ad::AdRect{0, 0, 32, 32}));
    // The projection maps the logical width 50 onto clip space -1..1.
    EXPECT_FLOAT_EQ(target.Scene()->ProjMatrix.m[0][0], 2.0f / 50.0f);
}

} // namespace
