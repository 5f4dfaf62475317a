// An off-screen drawing surface: an RGBA colour texture with a combined depth-stencil buffer behind
// one framebuffer object. Row 0 of its memory is the top row of the picture.
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
    void Release();

    bool Valid() const { return fbo_.Valid() && width_ > 0 && height_ > 0; }
    GLuint Framebuffer() const { return fbo_.Name(); }
    GLuint ColorTexture() const { return color_.Name(); }
    int Width() const { return Valid() ? width_ : 0; }
    int Height() const { return Valid() ? height_ : 0; }

private:
    GlHandle color_, depthStencil_, fbo_;
    int width_ = 0, height_ = 0;
};

} // namespace ad::opengl
