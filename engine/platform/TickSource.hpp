// The millisecond tick counter and sleep that all frame timing reads, replaceable so tests drive time.
#pragma once

#include <cstdint>
#include <vector>

namespace ad::platform {

// A 32-bit millisecond counter that wraps like the system's, and a sleep that advances it.
class TickSource {
public:
    virtual ~TickSource() = default;
    virtual uint32_t Ticks() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// The real clock: a monotonic millisecond counter (truncated to 32 bits) and a real sleep.
TickSource& SystemTicks();

// A clock that moves only when told to: Sleep advances it and records the request.
class ManualTicks : public TickSource {
public:
    explicit ManualTicks(uint32_t start = 0) : now_(start) {}
    uint32_t Ticks() override { return now_; }
    void Sleep(uint32_t milliseconds) override {
        sleeps_.push_back(milliseconds);
        now_ += milliseconds;
    }
    void Advance(uint32_t milliseconds) { now_ += milliseconds; }
    void Set(uint32_t now) { now_ = now; }
    const std::vector<uint32_t>& Sleeps() const { return sleeps_; }
    void ClearSleeps() { sleeps_.clear(); }

private:
    uint32_t now_;
    std::vector<uint32_t> sleeps_;
};

} // namespace ad::platform
