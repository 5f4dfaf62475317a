// Tests of the block tile choice and the per-level block tiles and tints.
#include "game/BlockTiles.hpp"

#include <gtest/gtest.h>

#include <string>

namespace vimbo {
namespace {

// A grid of floor with a wall at (column, row) and walls on the named sides: "l", "a", "b", "r"
// for left, above, below and right.
MazeGrid WallWithNeighbours(int column, int row, const std::string& sides) {
    MazeGrid grid;
    grid.fill(kFloorCell);
    MazeAt(grid, column, row) = kWallCell;
    if (sides.find('l') != std::string::npos) MazeAt(grid, column - 1, row) = kWallCell;
    if (sides.find('a') != std::string::npos) MazeAt(grid, column, row - 1) = kWallCell;
    if (sides.find('b') != std::string::npos) MazeAt(grid, column, row + 1) = kWallCell;
    if (sides.find('r') != std::string::npos) MazeAt(grid, column + 1, row) = kWallCell;
    return grid;
}

TEST(BlockTileChoice, FollowsTheWallNeighboursOfInnerColumns) {
    const struct {
        const char* sides;
        int tile;
    } cases[] = {{"br", 0},  {"lbr", 1}, {"lb", 2},  {"labr", 3}, {"r", 5},  {"ar", 5},
                 {"lr", 6},  {"lar", 6}, {"l", 7},   {"la", 7},   {"lab", 8}, {"abr", 9},
                 {"ab", 10}, {"b", 10},  {"a", 10},  {"", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(ChooseBlockTile(WallWithNeighbours(12, 9, c.sides), 12, 9), c.tile) << "walls at " << c.sides;
}

TEST(BlockTileChoice, BorderColumnsLookOnlyInward) {
    EXPECT_EQ(ChooseBlockTile(WallWithNeighbours(0, 9, "r"), 0, 9), 3);
    EXPECT_EQ(ChooseBlockTile(WallWithNeighbours(0, 9, "ab"), 0, 9), 8);
    EXPECT_EQ(ChooseBlockTile(WallWithNeighbours(31, 9, "l"), 31, 9), 3);
    EXPECT_EQ(ChooseBlockTile(WallWithNeighbours(31, 9, "ab"), 31, 9), 9);
}

TEST(BlockTileChoice, RowsWrapIntoTheNeighbouringColumnsAsTheGridIsStored) {
    // Above row 0 lies the previous column's last row; below the last row the next column's row 0.
    MazeGrid grid;
    grid.fill(kFloorCell);
    MazeAt(grid, 5, 0) = kWallCell;
    MazeAt(grid, 4, kMazeRows - 1) = kWallCell;
    EXPECT_EQ(ChooseBlockTile(grid, 5, 0), 10); // a wall above only
    MazeAt(grid, 7, kMazeRows - 1) = kWallCell;
    MazeAt(grid, 8, 0) = kWallCell;
    EXPECT_EQ(ChooseBlockTile(grid, 7, kMazeRows - 1), 10); // a wall below only
}

TEST(BlockTileChoice, ALoneWallShowsTheSheetsFirstTileOnEveryLevel) {
    const MazeGrid grid = WallWithNeighbours(12, 9, "");
    for (int level : {1, 2, 13, 20, 21}) EXPECT_EQ(BlockFrame(grid, 12, 9, level), 0) << "level " << level;
    EXPECT_EQ(BlockFrame(WallWithNeighbours(12, 9, "labr"), 12, 9, 2), kTilesPerLevel + 3);
}

TEST(BlockLevels, EachLevelHasARowOfTilesAndLevelsPastTheSheetUseTheFirst) {
    EXPECT_EQ(BlockBaseForLevel(1), 0);
    EXPECT_EQ(BlockBaseForLevel(2), 11);
    EXPECT_EQ(BlockBaseForLevel(20), 209);
    EXPECT_EQ(BlockBaseForLevel(21), 0);
    EXPECT_EQ(BlockBaseForLevel(0), 0);
}

TEST(BlockLevels, TintsHoldRedInTheLowestByte) {
    EXPECT_EQ(BlockColorForLevel(1), 0x00FF00u);
    EXPECT_EQ(BlockColorForLevel(18), 0x00FF00u);
    EXPECT_EQ(BlockColorForLevel(7), 0x32C8FAu);
    EXPECT_EQ(BlockColorForLevel(10), 0x008CFFu);
    EXPECT_EQ(BlockColorForLevel(19), 0x32F0DCu);
    EXPECT_EQ(BlockColorForLevel(20), 0xC8C8C8u);
    for (int level : {2, 3, 8, 16, 21}) EXPECT_EQ(BlockColorForLevel(level), kUntintedBlockColor) << level;
}

} // namespace
} // namespace vimbo
