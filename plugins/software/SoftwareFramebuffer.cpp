// Allocation and clearing of the CPU renderer's drawing targets.
#include "plugins/software/SoftwareFramebuffer.hpp"

#include <algorithm>

namespace ad::software {

template <typename T> void SoftwareFramebuffer::LazyPlane<T>::Settle() {
    std::fill(values.begin(), values.end(), fill);
    pending = false;
}

template <typename T> void SoftwareFramebuffer::LazyPlane<T>::Reset(size_t n, T value) {
    values.resize(n);
    fill = value;
    pending = true;
}

template <typename T> void SoftwareFramebuffer::LazyPlane<T>::Release() {
    std::vector<T>().swap(values);
    pending = false;
}

template struct SoftwareFramebuffer::LazyPlane<float>;
template struct SoftwareFramebuffer::LazyPlane<uint8_t>;

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
    depth_.Reset(n, 1.0f);
    stencil_.Reset(n, 0);
}

void SoftwareFramebuffer::Release() {
    width_ = 0;
    height_ = 0;
    // Drop the memory too: a finalised renderer should not keep a screen-sized allocation alive.
    std::vector<uint32_t>().swap(color_);
    depth_.Release();
    stencil_.Release();
}

void SoftwareFramebuffer::Clear(const AdRect& rect, int layers, uint32_t color, float depth,
                                uint8_t stencil) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, width_);
    const int bottom = std::min(rect.bottom, height_);
    if (left >= right || top >= bottom)
        return;
    const bool whole = left == 0 && top == 0 && right == width_ && bottom == height_;
    if (whole && (layers & kAdClearDepth))
        depth_.Reset(depth_.values.size(), depth);
    if (whole && (layers & kAdClearStencil))
        stencil_.Reset(stencil_.values.size(), stencil);
    if (!whole && (layers & kAdClearDepth) && depth_.pending)
        depth_.Settle();
    if (!whole && (layers & kAdClearStencil) && stencil_.pending)
        stencil_.Settle();
    // Full-width rows lie back to back: one fill covers them all.
    const size_t n = static_cast<size_t>(right - left);
    const int rows = left == 0 && right == width_ ? 1 : bottom - top;
    const size_t run = left == 0 && right == width_ ? n * static_cast<size_t>(bottom - top) : n;
    for (int y = top; y < top + rows; ++y) {
        const size_t at = static_cast<size_t>(y) * width_ + left;
        if (layers & kAdClearColor)
            std::fill_n(color_.data() + at, run, color);
        if ((layers & kAdClearDepth) && !whole)
            std::fill_n(depth_.values.data() + at, run, depth);
        if ((layers & kAdClearStencil) && !whole)
            std::fill_n(stencil_.values.data() + at, run, stencil);
    }
}

} // namespace ad::software
