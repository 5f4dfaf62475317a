// A vertex after transformation to window pixels, and the small arithmetic both renderers do on it:
// interpolation, the finiteness check and the clamped conversion to a pixel index.
#pragma once

#include <algorithm>
#include <cmath>

namespace ad::plugin {

// Window position in pixels, texel-unit coordinates (u * width, v * height) and colour channels
// r, g, b, a in 0..255.
struct WindowVertex {
    float x = 0, y = 0;
    float s = 0, t = 0;
    float color[4] = {255, 255, 255, 255};
};

inline WindowVertex Lerp(const WindowVertex& a, const WindowVertex& b, float f) {
    WindowVertex r;
    r.x = a.x + (b.x - a.x) * f;
    r.y = a.y + (b.y - a.y) * f;
    r.s = a.s + (b.s - a.s) * f;
    r.t = a.t + (b.t - a.t) * f;
    for (int k = 0; k < 4; ++k)
        r.color[k] = a.color[k] + (b.color[k] - a.color[k]) * f;
    return r;
}

// False for a vertex dropped by the transform (behind the eye) or pushed out of range.
inline bool Finite(const WindowVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// Clamps before converting so that far-away coordinates cannot overflow an int.
inline int ToPixel(double v) {
    return static_cast<int>(std::clamp(v, -1073741824.0, 1073741824.0));
}

} // namespace ad::plugin
