// Lists the main screen's display modes through SDL, initialising its video part only for the query.
#include "engine/platform/DisplayModes.hpp"

#include <SDL2/SDL.h>

#include "engine/platform/SdlVideo.hpp"

namespace ad::platform {

namespace {

ScreenMode FromSdl(const SDL_DisplayMode& mode) {
    return ScreenMode{mode.w, mode.h, static_cast<int>(SDL_BYTESPERPIXEL(mode.format)) * 8,
                      mode.refresh_rate};
}

} // namespace

std::vector<ScreenMode> EnumerateScreenModes() {
    std::vector<ScreenMode> modes;
    SdlVideoReference video;
    std::string error;
    if (!video.Acquire(error))
        return modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) == 0)
            modes.push_back(FromSdl(mode));
    }
    return modes;
}

std::optional<ScreenMode> FindFullScreenMode(const std::vector<ScreenMode>& modes, int width, int height,
                                             int bitDepth) {
    for (const ScreenMode& mode : modes) {
        if (mode.width == width && mode.height == height && mode.bitDepth == bitDepth)
            return mode;
    }
    return std::nullopt;
}

ScreenMode DesktopScreenMode() {
    SdlVideoReference video;
    std::string error;
    SDL_DisplayMode mode{};
    if (!video.Acquire(error) || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return ScreenMode{};
    return FromSdl(mode);
}

} // namespace ad::platform
