// How a renderer's presented frames keep to the display: the window system's vertical sync, frames
// held to the display's refresh rate on the host's clock where it has none, or no waiting at all.
#pragma once

#include <cstdint>
#include <string>

#include "engine/render/AdPluginApi.hpp"

namespace ad::plugin {

enum class PacingMode {
    Unpaced,      // "NoVSync" was set, or the frames are shown on no display
    DisplayWaits, // the window system's vertical sync holds each presented frame
    Paced,        // no vertical sync: the pacer holds frames to the display's refresh rate
};

// The rate frames are paced to when the display reports none.
inline constexpr int kFallbackRefreshRate = 60;

class FramePacer {
public:
    // Chooses the mode after the renderer asked the window system for its vertical sync, unless
    // `noVSync`; `vsyncHeld` says whether the window system now holds frames. Starts a new schedule
    // and returns a sentence for the renderer's log.
    std::string Start(AdWindowFramework& framework, bool noVSync, bool vsyncHeld);
    // Called right after each present. When paced, waits (on the framework's clock) until one refresh
    // period has passed since the previous call returned, so the next frame starts one period after
    // the one before. A frame late by less than a period is made up by a shorter wait after the
    // next; one later than that starts the schedule afresh rather than rushing frames out.
    void FramePresented();
    PacingMode Mode() const { return mode_; }

private:
    AdWindowFramework* framework_ = nullptr;
    PacingMode mode_ = PacingMode::Unpaced;
    bool scheduled_ = false;
    // When the previous frame was let go: a tick count and a fraction of a millisecond past it, so
    // that periods such as 16.67 ms add up without drifting.
    uint32_t releasedTick_ = 0;
    double releasedFraction_ = 0.0;
};

} // namespace ad::plugin
