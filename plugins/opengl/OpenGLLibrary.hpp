// The records the OpenGL renderer's library reports about itself before any object exists.
#pragma once

#include <cstdint>

#include "engine/render/AdPluginApi.hpp"

namespace ad::opengl {

inline constexpr const char* kOpenGLLibraryTitle = "OpenGL renderer";

// Fills the kAdLibraryInfoSize-byte information record: title and version.
void FillLibraryInformation(uint8_t* record);
// Reports the named properties of the application object, one record each.
void ReportApplicationProperties(void* data, AdPropertyProc proc);

} // namespace ad::opengl
