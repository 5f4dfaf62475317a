// Array bookkeeping of the renderers' meshes: copies are staged until Update makes them current.
#include "plugins/common/PluginMesh.hpp"

namespace ad::plugin {

void PluginMesh::SetVertices(const AdVertex* vertices, int count) {
    if (vertices == nullptr || count < 0)
        count = 0;
    pendingVertices_.assign(vertices, vertices + count);
    verticesPending_ = true;
}

void PluginMesh::SetIndices(const uint16_t* indices, int count) {
    if (indices == nullptr || count < 0)
        count = 0;
    pendingIndices_.assign(indices, indices + count);
    indicesPending_ = true;
}

void PluginMesh::Update() {
    if (verticesPending_) {
        vertices_.swap(pendingVertices_);
        opaqueColors_ = std::all_of(vertices_.begin(), vertices_.end(),
                                    [](const AdVertex& v) { return v.color.a == 255; });
        whiteColors_ =
            opaqueColors_ && std::all_of(vertices_.begin(), vertices_.end(), [](const AdVertex& v) {
                return v.color.r == 255 && v.color.g == 255 && v.color.b == 255;
            });
    }
    if (indicesPending_)
        indices_.swap(pendingIndices_);
    verticesPending_ = indicesPending_ = false;
}

} // namespace ad::plugin
