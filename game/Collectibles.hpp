// The one collectible in the maze, whose worth depends on the frame it shows when eaten, and the
// scoring that follows every meal: extra lives, the top score, and the level that follows the score.
#pragma once

#include <cstdint>

#include "game/SpriteRef.hpp"

namespace vimbo {

class TVit1 : public TGameSprite {
public:
    explicit TVit1(ad::TSprite* parent) : TGameSprite(parent) {}
    // The big collectible sparkles.
    void DoMove(double timeGap) override;
    // A glow under the collectible, and a second drawing that stays bright while the scene fades.
    void DoDraw() override;
};

extern SpriteRef<TVit1> vit;

// 0 places the big collectible (and sends the enemy for it), anything else a small one.
extern int32_t vitMode;
// The collectible's cell, and its offset in pixels (the cell times 24).
extern int32_t vitCol, vitRow, vitOffX, vitOffY;

// The points a collectible is worth by the frame it shows: 100 from frame 12, 30 from 8, 20 from 4,
// else 10.
int32_t PointsForFrame(double animPos);

// The level a score earns: one more every 200 points, from 1 up to the last level, 20. A negative
// score (a "save" may hold one) earns the first.
int32_t LevelForScore(int32_t score);

// Draws the next collectible's kind and a cell in a corridor one cell wide (all four diagonal
// neighbours walls, neither actor's start cell), then creates it.
void SpawnVit();
// Creates the collectible on the chosen cell.
void VitCreate();

// After every meal: extra lives once per thousand, the top score, and the level the score now
// earns; the next collectible, or a level change through a restart.
void checkscore();

void ResetCollectibleState();

} // namespace vimbo
