// Closing and opening a maze cell for the player's temporary wall.
#include "game/WallCells.hpp"

#include <array>
#include <utility>

namespace vimbo {

namespace {

using Step = std::pair<int, int>;

constexpr std::array<Step, 4> kNeighbours = {{{0, -1}, {0, 1}, {-1, 0}, {1, 0}}}; // above, below, left, right

bool Holds(const MazeGrid& grid, int column, int row, char code) {
    return InMaze(column, row) && MazeAt(grid, column, row) == code;
}

// A horizontal and a vertical neighbour both hold the code (right and below, right and above,
// left and below, or left and above).
bool CornerOf(const MazeGrid& grid, int column, int row, char code) {
    const bool right = Holds(grid, column + 1, row, code);
    const bool left = Holds(grid, column - 1, row, code);
    const bool below = Holds(grid, column, row + 1, code);
    const bool above = Holds(grid, column, row - 1, code);
    return (right || left) && (below || above);
}

} // namespace

void CloseCellForWall(MazeGrid& grid, int column, int row) {
    if (!InMaze(column, row)) return;
    MazeAt(grid, column, row) = kWallCell;
    for (const auto& [dc, dr] : kNeighbours)
        if (Holds(grid, column + dc, row + dr, kFloorCell)) MazeAt(grid, column + dc, row + dr) = kJunctionCell;
}

void OpenCellAfterWall(MazeGrid& grid, int column, int row) {
    if (!InMaze(column, row)) return;
    MazeAt(grid, column, row) = CornerOf(grid, column, row, kJunctionCell) ? kJunctionCell : kFloorCell;
    for (const auto& [dc, dr] : kNeighbours) {
        const int c = column + dc;
        const int r = row + dr;
        if (Holds(grid, c, r, kJunctionCell))
            MazeAt(grid, c, r) = CornerOf(grid, c, r, kFloorCell) ? kJunctionCell : kFloorCell;
    }
}

} // namespace vimbo
