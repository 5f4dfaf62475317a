// A drawing surface: either off-screen (an RGBA colour texture with a combined depth-stencil buffer
// behind one framebuffer object, row 0 of its memory being the top row of the picture) or the
// window's own colour-only framebuffer, whose row 0 is the bottom row.
#pragma once

#include <cstdint>
#include <memory>

#include "plugins/opengl/GlHandle.hpp"

namespace ad::opengl {

class GlSurface {
public:
    // Makes (or remakes) the objects at width x height, cleared to zero; false if the framebuffer
    // is not complete. A size of 0 releases everything.
    bool Resize(const std::shared_ptr<GlContextToken>& token, int width, int height);
    // Makes the surface stand for the window's framebuffer of width x height.
    void BindToWindow(int width, int height);
    void Release();

    bool Valid() const { return (fbo_.Valid() || inWindow_) && width_ > 0 && height_ > 0; }
    bool InWindow() const { return inWindow_; }
    // 0 for the window.
    GLuint Framebuffer() const { return fbo_.Name(); }
    GLuint ColorTexture() const { return color_.Name(); }
    int Width() const { return Valid() ? width_ : 0; }
    int Height() const { return Valid() ? height_ : 0; }

private:
    GlHandle color_, depthStencil_, fbo_;
    int width_ = 0, height_ = 0;
    bool inWindow_ = false;
};

// A rectangle as OpenGL's scissor takes it, for the pixels left..right x top..bottom (rows counted
// from the top) of the surface: the window's rows count from the bottom.
struct GlRect {
    GLint x = 0, y = 0;
    GLsizei width = 0, height = 0;
};
GlRect SurfaceRect(const GlSurface& surface, int left, int top, int right, int bottom);

} // namespace ad::opengl
