// A drawing surface on an off-screen window, initialised with the software renderer plugin, for
// tests that draw without a display.
#pragma once

#include <memory>
#include <string>

#include "engine/platform/Window.hpp"
#include "engine/render/AdDraws.hpp"

namespace vimbo::test {

struct HeadlessSurface {
    // Loads the software plugin from the program folder and initialises it at width x height; the
    // log goes into a temporary folder. Check `draw->Initialized()`.
    HeadlessSurface(int width, int height);
    ~HeadlessSurface();

    // The B G R A pixel at (x, y) of the last presented frame, as 0xAARRGGBB.
    uint32_t FramePixel(int x, int y) const;

    std::string folder;
    std::unique_ptr<ad::platform::HeadlessWindow> window;
    std::unique_ptr<ad::TAdDraw> draw;
};

// The software plugin's path in the program folder.
std::string SoftwarePluginPath();

} // namespace vimbo::test
