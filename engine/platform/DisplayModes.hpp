// Enumeration of the screen's display modes and the desktop's current one.
#pragma once

#include <optional>
#include <vector>

namespace ad::platform {

struct ScreenMode {
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int frequency = 0;
};

// The modes of the main screen in the order the system lists them; empty without a display.
std::vector<ScreenMode> EnumerateScreenModes();

// The desktop's current mode; zeros without a display.
ScreenMode DesktopScreenMode();

// The first mode (in list order) with exactly the asked width, height and bit depth, as the
// full-screen switch picks it; nothing when none matches.
std::optional<ScreenMode> FindFullScreenMode(const std::vector<ScreenMode>& modes, int width, int height,
                                             int bitDepth);

} // namespace ad::platform
