// The drawing surfaces over the renderer plugin: the window's surface `TAdDraw`, off-screen texture
// surfaces, and the scene (2D view, viewport, ambient colour) each of them owns.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/platform/TickSource.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdDLLLoader.hpp"
#include "engine/render/AdLog.hpp"
#include "engine/render/AdPluginApi.hpp"
#include "engine/render/AdPluginProperties.hpp"
#include "engine/render/AdSurfaceEvents.hpp"
#include "engine/render/AdWindowFramework.hpp"

namespace ad {

class TAdDraw;
class TAdCanvas;
class TAdFontFactory;

// An opaque colour from a desktop colour value (red in the lowest byte): alpha 255.
inline AdColor AdColorFromWin(uint32_t color) {
    return {static_cast<uint8_t>(color & 0xFF), static_cast<uint8_t>((color >> 8) & 0xFF),
            static_cast<uint8_t>((color >> 16) & 0xFF), 255};
}

// The engine's colour constructor, arguments in the order alpha, red, green, blue.
inline AdColor Ad_ARGB(uint8_t a, uint8_t r, uint8_t g, uint8_t b) { return {r, g, b, a}; }

// The view of a surface: size, viewport, view and projection matrices and ambient colour.
class TAdScene {
public:
    explicit TAdScene(TAdDraw* parent) : Parent(parent) {}

    TAdDraw* Parent;
    int32_t Width = 0;
    int32_t Height = 0;
    AdRect ViewPort{};
    double ZNear = 10.0;
    double ZFar = -100.0;
    AdMatrix ViewMatrix = AdMatrix::Identity();
    AdMatrix ProjMatrix = AdMatrix::Identity();
    bool Active = false;
    std::function<void()> OnActivate;

    AdColor AmbientColor() const { return ambientColor_; }
    // Stores the colour and hands it to the plugin while the scene is active.
    void SetAmbientColor(AdColor color);

    // Hands view, viewport and ambient colour to the plugin.
    void Activate();
    void Deactivate() { Active = false; }

private:
    AdColor ambientColor_{255, 255, 255, 255};
};

class TAdSurface {
public:
    explicit TAdSurface(TAdDraw* parent) : parent_(parent) {}
    virtual ~TAdSurface();
    TAdSurface(const TAdSurface&) = delete;
    TAdSurface& operator=(const TAdSurface&) = delete;

    TAdDraw* Parent() const { return parent_; }
    bool Active() const { return active_; }

    // Makes this the surface the plugin draws on, deactivating the one that was.
    void Activate();
    void Deactivate();

    virtual void DoActivate() {}
    virtual void DoDeactivate() {}
    virtual void Notify(TAdSurfaceEvent event) { (void)event; }
    virtual void Reserved() {}
    virtual bool CanDraw() const = 0;

protected:
    TAdDraw* parent_;

private:
    bool active_ = false;
};

class TAdRenderingSurface : public TAdSurface {
public:
    explicit TAdRenderingSurface(TAdDraw* parent);
    ~TAdRenderingSurface() override;

    TAdScene* Scene() const { return scene_.get(); }
    // Text and shapes queued for the end of the scene; nullptr while the plugin is down.
    TAdCanvas* Canvas() const { return canvas_.get(); }
    uint16_t Options() const { return options_; }
    // Stores the option set and hands it to the plugin while active.
    void SetOptions(uint16_t options);

    virtual bool Initialize() = 0;
    virtual void Finalize() = 0;
    virtual void BeginScene() {}
    virtual void EndScene() {}
    virtual int32_t GetWidth() const { return scene_->Width; }
    virtual int32_t GetHeight() const { return scene_->Height; }
    // Clears colour, depth and stencil of the viewport; the colour in the desktop's format.
    virtual void ClearSurface(uint32_t color);
    virtual void ClearSurfaceRGBA(AdColor color);

    // Sets up the 2D view for width x height pixels (the viewport is not changed).
    void Setup2DScene(int32_t width, int32_t height);

    void Notify(TAdSurfaceEvent event) override;
    void DoActivate() override;

protected:
    std::unique_ptr<TAdScene> scene_;
    uint16_t options_ = 0;
    std::unique_ptr<TAdCanvas> canvas_;
};

// The surface of the main window. It loads the plugin library, creates and initialises the plugin's
// application object and broadcasts the surface events to everything that holds plugin objects.
class TAdDraw : public TAdRenderingSurface {
public:
    // `ticks` (not owned) is the clock the plugin paces its frames on; the game hands in its frame
    // timer's.
    TAdDraw(platform::Window* parentWindow, const std::string& logFileName = "adlog.txt",
            platform::TickSource& ticks = platform::SystemTicks());
    ~TAdDraw() override;

    // Display settings the setup dialog fills in (display mode 0 designed, 1 window, 2 screen-sized,
    // 3 full screen at the chosen resolution).
    int32_t DisplayWidth = 800;
    int32_t DisplayHeight = 600;
    int32_t DisplayBitDepth = 32;
    int32_t DisplayFrequency = 0;
    int32_t DisplayMode = 0;
    // The title the window framework gives the window.
    std::string ApplicationTitle;

    std::function<void()> OnInitialize;
    std::function<void()> OnFinalize;

    TAdSurfaceEventList SurfaceEventList;
    TAdPluginPropertyList PluginProperties;
    TAdLog Log;
    TAdDllLoader DllLoader;
    std::string LastError;

    const std::string& DllName() const { return dllName_; }
    // Finalises, then loads the named library and reads its properties (may raise the loader's
    // exceptions).
    void SetDllName(const std::string& name);

    platform::Window* ParentWindow() const { return window_; }
    AdApplication* AppObject() const { return app_.get(); }
    bool Initialized() const { return initialized_; }
    float TexelOffset() const { return texelOffset_; }
    TAdSurface* ActiveSurface() const { return activeSurface_; }
    TAdFontFactory* FontFactory() const { return fontFactory_.get(); }

    bool Initialize() override;
    void Finalize() override;
    bool CanDraw() const override { return app_ != nullptr && initialized_; }
    void BeginScene() override;
    void EndScene() override;
    void Flip();

    void DoActivate() override;

private:
    friend class TAdSurface;
    bool Fail(int message);

    platform::Window* window_;
    platform::TickSource& ticks_;
    std::string dllName_;
    std::unique_ptr<AdApplication> app_;
    std::unique_ptr<TAdWindowFramework> framework_;
    std::unique_ptr<TAdFontFactory> fontFactory_;
    bool initialized_ = false;
    float texelOffset_ = 0.0f;
    TAdSurface* activeSurface_ = nullptr;
};

// A surface that renders into a texture of the plugin (the pixel collision test draws into one).
class TAdTextureSurface : public TAdRenderingSurface {
public:
    explicit TAdTextureSurface(TAdDraw* parent);
    ~TAdTextureSurface() override;

    // Resizes the render target and sets up the 2D view at the new size.
    void SetSize(int32_t width, int32_t height);
    int32_t TextureWidth() const { return width_; }
    int32_t TextureHeight() const { return height_; }
    AdRenderTargetTexture* Texture() const { return texture_.get(); }

    bool Initialize() override;
    void Finalize() override;
    bool CanDraw() const override { return parent_->CanDraw() && texture_ != nullptr; }
    void DoActivate() override;

private:
    std::unique_ptr<AdRenderTargetTexture> texture_;
    int32_t width_ = 128;
    int32_t height_ = 128;
    int handlerId_ = 0;
};

} // namespace ad
