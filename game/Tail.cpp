// The enemy's tail segments.
#include "game/Tail.hpp"

namespace vimbo {

std::array<SpriteRef<THvost>, kTailSegments> hvosts;

} // namespace vimbo
