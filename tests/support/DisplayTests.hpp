// Helpers for tests that open real windows or OpenGL contexts on a (virtual) display.
#pragma once

#include <memory>
#include <string>

#include "engine/platform/TickSource.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdDraws.hpp"

namespace vimbo::test {

// The display's OpenGL driver keeps small allocations for the life of the process and is unloaded
// when the last window goes, which leaves the leak checker with nameless frames. Keeping every
// loaded library resident lets the leak report name them, so that system libraries can be
// suppressed (tests/support/lsan-system.supp). Call it before the last window is destroyed.
void KeepLoadedLibrariesResident();

// A drawing surface on a hidden SDL window, initialised with the OpenGL renderer plugin. Without a
// display or an OpenGL 3.3 context `draw` stays uninitialised and `reason` says why: skip then.
struct OpenGLSurface {
    OpenGLSurface(int width, int height);
    ~OpenGLSurface();

    std::string folder;
    std::string reason;
    // The renderer paces frames on this clock, which moves only by its own waits.
    ad::platform::ManualTicks ticks;
    std::unique_ptr<ad::platform::Window> window;
    std::unique_ptr<ad::TAdDraw> draw;
};

// The OpenGL plugin's path in the program folder.
std::string OpenGLPluginPath();

} // namespace vimbo::test
