// Staging of mesh arrays and the vertices each primitive type takes from the sequence.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "plugins/common/PluginMesh.hpp"

namespace vimbo::test {
namespace {

// Records the vertex indices of the primitives a draw would assemble, as "a-b-c a-b-c ...";
// a primitive with an index outside the vertex array shows as "x".
class RecordingMesh final : public ad::plugin::PluginMesh {
public:
    void SetTexture(ad::AdTexture*) override {}
    void Draw(int, int primitiveType) override {
        drawn.clear();
        if (Idle())
            return;
        const bool triangles = primitiveType == ad::kAdPrimitiveTriangles ||
                               primitiveType == ad::kAdPrimitiveTriangleStrip ||
                               primitiveType == ad::kAdPrimitiveTriangleFan;
        const int count = primitiveType == ad::kAdPrimitivePoints ? PointCount()
                          : triangles                             ? TriangleCount(primitiveType)
                                                                  : LineCount(primitiveType);
        for (int i = 0; i < count; ++i) {
            if (primitiveType == ad::kAdPrimitivePoints) {
                Add({i});
            } else if (triangles) {
                const ad::plugin::TrianglePositions p = ad::plugin::TriangleAt(primitiveType, i);
                Add({p.a, p.b, p.c});
            } else {
                const ad::plugin::LinePositions p = ad::plugin::LineAt(primitiveType, i, SequenceLength());
                Add({p.a, p.b});
            }
        }
    }
    std::string drawn;

private:
    void Add(std::initializer_list<int> positions) {
        std::vector<std::string> parts;
        for (int position : positions) {
            size_t index;
            if (!VertexIndex(position, index)) {
                parts.assign(1, "x");
                break;
            }
            parts.push_back(std::to_string(index));
        }
        if (!drawn.empty())
            drawn.push_back(' ');
        for (size_t i = 0; i < parts.size(); ++i) {
            if (i > 0)
                drawn.push_back('-');
            drawn.append(parts[i]);
        }
    }
};

class PluginMeshOrder : public ::testing::Test {
protected:
    std::string Draw(int primitiveType, int vertexCount, int primitiveCount,
                     std::initializer_list<uint16_t> indices = {}) {
        const std::vector<ad::AdVertex> vertices(static_cast<size_t>(vertexCount));
        const std::vector<uint16_t> list(indices);
        mesh.SetVertices(vertices.data(), vertexCount);
        mesh.SetIndices(list.data(), static_cast<int>(list.size()));
        mesh.SetPrimitiveCount(primitiveCount);
        mesh.Update();
        mesh.Draw(ad::kAdBlendAlpha, primitiveType);
        return mesh.drawn;
    }
    RecordingMesh mesh;
};

TEST_F(PluginMeshOrder, TrianglePrimitivesTakeTheirVerticesAsEachTypeDefines) {
    EXPECT_EQ(Draw(ad::kAdPrimitiveTriangles, 7, 10), "0-1-2 3-4-5");
    EXPECT_EQ(Draw(ad::kAdPrimitiveTriangleStrip, 5, 10), "0-1-2 1-2-3 2-3-4");
    EXPECT_EQ(Draw(ad::kAdPrimitiveTriangleFan, 5, 10), "0-1-2 0-2-3 0-3-4");
    EXPECT_EQ(Draw(ad::kAdPrimitiveTriangleStrip, 5, 2), "0-1-2 1-2-3");
    EXPECT_EQ(Draw(ad::kAdPrimitiveTriangleStrip, 2, 10), "");
}

TEST_F(PluginMeshOrder, LinePrimitivesAndTheLoopClosingBackToTheFirstVertex) {
    EXPECT_EQ(Draw(ad::kAdPrimitiveLines, 5, 10), "0-1 2-3");
    EXPECT_EQ(Draw(ad::kAdPrimitiveLineStrip, 4, 10), "0-1 1-2 2-3");
    EXPECT_EQ(Draw(ad::kAdPrimitiveLineLoop, 4, 10), "0-1 1-2 2-3 3-0");
    EXPECT_EQ(Draw(ad::kAdPrimitiveLineLoop, 1, 10), "");
    EXPECT_EQ(Draw(ad::kAdPrimitivePoints, 3, 2), "0 1");
}

TEST_F(PluginMeshOrder, IndicesSelectTheVerticesAndOutOfRangeOnesDropTheirPrimitive) {
    EXPECT_EQ(Draw(ad::kAdPrimitiveTriangles, 4, 10, {3, 2, 1, 0, 9, 1}), "3-2-1 x");
    EXPECT_EQ(Draw(ad::kAdPrimitiveLineLoop, 3, 10, {2, 0, 1}), "2-0 0-1 1-2");
}

TEST_F(PluginMeshOrder, ArraysSetAfterTheLastUpdateAreNotDrawnYet) {
    EXPECT_EQ(Draw(ad::kAdPrimitivePoints, 2, 10), "0 1");
    const std::vector<ad::AdVertex> more(4);
    mesh.SetVertices(more.data(), 4);
    mesh.Draw(ad::kAdBlendAlpha, ad::kAdPrimitivePoints);
    EXPECT_EQ(mesh.drawn, "0 1");
    mesh.Update();
    mesh.Draw(ad::kAdBlendAlpha, ad::kAdPrimitivePoints);
    EXPECT_EQ(mesh.drawn, "0 1 2 3");
    mesh.SetPrimitiveCount(-3);
    mesh.Draw(ad::kAdBlendAlpha, ad::kAdPrimitivePoints);
    EXPECT_EQ(mesh.drawn, "");
}

} // namespace
} // namespace vimbo::test
