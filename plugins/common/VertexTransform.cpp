// Model-view-projection, perspective divide and viewport mapping of mesh vertices.
#include "plugins/common/VertexTransform.hpp"

#include <limits>

namespace ad::plugin {

void TransformVertices(const std::vector<AdVertex>& vertices, const AdMatrix& m, const AdRect& vp,
                       int textureWidth, int textureHeight, std::vector<WindowVertex>& out) {
    const float halfW = static_cast<float>(vp.right - vp.left) * 0.5f;
    const float halfH = static_cast<float>(vp.bottom - vp.top) * 0.5f;
    const float texW = static_cast<float>(textureWidth);
    const float texH = static_cast<float>(textureHeight);
    out.resize(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) {
        const AdVertex& v = vertices[i];
        WindowVertex& r = out[i];
        float x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
        float y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
        const float w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + m.m[3][3];
        if (w != 1.0f) {
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

} // namespace ad::plugin
