// One drawing target of the CPU renderer: colour, depth and stencil planes of the same size.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/render/AdPluginApi.hpp"

namespace ad::software {

class SoftwareFramebuffer {
public:
    static constexpr int kMaxSize = 32768; // larger sizes leave the buffer empty

    // A resized buffer starts transparent black, depth 1, stencil 0; sizes beyond kMaxSize leave it empty.
    void Resize(int width, int height);
    void Release();

    // Clears the layers (kAdClearColor, kAdClearDepth, kAdClearStencil) inside rect, clipped to the buffer.
    void Clear(const AdRect& rect, int layers, uint32_t color, float depth, uint8_t stencil);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    uint32_t* ColorRow(int y) { return color_.data() + static_cast<size_t>(y) * width_; }
    // For reading and writing stencil values; brings a pending clear of the plane up to date first.
    uint8_t* StencilRow(int y) {
        if (stencil_.pending)
            stencil_.Settle();
        return stencil_.values.data() + static_cast<size_t>(y) * width_;
    }
    const uint32_t* Colors() const { return color_.data(); }
    uint32_t ColorAt(int x, int y) const { return color_[static_cast<size_t>(y) * width_ + x]; }
    uint8_t StencilAt(int x, int y) const { return stencil_.At(static_cast<size_t>(y) * width_ + x); }
    float DepthAt(int x, int y) const { return depth_.At(static_cast<size_t>(y) * width_ + x); }

private:
    // A plane that nothing reads while drawing most frames (the renderer has no depth test, and only
    // the collision test uses the stencil) is cleared whole by remembering the value; its memory is
    // filled only when a part of it is cleared or its values are handed out.
    template <typename T> struct LazyPlane {
        std::vector<T> values;
        bool pending = false;
        T fill{};

        T At(size_t i) const { return pending ? fill : values[i]; }
        void Settle();
        void Reset(size_t n, T value);
        void Release();
    };

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> color_;
    LazyPlane<float> depth_;
    LazyPlane<uint8_t> stencil_;
};

} // namespace ad::software
