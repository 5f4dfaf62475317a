// What the CPU rasteriser needs to know about the current draw: target, clip, texture and the
// per-fragment tests (alpha mask, stencil, occlusion counting) with the ambient tint.
#pragma once

#include <cstdint>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/software/SoftwareFramebuffer.hpp"

namespace ad::software {

// What a texture's alpha channel holds, known when its texels are loaded. Where every texel is opaque
// (or, as in colour-keyed pictures, either opaque or fully transparent) the loops copy or pick
// pixels instead of blending them.
enum class TexelAlpha {
    Mixed,  // anything, and what render targets always report
    Keyed,  // every alpha 0 or 255
    Opaque, // every alpha 255
};

// Texels of a texture as the rasteriser samples them (same pixel format as the framebuffer).
struct TexelView {
    const uint32_t* texels = nullptr;
    int width = 0;
    int height = 0;
    TexelAlpha alpha = TexelAlpha::Mixed;
    bool Valid() const { return texels != nullptr && width > 0 && height > 0; }
};

// The stencil state as the fragments see it. The buffer holds 8 bits, so the reference is clamped
// to 255 and the mask cut to its low 8 bits, as an 8-bit stencil buffer of a hardware renderer does.
struct StencilState {
    uint8_t reference = 0;
    uint8_t mask = 0xFF;
    int function = kAdStencilAlways;
    int operations[3] = {kAdStencilKeep, kAdStencilKeep, kAdStencilKeep};
};

struct FragmentState {
    bool alphaMask = false;
    bool stencilTest = false;
    StencilState stencil;
    uint32_t* queryCounter = nullptr; // the running occlusion query's count, or null
    bool lit = false;                 // the ambient colour modulates every fragment
    uint32_t ambient = 0xFFFFFFFFu;

    // Whether fragments need per-pixel tests; without them a fragment of alpha 0 changes nothing in
    // blend modes 0 and 1, so the alpha mask alone does not force the slow path there.
    bool NeedsTests(int blendMode) const {
        return stencilTest || queryCounter != nullptr || (alphaMask && blendMode == kAdBlendMultiply);
    }
};

// The drawing target and the pixel rectangle (right/bottom exclusive) drawing is confined to.
struct RasterTarget {
    SoftwareFramebuffer* buffer = nullptr;
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    bool Empty() const { return buffer == nullptr || clipLeft >= clipRight || clipTop >= clipBottom; }
};

} // namespace ad::software
