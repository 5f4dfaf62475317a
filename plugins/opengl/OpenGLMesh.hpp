// Mesh of the OpenGL renderer: vertex and index arrays kept in memory, transformed to window pixels
// when drawn and appended to the device's batch, so many small meshes become one draw call.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/opengl/OpenGLDevice.hpp"

namespace ad::opengl {

// A vertex in window pixels with texel-unit coordinates and colour channels as floats.
struct WindowVertex {
    float x = 0, y = 0;
    float s = 0, t = 0;
    float color[4] = {255, 255, 255, 255};
};

class OpenGLMesh final : public AdMesh {
public:
    explicit OpenGLMesh(std::shared_ptr<OpenGLDevice> device) : device_(std::move(device)) {}

    void SetVertices(const AdVertex* vertices, int count) override;
    void SetIndices(const uint16_t* indices, int count) override;
    // A texture that is not loaded when drawing (or is not one of this renderer's) draws nothing.
    void SetTexture(AdTexture* texture) override { texture_ = texture; }
    void SetMatrix(const AdMatrix& model) override { model_ = model; }
    void SetPrimitiveCount(int count) override { primitiveCount_ = count > 0 ? count : 0; }
    void Update() override;
    // Indices, when set, select the vertices of every primitive type; primitives with an index
    // outside the vertex array are skipped. Lines and points are drawn pixel by pixel as tiny
    // triangles, so that they cover exactly the pixels the CPU renderer covers.
    void Draw(int blendMode, int primitiveType) override;

private:
    void Transform(const TextureBinding& texture);
    int SequenceLength() const;
    bool Fetch(int position, uint32_t& index) const;
    void AppendTriangles(int primitiveType);
    void AppendLines(int primitiveType);
    void AppendFragment(int px, int py, const WindowVertex& v);
    void AppendLine(const WindowVertex& v0, const WindowVertex& v1);

    std::shared_ptr<OpenGLDevice> device_;
    std::vector<AdVertex> vertices_, pendingVertices_;
    std::vector<uint16_t> indices_, pendingIndices_;
    bool verticesPending_ = false, indicesPending_ = false;
    AdTexture* texture_ = nullptr;
    AdMatrix model_ = AdMatrix::Identity();
    int primitiveCount_ = 0;
    std::vector<WindowVertex> transformed_; // reused from draw to draw
    std::vector<uint8_t> finite_;
    ClipRect clip_;
    int texelWidth_ = 0, texelHeight_ = 0; // of the texture of the draw being assembled
};

} // namespace ad::opengl
