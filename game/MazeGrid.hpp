// The maze grid value that every actor consults, and the pure functions that build it from a map text:
// parsing the 992 one-character lines and marking the junction cells.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vimbo {

inline constexpr int kMazeColumns = 32;
inline constexpr int kMazeRows = 31;
inline constexpr int kMazeCells = kMazeColumns * kMazeRows;

inline constexpr char kWallCell = '*';
inline constexpr char kFloorCell = '_';
inline constexpr char kJunctionCell = '0';
// The floor character of a map text; the grid stores it as kFloorCell.
inline constexpr char kMapFloor = '.';

// One-byte cell codes stored column by column: cell (c, r) lives at index c * kMazeRows + r.
using MazeGrid = std::array<char, kMazeCells>;

constexpr int MazeIndex(int column, int row) {
    return column * kMazeRows + row;
}
constexpr bool InMaze(int column, int row) {
    return column >= 0 && column < kMazeColumns && row >= 0 && row < kMazeRows;
}

inline char& MazeAt(MazeGrid& grid, int column, int row) {
    return grid[MazeIndex(column, row)];
}
inline char MazeAt(const MazeGrid& grid, int column, int row) {
    return grid[MazeIndex(column, row)];
}

// A grid of walls only: what a fresh game holds before any map was loaded.
MazeGrid WallGrid();

// Splits a map text into lines at CR LF (a lone LF also ends a line); a final line break adds no
// empty line.
std::vector<std::string> SplitMapLines(std::string_view text);

// Stores the lines into the grid row by row (line k is column k mod 32 of row k div 32), using only
// the first character of each line, "." as floor and anything else as it stands. Stops at the first
// missing or empty line and leaves the cells from there on as they were. Returns the number of cells
// stored, kMazeCells on success.
int FillMaze(MazeGrid& grid, const std::vector<std::string>& lines);

// Marks the junction cells in place, row by row and within a row column by column: a floor cell
// becomes a junction when it has a floor neighbour both across and along (right or left together with
// up or down). Only kFloorCell counts as floor, so a left or upper neighbour already marked in this
// pass no longer counts. Cells outside the grid count as walls.
void MarkJunctions(MazeGrid& grid);

// The map of a level as the loader builds it: fill, then mark the junctions. Returns false when the
// text held too few usable lines (the unfilled cells keep their old codes, and the junction pass
// still runs over what is there).
bool LoadMazeFromText(MazeGrid& grid, std::string_view text);

// The grid as rows of text, one line per row ending in '\n': how tests and tools show a maze.
std::string MazeToRows(const MazeGrid& grid);

} // namespace vimbo
