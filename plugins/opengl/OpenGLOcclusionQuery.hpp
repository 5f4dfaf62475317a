// Occlusion query of the OpenGL renderer: counts the samples that pass every test between start
// and stop (one sample per pixel: the surfaces are not multisampled).
#pragma once

#include <cstdint>
#include <memory>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/opengl/OpenGLDevice.hpp"

namespace ad::opengl {

class OpenGLOcclusionQuery final : public AdOcclusionQuery {
public:
    explicit OpenGLOcclusionQuery(std::shared_ptr<OpenGLDevice> device) : device_(std::move(device)) {}
    ~OpenGLOcclusionQuery() override;

    // Starting resets the count; one query counts at a time, a new start takes over.
    void StartQuery() override;
    void StopQuery() override;
    // Waits for the result. Asked while still counting, it returns the count so far and goes on
    // counting.
    uint32_t PixelCount() override;

private:
    void Collect();

    std::shared_ptr<OpenGLDevice> device_;
    GlHandle query_;
    bool pending_ = false; // a result is on its way
    uint32_t count_ = 0;
};

} // namespace ad::opengl
