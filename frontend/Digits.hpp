// The heads-up display below the maze: labels and one sprite per digit for the level, the score, the
// top score and the lives.
#pragma once

#include "game/SpriteRef.hpp"

namespace vimbo {

class TDigital : public TGameSprite {
public:
    explicit TDigital(ad::TSprite* parent) : TGameSprite(parent) {}
};

} // namespace vimbo
