// The enemy's tail: 301 segments that follow the trail of the enemy's cell changes and block the
// runner's way. The tail grows with the enemy's meals and with time.
#pragma once

#include <array>
#include <cstdint>

#include "game/SpriteRef.hpp"

namespace vimbo {

inline constexpr int kTailSegments = 301;
// The tail never grows past this many segments in use.
inline constexpr int32_t kLongestTail = 299;

class THvost : public TGameSprite {
public:
    explicit THvost(ad::TSprite* parent) : TGameSprite(parent) {}
    // Every segment keeps the trail: it records the enemy's cell changes and places the segments in
    // use on the trail's points.
    void DoMove(double timeGap) override;
    // Segments are obstacles, not actors: they answer no collision.
    void DoCollision(ad::TSprite*, bool&) override {}
};

extern std::array<SpriteRef<THvost>, kTailSegments> hvosts;

// Creates the segments that are missing for a new game, parked and hidden.
void CreateHvosts();
// Parks every segment off the screen, hidden.
void HideHvosts();

// Puts the trail's bookkeeping back to its value at program start.
void ResetTailState();

} // namespace vimbo
