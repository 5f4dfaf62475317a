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

void SoftwareMesh::DrawTriangles(int primitiveType, const DrawSetup& setup) {
    const int count = TriangleCount(primitiveType);
    for (int i = 0; i < count; ++i) {
        const plugin::TrianglePositions p = plugin::TriangleAt(primitiveType, i);
        const RasterVertex *va, *vb, *vc;
        if (Fetch(p.a, va) && Fetch(p.b, vb) && Fetch(p.c, vc))
            RasterizeTriangle(*va, *vb, *vc, setup);
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
