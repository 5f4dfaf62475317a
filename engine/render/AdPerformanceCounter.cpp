// The frame timer's per-frame calculation: raw tick difference, frame-rate cap, smoothing, FPS count.
#include "engine/render/AdPerformanceCounter.hpp"

#include <cmath>

namespace ad {

TAdPerformanceCounter::TAdPerformanceCounter(bool createdPaused, ad::platform::TickSource& ticks)
    : State(createdPaused ? TAdPerformanceCounterState::Paused : TAdPerformanceCounterState::Resumed),
      LastTickCount(ticks.Ticks()), ticks_(&ticks) {}

double TAdPerformanceCounter::CapFrameRate(double diff) {
    const double period = 1000.0 / MaximumFrameRate;
    // What the last frame slept is part of diff; the rest is the time the frame really worked.
    const double wait = period - (diff - LastSleep);
    if (wait <= 0)
        return 0;
    // A tick counter that lags behind the sleeps would make each wait longer than the last one;
    // one frame period is the most a frame ever has to wait.
    const double slept = std::floor(std::fmin(wait, std::ceil(period)));
    if (slept > 0)
        ticks_->Sleep(static_cast<uint32_t>(slept));
    return slept;
}

void TAdPerformanceCounter::Calculate() {
    const uint32_t now = ticks_->Ticks();
    // The counter wraps every 2^32 ms; the unsigned difference is the elapsed time across a wrap.
    const uint32_t last = static_cast<uint32_t>(static_cast<int64_t>(LastTickCount));
    const double diff = static_cast<double>(static_cast<uint32_t>(now - last));

    LastSleep = MaximumFrameRate > 0 ? CapFrameRate(diff) : 0;

    switch (State) {
    case TAdPerformanceCounterState::Running:
        if (Interpolate && !Settling) {
            // A negative factor would divide by zero or flip the sign; it means "no weight".
            const double factor = InterpolationFactor > 0 ? InterpolationFactor : 0;
            TimeGap = (diff + factor * TimeGap) / (factor + 1);
        } else {
            TimeGap = diff;
            if (Settling) {
                if (TimeGap != 0)
                    Settling = false;
                TimeGap = 0;
            }
        }
        break;
    case TAdPerformanceCounterState::Resumed:
        TimeGap = 1;
        State = TAdPerformanceCounterState::Running;
        break;
    case TAdPerformanceCounterState::Paused:
        TimeGap = 0;
        break;
    }
    if (TimeGap > MaximumTimeGap)
        TimeGap = MaximumTimeGap;

    LastTickCount = now;
    FpsTime += diff;
    FpsFrames += 1;
    if (FpsTime > 1000) {
        FPS = FpsFrames;
        FpsTime = 0;
        FpsFrames = 0;
    }
}

} // namespace ad
