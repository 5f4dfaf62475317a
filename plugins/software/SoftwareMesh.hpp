// Mesh of the CPU renderer: vertex and index arrays, a model matrix and a texture, drawn by
// transforming every vertex to window space and assembling the requested primitives.
#pragma once

#include <memory>
#include <vector>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/common/PluginMesh.hpp"
#include "plugins/software/SoftwareDevice.hpp"
#include "plugins/software/SoftwareRaster.hpp"
#include "plugins/software/SoftwareTextures.hpp"

namespace ad::software {

class SoftwareMesh final : public plugin::PluginMesh {
public:
    explicit SoftwareMesh(std::shared_ptr<SoftwareDevice> device) : device_(std::move(device)) {}

    // A texture that is not loaded when drawing (or is not one of this renderer's) draws nothing.
    void SetTexture(AdTexture* texture) override;
    // Indices, when set, select the vertices of every primitive type; primitives with an index
    // outside the vertex array are skipped.
    void Draw(int blendMode, int primitiveType) override;

private:
    bool Fetch(int position, const RasterVertex*& v) const;
    // The vertices of triangle i of the primitive; false when an index is out of range.
    bool FetchTriangle(int primitiveType, int i, const RasterVertex* (&v)[3]) const;
    void DrawTriangles(int primitiveType, const DrawSetup& setup);
    void DrawLines(int primitiveType, const DrawSetup& setup);

    std::shared_ptr<SoftwareDevice> device_;
    AdTexture* texture_ = nullptr;
    const SoftwareTexelSource* texels_ = nullptr;
    std::vector<RasterVertex> transformed_; // reused from draw to draw
};

} // namespace ad::software
