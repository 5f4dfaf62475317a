// Scan conversion of the CPU renderer: triangles, lines and points in window coordinates, handed
// to the fragment loops row by row.
//
// Conventions (a hardware renderer matches them when it uses the same 2D scene):
// - pixel (px, py) covers [px, px+1) x [py, py+1); it is inside a triangle when its centre is;
// - vertices are snapped to 1/256 pixel;
// - a centre exactly on an edge belongs to the triangle only for a left edge or a top edge
//   (y grows downwards), so triangles sharing an edge never both cover a pixel and leave no gap;
// - attributes are interpolated linearly in window space at pixel centres (the 2D scenes have w = 1);
// - there is no depth test and no depth clipping: drawing order decides, as it does in a 2D engine;
// - lines are one pixel wide and omit their last pixel; a point covers the pixel containing it.
#pragma once

#include "plugins/common/WindowVertex.hpp"
#include "plugins/software/SoftwareRasterState.hpp"
#include "plugins/software/SoftwareSpans.hpp"

namespace ad::software {

// A vertex after transformation: window position, texel-unit coordinates (u * width, v * height)
// and colour channels r, g, b, a in 0..255.
using RasterVertex = plugin::WindowVertex;

// Everything one draw call shares.
struct DrawSetup {
    RasterTarget target;
    TexelView texture; // texels null: untextured
    FragmentState fragments;
    int blendMode = kAdBlendAlpha;
    SpanLevel spanLevel = SpanLevel::Scalar;
};

void RasterizeTriangle(const RasterVertex& v0, const RasterVertex& v1, const RasterVertex& v2,
                       const DrawSetup& setup);
// Two triangles, drawing the pixels RasterizeTriangle gives for the first and then for the second.
// Where the two runs of a row meet and carry on one another exactly (the halves of a sprite's quad)
// they go to the fragment loops as one run.
void RasterizeTrianglePair(const RasterVertex& a0, const RasterVertex& a1, const RasterVertex& a2,
                           const RasterVertex& b0, const RasterVertex& b1, const RasterVertex& b2,
                           const DrawSetup& setup);
void RasterizeLine(const RasterVertex& v0, const RasterVertex& v1, const DrawSetup& setup);
void RasterizePoint(const RasterVertex& v, const DrawSetup& setup);

} // namespace ad::software
