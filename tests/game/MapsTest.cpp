// Checks every shipped level map: the file format, and that the maze is fit for the chase (closed
// border, one connected network without dead ends, one-cell corridors, room for collectibles, and no
// cell farther from another than the enemy's path search can see).
#include "game/MazeGrid.hpp"
#include "tests/support/TestPaths.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vimbo {
namespace {

constexpr int kLevels = 20;
constexpr int kMapBytes = kMazeCells * 3;
// The enemy's path search floods 100 steps; keep a margin for the cells it closes around itself.
constexpr int kLongestAllowedPath = 90;
constexpr int kMinimumCollectibleCells = 30;

std::string ReadMapText(int level) {
    const std::string path = test::SourceFolder() + "resources/maps/map" + std::to_string(level) + ".txt";
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

MazeGrid LoadLevel(int level) {
    MazeGrid grid = WallGrid();
    LoadMazeFromText(grid, ReadMapText(level));
    return grid;
}

bool IsOpen(const MazeGrid& grid, int column, int row) {
    return InMaze(column, row) && MazeAt(grid, column, row) != kWallCell;
}

int OpenNeighbours(const MazeGrid& grid, int column, int row) {
    return IsOpen(grid, column - 1, row) + IsOpen(grid, column + 1, row) + IsOpen(grid, column, row - 1) +
           IsOpen(grid, column, row + 1);
}

// Steps from one cell to every other through open cells; -1 where it cannot go.
std::vector<int> Distances(const MazeGrid& grid, int column, int row) {
    std::vector<int> distance(kMazeCells, -1);
    std::vector<int> open{MazeIndex(column, row)};
    distance[open.front()] = 0;
    for (std::size_t next = 0; next < open.size(); ++next) {
        const int cell = open[next];
        const int c = cell / kMazeRows, r = cell % kMazeRows;
        for (const auto& [dc, dr] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
            if (!IsOpen(grid, c + dc, r + dr) || distance[MazeIndex(c + dc, r + dr)] >= 0)
                continue;
            distance[MazeIndex(c + dc, r + dr)] = distance[cell] + 1;
            open.push_back(MazeIndex(c + dc, r + dr));
        }
    }
    return distance;
}

// Independent cycles of the floor network: the escape loops a chase can use.
int Loops(const MazeGrid& grid) {
    int cells = 0, links = 0;
    for (int column = 0; column < kMazeColumns; ++column) {
        for (int row = 0; row < kMazeRows; ++row) {
            if (!IsOpen(grid, column, row))
                continue;
            ++cells;
            links += IsOpen(grid, column + 1, row) + IsOpen(grid, column, row + 1);
        }
    }
    return links - cells + 1;
}

class LevelMap : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        text_ = ReadMapText(GetParam());
        ASSERT_FALSE(text_.empty()) << "missing map" << GetParam();
        grid_ = LoadLevel(GetParam());
        picture_ = "\n" + MazeToRows(grid_);
    }
    std::string text_;
    MazeGrid grid_{};
    std::string picture_;
};

TEST_P(LevelMap, IsOneCharacterAndCrLfPerCellRowByRow) {
    ASSERT_EQ(static_cast<int>(text_.size()), kMapBytes);
    for (int line = 0; line < kMazeCells; ++line) {
        const char cell = text_[line * 3];
        ASSERT_TRUE(cell == '*' || cell == '.') << "line " << line;
        ASSERT_EQ(text_.substr(line * 3 + 1, 2), "\r\n") << "line " << line;
    }
    MazeGrid grid = WallGrid();
    EXPECT_TRUE(LoadMazeFromText(grid, text_));
}

TEST_P(LevelMap, IsWalledAllRound) {
    for (int column = 0; column < kMazeColumns; ++column) {
        EXPECT_EQ(MazeAt(grid_, column, 0), kWallCell) << picture_;
        EXPECT_EQ(MazeAt(grid_, column, kMazeRows - 1), kWallCell) << picture_;
    }
    for (int row = 0; row < kMazeRows; ++row) {
        EXPECT_EQ(MazeAt(grid_, 0, row), kWallCell) << picture_;
        EXPECT_EQ(MazeAt(grid_, kMazeColumns - 1, row), kWallCell) << picture_;
    }
}

TEST_P(LevelMap, HasOneCellCorridorsWithoutDeadEnds) {
    for (int column = 0; column < kMazeColumns; ++column) {
        for (int row = 0; row < kMazeRows; ++row) {
            if (!IsOpen(grid_, column, row))
                continue;
            EXPECT_GE(OpenNeighbours(grid_, column, row), 2)
                << "dead end at " << column << "," << row << picture_;
            const bool square = IsOpen(grid_, column + 1, row) && IsOpen(grid_, column, row + 1) &&
                                IsOpen(grid_, column + 1, row + 1);
            EXPECT_FALSE(square) << "open square at " << column << "," << row << picture_;
        }
    }
}

TEST_P(LevelMap, StartsThePlayerOnAJunctionAndTheEnemyOnFloor) {
    EXPECT_EQ(MazeAt(grid_, 1, 1), kJunctionCell) << picture_;
    EXPECT_NE(MazeAt(grid_, 30, 29), kWallCell) << picture_;
}

TEST_P(LevelMap, KeepsJunctionsApart) {
    // The enemy searches only from junctions and treats a neighbouring junction as closed; two
    // junctions side by side would send it the long way round.
    for (int column = 0; column + 1 < kMazeColumns; ++column) {
        for (int row = 0; row + 1 < kMazeRows; ++row) {
            if (MazeAt(grid_, column, row) != kJunctionCell)
                continue;
            EXPECT_NE(MazeAt(grid_, column + 1, row), kJunctionCell) << column << "," << row << picture_;
            EXPECT_NE(MazeAt(grid_, column, row + 1), kJunctionCell) << column << "," << row << picture_;
        }
    }
}

TEST_P(LevelMap, EveryCellIsReachableWithinTheEnemysSight) {
    int longest = 0;
    for (int column = 0; column < kMazeColumns; ++column) {
        for (int row = 0; row < kMazeRows; ++row) {
            if (!IsOpen(grid_, column, row))
                continue;
            const std::vector<int> distance = Distances(grid_, column, row);
            for (int cell = 0; cell < kMazeCells; ++cell) {
                if (grid_[cell] == kWallCell)
                    continue;
                ASSERT_GE(distance[cell], 0)
                    << "cut off: " << cell / kMazeRows << "," << cell % kMazeRows << picture_;
                longest = std::max(longest, distance[cell]);
            }
        }
    }
    EXPECT_LE(longest, kLongestAllowedPath) << picture_;
}

TEST_P(LevelMap, HasRoomForCollectibles) {
    int cells = 0;
    for (int column = 1; column < kMazeColumns - 1; ++column) {
        for (int row = 1; row < kMazeRows - 1; ++row) {
            if (!IsOpen(grid_, column, row) || (column == 1 && row == 1) || (column == 30 && row == 29))
                continue;
            if (!IsOpen(grid_, column - 1, row - 1) && !IsOpen(grid_, column + 1, row - 1) &&
                !IsOpen(grid_, column - 1, row + 1) && !IsOpen(grid_, column + 1, row + 1))
                ++cells;
        }
    }
    EXPECT_GE(cells, kMinimumCollectibleCells) << picture_;
}

INSTANTIATE_TEST_SUITE_P(AllLevels, LevelMap, ::testing::Range(1, kLevels + 1),
                         [](const auto& info) { return "map" + std::to_string(info.param); });

TEST(LevelMaps, LevelOneHasTheDesignedCellCounts) {
    const MazeGrid grid = LoadLevel(1);
    EXPECT_EQ(std::count(grid.begin(), grid.end(), kWallCell), 674);
    EXPECT_EQ(std::count(grid.begin(), grid.end(), kJunctionCell), 48);
    EXPECT_EQ(std::count(grid.begin(), grid.end(), kFloorCell), 270);
}

TEST(LevelMaps, AreAllDifferent) {
    std::vector<MazeGrid> grids;
    for (int level = 1; level <= kLevels; ++level)
        grids.push_back(LoadLevel(level));
    for (int a = 0; a < kLevels; ++a)
        for (int b = a + 1; b < kLevels; ++b)
            EXPECT_NE(grids[a], grids[b]) << "map" << a + 1 << " and map" << b + 1;
}

TEST(LevelMaps, OfferFewerEscapeLoopsAsTheLevelsRise) {
    auto loopsOf = [](int first, int last) {
        int loops = 0;
        for (int level = first; level <= last; ++level)
            loops += Loops(LoadLevel(level));
        return loops;
    };
    EXPECT_GT(loopsOf(1, 5), loopsOf(6, 10));
    EXPECT_GT(loopsOf(6, 10), loopsOf(11, 15));
    EXPECT_GT(loopsOf(11, 15), loopsOf(16, 20));
}

} // namespace
} // namespace vimbo
