// The star and the score popups.
#include "game/Effects.hpp"

namespace vimbo {

SpriteRef<TStar> star;

} // namespace vimbo
