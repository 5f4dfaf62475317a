// Helpers of the maze tests: small pictures of cells ("*" wall, "." floor) placed in the top-left
// corner of an otherwise walled grid, and the corner of a grid read back as a picture.
#pragma once

#include <string>
#include <vector>

#include "game/MazeGrid.hpp"

namespace vimbo::test {

using Picture = std::vector<std::string>;

// The map text (one cell per CR LF line, row by row) of the picture in a maze of walls.
inline std::string MapTextOf(const Picture& picture) {
    std::string text;
    for (int row = 0; row < kMazeRows; ++row) {
        for (int column = 0; column < kMazeColumns; ++column) {
            const bool inside =
                row < static_cast<int>(picture.size()) && column < static_cast<int>(picture[row].size());
            text += inside ? picture[row][column] : '*';
            text += "\r\n";
        }
    }
    return text;
}

// The top-left corner of a grid, as big as the picture `like`.
inline Picture Corner(const MazeGrid& grid, const Picture& like) {
    Picture corner;
    for (int row = 0; row < static_cast<int>(like.size()); ++row) {
        corner.emplace_back();
        for (int column = 0; column < static_cast<int>(like[row].size()); ++column)
            corner.back() += MazeAt(grid, column, row);
    }
    return corner;
}

} // namespace vimbo::test
