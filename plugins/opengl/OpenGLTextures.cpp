// Uploads, read-backs and resizing of the OpenGL renderer's textures.
#include "plugins/opengl/OpenGLTextures.hpp"

#include <cstddef>

namespace ad::opengl {
namespace {

bool ReadTexture(OpenGLDevice& device, GLuint name, uint8_t* dst) {
    if (name == 0 || dst == nullptr || !device.Initialized())
        return false;
    device.BindTextureForTransfer(name);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, dst);
    return true;
}

} // namespace

bool OpenGLBitmapTexture::ReadPixels(uint8_t* dst) const {
    return ReadTexture(*device_, texture_.Name(), dst);
}

void OpenGLBitmapTexture::FlushTexture() {
    // Draws already batched may still sample it.
    if (texture_.Valid())
        device_->Flush();
    texture_.Reset();
    width_ = height_ = 0;
}

void OpenGLBitmapTexture::LoadFromBitmap(const uint8_t* bgra, int width, int height, int /*bitDepth*/) {
    FlushTexture();
    if (bgra == nullptr || width <= 0 || height <= 0 || !device_->Initialized())
        return;
    texture_ = GlHandle(GlKind::Texture, device_->Token());
    device_->BindTextureForTransfer(texture_.Name());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    width_ = width;
    height_ = height;
    opaque_ = keyed_ = true;
    const size_t texels = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < texels && keyed_; ++i) {
        const uint8_t alpha = bgra[4 * i + 3];
        opaque_ = opaque_ && alpha == 255;
        keyed_ = alpha == 255 || alpha == 0;
    }
}

TextureBinding OpenGLBitmapTexture::Binding() const {
    if (!texture_.Valid())
        return {};
    return TextureBinding{texture_.Name(), width_, height_, opaque_, keyed_ && !opaque_};
}

OpenGLRenderTarget::~OpenGLRenderTarget() {
    device_->ForgetTarget(&surface_);
    FlushTexture();
}

bool OpenGLRenderTarget::ReadPixels(uint8_t* dst) const {
    return ReadTexture(*device_, surface_.ColorTexture(), dst);
}

void OpenGLRenderTarget::FlushTexture() {
    if (surface_.Valid())
        device_->Flush();
    surface_.Release();
}

void OpenGLRenderTarget::SetSize(int width, int height) {
    FlushTexture();
    if (device_->Initialized())
        surface_.Resize(device_->Token(), width, height);
}

TextureBinding OpenGLRenderTarget::Binding() const {
    if (!surface_.Valid())
        return {};
    return TextureBinding{surface_.ColorTexture(), surface_.Width(), surface_.Height()};
}

} // namespace ad::opengl
