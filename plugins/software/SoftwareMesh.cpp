// Vertex transformation and primitive assembly of the CPU renderer's meshes.
#include "plugins/software/SoftwareMesh.hpp"

#include <algorithm>
#include <limits>

namespace ad::software {

void SoftwareMesh::SetVertices(const AdVertex* vertices, int count) {
    if (vertices == nullptr || count < 0)
        count = 0;
    pendingVertices_.assign(vertices, vertices + count);
    verticesPending_ = true;
}

void SoftwareMesh::SetIndices(const uint16_t* indices, int count) {
    if (indices == nullptr || count < 0)
        count = 0;
    pendingIndices_.assign(indices, indices + count);
    indicesPending_ = true;
}

void SoftwareMesh::SetTexture(AdTexture* texture) {
    texture_ = texture;
    texels_ = dynamic_cast<const SoftwareTexelSource*>(texture);
}

void SoftwareMesh::Update() {
    if (verticesPending_)
        vertices_.swap(pendingVertices_);
    if (indicesPending_)
        indices_.swap(pendingIndices_);
    verticesPending_ = indicesPending_ = false;
}

void SoftwareMesh::Draw(int blendMode, int primitiveType) {
    if (primitiveCount_ == 0 || vertices_.empty())
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
    Transform(setup);
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

void SoftwareMesh::Transform(const DrawSetup& setup) {
    const AdMatrix m = model_ * device_->ViewProjection();
    const AdRect& vp = device_->Viewport();
    const float halfW = static_cast<float>(vp.right - vp.left) * 0.5f;
    const float halfH = static_cast<float>(vp.bottom - vp.top) * 0.5f;
    const float texW = static_cast<float>(setup.texture.width);
    const float texH = static_cast<float>(setup.texture.height);
    transformed_.resize(vertices_.size());
    for (size_t i = 0; i < vertices_.size(); ++i) {
        const AdVertex& v = vertices_[i];
        RasterVertex& r = transformed_[i];
        float x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
        float y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
        const float w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + m.m[3][3];
        if (w != 1.0f) {
            // No near-plane clipping in a 2D renderer: a vertex behind the eye drops its primitives.
            if (!(w > 0.0f))
                x = std::numeric_limits<float>::quiet_NaN();
            x /= w;
            y /= w;
        }
        r.x = (x + 1.0f) * halfW + static_cast<float>(vp.left);
        r.y = (1.0f - y) * halfH + static_cast<float>(vp.top);
        r.s = v.u * texW;
        r.t = v.v * texH;
        r.color[0] = v.color.r;
        r.color[1] = v.color.g;
        r.color[2] = v.color.b;
        r.color[3] = v.color.a;
    }
}

int SoftwareMesh::SequenceLength() const {
    return static_cast<int>(indices_.empty() ? vertices_.size() : indices_.size());
}

bool SoftwareMesh::Fetch(int position, const RasterVertex*& v) const {
    const size_t index = indices_.empty() ? static_cast<size_t>(position) : indices_[position];
    if (index >= transformed_.size())
        return false;
    v = &transformed_[index];
    return true;
}

void SoftwareMesh::DrawTriangles(int primitiveType, const DrawSetup& setup) {
    const int length = SequenceLength();
    const int available = primitiveType == kAdPrimitiveTriangles ? length / 3 : length - 2;
    const int count = std::min(primitiveCount_, available);
    for (int i = 0; i < count; ++i) {
        int a = 3 * i, b = 3 * i + 1, c = 3 * i + 2;
        if (primitiveType == kAdPrimitiveTriangleStrip) {
            a = i;
            b = i + 1;
            c = i + 2;
        } else if (primitiveType == kAdPrimitiveTriangleFan) {
            a = 0;
            b = i + 1;
            c = i + 2;
        }
        const RasterVertex *va, *vb, *vc;
        if (Fetch(a, va) && Fetch(b, vb) && Fetch(c, vc))
            RasterizeTriangle(*va, *vb, *vc, setup);
    }
}

void SoftwareMesh::DrawLines(int primitiveType, const DrawSetup& setup) {
    const int length = SequenceLength();
    const RasterVertex *va, *vb;
    if (primitiveType == kAdPrimitivePoints) {
        const int count = std::min(primitiveCount_, length);
        for (int i = 0; i < count; ++i)
            if (Fetch(i, va))
                RasterizePoint(*va, setup);
        return;
    }
    int available = length / 2;
    if (primitiveType == kAdPrimitiveLineStrip)
        available = length - 1;
    if (primitiveType == kAdPrimitiveLineLoop)
        available = length >= 2 ? length : 0;
    const int count = std::min(primitiveCount_, available);
    for (int i = 0; i < count; ++i) {
        int a = 2 * i, b = 2 * i + 1;
        if (primitiveType != kAdPrimitiveLines) {
            a = i;
            b = (i + 1) % length; // the loop's last segment closes back to the first vertex
        }
        if (Fetch(a, va) && Fetch(b, vb))
            RasterizeLine(*va, *vb, setup);
    }
}

} // namespace ad::software
