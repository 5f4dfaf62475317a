// Lifecycle, object creation, clearing and presenting of the CPU renderer.
#include "plugins/software/SoftwareApplication.hpp"

#include <cstring>
#include <string>

#include "plugins/common/PluginLibrary.hpp"
#include "plugins/software/SoftwareBlend.hpp"
#include "plugins/software/SoftwareMesh.hpp"
#include "plugins/software/SoftwareOcclusionQuery.hpp"
#include "plugins/software/SoftwareTextures.hpp"

namespace ad::software {

namespace {
constexpr const char* kLogSender = "SoftwareRenderer";
}

SoftwareApplication::SoftwareApplication() : device_(std::make_shared<SoftwareDevice>()) {}

SoftwareApplication::~SoftwareApplication() {
    device_->Finalize();
}

AdBitmapTexture* SoftwareApplication::CreateBitmapTexture() {
    return new SoftwareBitmapTexture();
}

AdRenderTargetTexture* SoftwareApplication::CreateRenderTarget() {
    return new SoftwareRenderTarget(device_);
}

AdMesh* SoftwareApplication::CreateMesh() {
    return new SoftwareMesh(device_);
}

AdOcclusionQuery* SoftwareApplication::CreateOcclusionQuery() {
    return new SoftwareOcclusionQuery(device_);
}

void SoftwareApplication::SetRenderTarget(AdRenderTargetTexture* target) {
    auto* ours = dynamic_cast<SoftwareRenderTarget*>(target);
    if (target != nullptr && ours == nullptr) {
        Log(kAdLogWarning, "render target of another renderer ignored; drawing to the screen");
    }
    device_->SetTarget(ours != nullptr ? &ours->Buffer() : nullptr);
}

void SoftwareApplication::SetProperties(int count, const AdPropertyValue* values) {
    plugin::ReadSwitches(count, values, switches_);
}

bool SoftwareApplication::Initialize(AdWindowFramework* framework) {
    Finalize();
    if (framework == nullptr) {
        Log(kAdLogError, "no window framework given");
        return false;
    }
    if (!SupportsWindowFramework(framework->Identifier())) {
        Log(kAdLogError, "unsupported window framework");
        return false;
    }
    const int width = framework->ClientWidth(), height = framework->ClientHeight();
    if (!device_->Initialize(width, height)) {
        Log(kAdLogError, "the window has no client area to draw into");
        return false;
    }
    framework_ = framework;
    const std::string message = "initialised a " + std::to_string(width) + " x " + std::to_string(height) +
                                " frame on \"" + framework->Identifier() + "\"";
    Log(kAdLogInfo, message.c_str());
    // The window system's own vertical sync goes with its presents; asking a window on no display
    // would only make it set up presenting early.
    const bool onDisplay = framework->DisplayRefreshRate() != kAdNoDisplay;
    const bool vsyncHeld = onDisplay && framework->SetPresentVSync(!switches_.noVSync);
    Log(kAdLogInfo, pacer_.Start(*framework, switches_.noVSync, vsyncHeld).c_str());
    return true;
}

void SoftwareApplication::Finalize() {
    if (framework_ != nullptr)
        Log(kAdLogInfo, "finalised");
    device_->Finalize();
    framework_ = nullptr;
}

void SoftwareApplication::ClearSurface(const AdRect& rect, int layers, AdColor color, float depth,
                                       int stencil) {
    if (!device_->Initialized())
        return;
    device_->Current().Clear(rect, layers, PackColor(color), depth, static_cast<uint8_t>(stencil & 0xFF));
}

void SoftwareApplication::Flip() {
    if (framework_ == nullptr || !device_->Initialized())
        return;
    const SoftwareFramebuffer& screen = device_->Screen();
    framework_->PresentPixels(reinterpret_cast<const uint8_t*>(screen.Colors()), screen.Width(),
                              screen.Height());
    pacer_.FramePresented();
}

void SoftwareApplication::Setup2DScene(int width, int height, double zNear, double zFar) {
    AdMatrix view, projection;
    AdSetup2DScene(width, height, zNear, zFar, view, projection);
    device_->SetScene(view, projection);
}

void SoftwareApplication::GetScene(AdMatrix& view, AdMatrix& projection) const {
    view = device_->View();
    projection = device_->Projection();
}

bool SoftwareApplication::SupportsWindowFramework(const char* identifier) const {
    return identifier != nullptr && (std::strcmp(identifier, kAdFrameworkSdl) == 0 ||
                                     std::strcmp(identifier, kAdFrameworkHeadless) == 0);
}

void SoftwareApplication::Log(int type, const char* message) const {
    if (logProc_ != nullptr)
        logProc_(logData_, kLogSender, type, message);
}

} // namespace ad::software
