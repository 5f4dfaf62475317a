// Primitive assembly of the CPU renderer's meshes.
#include "plugins/software/SoftwareMesh.hpp"

#include "plugins/common/VertexTransform.hpp"

namespace ad::software {

void SoftwareMesh::SetTexture(AdTexture* texture) {
    texture_ = texture;
    texels_ = dynamic_cast<const SoftwareTexelSource*>(texture);
}

void SoftwareMesh::Draw(int blendMode, int primitiveType) {
    if (Idle())
        return;
    DrawSetup setup;
    if (!device_->PrepareDraw(blendMode, setup))
        return;
    if (texture_ != nullptr) {
        if (texels_ == nullptr)
            return;
        setup.texture = texels_->Texels();
        if (!setup.texture.Valid())
            return;
    }
    plugin::TransformVertices(vertices_, model_ * device_->ViewProjection(), device_->Viewport(),
                              setup.texture.width, setup.texture.height, transformed_);
    switch (primitiveType) {
    case kAdPrimitiveTriangleStrip:
    case kAdPrimitiveTriangleFan:
    case kAdPrimitiveTriangles:
        DrawTriangles(primitiveType, setup);
        break;
    case kAdPrimitiveLineStrip:
    case kAdPrimitiveLines:
    case kAdPrimitiveLineLoop:
    case kAdPrimitivePoints:
        DrawLines(primitiveType, setup);
        break;
    default:
        break;
    }
}

bool SoftwareMesh::Fetch(int position, const RasterVertex*& v) const {
    size_t index;
    if (!VertexIndex(position, index))
        return false;
    v = &transformed_[index];
    return true;
}

bool SoftwareMesh::FetchTriangle(int primitiveType, int i, const RasterVertex* (&v)[3]) const {
    const plugin::TrianglePositions p = plugin::TriangleAt(primitiveType, i);
    return Fetch(p.a, v[0]) && Fetch(p.b, v[1]) && Fetch(p.c, v[2]);
}

// Triangles go to the rasteriser two at a time: a sprite's quad is a pair, and its rows are then
// drawn as single runs.
void SoftwareMesh::DrawTriangles(int primitiveType, const DrawSetup& setup) {
    const int count = TriangleCount(primitiveType);
    for (int i = 0; i < count; i += 2) {
        const RasterVertex *a[3], *b[3];
        const bool hasA = FetchTriangle(primitiveType, i, a);
        const bool hasB = i + 1 < count && FetchTriangle(primitiveType, i + 1, b);
        if (hasA && hasB)
            RasterizeTrianglePair(*a[0], *a[1], *a[2], *b[0], *b[1], *b[2], setup);
        else if (hasA)
            RasterizeTriangle(*a[0], *a[1], *a[2], setup);
        else if (hasB)
            RasterizeTriangle(*b[0], *b[1], *b[2], setup);
    }
}

void SoftwareMesh::DrawLines(int primitiveType, const DrawSetup& setup) {
    const RasterVertex *va, *vb;
    if (primitiveType == kAdPrimitivePoints) {
        const int count = PointCount();
        for (int i = 0; i < count; ++i)
            if (Fetch(i, va))
                RasterizePoint(*va, setup);
        return;
    }
    const int count = LineCount(primitiveType);
    const int length = SequenceLength();
    for (int i = 0; i < count; ++i) {
        const plugin::LinePositions p = plugin::LineAt(primitiveType, i, length);
        if (Fetch(p.a, va) && Fetch(p.b, vb))
            RasterizeLine(*va, *vb, setup);
    }
}

} // namespace ad::software
