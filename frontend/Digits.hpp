// The heads-up display below the maze: labels and one sprite per digit for the level, the score, the
// top score and the lives.
#pragma once

#include <array>

#include "game/SpriteRef.hpp"

namespace vimbo {

class TDigital : public TGameSprite {
public:
    explicit TDigital(ad::TSprite* parent) : TGameSprite(parent) {}
};

// The level's tens and units digits.
extern std::array<SpriteRef<TDigital>, 2> levelDigits;
// Slot k shows the digit of weight 10 to the power k; slots above the number's length are hidden.
extern std::array<SpriteRef<TDigital>, 5> scoreDigits;
extern std::array<SpriteRef<TDigital>, 5> topDigits;
extern SpriteRef<TDigital> livesDigit;

} // namespace vimbo
