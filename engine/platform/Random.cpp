// The process-wide random generator and its seeding from the tick source.
#include "engine/platform/Random.hpp"

#include "engine/platform/TickSource.hpp"

namespace ad::platform {

uint32_t RandomGenerator::Next() {
    // Successive states are a Weyl sequence; the mix below turns each into a well-spread output.
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<uint32_t>(z >> 32);
}

int32_t RandomGenerator::Random(int32_t n) {
    if (n <= 0)
        return 0;
    // Scaling instead of a remainder keeps every result equally likely to within 2^-32.
    return static_cast<int32_t>((static_cast<uint64_t>(Next()) * static_cast<uint64_t>(n)) >> 32);
}

double RandomGenerator::RandomFloat() {
    return static_cast<double>(Next()) * (1.0 / 4294967296.0);
}

RandomGenerator& ProcessRandom() {
    static RandomGenerator generator;
    return generator;
}

void Randomize(TickSource& ticks) {
    ProcessRandom().Seed(ticks.Ticks());
}

void SetRandSeed(uint32_t seed) {
    ProcessRandom().Seed(seed);
}

int32_t Random(int32_t n) {
    return ProcessRandom().Random(n);
}

double RandomFloat() {
    return ProcessRandom().RandomFloat();
}

} // namespace ad::platform
