// The off-screen window: display modes against a fake screen, a test-fed event queue, kept frames.
#include "engine/platform/Window.hpp"

#include <algorithm>

namespace ad::platform {

HeadlessWindow::HeadlessWindow(int clientWidth, int clientHeight)
    : width_(std::max(0, clientWidth)), height_(std::max(0, clientHeight)) {}

const char* HeadlessWindow::FrameworkIdentifier() const {
    return "headless";
}

void HeadlessWindow::SetClientSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
}

void HeadlessWindow::SetScreenSize(int width, int height) {
    screenWidth_ = std::max(0, width);
    screenHeight_ = std::max(0, height);
}

void HeadlessWindow::ApplyDisplayMode(const DisplaySettings& settings) {
    switch (settings.mode) {
    case DisplayMode::Designed:
        return;
    case DisplayMode::Window:
        bordered_ = true;
        SetClientSize(settings.width, settings.height);
        left_ = (screenWidth_ - width_) / 2;
        top_ = (screenHeight_ - height_) / 2;
        return;
    case DisplayMode::FullScreen:
        if (FindFullScreenMode(screenModes_, settings.width, settings.height, settings.bitDepth)) {
            SetScreenSize(settings.width, settings.height);
            screenModeSwitched_ = true;
        }
        [[fallthrough]];
    case DisplayMode::ScreenSized:
        bordered_ = false;
        width_ = screenWidth_;
        height_ = screenHeight_;
        left_ = 0;
        top_ = 0;
        return;
    }
}

bool HeadlessWindow::PollEvent(WindowEvent& event) {
    if (nextEvent_ >= events_.size()) {
        // Everything was taken: drop the consumed events so a long test does not keep them all.
        events_.clear();
        nextEvent_ = 0;
        return false;
    }
    event = events_[nextEvent_++];
    // Tests give mouse positions in the window's pixels, as a desktop would.
    if (event.kind == EventKind::MouseMove || event.kind == EventKind::MouseDown)
        MapToPicture(event.x, event.y);
    return true;
}

bool HeadlessWindow::WaitEvent(WindowEvent& event, uint32_t timeoutMs) {
    ++waitCount_;
    lastWaitTimeout_ = timeoutMs;
    if (waitHook_)
        waitHook_(timeoutMs);
    return PollEvent(event);
}

void HeadlessWindow::PresentPixels(const uint8_t* bgra, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    frame_.assign(bgra, bgra + (bgra != nullptr ? bytes : 0));
    frameWidth_ = bgra != nullptr ? width : 0;
    frameHeight_ = bgra != nullptr ? height : 0;
    ++presentCount_;
}

} // namespace ad::platform
