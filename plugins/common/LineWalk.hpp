// The pixels a one-pixel line and a point cover. Both renderers walk them here, so a line drawn by
// either lights exactly the same pixels with the same interpolated attributes.
#pragma once

#include <algorithm>
#include <cmath>

#include "plugins/common/WindowVertex.hpp"

namespace ad::plugin {

// The pixel rectangle drawing is confined to; right and bottom are exclusive.
struct PixelBounds {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Calls emit(px, py, fragment) for every pixel of the line from v0 to v1: the pixels whose centre
// along the major axis lies in [start, end), so the last pixel is omitted, each on the row (or
// column) the line passes through at that centre. They come in increasing major coordinate
// whichever way the line runs. Pixels outside `bounds` along the major axis are never visited;
// the caller clips the minor axis.
template <typename Emit>
inline void WalkLine(const WindowVertex& v0, const WindowVertex& v1, const PixelBounds& bounds, Emit&& emit) {
    const float dx = v1.x - v0.x, dy = v1.y - v0.y;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const float d = xMajor ? dx : dy;
    if (d == 0)
        return;
    const float start = xMajor ? v0.x : v0.y;
    const float end = xMajor ? v1.x : v1.y;
    const float lo = std::min(start, end), hi = std::max(start, end);
    const int clipLo = xMajor ? bounds.left : bounds.top;
    const int clipHi = xMajor ? bounds.right : bounds.bottom;
    int first = std::max(ToPixel(std::ceil(lo - 0.5)), clipLo);
    int last = std::min(ToPixel(std::ceil(hi - 0.5) - 1), clipHi - 1);
    if (d < 0) { // the excluded end is now the low one
        first = std::max(ToPixel(std::floor(lo - 0.5) + 1), clipLo);
        last = std::min(ToPixel(std::floor(hi - 0.5)), clipHi - 1);
    }
    for (int p = first; p <= last; ++p) {
        const float f = (p + 0.5f - start) / d;
        const WindowVertex frag = Lerp(v0, v1, f);
        const int minor = ToPixel(std::floor(xMajor ? frag.y : frag.x));
        if (xMajor)
            emit(p, minor, frag);
        else
            emit(minor, p, frag);
    }
}

// A point covers the pixel containing it.
inline int PointPixelX(const WindowVertex& v) {
    return ToPixel(std::floor(v.x));
}
inline int PointPixelY(const WindowVertex& v) {
    return ToPixel(std::floor(v.y));
}

} // namespace ad::plugin
