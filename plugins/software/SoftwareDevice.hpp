// The state shared by the CPU renderer's application object and the objects it creates: the
// screen, the current target, the scene and the fragment state of the next draw.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/software/SoftwareFramebuffer.hpp"
#include "plugins/software/SoftwareRaster.hpp"

namespace ad::software {

// Held through a shared_ptr by every created object, so a texture or query outliving the
// application by mistake finds a finalised device instead of freed memory.
class SoftwareDevice {
public:
    SoftwareFramebuffer& Current() { return target_ != nullptr ? *target_ : screen_; }
    SoftwareFramebuffer& Screen() { return screen_; }
    bool Initialized() const { return initialized_; }

    bool Initialize(int width, int height);
    void Finalize();

    void SetTarget(SoftwareFramebuffer* target) { target_ = target; }
    // A target or query being destroyed detaches itself if it is in use.
    void ForgetTarget(const SoftwareFramebuffer* target);
    void StartQuery(uint32_t* counter) { queryCounter_ = counter; }
    void StopQuery(const uint32_t* counter);

    void SetViewport(const AdRect& viewport) { viewport_ = viewport; }
    const AdRect& Viewport() const { return viewport_; }
    void SetScene(const AdMatrix& view, const AdMatrix& projection);
    const AdMatrix& View() const { return view_; }
    const AdMatrix& Projection() const { return projection_; }
    const AdMatrix& ViewProjection() const { return viewProjection_; }

    void SetAmbient(AdColor color);
    void SetOptions(uint16_t options) { options_ = options; }
    uint16_t Options() const { return options_; }
    void SetStencilOptions(uint16_t reference, uint16_t mask, int function);
    void SetStencilEvent(int event, int operation);

    // The fragment loops' implementation; every level draws the same pixels. Levels the processor
    // lacks give way to the best it has.
    void SetSpanLevel(SpanLevel level) { spanLevel_ = std::min(level, BestSpanLevel()); }

    // Fills what a draw on the current target needs; false when nothing can be drawn.
    bool PrepareDraw(int blendMode, DrawSetup& setup);

private:
    bool initialized_ = false;
    SoftwareFramebuffer screen_;
    SoftwareFramebuffer* target_ = nullptr;
    AdRect viewport_;
    AdMatrix view_ = AdMatrix::Identity();
    AdMatrix projection_ = AdMatrix::Identity();
    AdMatrix viewProjection_ = AdMatrix::Identity();
    uint32_t ambient_ = 0xFFFFFFFFu;
    uint16_t options_ = 0;
    StencilState stencil_;
    uint32_t* queryCounter_ = nullptr;
    SpanLevel spanLevel_ = BestSpanLevel();
};

} // namespace ad::software
