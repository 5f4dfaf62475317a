// The maze codes the player's temporary wall changes: closing its cell when it is dropped and
// opening it again when it goes, so the enemy's path search sees the maze as it stands.
#pragma once

#include "game/MazeGrid.hpp"

namespace vimbo {

// Closes the cell with a wall and marks each of its four plain floor neighbours as a junction, so
// the enemy searches again when it reaches one of them.
void CloseCellForWall(MazeGrid& grid, int column, int row);

// Opens the cell of a removed wall. It becomes a junction when a horizontal and a vertical
// neighbour are both junctions (as the wall's placement left them), else plain floor. Then each
// junction neighbour (above, below, left, right) is judged again: a junction when it has plain floor
// both across and along, else plain floor.
void OpenCellAfterWall(MazeGrid& grid, int column, int row);

} // namespace vimbo
