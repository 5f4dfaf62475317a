// Lifecycle and object creation of the OpenGL renderer.
#include "plugins/opengl/OpenGLApplication.hpp"

#include <cstring>
#include <string>

#include "plugins/common/PluginLibrary.hpp"
#include "plugins/opengl/OpenGLMesh.hpp"
#include "plugins/opengl/OpenGLOcclusionQuery.hpp"
#include "plugins/opengl/OpenGLTextures.hpp"

namespace ad::opengl {

namespace {
constexpr const char* kLogSender = "OpenGLRenderer";
}

OpenGLApplication::OpenGLApplication() : device_(std::make_shared<OpenGLDevice>()) {}

OpenGLApplication::~OpenGLApplication() {
    device_->Finalize();
}

AdBitmapTexture* OpenGLApplication::CreateBitmapTexture() {
    return new OpenGLBitmapTexture(device_);
}

AdRenderTargetTexture* OpenGLApplication::CreateRenderTarget() {
    return new OpenGLRenderTarget(device_);
}

AdMesh* OpenGLApplication::CreateMesh() {
    return new OpenGLMesh(device_);
}

AdOcclusionQuery* OpenGLApplication::CreateOcclusionQuery() {
    return new OpenGLOcclusionQuery(device_);
}

void OpenGLApplication::SetRenderTarget(AdRenderTargetTexture* target) {
    auto* ours = dynamic_cast<OpenGLRenderTarget*>(target);
    if (target != nullptr && ours == nullptr)
        Log(kAdLogWarning, "render target of another renderer ignored; drawing to the screen");
    device_->SetTarget(ours != nullptr ? &ours->Surface() : nullptr);
}

void OpenGLApplication::SetProperties(int count, const AdPropertyValue* values) {
    plugin::ReadSwitches(count, values, switches_);
}

bool OpenGLApplication::Initialize(AdWindowFramework* framework) {
    Finalize();
    if (framework == nullptr) {
        Log(kAdLogError, "no window framework given");
        return false;
    }
    if (!SupportsWindowFramework(framework->Identifier())) {
        Log(kAdLogError, std::string("unsupported window framework \"") +
                             (framework->Identifier() != nullptr ? framework->Identifier() : "") + "\"");
        return false;
    }
    const int width = framework->ClientWidth(), height = framework->ClientHeight();
    if (width <= 0 || height <= 0) {
        Log(kAdLogError, "the window has no client area to draw into");
        return false;
    }
    std::string error;
    if (!device_->Initialize(static_cast<SDL_Window*>(framework->NativeWindow()), width, height, error)) {
        Log(kAdLogError, error);
        return false;
    }
    Log(kAdLogInfo,
        "initialised a " + std::to_string(width) + " x " + std::to_string(height) + " frame with " +
            device_->Description() +
            (device_->ScreenInWindow() ? ", drawn in the window" : ", drawn off-screen and scaled"));
    const bool vsyncHeld = device_->SetSwapWait(!switches_.noVSync);
    Log(kAdLogInfo, pacer_.Start(*framework, switches_.noVSync, vsyncHeld));
    return true;
}

void OpenGLApplication::Finalize() {
    if (!device_->Initialized())
        return;
    device_->Finalize();
    Log(kAdLogInfo, "finalised");
}

void OpenGLApplication::Setup2DScene(int width, int height, double zNear, double zFar) {
    AdMatrix view, projection;
    AdSetup2DScene(width, height, zNear, zFar, view, projection);
    device_->SetScene(view, projection);
}

void OpenGLApplication::GetScene(AdMatrix& view, AdMatrix& projection) const {
    view = device_->View();
    projection = device_->Projection();
}

bool OpenGLApplication::SupportsWindowFramework(const char* identifier) const {
    return identifier != nullptr && std::strcmp(identifier, kAdFrameworkSdl) == 0;
}

void OpenGLApplication::Finish() {
    device_->Flush();
    if (device_->Initialized())
        glFinish();
}

void OpenGLApplication::Log(int type, const std::string& message) const {
    if (logProc_ != nullptr)
        logProc_(logData_, kLogSender, type, message.c_str());
}

} // namespace ad::opengl
