// Mesh of the OpenGL renderer: vertex and index arrays kept in memory, transformed to window pixels
// when drawn and appended to the device's batch, so many small meshes become one draw call.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/common/PluginMesh.hpp"
#include "plugins/common/WindowVertex.hpp"
#include "plugins/opengl/OpenGLDevice.hpp"

namespace ad::opengl {

class OpenGLMesh final : public plugin::PluginMesh {
public:
    explicit OpenGLMesh(std::shared_ptr<OpenGLDevice> device) : device_(std::move(device)) {}

    // A texture that is not loaded when drawing (or is not one of this renderer's) draws nothing.
    void SetTexture(AdTexture* texture) override { texture_ = texture; }
    // Indices, when set, select the vertices of every primitive type; primitives with an index
    // outside the vertex array are skipped. Lines and points are drawn pixel by pixel as tiny
    // triangles, so that they cover exactly the pixels the CPU renderer covers.
    void Draw(int blendMode, int primitiveType) override;

private:
    bool Fetch(int position, uint32_t& index) const;
    void AppendTriangles(int primitiveType);
    void AppendLines(int primitiveType);
    void AppendFragment(int px, int py, const plugin::WindowVertex& v);

    std::shared_ptr<OpenGLDevice> device_;
    AdTexture* texture_ = nullptr;
    std::vector<plugin::WindowVertex> transformed_; // reused from draw to draw
    ClipRect clip_;
    int texelWidth_ = 0, texelHeight_ = 0; // of the texture of the draw being assembled
};

} // namespace ad::opengl
