// A drawing surface on an off-screen window, initialised with the software renderer plugin.
#include "tests/support/HeadlessSurface.hpp"

#include <cstring>
#include <filesystem>

#include "tests/support/TestPaths.hpp"

namespace vimbo::test {

std::string SoftwarePluginPath() { return ProgramFolder() + "SoftwareAdPlugin.so"; }

HeadlessSurface::HeadlessSurface(int width, int height)
    : folder(MakeTempFolder("surface")), window(std::make_unique<ad::platform::HeadlessWindow>(width, height)),
      draw(std::make_unique<ad::TAdDraw>(window.get(), folder + "adlog.txt")) {
    draw->SetDllName(SoftwarePluginPath());
    draw->Initialize();
}

HeadlessSurface::~HeadlessSurface() {
    draw.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

uint32_t HeadlessSurface::FramePixel(int x, int y) const {
    uint32_t pixel = 0;
    const auto& frame = window->Frame();
    const size_t offset = (static_cast<size_t>(y) * static_cast<size_t>(window->FrameWidth()) + static_cast<size_t>(x)) * 4;
    if (offset + 4 <= frame.size()) std::memcpy(&pixel, frame.data() + offset, 4);
    return pixel;
}

} // namespace vimbo::test
