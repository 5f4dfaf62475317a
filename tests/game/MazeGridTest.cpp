// Tests of the maze grid functions: map text parsing and the loader's in-place junction pass, written as
// small pictures in the top-left corner of an otherwise walled grid.
#include "game/MazeGrid.hpp"
#include "tests/game/MazePictures.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vimbo {
namespace {

using test::Corner;
using test::MapTextOf;
using test::Picture;

Picture Loaded(const Picture& map, const Picture& like) {
    MazeGrid grid = WallGrid();
    EXPECT_TRUE(LoadMazeFromText(grid, MapTextOf(map)));
    return Corner(grid, like);
}

// Pictures stay one row per line.
// clang-format off
TEST(MazeGridJunctionPass, OpenSquareMarksOnlyItsDiagonal) {
    // (2,1) lost its left floor neighbour to the marking before its turn came, (1,2) its upper one.
    const Picture map{
        "****",
        "*..*",
        "*..*",
        "****",
    };
    const Picture expected{
        "****",
        "*0_*",
        "*_0*",
        "****",
    };
    EXPECT_EQ(Loaded(map, expected), expected);
}

TEST(MazeGridJunctionPass, StraightCorridorsAndDeadEndsStayFloorWhileTheCornerTurns) {
    const Picture map{
        "*******",
        "*.....*",
        "*****.*",
        "*****.*",
        "*******",
    };
    const Picture expected{
        "*******",
        "*____0*",
        "*****_*",
        "*****_*",
        "*******",
    };
    EXPECT_EQ(Loaded(map, expected), expected);
}

TEST(MazeGridJunctionPass, BranchesAndLoopCornersBecomeJunctions) {
    const Picture map{
        "*******",
        "*.....*",
        "*.*.*.*",
        "*.....*",
        "***.***",
        "*******",
    };
    const Picture expected{
        "*******",
        "*0_0_0*",
        "*_*_*_*",
        "*0_0_0*",
        "***_***",
        "*******",
    };
    EXPECT_EQ(Loaded(map, expected), expected);
}

TEST(MazeGridJunctionPass, MarksMadeEarlierInThePassNoLongerCountAsFloor) {
    const Picture map{
        "*****",
        "*...*",
        "*...*",
        "*****",
    };
    const Picture expected{
        "*****",
        "*00_*",
        "*__0*",
        "*****",
    };
    EXPECT_EQ(Loaded(map, expected), expected);
}
// clang-format on

TEST(MazeGridJunctionPass, CellsOutsideTheGridCountAsWalls) {
    // In column-major storage the cell above (3, 0) would be (2, 30), and the one left of (0, 4) or
    // right of (31, 3) would lie outside the storage: none may be taken for a neighbour.
    MazeGrid grid = WallGrid();
    MazeAt(grid, 3, 0) = kFloorCell;
    MazeAt(grid, 4, 0) = kFloorCell;
    MazeAt(grid, 2, 30) = kFloorCell;
    MazeAt(grid, 0, 4) = kFloorCell;
    MazeAt(grid, 0, 5) = kFloorCell;
    MazeAt(grid, 31, 3) = kFloorCell;
    MarkJunctions(grid);
    EXPECT_EQ(MazeAt(grid, 3, 0), kFloorCell);
    EXPECT_EQ(MazeAt(grid, 0, 4), kFloorCell);
    EXPECT_EQ(MazeAt(grid, 0, 5), kFloorCell);
    EXPECT_EQ(MazeAt(grid, 31, 3), kFloorCell);
}

TEST(MazeGridJunctionPass, LeavesWallsAndJunctionsAlone) {
    MazeGrid grid = WallGrid();
    MazeGrid before = grid;
    MarkJunctions(grid);
    EXPECT_EQ(grid, before);

    MazeAt(grid, 1, 1) = kJunctionCell;
    MazeAt(grid, 2, 1) = kFloorCell;
    MazeAt(grid, 1, 2) = kFloorCell;
    before = grid;
    MarkJunctions(grid);
    EXPECT_EQ(grid, before);
}

TEST(MazeGridParsing, SplitsAtCrLfAndAtLoneLineFeeds) {
    EXPECT_EQ(SplitMapLines("*\r\n.\r\n"), (std::vector<std::string>{"*", "."}));
    EXPECT_EQ(SplitMapLines("*\n.\r\n*"), (std::vector<std::string>{"*", ".", "*"}));
    EXPECT_EQ(SplitMapLines("*\r\n\r\n."), (std::vector<std::string>{"*", "", "."}));
    EXPECT_TRUE(SplitMapLines("").empty());
}

TEST(MazeGridParsing, LinesRunRowByRowIntoColumnMajorStorage) {
    std::string text = MapTextOf({"*", "*."});
    MazeGrid grid = WallGrid();
    ASSERT_EQ(FillMaze(grid, SplitMapLines(text)), kMazeCells);
    EXPECT_EQ(grid[MazeIndex(1, 1)], kFloorCell);
    EXPECT_EQ(grid[1 * kMazeRows + 1], kFloorCell);
    EXPECT_EQ(grid[1 * kMazeColumns + 1], kWallCell);
}

TEST(MazeGridParsing, OnlyTheFirstCharacterOfALineCounts) {
    std::vector<std::string> lines(kMazeCells, "*");
    lines[0] = ".*";
    lines[1] = "*..";
    lines[2] = "x.";
    MazeGrid grid = WallGrid();
    ASSERT_EQ(FillMaze(grid, lines), kMazeCells);
    EXPECT_EQ(MazeAt(grid, 0, 0), kFloorCell);
    EXPECT_EQ(MazeAt(grid, 1, 0), kWallCell);
    EXPECT_EQ(MazeAt(grid, 2, 0), 'x');
}

TEST(MazeGridParsing, ShortTextLeavesTheRestOfTheGridAsItWas) {
    MazeGrid grid;
    grid.fill(kJunctionCell);
    std::string text;
    for (int line = 0; line < 40; ++line)
        text += ".\r\n";
    EXPECT_FALSE(LoadMazeFromText(grid, text));
    // Row 0 whole and row 1 up to column 7 were loaded; the junction pass then marked the loaded cells
    // that had floor both beside and below them.
    const Picture expected{
        "00000000________________________",
        "________000000000000000000000000",
    };
    EXPECT_EQ(Corner(grid, expected), expected);
    EXPECT_EQ(MazeAt(grid, 31, 30), kJunctionCell);
}

TEST(MazeGridParsing, EmptyLineStopsTheFill) {
    MazeGrid grid = WallGrid();
    std::vector<std::string> lines(kMazeCells, ".");
    lines[5] = "";
    EXPECT_EQ(FillMaze(grid, lines), 5);
    EXPECT_EQ(MazeAt(grid, 4, 0), kFloorCell);
    EXPECT_EQ(MazeAt(grid, 5, 0), kWallCell);
    EXPECT_EQ(MazeAt(grid, 6, 0), kWallCell);
}

TEST(MazeGridParsing, ReloadRestoresCellsChangedDuringPlay) {
    const std::string text = MapTextOf({"****", "*..*", "*..*", "****"});
    MazeGrid grid = WallGrid();
    LoadMazeFromText(grid, text);
    const MazeGrid fresh = grid;
    MazeAt(grid, 2, 1) = kWallCell;
    MazeAt(grid, 3, 3) = kFloorCell;
    LoadMazeFromText(grid, text);
    EXPECT_EQ(grid, fresh);
}

} // namespace
} // namespace vimbo
