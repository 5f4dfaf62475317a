// The frame timer: measures, smooths and limits the time between frames, counts frames per second
// and can cap the frame rate by sleeping.
#pragma once

#include <cstdint>

#include "engine/platform/TickSource.hpp"

namespace ad {

enum class TAdPerformanceCounterState { Paused = 0, Resumed = 1, Running = 2 };

// The owner reads and writes the fields directly (the game sets MaximumFrameRate and reads TimeGap
// and FPS); Calculate runs once at the start of every frame.
class TAdPerformanceCounter {
public:
    // The counter reads `ticks` (not owned) for its whole life.
    TAdPerformanceCounter(bool createdPaused, ad::platform::TickSource& ticks);

    double TimeGap = 0; // milliseconds this frame moves by
    int32_t FPS = 0;    // frames counted during the last full second
    bool Interpolate = true;
    bool Settling = true; // TimeGap stays 0 until the first non-zero raw difference
    TAdPerformanceCounterState State;
    double LastTickCount; // tick count at the previous Calculate
    double FpsTime = 0;
    int32_t FpsFrames = 0;
    int32_t InterpolationFactor = 20; // weight of the old TimeGap in the smoothing
    double MaximumTimeGap = 50;
    int32_t MaximumFrameRate = 0; // 0 or less: no cap
    double LastSleep = 0;         // milliseconds the cap slept in the previous Calculate

    void Calculate();

private:
    double CapFrameRate(double diff);

    ad::platform::TickSource* ticks_;
};

} // namespace ad
