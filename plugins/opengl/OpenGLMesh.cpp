// Primitive assembly of the OpenGL renderer's meshes into the batch.
#include "plugins/opengl/OpenGLMesh.hpp"

#include <algorithm>
#include <cmath>

#include "plugins/common/LineWalk.hpp"
#include "plugins/common/VertexTransform.hpp"
#include "plugins/opengl/OpenGLTextures.hpp"

namespace ad::opengl {
namespace {

// A channel rounded through 16.16 fixed point, as the CPU renderer rounds interpolated colours.
uint8_t FragmentChannel(float value) {
    const long fixed = std::lround(static_cast<double>(value) * 65536.0);
    return static_cast<uint8_t>(std::clamp((fixed + 0x8000) >> 16, 0L, 255L));
}

// The centre of the texel a coordinate falls in, so interpolation cannot tip it into a neighbour.
float TexelCentre(float coordinate) {
    return static_cast<float>(std::floor(static_cast<double>(coordinate))) + 0.5f;
}

} // namespace

void OpenGLMesh::Draw(int blendMode, int primitiveType) {
    if (Idle())
        return;
    TextureBinding binding;
    if (texture_ != nullptr) {
        const auto* source = dynamic_cast<const OpenGLTexelSource*>(texture_);
        if (source == nullptr)
            return;
        binding = source->Binding();
        if (binding.name == 0)
            return;
    }
    if (primitiveType < kAdPrimitiveTriangleStrip || primitiveType > kAdPrimitivePoints)
        return;
    if (!device_->BeginDraw(binding, blendMode, {OpaqueColors(), WhiteColors()}))
        return;
    clip_ = device_->Clip();
    texelWidth_ = binding.width;
    texelHeight_ = binding.height;
    plugin::TransformVertices(vertices_, model_ * device_->ViewProjection(), device_->Viewport(),
                              binding.width, binding.height, transformed_);
    switch (primitiveType) {
    case kAdPrimitiveTriangleStrip:
    case kAdPrimitiveTriangleFan:
    case kAdPrimitiveTriangles:
        AppendTriangles(primitiveType);
        break;
    default:
        AppendLines(primitiveType);
        break;
    }
}

// A vertex dropped by the transform drops its primitives, as the CPU renderer's rasteriser does.
bool OpenGLMesh::Fetch(int position, uint32_t& index) const {
    size_t at;
    if (!VertexIndex(position, at) || !plugin::Finite(transformed_[at]))
        return false;
    index = static_cast<uint32_t>(at);
    return true;
}

void OpenGLMesh::AppendTriangles(int primitiveType) {
    const int count = TriangleCount(primitiveType);
    if (count <= 0)
        return;

    const uint32_t first = device_->ReserveVertices(transformed_.size());
    GlVertex* out = device_->BatchVertices().data() + first;
    for (size_t i = 0; i < transformed_.size(); ++i) {
        const plugin::WindowVertex& w = transformed_[i];
        const AdVertex& v = vertices_[i];
        out[i] = GlVertex{w.x, w.y, v.u, v.v, {v.color.r, v.color.g, v.color.b, v.color.a}};
    }
    std::vector<uint32_t>& indices = device_->BatchIndices();
    for (int i = 0; i < count; ++i) {
        const plugin::TrianglePositions p = plugin::TriangleAt(primitiveType, i);
        uint32_t ia, ib, ic;
        if (Fetch(p.a, ia) && Fetch(p.b, ib) && Fetch(p.c, ic)) {
            indices.push_back(first + ia);
            indices.push_back(first + ib);
            indices.push_back(first + ic);
        }
    }
}

void OpenGLMesh::AppendLines(int primitiveType) {
    uint32_t ia, ib;
    if (primitiveType == kAdPrimitivePoints) {
        const int count = PointCount();
        for (int i = 0; i < count; ++i) {
            if (!Fetch(i, ia))
                continue;
            const plugin::WindowVertex& v = transformed_[ia];
            AppendFragment(plugin::PointPixelX(v), plugin::PointPixelY(v), v);
        }
        return;
    }
    const int count = LineCount(primitiveType);
    const int length = SequenceLength();
    const plugin::PixelBounds bounds{clip_.left, clip_.top, clip_.right, clip_.bottom};
    auto emit = [this](int px, int py, const plugin::WindowVertex& frag) { AppendFragment(px, py, frag); };
    for (int i = 0; i < count; ++i) {
        const plugin::LinePositions p = plugin::LineAt(primitiveType, i, length);
        if (Fetch(p.a, ia) && Fetch(p.b, ib))
            plugin::WalkLine(transformed_[ia], transformed_[ib], bounds, emit);
    }
}

// A triangle whose only covered pixel centre is that of (px, py): its legs are 1.9 pixels long, so
// the centres right of and below it stay outside whatever the fill rule does on edges.
void OpenGLMesh::AppendFragment(int px, int py, const plugin::WindowVertex& v) {
    if (px < clip_.left || px >= clip_.right || py < clip_.top || py >= clip_.bottom)
        return;
    GlVertex corner;
    corner.s = texelWidth_ > 0 ? TexelCentre(v.s) / static_cast<float>(texelWidth_) : 0.0f;
    corner.t = texelHeight_ > 0 ? TexelCentre(v.t) / static_cast<float>(texelHeight_) : 0.0f;
    for (int k = 0; k < 4; ++k)
        corner.color[k] = FragmentChannel(v.color[k]);
    const uint32_t first = device_->ReserveVertices(3);
    GlVertex* out = device_->BatchVertices().data() + first;
    const float x = static_cast<float>(px), y = static_cast<float>(py);
    out[0] = out[1] = out[2] = corner;
    out[0].x = x;
    out[0].y = y;
    out[1].x = x + 1.9f;
    out[1].y = y;
    out[2].x = x;
    out[2].y = y + 1.9f;
    std::vector<uint32_t>& indices = device_->BatchIndices();
    indices.push_back(first);
    indices.push_back(first + 1);
    indices.push_back(first + 2);
}

} // namespace ad::opengl
