// The CPU renderer's application object: the plugin's entry point for the engine, drawing into
// memory and presenting finished frames through the window framework.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/common/FramePacer.hpp"
#include "plugins/common/PluginLibrary.hpp"
#include "plugins/software/SoftwareDevice.hpp"

namespace ad::software {

class SoftwareApplication final : public AdApplication {
public:
    SoftwareApplication();
    ~SoftwareApplication() override;

    void SetViewPort(const AdRect& viewport) override { device_->SetViewport(viewport); }
    void SetAmbientColor(AdColor color) override { device_->SetAmbient(color); }
    float TexelOffset() const override { return 0.0f; }
    AdBitmapTexture* CreateBitmapTexture() override;
    AdRenderTargetTexture* CreateRenderTarget() override;
    AdMesh* CreateMesh() override;
    AdOcclusionQuery* CreateOcclusionQuery() override;
    void* CreateLight() override { return nullptr; }
    void SetRenderTarget(AdRenderTargetTexture* target) override;
    void SetProperties(int count, const AdPropertyValue* values) override;
    void SetOptions(uint16_t options) override { device_->SetOptions(options); }
    void SetStencilOptions(uint16_t reference, uint16_t mask, int function) override {
        device_->SetStencilOptions(reference, mask, function);
    }
    void SetStencilEvent(int event, int operation) override { device_->SetStencilEvent(event, operation); }
    bool Initialize(AdWindowFramework* framework) override;
    void Finalize() override;
    void ClearSurface(const AdRect& rect, int layers, AdColor color, float depth, int stencil) override;
    void BeginScene() override {}
    void EndScene() override {}
    void Flip() override;
    void Setup2DScene(int width, int height, double zNear, double zFar) override;
    void SetupFreeScene() override {}
    void SetupManualScene(const AdMatrix& view, const AdMatrix& projection) override {
        device_->SetScene(view, projection);
    }
    void GetScene(AdMatrix& view, AdMatrix& projection) const override;
    bool SupportsWindowFramework(const char* identifier) const override;
    void SetLogCallback(AdLogProc proc, void* data) override {
        logProc_ = proc;
        logData_ = data;
    }

    // The screen as drawn so far (B G R A rows); for tests and tools, not part of the contract.
    const SoftwareFramebuffer& ScreenBuffer() const { return device_->Screen(); }
    // Chooses the fragment loops (the best for this processor by default); for tests and benchmarks,
    // which compare the levels, not part of the contract.
    void SetSpanLevel(SpanLevel level) { device_->SetSpanLevel(level); }
    // Whether the host asked for full screen; a window in memory has nothing to switch, so it is kept
    // only to be reported.
    bool FullscreenRequested() const { return switches_.fullscreen; }
    // How presented frames keep to the display since the last initialisation.
    plugin::PacingMode Pacing() const { return pacer_.Mode(); }

private:
    void Log(int type, const char* message) const;

    std::shared_ptr<SoftwareDevice> device_;
    AdWindowFramework* framework_ = nullptr;
    AdLogProc logProc_ = nullptr;
    void* logData_ = nullptr;
    plugin::PluginSwitches switches_;
    plugin::FramePacer pacer_;
};

} // namespace ad::software
