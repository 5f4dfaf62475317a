// Hostile level maps: any bytes split and fill the grid without harm, and the parts of the game that
// read the grid afterwards (the block tiles, the enemy's path search) take whatever it holds.
#include <string>
#include <string_view>
#include <vector>

#include "game/BlockTiles.hpp"
#include "game/MazeGrid.hpp"
#include "game/PathSearch.hpp"
#include "tests/fuzz/FuzzTargets.hpp"

namespace vimbo::fuzz {

namespace {

bool IsDirection(const std::string& dir) {
    return dir == "up" || dir == "down" || dir == "left" || dir == "right";
}

// One search the game runs: from the enemy's start cell after the runner, or after a collectible on a
// cell taken from the map's own bytes. The flood makes a hundred passes over the grid, so each input
// gets one search, its kind and target also taken from its bytes.
void SearchRoute(const MazeGrid& grid, std::string_view text) {
    const int seed = text.empty() ? 0 : static_cast<unsigned char>(text.back());
    const MazeCell vit{seed % kMazeColumns, seed % kMazeRows};
    const PathSearchQuery query{{30, 29}, {1, 1}, seed & 1, vit};
    const PathSearchResult result = PathSearch(grid, query);
    if (result.found)
        Expect(IsDirection(result.pathDir), "a found route starts with a direction");
    Expect(!result.distancesRead || (result.pathLen >= 1 && result.pathLen <= 101),
           "the route's length is a distance of the flood");
}

} // namespace

void MapText(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitMapLines(text);
    for (const std::string& line : lines)
        Expect(line.find('\n') == std::string::npos, "no line holds a line break");

    MazeGrid filled = WallGrid();
    const int stored = FillMaze(filled, lines);
    Expect(stored >= 0 && stored <= kMazeCells, "the cells stored fit the grid");
    MazeGrid grid = WallGrid();
    Expect(LoadMazeFromText(grid, text) == (stored == kMazeCells), "a load is complete when every cell is");
    for (int i = 0; i < kMazeCells; ++i)
        Expect(grid[i] == filled[i] || (filled[i] == kFloorCell && grid[i] == kJunctionCell),
               "the junction pass changes only floor into junctions");

    for (int column = 0; column < kMazeColumns; ++column)
        for (int row = 0; row < kMazeRows; ++row) {
            if (MazeAt(grid, column, row) != kWallCell)
                continue;
            const int tile = ChooseBlockTile(grid, column, row);
            Expect(tile >= -1 && tile < kTilesPerLevel, "a wall's tile lies in its level's row");
            const int frame = BlockFrame(grid, column, row, 1 + (column + row) % 25);
            Expect(frame >= 0 && frame < kTilesPerLevel * kBlockSheetLevels,
                   "a block frame lies on the sheet");
        }
    SearchRoute(grid, text);
}

} // namespace vimbo::fuzz
