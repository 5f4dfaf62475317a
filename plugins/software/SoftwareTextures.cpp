// Pixel storage and read-back of the CPU renderer's textures.
#include "plugins/software/SoftwareTextures.hpp"

#include <bit>
#include <cstring>

namespace ad::software {

// Texels are copied byte for byte between B G R A memory and 0xAARRGGBB words.
static_assert(std::endian::native == std::endian::little, "the pixel format assumes little-endian words");

bool SoftwareBitmapTexture::ReadPixels(uint8_t* dst) const {
    if (pixels_.empty() || dst == nullptr)
        return false;
    std::memcpy(dst, pixels_.data(), pixels_.size() * sizeof(uint32_t));
    return true;
}

void SoftwareBitmapTexture::FlushTexture() {
    std::vector<uint32_t>().swap(pixels_);
    width_ = 0;
    height_ = 0;
}

namespace {

TexelAlpha ClassifyAlpha(const std::vector<uint32_t>& texels) {
    bool opaque = true;
    for (const uint32_t t : texels) {
        const uint32_t a = t >> 24;
        if (a != 255) {
            if (a != 0)
                return TexelAlpha::Mixed;
            opaque = false;
        }
    }
    return opaque ? TexelAlpha::Opaque : TexelAlpha::Keyed;
}

} // namespace

void SoftwareBitmapTexture::LoadFromBitmap(const uint8_t* bgra, int width, int height, int /*bitDepth*/) {
    if (bgra == nullptr || width <= 0 || height <= 0) {
        FlushTexture();
        return;
    }
    width_ = width;
    height_ = height;
    pixels_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    std::memcpy(pixels_.data(), bgra, pixels_.size() * sizeof(uint32_t));
    alpha_ = ClassifyAlpha(pixels_);
}

TexelView SoftwareBitmapTexture::Texels() const {
    if (pixels_.empty())
        return {};
    return TexelView{pixels_.data(), width_, height_, alpha_};
}

SoftwareRenderTarget::~SoftwareRenderTarget() {
    device_->ForgetTarget(&buffer_);
}

bool SoftwareRenderTarget::ReadPixels(uint8_t* dst) const {
    if (buffer_.Empty() || dst == nullptr)
        return false;
    std::memcpy(dst, buffer_.Colors(),
                static_cast<size_t>(buffer_.Width()) * buffer_.Height() * sizeof(uint32_t));
    return true;
}

TexelView SoftwareRenderTarget::Texels() const {
    if (buffer_.Empty())
        return {};
    return TexelView{buffer_.Colors(), buffer_.Width(), buffer_.Height()};
}

} // namespace ad::software
