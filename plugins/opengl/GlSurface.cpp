// Creation of the framebuffer objects that serve as render targets (and as the screen when it cannot
// be drawn in the window directly).
#include "plugins/opengl/GlSurface.hpp"

namespace ad::opengl {

bool GlSurface::Resize(const std::shared_ptr<GlContextToken>& token, int width, int height) {
    Release();
    if (width <= 0 || height <= 0 || !token || !token->alive)
        return false;
    color_ = GlHandle(GlKind::Texture, token);
    depthStencil_ = GlHandle(GlKind::Renderbuffer, token);
    fbo_ = GlHandle(GlKind::Framebuffer, token);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, color_.Name());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_.Name());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_.Name());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color_.Name(), 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencil_.Name());
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Release();
        return false;
    }
    width_ = width;
    height_ = height;
    // A new target starts cleared, as the CPU renderer's does.
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void GlSurface::BindToWindow(int width, int height) {
    Release();
    if (width <= 0 || height <= 0)
        return;
    width_ = width;
    height_ = height;
    inWindow_ = true;
}

void GlSurface::Release() {
    fbo_.Reset();
    depthStencil_.Reset();
    color_.Reset();
    width_ = 0;
    height_ = 0;
    inWindow_ = false;
}

GlRect SurfaceRect(const GlSurface& surface, int left, int top, int right, int bottom) {
    const GLint y = surface.InWindow() ? surface.Height() - bottom : top;
    return GlRect{left, y, right - left, bottom - top};
}

} // namespace ad::opengl
