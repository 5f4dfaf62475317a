// The block tile choice and the per-level block tiles and tints.
#include "game/BlockTiles.hpp"

#include <array>

namespace vimbo {

namespace {

constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

bool IsWallAt(const MazeGrid& grid, int index) {
    return index >= 0 && index < kMazeCells && grid[static_cast<size_t>(index)] == kWallCell;
}

// Tiles by neighbour pattern, indexed by left * 8 + above * 4 + below * 2 + right (1 = wall).
constexpr std::array<int, 16> kTileByNeighbours = {-1, 5, 10, 0, 10, 5, 10, 9, 7, 6, 2, 1, 7, 6, 8, 3};

} // namespace

int32_t BlockBaseForLevel(int32_t level) {
    if (level < 1 || level > kBlockSheetLevels) return 0;
    return (level - 1) * kTilesPerLevel;
}

uint32_t BlockColorForLevel(int32_t level) {
    switch (level) {
    case 1:
    case 14:
    case 17:
    case 18:
        return Rgb(0, 255, 0);
    case 7:
        return Rgb(250, 200, 50);
    case 10:
        return Rgb(255, 140, 0);
    case 19:
        return Rgb(220, 240, 50);
    case 20:
        return Rgb(200, 200, 200);
    default:
        return kUntintedBlockColor;
    }
}

int ChooseBlockTile(const MazeGrid& grid, int column, int row) {
    const int k = MazeIndex(column, row);
    const bool left = IsWallAt(grid, k - kMazeRows);
    const bool above = IsWallAt(grid, k - 1);
    const bool below = IsWallAt(grid, k + 1);
    const bool right = IsWallAt(grid, k + kMazeRows);
    if (column == 0) return right ? 3 : 8;
    if (column == kMazeColumns - 1) return left ? 3 : 9;
    const int key = (left ? 8 : 0) | (above ? 4 : 0) | (below ? 2 : 0) | (right ? 1 : 0);
    return kTileByNeighbours[static_cast<size_t>(key)];
}

int BlockFrame(const MazeGrid& grid, int column, int row, int32_t level) {
    const int tile = ChooseBlockTile(grid, column, row);
    return tile < 0 ? 0 : BlockBaseForLevel(level) + tile;
}

} // namespace vimbo
