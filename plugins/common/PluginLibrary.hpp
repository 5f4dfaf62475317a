// The records a renderer library reports about itself before any object exists, and the reading of
// the properties it reports, shared by every renderer plugin.
#pragma once

#include <cstdint>

#include "engine/render/AdPluginApi.hpp"

namespace ad::plugin {

// The boolean option that lets frames go out without waiting for the display's refresh. Missing
// from the settings it reads as false, so waiting is what a first start does.
inline constexpr const char* kNoVSyncProperty = "NoVSync";
inline constexpr const char* kNoVSyncCaption = "Draw without waiting for the display's refresh";
// A group of its own, so the setup dialog gives it a section of its own.
inline constexpr const char* kNoVSyncGroup = "Display refresh";

// What the host sets on an application object before its initialisation.
struct PluginSwitches {
    bool fullscreen = false; // the host asked for full screen
    bool noVSync = false;    // frames go out at once instead of at the display's refresh
};

// Fills the kAdLibraryInfoSize-byte information record: the given title and the interface version.
void FillLibraryInformation(uint8_t* record, const char* title);
// Reports the named properties of the application object, one record each.
void ReportApplicationProperties(void* data, AdPropertyProc proc);
// Takes the switches from the values the host sets; a switch the values do not carry keeps its value.
void ReadSwitches(int count, const AdPropertyValue* values, PluginSwitches& switches);

} // namespace ad::plugin
