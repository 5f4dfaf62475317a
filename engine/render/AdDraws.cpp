// The drawing surfaces over the renderer plugin: the window's surface, texture surfaces and scenes.
#include "engine/render/AdDraws.hpp"

#include <cstring>

#include "engine/render/AdCanvas.hpp"
#include "engine/render/AdFont.hpp"
#include "engine/render/AdMessages.hpp"

namespace ad {

namespace {

constexpr uint16_t kDefaultDrawOptions = 262;
constexpr uint8_t kAllLayers = kAdClearColor | kAdClearDepth | kAdClearStencil;

void LogFromPlugin(void* data, const char* sender, int type, const char* message) {
    auto* log = static_cast<TAdLog*>(data);
    const int clamped = type < 0 || type > 3 ? 0 : type;
    log->AddEntry(static_cast<TAdLogType>(clamped), sender != nullptr ? sender : "Plugin",
                  message != nullptr ? message : "");
}

} // namespace

// ---- TAdScene --------------------------------------------------------------------------------

void TAdScene::SetAmbientColor(AdColor color) {
    ambientColor_ = color;
    if (Active && Parent->CanDraw()) Parent->AppObject()->SetAmbientColor(color);
}

void TAdScene::Activate() {
    Active = true;
    if (Parent->CanDraw()) {
        AdApplication* app = Parent->AppObject();
        app->SetupManualScene(ViewMatrix, ProjMatrix);
        app->SetViewPort(ViewPort);
        app->SetAmbientColor(ambientColor_);
    }
    if (OnActivate) OnActivate();
}

// ---- TAdSurface ------------------------------------------------------------------------------

TAdSurface::~TAdSurface() {
    if (parent_ != nullptr && parent_->activeSurface_ == this) parent_->activeSurface_ = nullptr;
}

void TAdSurface::Activate() {
    if (active_ && parent_->activeSurface_ == this) return;
    if (parent_->activeSurface_ != nullptr && parent_->activeSurface_ != this) parent_->activeSurface_->Deactivate();
    active_ = true;
    parent_->activeSurface_ = this;
    DoActivate();
}

void TAdSurface::Deactivate() {
    if (!active_) return;
    active_ = false;
    if (parent_->activeSurface_ == this) parent_->activeSurface_ = nullptr;
    DoDeactivate();
}

// ---- TAdRenderingSurface ---------------------------------------------------------------------

TAdRenderingSurface::TAdRenderingSurface(TAdDraw* parent)
    : TAdSurface(parent), scene_(std::make_unique<TAdScene>(parent)) {}

TAdRenderingSurface::~TAdRenderingSurface() = default;

void TAdRenderingSurface::SetOptions(uint16_t options) {
    options_ = options;
    if (Active() && CanDraw()) parent_->AppObject()->SetOptions(options);
}

void TAdRenderingSurface::DoActivate() {
    scene_->Activate();
    if (CanDraw()) parent_->AppObject()->SetOptions(options_);
}

void TAdRenderingSurface::ClearSurface(uint32_t color) { ClearSurfaceRGBA(AdColorFromWin(color)); }

void TAdRenderingSurface::ClearSurfaceRGBA(AdColor color) {
    Activate();
    if (CanDraw()) parent_->AppObject()->ClearSurface(scene_->ViewPort, kAllLayers, color, 1.0f, 0);
}

void TAdRenderingSurface::Setup2DScene(int32_t width, int32_t height) {
    if (!parent_->CanDraw()) {
        scene_->Width = width;
        scene_->Height = height;
        return;
    }
    TAdSurface* previous = parent_->ActiveSurface();
    if (previous != nullptr) previous->Deactivate();
    AdApplication* app = parent_->AppObject();
    app->SetViewPort(scene_->ViewPort);
    app->Setup2DScene(width, height, scene_->ZNear, scene_->ZFar);
    app->GetScene(scene_->ViewMatrix, scene_->ProjMatrix);
    scene_->Width = width;
    scene_->Height = height;
    if (previous != nullptr) previous->Activate();
}

void TAdRenderingSurface::Notify(TAdSurfaceEvent event) {
    switch (event) {
    case seInitialized: Initialize(); break;
    case seFinalize: Finalize(); break;
    case seBeginScene: BeginScene(); break;
    case seEndScene: EndScene(); break;
    case seInitialize: break;
    }
}

// ---- TAdDraw ---------------------------------------------------------------------------------

TAdDraw::TAdDraw(platform::Window* parentWindow, const std::string& logFileName, platform::TickSource& ticks)
    : TAdRenderingSurface(this), Log(logFileName), window_(parentWindow), ticks_(ticks) {
    options_ = kDefaultDrawOptions;
}

TAdDraw::~TAdDraw() {
    Finalize();
    DllLoader.UnloadLibrary();
    // By the time ~TAdSurface runs this object is no TAdDraw any more; it must not reach back.
    activeSurface_ = nullptr;
    parent_ = nullptr;
}

void TAdDraw::SetDllName(const std::string& name) {
    if (name == dllName_) return;
    Finalize();
    dllName_ = name;
    PluginProperties.Clear();
    DllLoader.LoadLibrary(name);
    if (DllLoader.LibraryLoaded()) PluginProperties.ReadProperties(DllLoader.ApplicationProperties);
}

bool TAdDraw::Fail(int message) {
    LastError = MessageText(message);
    Log.AddEntry(TAdLogType::Error, "TAdDraw", LastError);
    framework_.reset();
    app_.reset();
    return false;
}

bool TAdDraw::Initialize() {
    Finalize();
    if (!DllLoader.LibraryLoaded() || DllLoader.CreateApplication == nullptr) return Fail(kMsgNoLibraryLoaded);

    app_.reset(DllLoader.CreateApplication());
    if (app_ == nullptr) return Fail(kMsgNoApplication);
    app_->SetLogCallback(&LogFromPlugin, &Log);

    if (window_ == nullptr || !app_->SupportsWindowFramework(window_->FrameworkIdentifier()))
        return Fail(kMsgNoWindowFramework);
    framework_ = std::make_unique<TAdWindowFramework>(*window_, ticks_);

    platform::DisplaySettings display;
    display.width = DisplayWidth;
    display.height = DisplayHeight;
    display.bitDepth = DisplayBitDepth;
    display.mode = static_cast<platform::DisplayMode>(DisplayMode >= 0 && DisplayMode <= 3 ? DisplayMode : 0);
    if (DisplayMode == 3 && PluginProperties.Has("fullscreen")) {
        // The plugin switches the screen itself; the window only has to cover it.
        PluginProperties.SetBoolean("fullscreen", true);
        uint8_t resolution[16] = {};
        std::memcpy(resolution, &DisplayWidth, 4);
        std::memcpy(resolution + 4, &DisplayHeight, 4);
        resolution[8] = static_cast<uint8_t>(DisplayBitDepth);
        PluginProperties.SetProperty("fullscreen_res", resolution, sizeof resolution);
        display.mode = platform::DisplayMode::ScreenSized;
    }
    PluginProperties.WriteProperties(*app_);
    framework_->InitDisplay(display, ApplicationTitle);

    if (!app_->Initialize(framework_.get())) return Fail(kMsgInitFailed);

    if (OnInitialize) OnInitialize();
    initialized_ = true;
    texelOffset_ = app_->TexelOffset();
    fontFactory_ = std::make_unique<TAdFontFactory>(this);
    canvas_ = std::make_unique<TAdCanvas>(this);
    canvas_->Font = fontFactory_->GenerateFont(kAdDefaultFontFace, kAdDefaultFontSize);
    Log.AddEntry(TAdLogType::Info, "TAdDraw",
                 "Graphic plugin \"" + DllLoader.Information().Title + "\" initialized at " +
                     std::to_string(window_->ClientWidth()) + " x " + std::to_string(window_->ClientHeight()));
    SurfaceEventList.Notify(seInitialize);
    SurfaceEventList.Notify(seInitialized);
    app_->SetOptions(options_);
    scene_->ViewPort = {0, 0, window_->ClientWidth(), window_->ClientHeight()};
    Setup2DScene(window_->ClientWidth(), window_->ClientHeight());
    return true;
}

void TAdDraw::Finalize() {
    if (initialized_) {
        if (OnFinalize) OnFinalize();
        if (activeSurface_ != nullptr) activeSurface_->Deactivate();
        SurfaceEventList.Notify(seFinalize);
        // Both hold plugin objects, which must go before the plugin does.
        canvas_.reset();
        fontFactory_.reset();
        app_->Finalize();
        initialized_ = false;
        Log.AddEntry(TAdLogType::Info, "TAdDraw", "Graphic plugin finalized");
    }
    framework_.reset();
    app_.reset();
}

void TAdDraw::BeginScene() {
    if (!CanDraw()) return;
    app_->BeginScene();
    SurfaceEventList.Notify(seBeginScene);
}

void TAdDraw::EndScene() {
    if (!CanDraw()) return;
    SurfaceEventList.Notify(seEndScene);
    // What was queued on the canvas this frame lands over everything else drawn in it.
    if (canvas_ != nullptr) canvas_->Release();
    app_->EndScene();
}

void TAdDraw::Flip() {
    if (CanDraw()) app_->Flip();
}

void TAdDraw::DoActivate() {
    if (CanDraw()) app_->SetRenderTarget(nullptr);
    TAdRenderingSurface::DoActivate();
}

// ---- TAdTextureSurface -----------------------------------------------------------------------

TAdTextureSurface::TAdTextureSurface(TAdDraw* parent) : TAdRenderingSurface(parent) {
    handlerId_ = parent->SurfaceEventList.Add([this](TAdSurfaceEvent event) { Notify(event); });
    if (parent->CanDraw()) Initialize();
}

TAdTextureSurface::~TAdTextureSurface() {
    Deactivate();
    parent_->SurfaceEventList.Remove(handlerId_);
    texture_.reset();
}

bool TAdTextureSurface::Initialize() {
    Finalize();
    if (!parent_->CanDraw()) return false;
    texture_.reset(parent_->AppObject()->CreateRenderTarget());
    if (texture_ == nullptr) throw EAdSurfaceException(MessageText(kMsgNoSurfaceInterface));
    SetSize(width_, height_);
    return true;
}

void TAdTextureSurface::Finalize() {
    Deactivate();
    texture_.reset();
}

void TAdTextureSurface::SetSize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
    scene_->ViewPort = {0, 0, width, height};
    if (texture_ == nullptr) return;
    texture_->SetSize(width, height);
    Setup2DScene(width, height);
}

void TAdTextureSurface::DoActivate() {
    if (CanDraw()) parent_->AppObject()->SetRenderTarget(texture_.get());
    TAdRenderingSurface::DoActivate();
}

} // namespace ad
