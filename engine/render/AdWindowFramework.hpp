// Binds a drawing surface to the main window: sizes and styles the window for the chosen display
// mode and hands the plugin what it draws into (the desktop window or the off-screen frame).
#pragma once

#include <string>

#include "engine/platform/Window.hpp"
#include "engine/render/AdPluginApi.hpp"

namespace ad {

class TAdWindowFramework : public AdWindowFramework {
public:
    explicit TAdWindowFramework(platform::Window& window) : window_(window) {}

    // Styles the window for the display settings: caption := the framework's title, then by mode.
    void InitDisplay(const platform::DisplaySettings& settings, const std::string& title);

    const char* Identifier() const override { return window_.FrameworkIdentifier(); }
    int ClientWidth() const override { return window_.ClientWidth(); }
    int ClientHeight() const override { return window_.ClientHeight(); }
    void* NativeWindow() const override { return window_.NativeHandle(); }
    void PresentPixels(const uint8_t* bgra, int width, int height) override {
        window_.PresentPixels(bgra, width, height);
    }

    platform::Window& Window() const { return window_; }

private:
    platform::Window& window_;
};

} // namespace ad
