// Building mesh vertices in tests and benchmarks: a position, a colour and a texture coordinate.
#pragma once

#include "engine/render/AdPluginApi.hpp"

namespace vimbo::test {

inline ad::AdVertex Vertex(float x, float y, ad::AdColor color = {255, 255, 255, 255}, float u = 0, float v = 0) {
    ad::AdVertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.color = color;
    vertex.u = u;
    vertex.v = v;
    return vertex;
}

} // namespace vimbo::test
