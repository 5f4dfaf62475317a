// A checksum of the whole game state between two frames, for runs that must repeat exactly: the
// globals of the game and the front end, the random generator and every sprite under the engine.
#pragma once

#include <cstdint>

#include "engine/sprites/AdSprites.hpp"

namespace vimbo {

// Leaves out what the game never reads back: the particles (their worker thread decides when
// emitted particles are taken up, so their count at a frame is a matter of timing), the sounds and
// the frame timer's statistics. Without `withMusic` it also leaves out the music's countdown and
// end flag, which follow the audio device and the music files rather than the play.
uint64_t StateChecksum(const ad::TSpriteEngine* engine, bool withMusic = true);

} // namespace vimbo
