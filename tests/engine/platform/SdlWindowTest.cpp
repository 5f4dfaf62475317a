// The SDL window on a real (usually virtual) display: creation, display modes, frames and events.
// Every test skips with the reason when no display can be opened.
#include "engine/platform/DisplayModes.hpp"
#include "engine/platform/Window.hpp"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/platform/VirtualKeys.hpp"
#include "tests/support/DisplayTests.hpp"

namespace {

using namespace ad::platform;

class SdlWindowTest : public ::testing::Test {
protected:
    void TearDown() override { vimbo::test::KeepLoadedLibrariesResident(); }

    void SetUp() override {
        std::string error;
        window = CreateSdlWindow(320, 240, "vimbo 2", error);
        if (!window)
            GTEST_SKIP() << "no display: " << error;
        handle = static_cast<SDL_Window*>(window->NativeHandle());
        Drain();
    }

    // Drops what the display sends on its own (exposure, focus) so pushed events can be read alone.
    void Drain() {
        WindowEvent ignored;
        while (window->PollEvent(ignored)) {
        }
    }

    // The next event that is not an exposure, which the display may send at any time.
    bool NextNonExpose(WindowEvent& event) {
        while (window->PollEvent(event)) {
            if (event.kind != EventKind::Expose)
                return true;
        }
        return false;
    }

    SDL_Rect Screen() const {
        SDL_Rect bounds{0, 0, 0, 0};
        SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(handle), &bounds);
        return bounds;
    }

    std::unique_ptr<Window> window;
    SDL_Window* handle = nullptr;
};

TEST_F(SdlWindowTest, CreatedHiddenWithCaptionSizeAndNoRenderer) {
    EXPECT_STREQ(window->FrameworkIdentifier(), "sdl2");
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(handle) & SDL_WINDOW_HIDDEN, 0u);
    EXPECT_EQ(window->Caption(), "vimbo 2");
    EXPECT_EQ(window->ClientWidth(), 320);
    EXPECT_EQ(window->ClientHeight(), 240);
    EXPECT_EQ(SDL_GetRenderer(handle), nullptr) << "the OpenGL renderer must find the window unclaimed";
    window->SetCaption("Form1");
    EXPECT_EQ(window->Caption(), "Form1");
}

TEST_F(SdlWindowTest, WindowModeCentresABorderedClientArea) {
    window->Show();
    window->ApplyDisplayMode(DisplaySettings{300, 200, 32, DisplayMode::Window});
    const SDL_Rect screen = Screen();
    EXPECT_EQ(window->ClientWidth(), 300);
    EXPECT_EQ(window->ClientHeight(), 200);
    EXPECT_TRUE(window->Bordered());
    EXPECT_EQ(window->Left(), screen.x + (screen.w - 300) / 2);
    EXPECT_EQ(window->Top(), screen.y + (screen.h - 200) / 2);
}

TEST_F(SdlWindowTest, ScreenSizedAndUnmatchedFullScreenGoFullScreenWithoutSwitching) {
    const ScreenMode before = DesktopScreenMode();
    for (DisplayMode mode : {DisplayMode::ScreenSized, DisplayMode::FullScreen}) {
        window->ApplyDisplayMode(DisplaySettings{12345, 678, 32, mode});
        const SDL_Rect screen = Screen();
        EXPECT_FALSE(window->Bordered());
        EXPECT_EQ(window->ClientWidth(), screen.w);
        EXPECT_EQ(window->ClientHeight(), screen.h);
        EXPECT_EQ(window->Left(), screen.x);
        EXPECT_EQ(window->Top(), screen.y);
        EXPECT_EQ(SDL_GetWindowFlags(handle) & SDL_WINDOW_FULLSCREEN_DESKTOP, +SDL_WINDOW_FULLSCREEN_DESKTOP)
            << "full screen at the desktop's mode";
    }
    const ScreenMode after = DesktopScreenMode();
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.height, before.height);
}

TEST_F(SdlWindowTest, ScreenModesIncludeTheDesktopWithBitDepthByPixelSize) {
    const ScreenMode desktop = DesktopScreenMode();
    EXPECT_GT(desktop.width, 0);
    EXPECT_TRUE(desktop.bitDepth == 16 || desktop.bitDepth == 32 || desktop.bitDepth == 24)
        << desktop.bitDepth;
    const auto modes = EnumerateScreenModes();
    ASSERT_FALSE(modes.empty());
    EXPECT_TRUE(FindFullScreenMode(modes, desktop.width, desktop.height, desktop.bitDepth).has_value());
}

TEST_F(SdlWindowTest, PresentedFrameReachesTheWindowInBgraOrder) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software"); // a renderer whose output can be read back
    window->Show();
    std::vector<uint8_t> frame(320 * 240 * 4);
    for (size_t i = 0; i < frame.size(); i += 4) {
        frame[i] = 10;     // blue
        frame[i + 1] = 20; // green
        frame[i + 2] = 30; // red
        frame[i + 3] = 255;
    }
    window->PresentPixels(frame.data(), 320, 240);
    SDL_Renderer* renderer = SDL_GetRenderer(handle);
    ASSERT_NE(renderer, nullptr);
    Uint32 pixel = 0;
    SDL_Rect one{160, 120, 1, 1};
    ASSERT_EQ(SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4), 0) << SDL_GetError();
    EXPECT_EQ(pixel & 0xFFFFFF, 0x1E140Au);
    window->PresentPixels(frame.data(), 160, 120); // a smaller frame is stretched over the window
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, nullptr);
}

TEST_F(SdlWindowTest, WithoutAVerticalSyncToWaitForFramesGoStraightIntoTheWindowSurface) {
    EXPECT_EQ(window->RefreshRate(), DesktopScreenMode().frequency);
    window->Show();
    const std::vector<uint8_t> frame = [] {
        std::vector<uint8_t> bgra(320 * 240 * 4);
        for (size_t i = 0; i < bgra.size(); i += 4) {
            bgra[i] = 10;
            bgra[i + 1] = 20;
            bgra[i + 2] = 30;
            // Shown all the same: the window's picture is opaque, as through the renderer.
            bgra[i + 3] = 0;
        }
        return bgra;
    }();
    if (window->SetPresentVSync(true)) {
        EXPECT_NE(SDL_GetRenderer(handle), nullptr) << "the renderer's vertical sync holds the frames";
        return;
    }
    // A virtual display: no renderer between the frame and the window.
    EXPECT_EQ(SDL_GetRenderer(handle), nullptr);
    for (const int size : {1, 2}) {
        // The whole frame, then one of half the size, stretched over the window.
        window->PresentPixels(frame.data(), 320 / size, 240 / size);
        SDL_Surface* surface = SDL_GetWindowSurface(handle);
        ASSERT_NE(surface, nullptr) << SDL_GetError();
        ASSERT_EQ(surface->format->BytesPerPixel, 4);
        Uint32 pixel = 0;
        std::memcpy(&pixel, static_cast<const uint8_t*>(surface->pixels) + 239 * surface->pitch + 319 * 4, 4);
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(pixel, surface->format, &r, &g, &b);
        EXPECT_EQ(std::vector<int>({r, g, b}), std::vector<int>({30, 20, 10})) << "frame of 1/" << size;
    }
}

TEST_F(SdlWindowTest, EventsArriveInTheGamesTerms) {
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_a;
    key.key.repeat = 1;
    SDL_PushEvent(&key);
    SDL_Event release{};
    release.type = SDL_KEYUP;
    release.key.keysym.sym = SDLK_a;
    SDL_PushEvent(&release);
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_RIGHT;
    click.button.x = 17;
    click.button.y = 23;
    SDL_PushEvent(&click);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(handle);
    SDL_PushEvent(&close);

    WindowEvent event;
    ASSERT_TRUE(NextNonExpose(event));
    EXPECT_EQ(event.kind, EventKind::KeyDown);
    EXPECT_EQ(event.key, vk::KeyA) << "auto-repeated presses count as presses";
    ASSERT_TRUE(NextNonExpose(event)) << "the key release is not one of the game's events";
    EXPECT_EQ(event.kind, EventKind::MouseDown);
    EXPECT_EQ(event.button, MouseButton::Right);
    EXPECT_EQ(event.x, 17);
    EXPECT_EQ(event.y, 23);
    ASSERT_TRUE(NextNonExpose(event));
    EXPECT_EQ(event.kind, EventKind::Close);
    EXPECT_FALSE(NextNonExpose(event));
}

TEST_F(SdlWindowTest, WaitEndsAtTheTimeoutOrWithAnEvent) {
    WindowEvent event;
    EXPECT_FALSE(window->WaitEvent(event, 20) && event.kind != EventKind::Expose);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    ASSERT_TRUE(window->WaitEvent(event, kWaitForever));
    EXPECT_EQ(event.kind, EventKind::Close);
}

TEST_F(SdlWindowTest, VideoStaysUpUntilTheLastWindowGoes) {
    std::string error;
    auto second = CreateSdlWindow(64, 64, "second", error);
    ASSERT_NE(second, nullptr) << error;
    window.reset();
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    second->PresentPixels(std::vector<uint8_t>(64 * 64 * 4, 255).data(), 64, 64);
    vimbo::test::KeepLoadedLibrariesResident();
    second.reset();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

} // namespace
