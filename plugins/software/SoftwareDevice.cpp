// The CPU renderer's shared draw state and how it becomes the setup of one draw.
#include "plugins/software/SoftwareDevice.hpp"

#include <algorithm>

#include "plugins/software/SoftwareBlend.hpp"

namespace ad::software {

bool SoftwareDevice::Initialize(int width, int height) {
    Finalize();
    if (width <= 0 || height <= 0)
        return false;
    screen_.Resize(width, height);
    viewport_ = AdRect{0, 0, width, height};
    AdSetup2DScene(width, height, 10.0, -100.0, view_, projection_);
    viewProjection_ = view_ * projection_;
    initialized_ = true;
    return true;
}

void SoftwareDevice::Finalize() {
    initialized_ = false;
    screen_.Release();
    target_ = nullptr;
    queryCounter_ = nullptr;
    options_ = 0;
    ambient_ = 0xFFFFFFFFu;
    stencil_ = StencilState{};
}

void SoftwareDevice::ForgetTarget(const SoftwareFramebuffer* target) {
    if (target_ == target)
        target_ = nullptr;
}

void SoftwareDevice::StopQuery(const uint32_t* counter) {
    if (queryCounter_ == counter)
        queryCounter_ = nullptr;
}

void SoftwareDevice::SetScene(const AdMatrix& view, const AdMatrix& projection) {
    view_ = view;
    projection_ = projection;
    viewProjection_ = view * projection;
}

void SoftwareDevice::SetAmbient(AdColor color) {
    // Light darkens or tints; it never makes anything transparent, so its alpha is not used.
    color.a = 255;
    ambient_ = PackColor(color);
}

void SoftwareDevice::SetStencilOptions(uint16_t reference, uint16_t mask, int function) {
    stencil_.reference = static_cast<uint8_t>(std::min<uint16_t>(reference, 255));
    stencil_.mask = static_cast<uint8_t>(mask & 0xFF);
    stencil_.function = function;
}

void SoftwareDevice::SetStencilEvent(int event, int operation) {
    if (event >= kAdStencilOnFail && event <= kAdStencilOnPass)
        stencil_.operations[event] = operation;
}

bool SoftwareDevice::PrepareDraw(int blendMode, DrawSetup& setup) {
    if (!initialized_)
        return false;
    SoftwareFramebuffer& fb = Current();
    if (fb.Empty())
        return false;
    RasterTarget& t = setup.target;
    t.buffer = &fb;
    t.clipLeft = std::max(viewport_.left, 0);
    t.clipTop = std::max(viewport_.top, 0);
    t.clipRight = std::min(viewport_.right, fb.Width());
    t.clipBottom = std::min(viewport_.bottom, fb.Height());
    if (t.Empty())
        return false;

    FragmentState& fs = setup.fragments;
    fs.alphaMask = (options_ & kAdOptionAlphaMask) != 0;
    fs.stencilTest = (options_ & kAdOptionStencil) != 0;
    fs.stencil = stencil_;
    fs.queryCounter = queryCounter_;
    // White ambient light changes nothing (x 255 is exact), so it takes the unlit loops.
    fs.lit = (options_ & kAdOptionLight) != 0 && ambient_ != 0xFFFFFFFFu;
    fs.ambient = ambient_;
    setup.spanLevel = spanLevel_;
    setup.blendMode = (blendMode == kAdBlendAdd || blendMode == kAdBlendMultiply) ? blendMode : kAdBlendAlpha;
    return true;
}

} // namespace ad::software
