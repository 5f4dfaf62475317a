// Library information and property records of the renderer plugins.
#include "plugins/common/PluginLibrary.hpp"

#include <strings.h>

#include <cstring>

namespace ad::plugin {

namespace {

void ReportProperty(void* data, AdPropertyProc proc, const char* name, const char* caption, const char* group,
                    uint8_t type) {
    uint8_t record[kAdPropertyRecordSize] = {};
    AdWriteShortString(record + kAdPropertyNameOffset, name, 64);
    AdWriteShortString(record + kAdPropertyCaptionOffset, caption, 64);
    AdWriteShortString(record + kAdPropertyGroupOffset, group, 64);
    record[kAdPropertyTypeOffset] = type;
    proc(data, record);
}

void ReadBoolean(const AdPropertyValue& value, const char* name, bool& target) {
    if (value.name != nullptr && strcasecmp(value.name, name) == 0 && value.data != nullptr &&
        value.size >= 1)
        target = *static_cast<const uint8_t*>(value.data) != 0;
}

} // namespace

void FillLibraryInformation(uint8_t* record, const char* title) {
    if (record == nullptr)
        return;
    std::memset(record, 0, kAdLibraryInfoSize);
    AdWriteShortString(record + kAdLibraryTitleOffset, title != nullptr ? title : "");
    AdWriteShortString(record + kAdLibraryVersionOffset, kAdLibraryVersion);
}

void ReportApplicationProperties(void* data, AdPropertyProc proc) {
    if (proc == nullptr)
        return;
    // Hidden: the engine sets them itself for full-screen modes; the setup dialog shows neither.
    ReportProperty(data, proc, "fullscreen", "Fullscreen", "Display", kAdPropertyHidden);
    ReportProperty(data, proc, "fullscreen_res", "Fullscreen resolution", "Display", kAdPropertyHidden);
    ReportProperty(data, proc, kNoVSyncProperty, kNoVSyncCaption, kNoVSyncGroup, kAdPropertyBoolean);
}

void ReadSwitches(int count, const AdPropertyValue* values, PluginSwitches& switches) {
    for (int i = 0; values != nullptr && i < count; ++i) {
        ReadBoolean(values[i], "fullscreen", switches.fullscreen);
        ReadBoolean(values[i], kNoVSyncProperty, switches.noVSync);
    }
}

} // namespace ad::plugin
