// The transform of mesh vertices to window pixels. Both renderers use this one arithmetic, so they
// place every vertex on the same sub-pixel.
#pragma once

#include <vector>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/common/WindowVertex.hpp"

namespace ad::plugin {

// Transforms `vertices` by `modelViewProjection` (row vectors, as AdMatrix composes), maps them to
// `viewport` with y growing downwards and scales texture coordinates to texels of a
// textureWidth x textureHeight texture (0 x 0 when untextured). `out` is resized to match.
// A vertex whose w is not positive lies behind the eye: with no near-plane clipping in a 2D
// renderer it comes out with a NaN x, which drops every primitive that uses it.
void TransformVertices(const std::vector<AdVertex>& vertices, const AdMatrix& modelViewProjection,
                       const AdRect& viewport, int textureWidth, int textureHeight,
                       std::vector<WindowVertex>& out);

} // namespace ad::plugin
