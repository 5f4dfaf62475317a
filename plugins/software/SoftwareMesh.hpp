// Mesh of the CPU renderer: vertex and index arrays, a model matrix and a texture, drawn by
// transforming every vertex to window space and assembling the requested primitives.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/software/SoftwareDevice.hpp"
#include "plugins/software/SoftwareRaster.hpp"
#include "plugins/software/SoftwareTextures.hpp"

namespace ad::software {

class SoftwareMesh final : public AdMesh {
public:
    explicit SoftwareMesh(std::shared_ptr<SoftwareDevice> device) : device_(std::move(device)) {}

    void SetVertices(const AdVertex* vertices, int count) override;
    void SetIndices(const uint16_t* indices, int count) override;
    // A texture that is not loaded when drawing (or is not one of this renderer's) draws nothing.
    void SetTexture(AdTexture* texture) override;
    void SetMatrix(const AdMatrix& model) override { model_ = model; }
    void SetPrimitiveCount(int count) override { primitiveCount_ = count > 0 ? count : 0; }
    void Update() override;
    // Indices, when set, select the vertices of every primitive type; primitives with an index
    // outside the vertex array are skipped.
    void Draw(int blendMode, int primitiveType) override;

private:
    void Transform(const DrawSetup& setup);
    int SequenceLength() const;
    bool Fetch(int position, const RasterVertex*& v) const;
    void DrawTriangles(int primitiveType, const DrawSetup& setup);
    void DrawLines(int primitiveType, const DrawSetup& setup);

    std::shared_ptr<SoftwareDevice> device_;
    std::vector<AdVertex> vertices_, pendingVertices_;
    std::vector<uint16_t> indices_, pendingIndices_;
    bool verticesPending_ = false, indicesPending_ = false;
    AdTexture* texture_ = nullptr;
    const SoftwareTexelSource* texels_ = nullptr;
    AdMatrix model_ = AdMatrix::Identity();
    int primitiveCount_ = 0;
    std::vector<RasterVertex> transformed_; // reused from draw to draw
};

} // namespace ad::software
