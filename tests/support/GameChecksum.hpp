// The checksum the soak and the scenario tests compare runs by: the whole game state, music included.
#pragma once

#include <cstdint>

#include "app/StateChecksum.hpp"

namespace vimbo::test {

inline uint64_t GameStateChecksum(const ad::TSpriteEngine* engine) {
    return StateChecksum(engine, true);
}

} // namespace vimbo::test
