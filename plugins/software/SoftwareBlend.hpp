// Integer pixel maths of the CPU renderer: packing, modulation and the three blend modes.
// Any other renderer must reproduce these formulas to within one colour step.
#pragma once

#include <cstdint>

#include "engine/render/AdPluginApi.hpp"

namespace ad::software {

// A pixel is a uint32 0xAARRGGBB, which in little-endian memory reads B G R A.
inline constexpr uint32_t PackColor(AdColor c) {
    return (uint32_t{c.a} << 24) | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | uint32_t{c.b};
}
inline constexpr AdColor UnpackColor(uint32_t p) {
    return AdColor{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                   static_cast<uint8_t>(p >> 24)};
}
inline constexpr uint32_t Channel(uint32_t p, int shift) {
    return (p >> shift) & 0xFFu;
}

// round(x / 255) for 0 <= x <= 255 * 255, exact (ties cannot occur since 255 is odd).
inline constexpr uint32_t Div255(uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// round(a * b / 255) for two 8-bit values: the product of two normalised channels.
inline constexpr uint32_t Mul255(uint32_t a, uint32_t b) {
    return Div255(a * b);
}

// Channel-wise product of two pixels: texel x vertex colour, and that x ambient colour.
inline constexpr uint32_t Modulate(uint32_t p, uint32_t q) {
    return (Mul255(p >> 24, q >> 24) << 24) | (Mul255(Channel(p, 16), Channel(q, 16)) << 16) |
           (Mul255(Channel(p, 8), Channel(q, 8)) << 8) | Mul255(p & 0xFFu, q & 0xFFu);
}

// Blend mode 0 (alpha), with a = source alpha:
//   colour: round((src * a + dst * (255 - a)) / 255)
//   alpha:  src_a + round(dst_a * (255 - src_a) / 255)
// The alpha line equals round((src_a * 255 + dst_a * (255 - src_a)) / 255), which lets red/blue and
// green/alpha travel as two 16-bit lanes of one 32-bit word.
inline constexpr uint32_t BlendAlpha(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 24;
    const uint32_t ia = 255 - a;
    uint32_t rb = (src & 0x00FF00FFu) * a + (dst & 0x00FF00FFu) * ia + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    uint32_t ga = (Channel(src, 8) * a | (a * 255) << 16) + ((dst >> 8) & 0x00FF00FFu) * ia + 0x00800080u;
    ga = (ga + ((ga >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ga;
}

// Blend mode 1 (additive glow), with a = source alpha:
//   colour: min(255, dst + round(src * a / 255))
//   alpha:  min(255, dst_a + src_a)
inline constexpr uint32_t BlendAdd(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 24;
    uint32_t rb = (src & 0x00FF00FFu) * a + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    const uint32_t ga = Mul255(Channel(src, 8), a) | a << 16;
    // Lane sums reach at most 510; a lane that passed 255 has bit 8 set and is filled to 255.
    uint32_t rbSum = (dst & 0x00FF00FFu) + rb;
    uint32_t gaSum = ((dst >> 8) & 0x00FF00FFu) + ga;
    rbSum |= ((rbSum & 0x01000100u) >> 8) * 0xFFu;
    gaSum |= ((gaSum & 0x01000100u) >> 8) * 0xFFu;
    return (rbSum & 0x00FF00FFu) | (gaSum & 0x00FF00FFu) << 8;
}

// Blend mode 2 (multiply): colour round(src * dst / 255), the destination's alpha kept.
inline constexpr uint32_t BlendMultiply(uint32_t src, uint32_t dst) {
    return (dst & 0xFF000000u) | (Mul255(Channel(src, 16), Channel(dst, 16)) << 16) |
           (Mul255(Channel(src, 8), Channel(dst, 8)) << 8) | Mul255(src & 0xFFu, dst & 0xFFu);
}

template <int Mode> inline constexpr uint32_t Blend(uint32_t src, uint32_t dst) {
    if constexpr (Mode == kAdBlendAdd)
        return BlendAdd(src, dst);
    else if constexpr (Mode == kAdBlendMultiply)
        return BlendMultiply(src, dst);
    else
        return BlendAlpha(src, dst);
}

} // namespace ad::software
