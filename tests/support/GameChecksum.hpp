// A checksum of the whole game state between two frames, for runs that must repeat exactly: the
// globals of the game and the front end, the random generator and every sprite under the engine.
#pragma once

#include <cstdint>

#include "engine/sprites/AdSprites.hpp"

namespace vimbo::test {

// Leaves out only what the game never reads back: the particles (their worker thread decides when
// emitted particles are taken up, so their count at a frame is a matter of timing), the sounds and
// the frame timer's statistics.
uint64_t GameStateChecksum(const ad::TSpriteEngine* engine);

} // namespace vimbo::test
