// The inner loops of the CPU rasteriser: one horizontal run of fragments, shaded (texel x colour
// x ambient), tested (alpha mask, stencil, occlusion count) and blended into a framebuffer row.
#pragma once

#include <cstdint>

#include "plugins/software/SoftwareRasterState.hpp"

namespace ad::software {

// How the fragment colour before blending is formed.
enum class ColourKind {
    White,      // texel as it is (vertex colours all opaque white, no ambient)
    Flat,       // texel x one colour (or that colour alone without a texture)
    FlatLit,    // texel x one colour, then x ambient
    Gouraud,    // texel x interpolated colour
    GouraudLit, // texel x interpolated colour, then x ambient
};

// How texels are fetched along the run.
enum class TexMode {
    None,    // no texture
    Row,     // one texel row for the whole run, every texel column inside the texture
    Clamped, // both coordinates vary; clamped to the texture's edges
};

// Start values and per-pixel steps of one run. Texel coordinates are texel units in 32.32 fixed
// point (texel = floor(u * width)); colour channels r, g, b, a are 0..255 in 16.16 fixed point.
struct SpanInput {
    int64_t s = 0, t = 0, ds = 0, dt = 0;
    int32_t color[4] = {}, dcolor[4] = {};
    uint32_t flat = 0xFFFFFFFFu; // the colour of Flat and FlatLit
};

// Draws `count` fragments into dst; stencil holds their stencil values when the stencil test is on
// and is null otherwise.
using SpanFunction = void (*)(const SpanInput& in, const TexelView& tex, const FragmentState& fs,
                              uint32_t* dst, uint8_t* stencil, int count);

// What a draw's runs have in common, which decides the loop that draws them.
struct SpanKey {
    ColourKind kind = ColourKind::White;
    TexMode mode = TexMode::None;
    int blendMode = kAdBlendAlpha; // one of the kAdBlend codes
    bool tests = false;            // alpha mask, stencil or occlusion counting asked for
    TexelAlpha alpha = TexelAlpha::Mixed;
};

// Which implementation of the loops runs. Every level draws exactly the pixels of Scalar, the plain
// per-pixel loops that the others are tested against.
enum class SpanLevel {
    Scalar,
    Sse2, // four pixels at a time
    Avx2, // eight pixels at a time, where the processor has AVX2
};

// The fastest level this build offers on this processor.
SpanLevel BestSpanLevel();

// The loop for the key on the level; what the level lacks comes from the scalar loops.
SpanFunction SelectSpanFunction(const SpanKey& key, SpanLevel level);

// Stencil comparison and update, shared by the loops and by the tests of this renderer.
bool StencilPasses(const StencilState& st, uint8_t stored);
uint8_t StencilApply(int operation, uint8_t stored, uint8_t reference);

} // namespace ad::software
