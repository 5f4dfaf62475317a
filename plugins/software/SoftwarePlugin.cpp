// The exported entry points of the CPU renderer library, looked up by name by the engine's loader.
#include <cstdint>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/common/PluginLibrary.hpp"
#include "plugins/software/SoftwareApplication.hpp"

#define VIMBO_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

VIMBO_PLUGIN_EXPORT ad::AdApplication* CreateApplication() {
    return new ad::software::SoftwareApplication();
}

// This renderer has no shader system.
VIMBO_PLUGIN_EXPORT void* CreateShaderSystem() {
    return nullptr;
}

VIMBO_PLUGIN_EXPORT void AdLibraryInformation(uint8_t* record) {
    ad::plugin::FillLibraryInformation(record, "Software renderer");
}

VIMBO_PLUGIN_EXPORT void AdApplicationProperties(void* data, ad::AdPropertyProc proc) {
    ad::plugin::ReportApplicationProperties(data, proc);
}
