// The one seedable random generator every random draw of the engine and the game goes through, so a
// seeded run repeats exactly.
#pragma once

#include <cstdint>

#include "engine/platform/TickSource.hpp"

namespace ad::platform {

// A small 64-bit-state generator with the same output on every platform for the same seed.
class RandomGenerator {
public:
    explicit RandomGenerator(uint32_t seed = 0) { Seed(seed); }

    void Seed(uint32_t seed) { state_ = seed; }
    // The whole state, to take a run up again exactly where it was (a recording's start).
    uint64_t State() const { return state_; }
    void SetState(uint64_t state) { state_ = state; }
    uint32_t Next();
    // 0 .. n - 1; 0 when n <= 0.
    int32_t Random(int32_t n);
    // [0, 1).
    double RandomFloat();

private:
    uint64_t state_ = 0;
};

// The process-wide generator. It is not locked: draws happen on the main thread only. A worker thread
// that needs draws gets a RandomGenerator of its own, seeded from this one when work is handed over,
// so runs stay reproducible.
RandomGenerator& ProcessRandom();

// Seeds the process-wide generator from the tick count of `ticks`.
void Randomize(TickSource& ticks);
void SetRandSeed(uint32_t seed);
int32_t Random(int32_t n);
double RandomFloat();

} // namespace ad::platform
