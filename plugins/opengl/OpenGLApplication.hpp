// The OpenGL renderer's application object: the plugin's entry point for the engine, drawing with
// an OpenGL 3.3 core context on the host's SDL window.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/common/FramePacer.hpp"
#include "plugins/common/PluginLibrary.hpp"
#include "plugins/opengl/OpenGLDevice.hpp"

namespace ad::opengl {

class OpenGLApplication final : public AdApplication {
public:
    OpenGLApplication();
    ~OpenGLApplication() override;

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
    // Only "sdl2" windows: the context is made on the window the framework hands over.
    bool Initialize(AdWindowFramework* framework) override;
    void Finalize() override;
    void ClearSurface(const AdRect& rect, int layers, AdColor color, float depth, int stencil) override {
        device_->Clear(rect, layers, color, depth, stencil);
    }
    void BeginScene() override {}
    void EndScene() override { device_->Flush(); }
    void Flip() override {
        device_->Present();
        pacer_.FramePresented();
    }
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

    // Draw calls sent in the last presented frame and so far in this one; for tools and tests.
    int DrawCallsLastFrame() const { return device_->DrawCallsLastFrame(); }
    int DrawCallsThisFrame() const { return device_->DrawCallsThisFrame(); }
    // Whether the screen is drawn in the window itself, and the screen's frame so far (B G R A,
    // top row first); for tools and tests.
    bool ScreenInWindow() const { return device_->ScreenInWindow(); }
    bool ReadScreen(uint8_t* bgra) { return device_->ReadScreen(bgra); }
    // Sends every batched draw; for tools that time the GPU's work.
    void Finish();
    // Whether the host asked for full screen; the window already covers the screen then.
    bool FullscreenRequested() const { return switches_.fullscreen; }
    // How presented frames keep to the display since the last initialisation.
    plugin::PacingMode Pacing() const { return pacer_.Mode(); }

private:
    void Log(int type, const std::string& message) const;

    std::shared_ptr<OpenGLDevice> device_;
    AdLogProc logProc_ = nullptr;
    void* logData_ = nullptr;
    plugin::PluginSwitches switches_;
    plugin::FramePacer pacer_;
};

} // namespace ad::opengl
