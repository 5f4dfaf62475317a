// Tests of the maze codes around the player's temporary wall: closing a cell and opening it again
// leaves the junction marks the enemy's path search relies on.
#include "game/WallCells.hpp"
#include "tests/game/MazePictures.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vimbo {
namespace {

using test::Corner;
using test::Picture;

// The level a picture makes, junctions marked.
MazeGrid Loaded(const Picture& picture) {
    MazeGrid grid = WallGrid();
    LoadMazeFromText(grid, test::MapTextOf(picture));
    return grid;
}

TEST(WallCells, ClosingMarksThePlainFloorNeighboursAsJunctions) {
    MazeGrid grid = Loaded({"*******",
                            "*.....*",
                            "***.***",
                            "***.***"});
    CloseCellForWall(grid, 2, 1);
    EXPECT_EQ(Corner(grid, Picture(4, "*******")), (Picture{"*******",
                                           "*0*0__*", // (3,1) was a junction already
                                           "***_***",
                                           "***_***"}));
}

TEST(WallCells, ACorridorCellAndItsNeighboursAreAsBeforeOnceTheWallGoes) {
    MazeGrid grid = Loaded({"*******",
                            "*.....*",
                            "*******"});
    const MazeGrid before = grid;
    CloseCellForWall(grid, 3, 1);
    EXPECT_EQ(Corner(grid, Picture(3, "*******"))[1], "*_0*0_*");
    OpenCellAfterWall(grid, 3, 1);
    EXPECT_EQ(grid, before);
}

TEST(WallCells, AJunctionUnderTheWallIsAJunctionAgain) {
    MazeGrid grid = Loaded({"*******",
                            "*.....*",
                            "***.***",
                            "***.***"});
    const MazeGrid before = grid;
    ASSERT_EQ(MazeAt(grid, 3, 1), kJunctionCell);
    CloseCellForWall(grid, 3, 1);
    OpenCellAfterWall(grid, 3, 1);
    EXPECT_EQ(grid, before);
}

TEST(WallCells, NeighboursWithFloorBothWaysStayJunctions) {
    // The wall stands beside an open square: the square's corner cell next to it has plain floor
    // across and along once the wall's cell is floor again.
    MazeGrid grid = Loaded({"******",
                            "*....*",
                            "*.**.*",
                            "*....*",
                            "******"});
    CloseCellForWall(grid, 2, 1);
    OpenCellAfterWall(grid, 2, 1);
    EXPECT_EQ(MazeAt(grid, 2, 1), kFloorCell);
    EXPECT_EQ(MazeAt(grid, 1, 1), kJunctionCell) << "the corner keeps its mark";
    EXPECT_EQ(MazeAt(grid, 3, 1), kFloorCell) << "a straight corridor cell is plain floor again";
}

TEST(WallCells, CellsOutsideTheGridAreLeftAlone) {
    MazeGrid grid = WallGrid();
    const MazeGrid before = grid;
    CloseCellForWall(grid, -1, 3);
    OpenCellAfterWall(grid, kMazeColumns, 3);
    EXPECT_EQ(grid, before);
}

} // namespace
} // namespace vimbo
