// The maze's block sprites and the player's temporary wall: one block per grid cell (walls on
// screen, floors parked off it), the level's tiles and tint, and taking the wall away again.
#pragma once

#include <array>
#include <cstdint>

#include "engine/render/AdImages.hpp"
#include "engine/sprites/AdImageSprites.hpp"
#include "engine/sprites/AdSprites.hpp"
#include "game/SpriteRef.hpp"

namespace vimbo {

// A maze cell's block. Actors probe for blocks to stop and turn; a block never moves or animates.
class TBlock : public ad::TImageSpriteEx {
public:
    // The tile is still from the start: an animating first move would step a block onto another
    // tile when that frame is long (as the first one after a level load is).
    explicit TBlock(ad::TSprite* parent) : TImageSpriteEx(parent) { AnimActive = false; }
    // Takes the level's tint and keeps the tile still.
    void DoMove(double timeGap) override;
};

// The temporary wall the player drops on the cell it is crossing; it holds the enemy for a while.
class TWall : public TGameSprite {
public:
    explicit TWall(ad::TSprite* parent) : TGameSprite(parent) {}

    // Creates the wall sprite on the player's cell (at (24, 24) when the player was caught) and
    // plays its sound; the new wall becomes `wall`.
    static void PlaceWall();
};

inline constexpr int kBlockSlots = 993;
// Where floor cells' blocks are parked, off the screen.
inline constexpr double kParkedBlockPosition = -24.0;
inline constexpr int kBlockZ = 7;
// A wall lasts this long, in tenths of a second.
inline constexpr double kWallLifetime = 20.0;

// The block sprites of the maze in creation order (row by row, column by column); an entry is
// cleared once its block is marked dead, so no entry outlives its sprite.
extern std::array<TBlock*, kBlockSlots> blocks;
extern int32_t blockIndex;
extern int32_t blockBase;
extern uint32_t blockColor;

// The placed wall: its age in tenths of a second, the player's position when it was placed (both
// non-zero while a wall exists) and its maze cell. `wall` is the wall sprite, cleared once it is
// marked dead.
extern double wallTimer;
extern double wallX;
extern double wallY;
extern int32_t wallCol;
extern int32_t wallRow;
extern SpriteRef<TWall> wall;

// Puts the block and wall state back to its value at program start.
void ResetBlockState();

// Builds the blocks of the current level from `maze` under the engine, with the images' "b3"
// sheet: the blocks of an earlier build are marked dead first. A failure on one cell shows
// "error block setline" and ends the build there.
void BuildBlocks(ad::TSpriteEngine& engine, const ad::TAdImageList& images);

// Marks every block of the maze dead.
void DeadBlocks();

// The player drops a wall on the cell it is crossing, if it is moving and no wall stands: the wall
// sprite, its clock, and its cell closed in the maze for the enemy's path search.
void DropWall();

// Takes the placed wall away: the sprite is marked dead and the wall's cell and its neighbours get
// their floor codes back. Without a wall it only clears `showW`.
void walldestroy();

} // namespace vimbo
