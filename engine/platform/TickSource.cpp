// The system millisecond clock and the process-wide current tick source that frame timing reads.
#include "engine/platform/TickSource.hpp"

#include <chrono>
#include <thread>

namespace ad::platform {

namespace {

class SteadyClockTicks : public TickSource {
public:
    uint32_t Ticks() override {
        const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
        // Truncation is deliberate: the counter wraps every 2^32 ms like the system's tick counter,
        // and every reader takes differences modulo 2^32.
        return static_cast<uint32_t>(static_cast<uint64_t>(ms));
    }
    void Sleep(uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

} // namespace

TickSource& SystemTicks() {
    static SteadyClockTicks clock;
    return clock;
}

} // namespace ad::platform
