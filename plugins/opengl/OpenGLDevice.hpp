// The state shared by the OpenGL renderer's application object and the objects it creates: the
// context, the screen surface, the current target, the scene and the batch of draws not yet sent.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/opengl/GlHandle.hpp"
#include "plugins/opengl/GlProgram.hpp"
#include "plugins/opengl/GlSurface.hpp"

namespace ad::opengl {

// One vertex of the streaming buffer, already in window pixels of the current target, with
// texture coordinates 0..1.
struct GlVertex {
    float x = 0, y = 0;
    float s = 0, t = 0;
    uint8_t color[4] = {255, 255, 255, 255};
};

// What a draw samples: a texture name with its size, or nothing. `opaque`: every texel has alpha
// 255; `keyed`: every texel has alpha 0 or 255, some 0 (a colour-keyed picture).
struct TextureBinding {
    GLuint name = 0;
    int width = 0, height = 0;
    bool opaque = false;
    bool keyed = false;
};

struct StencilSettings {
    uint8_t reference = 0;
    uint8_t mask = 0xFF;
    int function = kAdStencilAlways;
    int operations[3] = {kAdStencilKeep, kAdStencilKeep, kAdStencilKeep};
    friend bool operator==(const StencilSettings&, const StencilSettings&) = default;
};

// What the vertex colours of a draw are: all of alpha 255; all opaque white.
struct DrawColors {
    bool opaque = true;
    bool white = true;
};

// The pixel rectangle (right/bottom exclusive) drawing is confined to.
struct ClipRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return left >= right || top >= bottom; }
};

// Held through a shared_ptr by every created object, so an object outliving the application finds
// a finalised device instead of freed memory.
class OpenGLDevice {
public:
    ~OpenGLDevice() { Finalize(); }

    // Makes a 3.3 core context on the SDL window; false with the reason in `error`.
    bool Initialize(SDL_Window* window, int width, int height, std::string& error);
    void Finalize();
    bool Initialized() const { return context_ != nullptr; }
    const std::shared_ptr<GlContextToken>& Token() const { return token_; }
    const std::string& Description() const { return description_; }
    // Lets swaps wait for the display's refresh (adaptively where the driver offers it: a late frame
    // goes out at once) or not; answers whether they now wait. A context starts without waiting.
    bool SetSwapWait(bool wait);

    // nullptr selects the screen. A surface being destroyed detaches itself first.
    void SetTarget(const GlSurface* target);
    void ForgetTarget(const GlSurface* target);
    const GlSurface& CurrentSurface() const { return target_ != nullptr ? *target_ : screen_; }
    const GlSurface& Screen() const { return screen_; }

    void SetViewport(const AdRect& viewport);
    const AdRect& Viewport() const { return viewport_; }
    void SetScene(const AdMatrix& view, const AdMatrix& projection);
    const AdMatrix& View() const { return view_; }
    const AdMatrix& Projection() const { return projection_; }
    const AdMatrix& ViewProjection() const { return viewProjection_; }
    void SetAmbient(AdColor color);
    void SetOptions(uint16_t options);
    void SetStencilOptions(uint16_t reference, uint16_t mask, int function);
    void SetStencilEvent(int event, int operation);

    // The clip rectangle of the current target: viewport within the target.
    ClipRect Clip() const;
    // Starts a draw: flushes the batch if its texture, blend state or colour use differ. False
    // when nothing can be drawn (no context, empty target or viewport).
    bool BeginDraw(const TextureBinding& texture, int blendMode, DrawColors colors);
    // Room for `count` more vertices; returns the index the first of them will have.
    uint32_t ReserveVertices(size_t count);
    std::vector<GlVertex>& BatchVertices() { return vertices_; }
    std::vector<uint32_t>& BatchIndices() { return indices_; }
    // Sends the batch to OpenGL as one draw call.
    void Flush();

    void Clear(const AdRect& rect, int layers, AdColor color, float depth, int stencil);
    // Shows the frame in the window and counts the frame's draw calls.
    void Present();
    // Whether the screen is drawn straight into the window's framebuffer (else into a surface
    // that is copied to the window when presenting).
    bool ScreenInWindow() const { return screen_.InWindow(); }
    // The frame drawn so far as B G R A bytes, rows top to bottom; false without a screen.
    bool ReadScreen(uint8_t* bgra);

    // Occlusion queries: one counts at a time; a query starting ends the one running.
    void BeginQuery(const void* owner, GLuint name);
    void EndQuery(const void* owner);
    bool QueryActive(const void* owner) const { return activeQuery_ == owner; }

    // Binds a texture on unit 0 for uploads and read-backs (pending draws are flushed first).
    void BindTextureForTransfer(GLuint name);

    int DrawCallsThisFrame() const { return drawCalls_; }
    int DrawCallsLastFrame() const { return lastFrameDrawCalls_; }

private:
    // The shader variant the batch needs, built if necessary; nullptr if it cannot be built.
    GlProgram* Program();
    bool ApplyState();
    void ApplyTarget();
    // Moves the screen from the window's framebuffer into an off-screen surface with a stencil
    // buffer, keeping what the frame has drawn so far; false if no surface could be made.
    bool MoveScreenOffWindow();
    void UploadBatch(GLint& baseVertex, size_t& indexOffset);

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    std::shared_ptr<GlContextToken> token_;
    std::string description_;
    GlProgram programs_[kProgramVariants]; // built on first use
    std::string programError_;
    GlHandle vao_, vertexBuffer_, indexBuffer_;
    size_t vertexCapacity_ = 0, indexCapacity_ = 0; // in elements
    size_t vertexUsed_ = 0, indexUsed_ = 0;
    GlSurface screen_;
    const GlSurface* target_ = nullptr;

    AdRect viewport_;
    AdMatrix view_ = AdMatrix::Identity();
    AdMatrix projection_ = AdMatrix::Identity();
    AdMatrix viewProjection_ = AdMatrix::Identity();
    AdColor ambient_{255, 255, 255, 255};
    uint16_t options_ = 0;
    StencilSettings stencil_;

    std::vector<GlVertex> vertices_;
    std::vector<uint32_t> indices_;
    TextureBinding batchTexture_;
    int batchBlend_ = kAdBlendAlpha;
    // false: alpha blending of opaque colours, which is plain replacement (keyed pictures drop
    // their transparent fragments instead)
    bool batchBlends_ = true;
    bool batchWhite_ = true;    // every vertex colour is opaque white, so none is multiplied in
    uint8_t windowStencil_ = 0; // last stencil clear value asked of the window, which has none

    const void* activeQuery_ = nullptr;
    int drawCalls_ = 0;
    int lastFrameDrawCalls_ = 0;
};

} // namespace ad::opengl
