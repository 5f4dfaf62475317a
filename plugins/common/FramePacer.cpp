// Frame pacing of the renderer plugins on the host's clock.
#include "plugins/common/FramePacer.hpp"

#include <cmath>

namespace ad::plugin {

std::string FramePacer::Start(AdWindowFramework& framework, bool noVSync, bool vsyncHeld) {
    framework_ = &framework;
    scheduled_ = false;
    const int hz = framework.DisplayRefreshRate();
    if (noVSync) {
        mode_ = PacingMode::Unpaced;
        return "frames go out as soon as they are drawn (NoVSync)";
    }
    if (hz == kAdNoDisplay) {
        mode_ = PacingMode::Unpaced;
        return "frames are shown on no display: nothing to wait for";
    }
    if (vsyncHeld) {
        mode_ = PacingMode::DisplayWaits;
        return "frames wait for the display's vertical sync";
    }
    mode_ = PacingMode::Paced;
    return "the window system has no vertical sync: frames are held to " +
           (hz > 0 ? std::to_string(hz) + " Hz, the display's refresh rate"
                   : std::to_string(kFallbackRefreshRate) + " Hz, as the display reports no refresh rate");
}

void FramePacer::FramePresented() {
    if (mode_ != PacingMode::Paced || framework_ == nullptr)
        return;
    // Asked every frame: a window moved to another screen or switched to full screen may change it.
    const int reported = framework_->DisplayRefreshRate();
    const double period = 1000.0 / (reported > 0 ? reported : kFallbackRefreshRate);
    const uint32_t now = framework_->Ticks();
    if (!scheduled_) {
        scheduled_ = true;
        releasedTick_ = now;
        releasedFraction_ = 0.0;
        return;
    }
    const double due = releasedFraction_ + period;
    const auto elapsed = static_cast<double>(static_cast<uint32_t>(now - releasedTick_));
    if (elapsed >= due + period) {
        releasedTick_ = now;
        releasedFraction_ = 0.0;
        return;
    }
    // The slack keeps rounding errors of the summed fractions from adding a millisecond.
    if (elapsed < due)
        framework_->Sleep(static_cast<uint32_t>(std::ceil(due - elapsed - 1e-6)));
    const double whole = std::floor(due);
    releasedTick_ += static_cast<uint32_t>(whole);
    releasedFraction_ = due - whole;
}

} // namespace ad::plugin
