// A renderer plugin that draws nothing, built in variants that fail in each way the engine's loader
// and surface must survive (another version, no information record, no application object, a
// failing initialisation, an abort as it loads, a crash or a hang as it reports), and one offering
// options in several groups.
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "engine/render/AdPluginApi.hpp"

namespace {

class FakeApplication : public ad::AdApplication {
public:
    void SetViewPort(const ad::AdRect&) override {}
    void SetAmbientColor(ad::AdColor) override {}
    float TexelOffset() const override { return 0.0f; }
    ad::AdBitmapTexture* CreateBitmapTexture() override { return nullptr; }
    ad::AdRenderTargetTexture* CreateRenderTarget() override { return nullptr; }
    ad::AdMesh* CreateMesh() override { return nullptr; }
    ad::AdOcclusionQuery* CreateOcclusionQuery() override { return nullptr; }
    void* CreateLight() override { return nullptr; }
    void SetRenderTarget(ad::AdRenderTargetTexture*) override {}
    void SetProperties(int, const ad::AdPropertyValue*) override {}
    void SetOptions(uint16_t) override {}
    void SetStencilOptions(uint16_t, uint16_t, int) override {}
    void SetStencilEvent(int, int) override {}
    bool Initialize(ad::AdWindowFramework*) override { return FAKE_INIT_RESULT; }
    void Finalize() override {}
    void ClearSurface(const ad::AdRect&, int, ad::AdColor, float, int) override {}
    void BeginScene() override {}
    void EndScene() override {}
    void Flip() override {}
    void Setup2DScene(int, int, double, double) override {}
    void SetupFreeScene() override {}
    void SetupManualScene(const ad::AdMatrix&, const ad::AdMatrix&) override {}
    void GetScene(ad::AdMatrix& view, ad::AdMatrix& projection) const override {
        view = ad::AdMatrix::Identity();
        projection = ad::AdMatrix::Identity();
    }
    bool SupportsWindowFramework(const char* identifier) const override {
        return std::strcmp(identifier, FAKE_FRAMEWORK) == 0;
    }
    void SetLogCallback(ad::AdLogProc, void*) override {}
};

void ReportOption(void* data, ad::AdPropertyProc proc, const char* name, const char* caption,
                  const char* group, uint8_t type) {
    uint8_t record[ad::kAdPropertyRecordSize] = {};
    ad::AdWriteShortString(record + ad::kAdPropertyNameOffset, name, 64);
    ad::AdWriteShortString(record + ad::kAdPropertyCaptionOffset, caption, 64);
    ad::AdWriteShortString(record + ad::kAdPropertyGroupOffset, group, 64);
    record[ad::kAdPropertyTypeOffset] = type;
    proc(data, record);
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) ad::AdApplication* CreateApplication() {
    return FAKE_CREATES_APP ? new FakeApplication : nullptr;
}

__attribute__((visibility("default"))) void* CreateShaderSystem() { return nullptr; }

#if FAKE_MISBEHAVES == 1
__attribute__((constructor)) static void AbortAsItLoads() {
    std::abort();
}
#endif

#if FAKE_HAS_INFO
__attribute__((visibility("default"))) void AdLibraryInformation(uint8_t* record) {
#if FAKE_MISBEHAVES == 2
    // A stray write far outside the record, as a broken library's would be.
    volatile uint8_t* const stray = record + (static_cast<size_t>(1) << 46);
    *stray = 1;
#elif FAKE_MISBEHAVES == 3
    for (;;)
        ::pause();
#endif
    ad::AdWriteShortString(record + ad::kAdLibraryTitleOffset, FAKE_TITLE);
    ad::AdWriteShortString(record + ad::kAdLibraryVersionOffset, FAKE_VERSION);
}
#endif

__attribute__((visibility("default"))) void AdApplicationProperties(void* data, ad::AdPropertyProc proc) {
    ReportOption(data, proc, "fullscreen", "Full screen", "Resolution", ad::kAdPropertyHidden);
    ReportOption(data, proc, "smooth", "Smooth drawing", "Quality", ad::kAdPropertyBoolean);
#if FAKE_GROUPED_OPTIONS
    // Groups interleave, a boolean may sit in the resolution's group, and an option may be of a
    // kind the dialog has no control for.
    ReportOption(data, proc, "vsync", "Wait for the screen", "Display", ad::kAdPropertyBoolean);
    ReportOption(data, proc, "dither", "Dither colours", "Quality", ad::kAdPropertyBoolean);
    ReportOption(data, proc, "lowres", "Low resolution", "Resolution", ad::kAdPropertyBoolean);
    ReportOption(data, proc, "secret", "Secret", "Hidden", ad::kAdPropertyHidden);
    ReportOption(data, proc, "samples", "Samples", "Antialiasing", 2);
#endif
}

} // extern "C"
