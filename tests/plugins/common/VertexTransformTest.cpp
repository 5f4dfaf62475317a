// The transform of mesh vertices to window pixels: viewport mapping, texel scaling and the w rule.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plugins/common/VertexTransform.hpp"

namespace vimbo::test {
namespace {

using ad::plugin::WindowVertex;

ad::AdVertex Vertex(float x, float y, float u = 0, float v = 0) {
    ad::AdVertex vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.u = u;
    vertex.v = v;
    vertex.color = {10, 20, 30, 40};
    return vertex;
}

// A matrix that leaves x and y alone and puts `w` into the fourth coordinate.
ad::AdMatrix WithW(float w) {
    ad::AdMatrix m = ad::AdMatrix::Identity();
    m.m[3][3] = w;
    return m;
}

TEST(VertexTransform, ClipSpaceCornersLandOnViewportEdgesWithYDown) {
    const ad::AdRect viewport{10, 20, 110, 70};
    std::vector<WindowVertex> out;
    ad::plugin::TransformVertices({Vertex(-1, 1), Vertex(1, -1), Vertex(0, 0)}, ad::AdMatrix::Identity(),
                                  viewport, 0, 0, out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_FLOAT_EQ(out[0].x, 10);
    EXPECT_FLOAT_EQ(out[0].y, 20);
    EXPECT_FLOAT_EQ(out[1].x, 110);
    EXPECT_FLOAT_EQ(out[1].y, 70);
    EXPECT_FLOAT_EQ(out[2].x, 60);
    EXPECT_FLOAT_EQ(out[2].y, 45);
    EXPECT_EQ(out[2].color[0], 10);
    EXPECT_EQ(out[2].color[3], 40);
}

TEST(VertexTransform, TextureCoordinatesBecomeTexelUnits) {
    std::vector<WindowVertex> out;
    ad::plugin::TransformVertices({Vertex(0, 0, 0.5f, 0.25f)}, ad::AdMatrix::Identity(), {0, 0, 8, 8}, 64, 32,
                                  out);
    EXPECT_FLOAT_EQ(out[0].s, 32);
    EXPECT_FLOAT_EQ(out[0].t, 8);
}

TEST(VertexTransform, PositiveWDividesAndNonPositiveWDropsTheVertex) {
    std::vector<WindowVertex> out;
    ad::plugin::TransformVertices({Vertex(1, 1)}, WithW(2), {0, 0, 100, 100}, 0, 0, out);
    EXPECT_FLOAT_EQ(out[0].x, 75);
    EXPECT_FLOAT_EQ(out[0].y, 25);
    EXPECT_TRUE(ad::plugin::Finite(out[0]));

    for (float w : {0.0f, -1.0f, -0.0f}) {
        ad::plugin::TransformVertices({Vertex(0, 0), Vertex(0.5f, 0.5f)}, WithW(w), {0, 0, 100, 100}, 0, 0,
                                      out);
        EXPECT_FALSE(ad::plugin::Finite(out[0])) << "w = " << w;
        EXPECT_FALSE(ad::plugin::Finite(out[1])) << "w = " << w;
    }
}

TEST(VertexTransform, ReusedOutputShrinksToTheNewVertexCount) {
    std::vector<WindowVertex> out(5);
    ad::plugin::TransformVertices({Vertex(0, 0)}, ad::AdMatrix::Identity(), {0, 0, 2, 2}, 0, 0, out);
    EXPECT_EQ(out.size(), 1u);
}

} // namespace
} // namespace vimbo::test
