// The records a renderer library reports about itself before any object exists, and the reading of
// the properties it reports, shared by every renderer plugin.
#pragma once

#include <cstdint>

#include "engine/render/AdPluginApi.hpp"

namespace ad::plugin {

// Fills the kAdLibraryInfoSize-byte information record: the given title and the interface version.
void FillLibraryInformation(uint8_t* record, const char* title);
// Reports the named properties of the application object, one record each.
void ReportApplicationProperties(void* data, AdPropertyProc proc);
// Takes the "fullscreen" flag from the values the host sets; `fullscreen` is left alone when the
// values do not carry it.
void ReadFullscreenProperty(int count, const AdPropertyValue* values, bool& fullscreen);

} // namespace ad::plugin
