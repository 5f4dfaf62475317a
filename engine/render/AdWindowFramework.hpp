// Binds a drawing surface to the main window: sizes and styles the window for the chosen display
// mode and hands the plugin what it draws into (the desktop window or the off-screen frame).
#pragma once

#include <string>

#include "engine/platform/TickSource.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdPluginApi.hpp"

namespace ad {

class TAdWindowFramework : public AdWindowFramework {
public:
    // `ticks` is the clock the plugin paces its frames on: the frame timer's, so that a test's clock
    // drives both.
    TAdWindowFramework(platform::Window& window, platform::TickSource& ticks)
        : window_(window), ticks_(ticks) {}

    // Styles the window for the display settings: caption := the framework's title, then by mode.
    void InitDisplay(const platform::DisplaySettings& settings, const std::string& title);

    const char* Identifier() const override { return window_.FrameworkIdentifier(); }
    int ClientWidth() const override { return window_.ClientWidth(); }
    int ClientHeight() const override { return window_.ClientHeight(); }
    void* NativeWindow() const override { return window_.NativeHandle(); }
    void PresentPixels(const uint8_t* bgra, int width, int height) override {
        window_.PresentPixels(bgra, width, height);
    }
    bool SetPresentVSync(bool wait) override { return window_.SetPresentVSync(wait); }
    int DisplayRefreshRate() const override {
        const int hz = window_.RefreshRate();
        return hz == platform::kNoDisplay ? kAdNoDisplay : hz;
    }
    uint32_t Ticks() override { return ticks_.Ticks(); }
    void Sleep(uint32_t milliseconds) override { ticks_.Sleep(milliseconds); }

    platform::Window& Window() const { return window_; }

private:
    platform::Window& window_;
    platform::TickSource& ticks_;
};

} // namespace ad
