// The one collectible in the maze, whose worth depends on the frame it shows when eaten, and the
// scoring that follows every meal.
#pragma once

#include "game/SpriteRef.hpp"

namespace vimbo {

class TVit1 : public TGameSprite {
public:
    explicit TVit1(ad::TSprite* parent) : TGameSprite(parent) {}
};

extern SpriteRef<TVit1> vit;

} // namespace vimbo
