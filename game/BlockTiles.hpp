// What a maze block looks like: the tile of the block sheet a wall cell shows (chosen from its wall
// neighbours) and the per-level first tile and tint. Shared by the block builder and the art preview.
#pragma once

#include <cstdint>

#include "game/MazeGrid.hpp"

namespace vimbo {

// The block sheet "b3" holds one row of kTilesPerLevel tiles of kCellSize pixels per level.
inline constexpr int kTilesPerLevel = 11;
inline constexpr int kBlockSheetLevels = 20;
inline constexpr int kCellSize = 24;

// The tint a block shows when the level has none of its own: white in the low 24 bits.
inline constexpr uint32_t kUntintedBlockColor = 0x1FFFFFFF;

// The first tile of the level in the block sheet; levels past the sheet (and below level 1) take
// level 1's tiles.
int32_t BlockBaseForLevel(int32_t level);

// The tint of all blocks of the level, red in the lowest byte, then green, then blue.
uint32_t BlockColorForLevel(int32_t level);

// The tile (0..10, an offset from the level's first tile) of the wall cell (column, row), chosen
// from which of its four neighbours are walls; -1 for a wall with no wall neighbour, which shows the
// sheet's very first tile on every level. The neighbours are read as the grid stores them, one run
// of cells column after column: "above" row 0 is the previous column's last row and "below" the
// last row the next column's row 0. The border columns have tiles of their own.
int ChooseBlockTile(const MazeGrid& grid, int column, int row);

// The frame of the block sheet the wall cell shows on the level.
int BlockFrame(const MazeGrid& grid, int column, int row, int32_t level);

} // namespace vimbo
