// Parsing of map texts into the maze grid and the junction pass the loader runs over it.
#include "game/MazeGrid.hpp"

namespace vimbo {

MazeGrid WallGrid() {
    MazeGrid grid;
    grid.fill(kWallCell);
    return grid;
}

std::vector<std::string> SplitMapLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        lines.emplace_back(text.substr(start, stop - start));
        start = next;
    }
    return lines;
}

int FillMaze(MazeGrid& grid, const std::vector<std::string>& lines) {
    int counter = 0;
    for (int row = 0; row < kMazeRows; ++row) {
        for (int column = 0; column < kMazeColumns; ++column) {
            if (counter >= static_cast<int>(lines.size()) || lines[counter].empty())
                return counter;
            const char code = lines[counter].front();
            MazeAt(grid, column, row) = code == kMapFloor ? kFloorCell : code;
            ++counter;
        }
    }
    return counter;
}

namespace {

bool IsFloor(const MazeGrid& grid, int column, int row) {
    return InMaze(column, row) && MazeAt(grid, column, row) == kFloorCell;
}

} // namespace

void MarkJunctions(MazeGrid& grid) {
    for (int row = 0; row < kMazeRows; ++row) {
        for (int column = 0; column < kMazeColumns; ++column) {
            if (MazeAt(grid, column, row) != kFloorCell)
                continue;
            const bool across = IsFloor(grid, column + 1, row) || IsFloor(grid, column - 1, row);
            const bool along = IsFloor(grid, column, row - 1) || IsFloor(grid, column, row + 1);
            if (across && along)
                MazeAt(grid, column, row) = kJunctionCell;
        }
    }
}

bool LoadMazeFromText(MazeGrid& grid, std::string_view text) {
    const bool complete = FillMaze(grid, SplitMapLines(text)) == kMazeCells;
    MarkJunctions(grid);
    return complete;
}

std::string MazeToRows(const MazeGrid& grid) {
    std::string rows;
    rows.reserve(kMazeRows * (kMazeColumns + 1));
    for (int row = 0; row < kMazeRows; ++row) {
        for (int column = 0; column < kMazeColumns; ++column)
            rows += MazeAt(grid, column, row);
        rows += '\n';
    }
    return rows;
}

} // namespace vimbo
