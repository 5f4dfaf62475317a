// Library information and property records of the OpenGL renderer.
#include "plugins/opengl/OpenGLLibrary.hpp"

#include <cstring>

namespace ad::opengl {

void FillLibraryInformation(uint8_t* record) {
    if (record == nullptr)
        return;
    std::memset(record, 0, kAdLibraryInfoSize);
    AdWriteShortString(record + kAdLibraryTitleOffset, kOpenGLLibraryTitle);
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

} // namespace ad::opengl
