// Library information and property records of the renderer plugins.
#include "plugins/common/PluginLibrary.hpp"

#include <strings.h>

#include <cstring>

namespace ad::plugin {

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
    struct Property {
        const char* name;
        const char* caption;
    };
    // Hidden: the engine sets them itself for full-screen modes; the setup dialog shows neither.
    static constexpr Property kProperties[] = {{"fullscreen", "Fullscreen"},
                                               {"fullscreen_res", "Fullscreen resolution"}};
    for (const Property& p : kProperties) {
        uint8_t record[kAdPropertyRecordSize] = {};
        AdWriteShortString(record + kAdPropertyNameOffset, p.name, 64);
        AdWriteShortString(record + kAdPropertyCaptionOffset, p.caption, 64);
        AdWriteShortString(record + kAdPropertyGroupOffset, "Display", 64);
        record[kAdPropertyTypeOffset] = kAdPropertyHidden;
        proc(data, record);
    }
}

void ReadFullscreenProperty(int count, const AdPropertyValue* values, bool& fullscreen) {
    for (int i = 0; values != nullptr && i < count; ++i) {
        const AdPropertyValue& p = values[i];
        if (p.name != nullptr && strcasecmp(p.name, "fullscreen") == 0 && p.data != nullptr && p.size >= 1)
            fullscreen = *static_cast<const uint8_t*>(p.data) != 0;
    }
}

} // namespace ad::plugin
