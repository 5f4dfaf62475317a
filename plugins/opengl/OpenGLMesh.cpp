// Vertex transformation and primitive assembly of the OpenGL renderer's meshes into the batch.
#include "plugins/opengl/OpenGLMesh.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plugins/opengl/OpenGLTextures.hpp"

namespace ad::opengl {
namespace {

WindowVertex Lerp(const WindowVertex& a, const WindowVertex& b, float f) {
    WindowVertex r;
    r.x = a.x + (b.x - a.x) * f;
    r.y = a.y + (b.y - a.y) * f;
    r.s = a.s + (b.s - a.s) * f;
    r.t = a.t + (b.t - a.t) * f;
    for (int k = 0; k < 4; ++k)
        r.color[k] = a.color[k] + (b.color[k] - a.color[k]) * f;
    return r;
}

// Clamps before converting so that far-away coordinates cannot overflow an int.
int ToPixel(double v) {
    return static_cast<int>(std::clamp(v, -1073741824.0, 1073741824.0));
}

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

void OpenGLMesh::SetVertices(const AdVertex* vertices, int count) {
    if (vertices == nullptr || count < 0)
        count = 0;
    pendingVertices_.assign(vertices, vertices + count);
    verticesPending_ = true;
}

void OpenGLMesh::SetIndices(const uint16_t* indices, int count) {
    if (indices == nullptr || count < 0)
        count = 0;
    pendingIndices_.assign(indices, indices + count);
    indicesPending_ = true;
}

void OpenGLMesh::Update() {
    if (verticesPending_)
        vertices_.swap(pendingVertices_);
    if (indicesPending_)
        indices_.swap(pendingIndices_);
    verticesPending_ = indicesPending_ = false;
}

void OpenGLMesh::Draw(int blendMode, int primitiveType) {
    if (primitiveCount_ == 0 || vertices_.empty())
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
    if (!device_->BeginDraw(binding, blendMode))
        return;
    clip_ = device_->Clip();
    Transform(binding);
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

// The same arithmetic as the CPU renderer, so both place every vertex on the same sub-pixel.
void OpenGLMesh::Transform(const TextureBinding& texture) {
    const AdMatrix m = model_ * device_->ViewProjection();
    const AdRect& vp = device_->Viewport();
    const float halfW = static_cast<float>(vp.right - vp.left) * 0.5f;
    const float halfH = static_cast<float>(vp.bottom - vp.top) * 0.5f;
    texelWidth_ = texture.width;
    texelHeight_ = texture.height;
    const float texW = static_cast<float>(texture.width);
    const float texH = static_cast<float>(texture.height);
    transformed_.resize(vertices_.size());
    finite_.resize(vertices_.size());
    for (size_t i = 0; i < vertices_.size(); ++i) {
        const AdVertex& v = vertices_[i];
        WindowVertex& r = transformed_[i];
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
        finite_[i] = std::isfinite(r.x) && std::isfinite(r.y) ? 1 : 0;
    }
}

int OpenGLMesh::SequenceLength() const {
    return static_cast<int>(indices_.empty() ? vertices_.size() : indices_.size());
}

bool OpenGLMesh::Fetch(int position, uint32_t& index) const {
    const size_t at = indices_.empty() ? static_cast<size_t>(position) : indices_[position];
    if (at >= transformed_.size() || finite_[at] == 0)
        return false;
    index = static_cast<uint32_t>(at);
    return true;
}

void OpenGLMesh::AppendTriangles(int primitiveType) {
    const int length = SequenceLength();
    const int available = primitiveType == kAdPrimitiveTriangles ? length / 3 : length - 2;
    const int count = std::min(primitiveCount_, available);
    if (count <= 0)
        return;

    const uint32_t first = device_->ReserveVertices(transformed_.size());
    GlVertex* out = device_->BatchVertices().data() + first;
    for (size_t i = 0; i < transformed_.size(); ++i) {
        const WindowVertex& w = transformed_[i];
        const AdVertex& v = vertices_[i];
        out[i] = GlVertex{w.x, w.y, v.u, v.v, {v.color.r, v.color.g, v.color.b, v.color.a}};
    }
    std::vector<uint32_t>& indices = device_->BatchIndices();
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
        uint32_t ia, ib, ic;
        if (Fetch(a, ia) && Fetch(b, ib) && Fetch(c, ic)) {
            indices.push_back(first + ia);
            indices.push_back(first + ib);
            indices.push_back(first + ic);
        }
    }
}

void OpenGLMesh::AppendLines(int primitiveType) {
    const int length = SequenceLength();
    uint32_t ia, ib;
    if (primitiveType == kAdPrimitivePoints) {
        const int count = std::min(primitiveCount_, length);
        for (int i = 0; i < count; ++i) {
            if (!Fetch(i, ia))
                continue;
            const WindowVertex& v = transformed_[ia];
            AppendFragment(ToPixel(std::floor(v.x)), ToPixel(std::floor(v.y)), v);
        }
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
        if (Fetch(a, ia) && Fetch(b, ib))
            AppendLine(transformed_[ia], transformed_[ib]);
    }
}

// One pixel wide, the last pixel omitted: the pixels whose centre along the major axis lies in
// [start, end), each on the row (or column) the line passes through at that centre.
void OpenGLMesh::AppendLine(const WindowVertex& v0, const WindowVertex& v1) {
    const float dx = v1.x - v0.x, dy = v1.y - v0.y;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const float d = xMajor ? dx : dy;
    if (d == 0)
        return;
    const float start = xMajor ? v0.x : v0.y;
    const float end = xMajor ? v1.x : v1.y;
    const float lo = std::min(start, end), hi = std::max(start, end);
    const int clipLo = xMajor ? clip_.left : clip_.top;
    const int clipHi = xMajor ? clip_.right : clip_.bottom;
    int first = std::max(ToPixel(std::ceil(lo - 0.5)), clipLo);
    int last = std::min(ToPixel(std::ceil(hi - 0.5) - 1), clipHi - 1);
    if (d < 0) { // the excluded end is now the low one
        first = std::max(ToPixel(std::floor(lo - 0.5) + 1), clipLo);
        last = std::min(ToPixel(std::floor(hi - 0.5)), clipHi - 1);
    }
    for (int p = first; p <= last; ++p) {
        const float f = (p + 0.5f - start) / d;
        const WindowVertex frag = Lerp(v0, v1, f);
        const int minor = ToPixel(std::floor(xMajor ? frag.y : frag.x));
        if (xMajor)
            AppendFragment(p, minor, frag);
        else
            AppendFragment(minor, p, frag);
    }
}

// A triangle whose only covered pixel centre is that of (px, py): its legs are 1.9 pixels long, so
// the centres right of and below it stay outside whatever the fill rule does on edges.
void OpenGLMesh::AppendFragment(int px, int py, const WindowVertex& v) {
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
