// Allocation and clearing of the CPU renderer's drawing targets.
#include "plugins/software/SoftwareFramebuffer.hpp"

#include <algorithm>

namespace ad::software {

void SoftwareFramebuffer::Resize(int width, int height) {
    // The rasteriser's fixed-point spans assume rows shorter than 65536 pixels.
    if (width <= 0 || height <= 0 || width > kMaxSize || height > kMaxSize) {
        width = 0;
        height = 0;
    }
    width_ = width;
    height_ = height;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    color_.assign(n, 0u);
    depth_.assign(n, 1.0f);
    stencil_.assign(n, 0u);
}

void SoftwareFramebuffer::Release() {
    width_ = 0;
    height_ = 0;
    // Drop the memory too: a finalised renderer should not keep a screen-sized allocation alive.
    std::vector<uint32_t>().swap(color_);
    std::vector<float>().swap(depth_);
    std::vector<uint8_t>().swap(stencil_);
}

void SoftwareFramebuffer::Clear(const AdRect& rect, int layers, uint32_t color, float depth,
                                uint8_t stencil) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, width_);
    const int bottom = std::min(rect.bottom, height_);
    if (left >= right || top >= bottom)
        return;
    const size_t n = static_cast<size_t>(right - left);
    for (int y = top; y < bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * width_ + left;
        if (layers & kAdClearColor)
            std::fill_n(color_.data() + row, n, color);
        if (layers & kAdClearDepth)
            std::fill_n(depth_.data() + row, n, depth);
        if (layers & kAdClearStencil)
            std::fill_n(stencil_.data() + row, n, stencil);
    }
}

} // namespace ad::software
