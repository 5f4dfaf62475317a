// Helpers for tests that open real windows or OpenGL contexts on a (virtual) display.
#include "tests/support/DisplayTests.hpp"

#include <dlfcn.h>
#include <filesystem>
#include <link.h>

#include "tests/support/TestPaths.hpp"

namespace vimbo::test {

void KeepLoadedLibrariesResident() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] == '/')
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

std::string OpenGLPluginPath() { return ProgramFolder() + "OpenGLAdPlugin.so"; }

OpenGLSurface::OpenGLSurface(int width, int height) : folder(MakeTempFolder("gl-surface")) {
    window = ad::platform::CreateSdlWindow(width, height, "test", reason);
    if (!window) {
        reason = "no display: " + reason;
        window = std::make_unique<ad::platform::HeadlessWindow>(width, height);
    }
    draw = std::make_unique<ad::TAdDraw>(window.get(), folder + "adlog.txt", ticks);
    draw->SetDllName(OpenGLPluginPath());
    if (reason.empty() && !draw->Initialize()) reason = "no OpenGL renderer: " + draw->LastError;
}

OpenGLSurface::~OpenGLSurface() {
    KeepLoadedLibrariesResident();
    draw.reset();
    window.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace vimbo::test
