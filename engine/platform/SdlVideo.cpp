// Starts and stops SDL video for windows and display queries, refusing display-less drivers.
#include "engine/platform/SdlVideo.hpp"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

namespace ad::platform {

namespace {

bool DriverWasAskedFor() {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked != nullptr && asked[0] != '\0';
}

bool ShowsNothing(const char* driver) {
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

} // namespace

SdlVideoReference::~SdlVideoReference() {
    Release();
}

void SdlVideoReference::Release() {
    if (held_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    held_ = false;
}

bool SdlVideoReference::Acquire(std::string& error) {
    if (held_)
        return true;
    // The game closes through its own window event; SDL must not add a second, global quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A window surface is the window system's own framebuffer, a plain copy per frame. SDL's default
    // stand-in draws it through an OpenGL renderer instead, which on a CPU rasteriser costs several
    // times as much.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // An X server refuses a connection now and then when the previous one closed a moment ago;
    // SDL then quietly falls back to a display-less driver. Such a refusal is worth a few retries.
    constexpr int kAttempts = 5;
    constexpr Uint32 kRetryDelayMs = 20;
    for (int attempt = 1;; ++attempt) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            error = std::string("cannot start SDL video: ") + SDL_GetError();
            return false;
        }
        held_ = true;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (!ShowsNothing(driver) || DriverWasAskedFor())
            return true;
        Release();
        if (attempt == kAttempts) {
            error = std::string("no display available (SDL video fell back to '") + (driver ? driver : "none") +
                    "')";
            return false;
        }
        SDL_Delay(kRetryDelayMs);
    }
}

} // namespace ad::platform
