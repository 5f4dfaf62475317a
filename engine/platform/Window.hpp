// The main window contract: size, caption, display mode, cursor, events and frame presentation.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DisplayModes.hpp"

namespace ad::platform {

// ToggleFullScreen is Alt+Enter, which never reaches the game as a key. The Pad events come from game
// controllers: a button pressed, the left stick's position, a controller unplugged.
enum class EventKind {
    KeyDown,
    MouseMove,
    MouseDown,
    Close,
    Expose,
    ToggleFullScreen,
    PadButton,
    PadStick,
    PadRemoved
};

enum class MouseButton { Left, Right, Middle };

// The controller buttons the game answers, named by their place on a standard pad.
enum class PadButton { A, B, Start, Up, Down, Left, Right };

struct WindowEvent {
    EventKind kind = EventKind::Expose;
    int key = 0; // virtual-key code for KeyDown (0 when the key has none)
    int x = 0;   // the picture's pixels for mouse events; the stick's axes (-32768..32767) for PadStick
    int y = 0;
    MouseButton button = MouseButton::Left;
    PadButton pad = PadButton::A;
};

// Where a picture of content size lands in an area when scaled to fit with its aspect kept: centred,
// with bars at the sides or at the top and bottom.
struct FitRect {
    int x = 0, y = 0, width = 0, height = 0;
};
FitRect FitInto(int contentWidth, int contentHeight, int areaWidth, int areaHeight);

// How the window covers the screen: the designed size and place, a centred window of the asked
// client size, a borderless window over the whole screen, or full screen after a mode switch.
enum class DisplayMode { Designed = 0, Window = 1, ScreenSized = 2, FullScreen = 3 };

// WaitEvent's timeout for "until an event arrives", however long that takes.
inline constexpr uint32_t kWaitForever = UINT32_MAX;

// Window::RefreshRate of a window whose frames are shown on no display.
inline constexpr int kNoDisplay = -1;

struct DisplaySettings {
    int width = 800;
    int height = 600;
    int bitDepth = 32;
    DisplayMode mode = DisplayMode::Designed;
};

class Window {
public:
    virtual ~Window() = default;

    virtual const char* FrameworkIdentifier() const = 0; // "sdl2" or "headless"
    virtual void* NativeHandle() const = 0;              // SDL_Window*, or nullptr

    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Caption() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual void SetClientSize(int width, int height) = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual bool Bordered() const = 0;
    // Applies a display mode; full screen switches the screen mode only when a matching mode
    // exists (otherwise the screen is left as it is and the window covers it borderless).
    virtual void ApplyDisplayMode(const DisplaySettings& settings) = 0;
    virtual void ShowSystemCursor(bool show) = 0;
    virtual void Show() = 0;

    // Takes the next pending event; false when none is waiting.
    virtual bool PollEvent(WindowEvent& event) = 0;
    // Blocks until an event arrives or the timeout passes (kWaitForever: no timeout); false on timeout.
    virtual bool WaitEvent(WindowEvent& event, uint32_t timeoutMs) = 0;

    // Shows a finished frame (rows top to bottom, B G R A per pixel), scaled to fit the window with
    // its aspect kept.
    virtual void PresentPixels(const uint8_t* bgra, int width, int height) = 0;
    // Whether PresentPixels holds each frame until the display's next refresh; answers whether the
    // window system now does so (false: it has no vertical sync, or was asked not to wait). A window
    // on no display has nothing to wait for.
    virtual bool SetPresentVSync(bool wait) {
        (void)wait;
        return false;
    }
    // The refresh rate of the display mode the window shows on, in Hz; 0 when the display reports
    // none, kNoDisplay when the window is on no display.
    virtual int RefreshRate() const { return kNoDisplay; }

    // The size of the picture the game draws. When the window's differs, the picture is scaled to
    // fit and mouse positions are mapped from the window into the picture. 0 x 0: the window's size.
    void SetLogicalSize(int width, int height) {
        logicalWidth_ = width;
        logicalHeight_ = height;
    }
    // Maps a client position into the picture's pixels (a point on a bar lands on the picture's edge).
    void MapToPicture(int& x, int& y) const;

private:
    int logicalWidth_ = 0;
    int logicalHeight_ = 0;
};

// A desktop window through SDL2, created hidden with the given client size and caption. Tries to
// make it OpenGL-capable so either renderer can bind to it. Returns nullptr with a reason when no
// display is available.
std::unique_ptr<Window> CreateSdlWindow(int clientWidth, int clientHeight, const std::string& caption,
                                        std::string& error);

// An off-screen window for tests: events are queued by the test, presented frames kept in memory.
class HeadlessWindow : public Window {
public:
    HeadlessWindow(int clientWidth, int clientHeight);

    const char* FrameworkIdentifier() const override;
    void* NativeHandle() const override { return nullptr; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    std::string Caption() const override { return caption_; }
    int ClientWidth() const override { return width_; }
    int ClientHeight() const override { return height_; }
    void SetClientSize(int width, int height) override;
    int Left() const override { return left_; }
    int Top() const override { return top_; }
    bool Bordered() const override { return bordered_; }
    void ApplyDisplayMode(const DisplaySettings& settings) override;
    void ShowSystemCursor(bool show) override { cursorShown_ = show; }
    void Show() override { shown_ = true; }
    bool PollEvent(WindowEvent& event) override;
    bool WaitEvent(WindowEvent& event, uint32_t timeoutMs) override;
    void PresentPixels(const uint8_t* bgra, int width, int height) override;
    int RefreshRate() const override { return refreshRate_; }

    void PushEvent(const WindowEvent& event) { events_.push_back(event); }
    bool CursorShown() const { return cursorShown_; }
    bool Shown() const { return shown_; }
    // The last presented frame and its size; empty before the first present.
    const std::vector<uint8_t>& Frame() const { return frame_; }
    int FrameWidth() const { return frameWidth_; }
    int FrameHeight() const { return frameHeight_; }
    int PresentCount() const { return presentCount_; }
    // Screen size the display modes are computed against.
    void SetScreenSize(int width, int height);
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    // The modes full screen may switch to, in the order a system would list them; a switch
    // changes the fake screen's size. Empty by default: full screen then covers the screen as it is.
    void SetScreenModes(std::vector<ScreenMode> modes) { screenModes_ = std::move(modes); }
    bool ScreenModeSwitched() const { return screenModeSwitched_; }
    // Pretends the frames are shown on a display of this refresh rate (0: one that reports none)
    // that has no vertical sync, as a virtual display; kNoDisplay by default.
    void SetRefreshRate(int hz) { refreshRate_ = hz; }
    // WaitEvent never blocks; it counts the calls, remembers the timeout and calls the hook first,
    // so a test can advance its clock by the time a real wait would have taken.
    void SetWaitHook(std::function<void(uint32_t timeoutMs)> hook) { waitHook_ = std::move(hook); }
    int WaitCount() const { return waitCount_; }
    uint32_t LastWaitTimeout() const { return lastWaitTimeout_; }

private:
    std::string caption_;
    int width_, height_;
    int left_ = 0, top_ = 0;
    int screenWidth_ = 1920, screenHeight_ = 1080;
    std::vector<ScreenMode> screenModes_;
    bool screenModeSwitched_ = false;
    int refreshRate_ = kNoDisplay;
    std::function<void(uint32_t)> waitHook_;
    int waitCount_ = 0;
    uint32_t lastWaitTimeout_ = 0;
    bool bordered_ = true;
    bool cursorShown_ = true;
    bool shown_ = false;
    std::vector<WindowEvent> events_;
    size_t nextEvent_ = 0;
    std::vector<uint8_t> frame_;
    int frameWidth_ = 0, frameHeight_ = 0;
    int presentCount_ = 0;
};

} // namespace ad::platform
