// The enemy's tail: 301 segments that follow the trail of the enemy's cell changes and block the
// runner's way.
#pragma once

#include <array>

#include "game/SpriteRef.hpp"

namespace vimbo {

inline constexpr int kTailSegments = 301;

class THvost : public TGameSprite {
public:
    explicit THvost(ad::TSprite* parent) : TGameSprite(parent) {}
    // Segments are obstacles, not actors: they answer no collision.
    void DoCollision(ad::TSprite*, bool&) override {}
};

extern std::array<SpriteRef<THvost>, kTailSegments> hvosts;

} // namespace vimbo
