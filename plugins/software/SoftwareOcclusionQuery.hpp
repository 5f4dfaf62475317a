// Occlusion query of the CPU renderer: counts the fragments that pass every test while it runs.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/software/SoftwareDevice.hpp"

namespace ad::software {

class SoftwareOcclusionQuery final : public AdOcclusionQuery {
public:
    explicit SoftwareOcclusionQuery(std::shared_ptr<SoftwareDevice> device) : device_(std::move(device)) {}
    ~SoftwareOcclusionQuery() override { device_->StopQuery(&count_); }

    // Starting resets the count; one query counts at a time, a new start takes over.
    void StartQuery() override {
        count_ = 0;
        device_->StartQuery(&count_);
    }
    void StopQuery() override { device_->StopQuery(&count_); }
    uint32_t PixelCount() override { return count_; }

private:
    std::shared_ptr<SoftwareDevice> device_;
    uint32_t count_ = 0;
};

} // namespace ad::software
