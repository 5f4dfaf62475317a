// The desktop window through SDL2: display modes, events in the game's terms, and frame presentation.
#include "engine/platform/Window.hpp"

#include <SDL2/SDL.h>

#include <algorithm>
#include <string_view>

#include "engine/platform/QuitSignals.hpp"
#include "engine/platform/SdlGamepads.hpp"
#include "engine/platform/SdlKeys.hpp"
#include "engine/platform/SdlVideo.hpp"
#include "engine/platform/TickSource.hpp"

namespace ad::platform {

namespace {

// How often a wait for events looks for a quit signal.
constexpr uint32_t kQuitSignalLookMs = 100;

struct SdlDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
template <typename T> using SdlPtr = std::unique_ptr<T, SdlDeleter>;

class SdlWindow : public Window {
public:
    SdlWindow(std::unique_ptr<SdlVideoReference> video, SdlPtr<SDL_Window> window)
        : video_(std::move(video)), window_(std::move(window)) {}
    ~SdlWindow() override {
        // The texture belongs to the renderer and the renderer to the window: free in that order.
        texture_.reset();
        renderer_.reset();
        window_.reset();
    }

    const char* FrameworkIdentifier() const override { return "sdl2"; }
    void* NativeHandle() const override { return window_.get(); }
    void SetCaption(const std::string& caption) override {
        SDL_SetWindowTitle(window_.get(), caption.c_str());
    }
    std::string Caption() const override { return SDL_GetWindowTitle(window_.get()); }
    int ClientWidth() const override { return WindowSize().x; }
    int ClientHeight() const override { return WindowSize().y; }
    void SetClientSize(int width, int height) override { SDL_SetWindowSize(window_.get(), width, height); }
    int Left() const override { return WindowPosition().x; }
    int Top() const override { return WindowPosition().y; }
    bool Bordered() const override {
        return (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_BORDERLESS) == 0;
    }
    void ApplyDisplayMode(const DisplaySettings& settings) override;
    void ShowSystemCursor(bool show) override { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }
    void Show() override { SDL_ShowWindow(window_.get()); }
    bool PollEvent(WindowEvent& event) override;
    bool WaitEvent(WindowEvent& event, uint32_t timeoutMs) override;
    void PresentPixels(const uint8_t* bgra, int width, int height) override;
    bool SetPresentVSync(bool wait) override;
    int RefreshRate() const override;

private:
    SDL_Point WindowSize() const {
        SDL_Point size{0, 0};
        SDL_GetWindowSize(window_.get(), &size.x, &size.y);
        return size;
    }
    SDL_Point WindowPosition() const {
        SDL_Point place{0, 0};
        SDL_GetWindowPosition(window_.get(), &place.x, &place.y);
        return place;
    }
    SDL_Rect DisplayBounds() const;
    void ApplyWindowed(int width, int height);
    void ApplyScreenSized();
    bool SwitchFullScreen(const DisplaySettings& settings);
    bool Translate(const SDL_Event& sdl, WindowEvent& event);
    void ToClientPixels(int& x, int& y) const;
    bool EnsureRenderer();
    bool RendererHoldsFrames() const;
    bool PresentThroughRenderer(const uint8_t* bgra, int width, int height);
    bool PresentThroughSurface(const uint8_t* bgra, int width, int height);

    std::unique_ptr<SdlVideoReference> video_;
    SdlGamepads pads_;
    SdlPtr<SDL_Window> window_;
    SdlPtr<SDL_Renderer> renderer_;
    SdlPtr<SDL_Texture> texture_;
    int textureWidth_ = 0, textureHeight_ = 0;
    bool rendererFailed_ = false;
    // Frames go to the window surface rather than through the renderer.
    bool presentToSurface_ = false;
};

SDL_Rect SdlWindow::DisplayBounds() const {
    int display = SDL_GetWindowDisplayIndex(window_.get());
    if (display < 0)
        display = 0;
    SDL_Rect bounds{0, 0, 0, 0};
    SDL_GetDisplayBounds(display, &bounds);
    return bounds;
}

void SdlWindow::ApplyWindowed(int width, int height) {
    SDL_SetWindowFullscreen(window_.get(), 0);
    SDL_SetWindowBordered(window_.get(), SDL_TRUE);
    SDL_SetWindowSize(window_.get(), width, height);
    const SDL_Rect screen = DisplayBounds();
    SDL_SetWindowPosition(window_.get(), screen.x + (screen.w - width) / 2,
                          screen.y + (screen.h - height) / 2);
}

// Full screen at the desktop's own mode: the window manager gives the window the whole screen (no
// panels over it) and the screen keeps its mode; a picture of another size is scaled to it.
void SdlWindow::ApplyScreenSized() {
    SDL_SetWindowFullscreen(window_.get(), 0);
    SDL_SetWindowBordered(window_.get(), SDL_FALSE);
    const SDL_Rect screen = DisplayBounds();
    SDL_SetWindowSize(window_.get(), screen.w, screen.h);
    SDL_SetWindowPosition(window_.get(), screen.x, screen.y);
    SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool SdlWindow::SwitchFullScreen(const DisplaySettings& settings) {
    int display = SDL_GetWindowDisplayIndex(window_.get());
    if (display < 0)
        display = 0;
    const int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(display, i, &mode) != 0)
            continue;
        // Bit depth counts the bytes a pixel takes, so 24-bit colour in 32-bit pixels counts as 32.
        const ScreenMode candidate{mode.w, mode.h, static_cast<int>(SDL_BYTESPERPIXEL(mode.format)) * 8,
                                   mode.refresh_rate};
        if (!FindFullScreenMode({candidate}, settings.width, settings.height, settings.bitDepth))
            continue;
        if (SDL_SetWindowDisplayMode(window_.get(), &mode) != 0)
            return false;
        SDL_SetWindowBordered(window_.get(), SDL_FALSE);
        if (SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN) == 0)
            return true;
        SDL_SetWindowFullscreen(window_.get(), 0);
        return false;
    }
    return false;
}

void SdlWindow::ApplyDisplayMode(const DisplaySettings& settings) {
    switch (settings.mode) {
    case DisplayMode::Designed:
        return;
    case DisplayMode::Window:
        ApplyWindowed(settings.width, settings.height);
        return;
    case DisplayMode::FullScreen:
        if (SwitchFullScreen(settings))
            return;
        ApplyScreenSized(); // the screen keeps its mode; the window covers it instead
        return;
    case DisplayMode::ScreenSized:
        ApplyScreenSized();
        return;
    }
}

void SdlWindow::ToClientPixels(int& x, int& y) const {
    const SDL_Point size = WindowSize();
    int pixelW = size.x, pixelH = size.y;
    SDL_GetWindowSizeInPixels(window_.get(), &pixelW, &pixelH);
    // High-density displays report the mouse in window points; the game counts drawable pixels.
    if (size.x > 0 && pixelW != size.x)
        x = static_cast<int>(static_cast<int64_t>(x) * pixelW / size.x);
    if (size.y > 0 && pixelH != size.y)
        y = static_cast<int>(static_cast<int64_t>(y) * pixelH / size.y);
}

bool SdlWindow::Translate(const SDL_Event& sdl, WindowEvent& event) {
    if (pads_.Translate(sdl, event))
        return true;
    event = WindowEvent{};
    switch (sdl.type) {
    case SDL_KEYDOWN:
        if (sdl.key.keysym.sym == SDLK_RETURN && (sdl.key.keysym.mod & KMOD_ALT) != 0) {
            // Full screen and back; held down it must not flip on every repeat.
            if (sdl.key.repeat != 0)
                return false;
            event.kind = EventKind::ToggleFullScreen;
            return true;
        }
        // Repeats stay in: the game expects the desktop's auto-repeat on held keys.
        event.kind = EventKind::KeyDown;
        event.key = VirtualKeyFromSdl(sdl.key.keysym.sym);
        return true;
    case SDL_MOUSEMOTION:
        event.kind = EventKind::MouseMove;
        event.x = sdl.motion.x;
        event.y = sdl.motion.y;
        ToClientPixels(event.x, event.y);
        MapToPicture(event.x, event.y);
        return true;
    case SDL_MOUSEBUTTONDOWN:
        if (sdl.button.button == SDL_BUTTON_LEFT) {
            event.button = MouseButton::Left;
        } else if (sdl.button.button == SDL_BUTTON_RIGHT) {
            event.button = MouseButton::Right;
        } else if (sdl.button.button == SDL_BUTTON_MIDDLE) {
            event.button = MouseButton::Middle;
        } else {
            return false;
        }
        event.kind = EventKind::MouseDown;
        event.x = sdl.button.x;
        event.y = sdl.button.y;
        ToClientPixels(event.x, event.y);
        MapToPicture(event.x, event.y);
        return true;
    case SDL_QUIT:
        event.kind = EventKind::Close;
        return true;
    case SDL_WINDOWEVENT:
        if (sdl.window.event == SDL_WINDOWEVENT_CLOSE) {
            event.kind = EventKind::Close;
            return true;
        }
        if (sdl.window.event == SDL_WINDOWEVENT_EXPOSED || sdl.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            event.kind = EventKind::Expose;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool SdlWindow::PollEvent(WindowEvent& event) {
    // A quit signal asks the game to end as closing its window does.
    if (QuitSignalled() != 0) {
        event = WindowEvent{};
        event.kind = EventKind::Close;
        return true;
    }
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl) != 0) {
        if (Translate(sdl, event))
            return true;
    }
    return false;
}

bool SdlWindow::WaitEvent(WindowEvent& event, uint32_t timeoutMs) {
    if (PollEvent(event))
        return true;
    if (timeoutMs == 0)
        return false;
    TickSource& ticks = SystemTicks(); // the display's events come in real time
    const uint32_t start = ticks.Ticks();
    uint32_t remaining = timeoutMs;
    SDL_Event sdl;
    for (;;) {
        // SDL's wait does not wake for a signal: it is waited for in slices, looking in between.
        const uint32_t slice = std::min(remaining, kQuitSignalLookMs);
        const int got = SDL_WaitEventTimeout(&sdl, static_cast<int>(slice));
        if (QuitSignalled() != 0)
            return PollEvent(event);
        if (got != 0 && Translate(sdl, event))
            return true;
        // Neither an event the game does not see (focus, key release) nor a slice may extend the
        // whole wait.
        if (timeoutMs == kWaitForever)
            continue;
        const uint32_t waited = ticks.Ticks() - start;
        if (waited >= timeoutMs)
            return false;
        remaining = timeoutMs - waited;
    }
}

bool SdlWindow::EnsureRenderer() {
    if (!renderer_ && !rendererFailed_) {
        renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
        rendererFailed_ = !renderer_;
    }
    return renderer_ != nullptr;
}

// Where the driver refuses a swap interval, SDL stands in with a sleep of its own after each present.
// That is no vertical sync, and no clock of the host's drives it, so it counts as none: the plugin
// paces such frames on the host's clock instead.
bool SdlWindow::RendererHoldsFrames() const {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer_.get(), &info) != 0 || info.name == nullptr)
        return false;
    // The OpenGL-based renderers set the swap interval of their context, which is current now.
    return std::string_view(info.name).starts_with("opengl") && SDL_GL_GetSwapInterval() != 0;
}

bool SdlWindow::SetPresentVSync(bool wait) {
    presentToSurface_ = false;
    if (!EnsureRenderer())
        return false;
    SDL_RenderSetVSync(renderer_.get(), wait ? 1 : 0);
    if (!wait)
        return false;
    if (RendererHoldsFrames())
        return true;
    // A renderer without a vertical sync is a CPU rasteriser's or a virtual display's; through it a
    // frame costs several times the plain copy into the window surface, and it holds nothing.
    texture_.reset();
    renderer_.reset();
    presentToSurface_ = true;
    return false;
}

int SdlWindow::RefreshRate() const {
    int display = SDL_GetWindowDisplayIndex(window_.get());
    if (display < 0)
        display = 0;
    SDL_DisplayMode mode{};
    if (SDL_GetCurrentDisplayMode(display, &mode) != 0)
        return 0;
    return std::max(mode.refresh_rate, 0);
}

bool SdlWindow::PresentThroughRenderer(const uint8_t* bgra, int width, int height) {
    if (!EnsureRenderer())
        return false;
    if (!texture_ || textureWidth_ != width || textureHeight_ != height) {
        // BGRA32 names the byte order, so the frame's B, G, R, A bytes fit on any endianness.
        texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_BGRA32, SDL_TEXTUREACCESS_STREAMING,
                                         width, height));
        if (!texture_)
            return false;
        textureWidth_ = width;
        textureHeight_ = height;
    }
    if (SDL_UpdateTexture(texture_.get(), nullptr, bgra, width * 4) != 0)
        return false;
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_.get(), &outputWidth, &outputHeight);
    const FitRect fit = FitInto(width, height, outputWidth, outputHeight);
    const SDL_Rect place{fit.x, fit.y, fit.width, fit.height};
    SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer_.get());
    SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &place);
    SDL_RenderPresent(renderer_.get());
    return true;
}

bool SdlWindow::PresentThroughSurface(const uint8_t* bgra, int width, int height) {
    SDL_Surface* target = SDL_GetWindowSurface(window_.get());
    if (target == nullptr)
        return false;
    // The frame is only read; SDL's API wants a mutable pointer for surfaces made from memory.
    SdlPtr<SDL_Surface> frame(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(bgra), width, height,
                                                                 32, width * 4, SDL_PIXELFORMAT_BGRA32));
    if (!frame)
        return false;
    // The frame is opaque whatever its alpha bytes hold, as through the renderer; a blended blit
    // would also cost several times a copy.
    SDL_SetSurfaceBlendMode(frame.get(), SDL_BLENDMODE_NONE);
    const FitRect fit = FitInto(width, height, target->w, target->h);
    SDL_Rect place{fit.x, fit.y, fit.width, fit.height};
    if (fit.width != target->w || fit.height != target->h)
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    if (fit.width == width && fit.height == height)
        SDL_BlitSurface(frame.get(), nullptr, target, &place);
    else
        SDL_BlitScaled(frame.get(), nullptr, target, &place);
    SDL_UpdateWindowSurface(window_.get());
    return true;
}

void SdlWindow::PresentPixels(const uint8_t* bgra, int width, int height) {
    if (bgra == nullptr || width <= 0 || height <= 0)
        return;
    if (presentToSurface_) {
        if (PresentThroughSurface(bgra, width, height))
            return;
        // A window system without surfaces of its own (SDL offers them only through a renderer
        // there) keeps to the renderer.
        presentToSurface_ = false;
    }
    if (!PresentThroughRenderer(bgra, width, height) && !renderer_)
        PresentThroughSurface(bgra, width, height);
}

} // namespace

std::unique_ptr<Window> CreateSdlWindow(int clientWidth, int clientHeight, const std::string& caption,
                                        std::string& error) {
    auto video = std::make_unique<SdlVideoReference>();
    if (!video->Acquire(error))
        return nullptr;
    const Uint32 hidden = SDL_WINDOW_HIDDEN;
    // The OpenGL renderer draws the screen straight into the window and keeps depth and stencil in
    // its own off-screen targets; a colour-only window keeps software OpenGL on its fast paths.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // An OpenGL-capable window lets the OpenGL renderer bind to it; a plain one still serves the
    // software renderer, so its absence is no failure.
    SDL_Window* window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          clientWidth, clientHeight, hidden | SDL_WINDOW_OPENGL);
    if (window == nullptr) {
        window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  clientWidth, clientHeight, hidden);
    }
    if (window == nullptr) {
        error = std::string("cannot create a window: ") + SDL_GetError();
        return nullptr;
    }
    error.clear();
    return std::make_unique<SdlWindow>(std::move(video), SdlPtr<SDL_Window>(window));
}

} // namespace ad::platform
