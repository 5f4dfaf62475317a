// The colour ramp and the buffers a particle calculation fills.
#include "engine/particles/AdParticleGeometry.hpp"

#include <algorithm>
#include <cmath>

namespace ad {

namespace {

uint8_t Mix(uint8_t a, uint8_t b, float fraction) {
    const float value = static_cast<float>(a) + (static_cast<float>(b) - static_cast<float>(a)) * fraction;
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

int32_t ToPixel(double value) {
    if (!(value == value))
        return 0;
    return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

} // namespace

AdColor AdParticleRampColor(const std::vector<AdColor>& colors, double age, double lifetime) {
    const size_t n = colors.size();
    if (n == 0)
        return {};
    if (age > lifetime)
        return colors.back();
    if (n == 1 || age <= 0.0)
        return colors.front();
    const float last = static_cast<float>(n - 1);
    const float p = std::min(static_cast<float>((n - 1) * age / lifetime), last);
    const float whole = std::trunc(p);
    const size_t i = static_cast<size_t>(whole);
    if (p == whole)
        return colors[i];
    const float fraction = p - whole;
    const AdColor& a = colors[i];
    const AdColor& b = colors[i + 1];
    return {Mix(a.r, b.r, fraction), Mix(a.g, b.g, fraction), Mix(a.b, b.b, fraction),
            Mix(a.a, b.a, fraction)};
}

void TAdParticleGeometry::Reset(size_t vertices, size_t indices) {
    VertexCount = 0;
    IndexCount = 0;
    PrimitiveCount = 0;
    hasBounds_ = false;
    Bounds = {};
    if (Vertices.size() < vertices)
        Vertices.resize(vertices * 2);
    if (Indices.size() < indices)
        Indices.resize(indices * 2);
}

void TAdParticleGeometry::AddBounds(double left, double top, double right, double bottom) {
    if (!hasBounds_) {
        minX_ = left;
        minY_ = top;
        maxX_ = right;
        maxY_ = bottom;
        hasBounds_ = true;
        return;
    }
    minX_ = std::min(minX_, left);
    minY_ = std::min(minY_, top);
    maxX_ = std::max(maxX_, right);
    maxY_ = std::max(maxY_, bottom);
}

void TAdParticleGeometry::FinishBounds() {
    if (!hasBounds_) {
        Bounds = {};
        return;
    }
    Bounds = {ToPixel(std::floor(minX_)), ToPixel(std::floor(minY_)), ToPixel(std::ceil(maxX_)),
              ToPixel(std::ceil(maxY_))};
}

} // namespace ad
