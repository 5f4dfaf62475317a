// The exported entry points of the OpenGL renderer library, looked up by name by the engine's loader.
#include <cstdint>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/common/PluginLibrary.hpp"
#include "plugins/opengl/OpenGLApplication.hpp"

#define VIMBO_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

VIMBO_PLUGIN_EXPORT ad::AdApplication* CreateApplication() {
    return new ad::opengl::OpenGLApplication();
}

// This renderer has no shader system for the host.
VIMBO_PLUGIN_EXPORT void* CreateShaderSystem() {
    return nullptr;
}

VIMBO_PLUGIN_EXPORT void AdLibraryInformation(uint8_t* record) {
    ad::plugin::FillLibraryInformation(record, "OpenGL renderer");
}

VIMBO_PLUGIN_EXPORT void AdApplicationProperties(void* data, ad::AdPropertyProc proc) {
    ad::plugin::ReportApplicationProperties(data, proc);
}
