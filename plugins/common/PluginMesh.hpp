// The part of a mesh both renderers keep alike: vertex and index arrays set now and made current
// by Update, the model matrix, the primitive count, and the order in which the primitive types
// take their vertices from the (indexed) sequence.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/render/AdPluginApi.hpp"

namespace ad::plugin {

// Positions in the vertex sequence of one primitive.
struct TrianglePositions {
    int a, b, c;
};
struct LinePositions {
    int a, b;
};

// How many triangles (lines) a sequence of `length` vertices holds for the primitive type; zero
// or less when it holds none.
inline int AvailableTriangles(int primitiveType, int length) {
    return primitiveType == kAdPrimitiveTriangles ? length / 3 : length - 2;
}
inline int AvailableLines(int primitiveType, int length) {
    if (primitiveType == kAdPrimitiveLineStrip)
        return length - 1;
    if (primitiveType == kAdPrimitiveLineLoop)
        return length >= 2 ? length : 0;
    return length / 2;
}

inline TrianglePositions TriangleAt(int primitiveType, int i) {
    if (primitiveType == kAdPrimitiveTriangleStrip)
        return {i, i + 1, i + 2};
    if (primitiveType == kAdPrimitiveTriangleFan)
        return {0, i + 1, i + 2};
    return {3 * i, 3 * i + 1, 3 * i + 2};
}
// `length` > 0: the loop's last segment closes back to the first vertex.
inline LinePositions LineAt(int primitiveType, int i, int length) {
    if (primitiveType == kAdPrimitiveLines)
        return {2 * i, 2 * i + 1};
    return {i, (i + 1) % length};
}

class PluginMesh : public AdMesh {
public:
    void SetVertices(const AdVertex* vertices, int count) override;
    void SetIndices(const uint16_t* indices, int count) override;
    void SetMatrix(const AdMatrix& model) override { model_ = model; }
    void SetPrimitiveCount(int count) override { primitiveCount_ = count > 0 ? count : 0; }
    void Update() override;

protected:
    // Nothing to draw: no primitives asked for or no vertices.
    bool Idle() const { return primitiveCount_ == 0 || vertices_.empty(); }
    // The vertex sequence primitives are taken from: the indices when set, else the vertices.
    int SequenceLength() const {
        return static_cast<int>(indices_.empty() ? vertices_.size() : indices_.size());
    }
    // The vertex at `position` of the sequence; false for an index outside the vertex array.
    bool VertexIndex(int position, size_t& index) const {
        index = indices_.empty() ? static_cast<size_t>(position) : indices_[position];
        return index < vertices_.size();
    }
    // Primitives to draw of the type: the asked-for count, cut to what the sequence holds.
    int TriangleCount(int primitiveType) const {
        return std::min(primitiveCount_, AvailableTriangles(primitiveType, SequenceLength()));
    }
    int LineCount(int primitiveType) const {
        return std::min(primitiveCount_, AvailableLines(primitiveType, SequenceLength()));
    }
    int PointCount() const { return std::min(primitiveCount_, SequenceLength()); }
    // Every current vertex colour has alpha 255; is opaque white.
    bool OpaqueColors() const { return opaqueColors_; }
    bool WhiteColors() const { return whiteColors_; }

    std::vector<AdVertex> vertices_;
    std::vector<uint16_t> indices_;
    AdMatrix model_ = AdMatrix::Identity();
    int primitiveCount_ = 0;

private:
    bool opaqueColors_ = true, whiteColors_ = true;
    std::vector<AdVertex> pendingVertices_;
    std::vector<uint16_t> pendingIndices_;
    bool verticesPending_ = false, indicesPending_ = false;
};

} // namespace ad::plugin
