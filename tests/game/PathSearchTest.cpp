// Tests of the enemy's path search on small mazes: the distances it floods, which of two equal routes
// it takes, the cells it treats as closed, and when it gives no direction at all.
#include "game/PathSearch.hpp"
#include "game/WallCells.hpp"
#include "tests/game/MazePictures.hpp"

#include <gtest/gtest.h>

namespace vimbo {
namespace {

using test::MapTextOf;
using test::Picture;

// The level a picture makes, junctions marked as the loader marks them.
MazeGrid Level(const Picture& picture) {
    MazeGrid grid = WallGrid();
    LoadMazeFromText(grid, MapTextOf(picture));
    return grid;
}

char WaveChar(WaveValue value) {
    switch (value) {
    case kWaveEmpty:
        return '.';
    case kWaveEnemy:
        return 'X';
    case kWaveVit:
        return '#';
    case kWavePlayer:
        return 'P';
    case kWaveClosed:
        return '*';
    default:
        return value <= 9 ? static_cast<char>('0' + value) : '+';
    }
}

// The top-left corner of the wave, as big as `like`: distances as digits ('+' from 10 on), the marks as
// letters, empty cells as '.'.
Picture WaveCorner(const PathWave& wave, const Picture& like) {
    Picture corner;
    for (int row = 0; row < static_cast<int>(like.size()); ++row) {
        corner.emplace_back();
        for (int column = 0; column < static_cast<int>(like[row].size()); ++column)
            corner.back() += WaveChar(wave[MazeIndex(column, row)]);
    }
    return corner;
}

WaveValue WaveAt(const PathWave& wave, int column, int row) {
    return wave[MazeIndex(column, row)];
}

// Out of the way in the border wall, for searches where the collectible plays no part.
constexpr MazeCell kVitAside{0, 0};

// Pictures stay one row per line.
// clang-format off
const Picture kCorridor{
    "**************",
    "**************",
    "**************",
    "*............*",
    "**************",
};

// Four corners (junctions) joined by two routes of equal length.
const Picture kRing{
    "*******",
    "*.....*",
    "*.***.*",
    "*.***.*",
    "*.....*",
    "*******",
};

TEST(PathSearchWorkedExample, CorridorSeedsFloodAndWalkBack) {
    const MazeGrid maze = Level(kCorridor);
    const PathSearchQuery query{.enemy = {5, 3}, .player = {9, 3}, .vitMode = 1, .vit = {12, 3}};
    // Walls beside the enemy are closed seeds; the player's mark stops the flood, so the corridor beyond
    // it stays empty.
    const Picture expected{
        "..............",
        "..............",
        ".....*........",
        ".4321X123P..#.",
        ".....*........",
    };
    EXPECT_EQ(WaveCorner(FloodPathWave(maze, query), expected), expected);

    const PathSearchResult result = PathSearch(maze, query);
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.pathDir, "right");
    EXPECT_EQ(result.pathLen, 3);
    EXPECT_EQ(result.dUp, 100);
    EXPECT_EQ(result.dRight, 100);
    EXPECT_EQ(result.dDown, 100);
    EXPECT_EQ(result.dLeft, 3);
}

TEST(PathSearchTies, TheLastNeighbourOfTheTargetInOrderUpRightDownLeftWins) {
    // Both routes from the top-left corner to the bottom-right one take 7 steps, so the target's upper
    // and left neighbours both carry 6; the left one is the later match and the route runs along the
    // bottom, starting downwards.
    const MazeGrid maze = Level(kRing);
    const PathSearchQuery query{.enemy = {1, 1}, .player = {5, 4}, .vitMode = 1, .vit = kVitAside};
    const Picture expected{
        "#*.....",
        "*X1234.",
        ".1...5.",
        ".2...6.",
        ".3456P.",
        ".......",
    };
    EXPECT_EQ(WaveCorner(FloodPathWave(maze, query), expected), expected);

    const PathSearchResult result = PathSearch(maze, query);
    EXPECT_EQ(result.pathDir, "down");
    EXPECT_EQ(result.pathLen, 6);
    EXPECT_EQ(result.dUp, 6);
    EXPECT_EQ(result.dLeft, 6);
}

TEST(PathSearchTies, TheWalkBackTriesRightBeforeLeft) {
    // The stem's top is 6 from both sides of the loop; walking back from it the right neighbour is tried
    // before the left one, so the route goes round the right side and the enemy turns right.
    const MazeGrid maze = Level({
        "*******",
        "*.....*",
        "*.***.*",
        "*.....*",
        "***.***",
        "***.***",
        "*******",
    });
    const PathSearchQuery query{.enemy = {3, 1}, .player = {3, 5}, .vitMode = 1, .vit = kVitAside};
    const Picture expected{
        "#..*...",
        ".21X12.",
        ".3.*.3.",
        ".45654.",
        "...7...",
        "...P...",
    };
    EXPECT_EQ(WaveCorner(FloodPathWave(maze, query), expected), expected);

    const PathSearchResult result = PathSearch(maze, query);
    EXPECT_EQ(result.pathDir, "right");
    EXPECT_EQ(result.pathLen, 7);
    EXPECT_EQ(result.dUp, 7);
}
// clang-format on

TEST(PathSearchClosedCells, AJunctionBesideTheEnemyIsClosedSoTheEnemyGoesTheLongWay) {
    // Through the corner junction on its left the player would be 3 steps away; that corner is closed,
    // and the cell below it can then only be reached through the player, so the route runs the whole
    // ring the other way.
    const MazeGrid maze = Level(kRing);
    ASSERT_EQ(MazeAt(maze, 1, 1), kJunctionCell);
    const PathSearchQuery query{.enemy = {2, 1}, .player = {1, 3}, .vitMode = 1, .vit = kVitAside};
    const PathWave wave = FloodPathWave(maze, query);
    EXPECT_EQ(WaveAt(wave, 1, 1), kWaveClosed);
    EXPECT_EQ(WaveAt(wave, 1, 2), kWaveEmpty);

    const PathSearchResult result = PathSearch(maze, query);
    EXPECT_EQ(result.pathDir, "right");
    EXPECT_EQ(result.pathLen, 10);
    EXPECT_EQ(result.dUp, 100);
    EXPECT_EQ(result.dDown, 10);
}

TEST(PathSearchClosedCells, TheSmallCollectiblesCellIsClosedForTheRouteToThePlayer) {
    const MazeGrid maze = Level(kRing);
    PathSearchQuery query{.enemy = {1, 1}, .player = {4, 4}, .vitMode = 1, .vit = kVitAside};
    PathSearchResult result = PathSearch(maze, query);
    // Down and along the bottom is the shorter way.
    EXPECT_EQ(result.pathDir, "down");
    EXPECT_EQ(result.pathLen, 5);
    EXPECT_EQ(result.dLeft, 5);
    EXPECT_EQ(result.dRight, 7);

    // The small collectible lying on that way closes it, and the cell past it is then left unreached.
    query.vit = {2, 4};
    result = PathSearch(maze, query);
    EXPECT_EQ(result.pathDir, "right");
    EXPECT_EQ(result.pathLen, 7);
    EXPECT_EQ(result.dLeft, 100);
    EXPECT_EQ(result.dRight, 7);
}

TEST(PathSearchTargets, TheBigCollectibleIsTheTargetAndThePlayerIsNoObstacle) {
    const MazeGrid maze = Level(kCorridor);
    PathSearchQuery query{.enemy = {6, 3}, .player = {4, 3}, .vitMode = 0, .vit = {10, 3}};
    const PathWave wave = FloodPathWave(maze, query);
    EXPECT_EQ(WaveAt(wave, 4, 3), 2);
    EXPECT_EQ(WaveAt(wave, 1, 3), 5);
    PathSearchResult result = PathSearch(maze, query);
    EXPECT_EQ(result.pathDir, "right");
    EXPECT_EQ(result.pathLen, 3);
    EXPECT_EQ(result.dLeft, 3);

    // The same scene with a small collectible: now the player is the target.
    query.vitMode = 1;
    result = PathSearch(maze, query);
    EXPECT_EQ(result.pathDir, "left");
    EXPECT_EQ(result.pathLen, 1);
    EXPECT_EQ(result.dRight, 1);
}

TEST(PathSearchNoResult, APlacedWallCutsThePlayerOff) {
    MazeGrid maze = Level(kCorridor);
    const PathSearchQuery query{.enemy = {2, 3}, .player = {9, 3}, .vitMode = 1, .vit = {12, 3}};
    ASSERT_EQ(PathSearch(maze, query).pathDir, "right");

    CloseCellForWall(maze, 6, 3);
    const PathSearchResult result = PathSearch(maze, query);
    EXPECT_FALSE(result.found);
    EXPECT_EQ(result.pathDir, "");
    // The distances are still read, all of them as "nothing here".
    EXPECT_TRUE(result.distancesRead);
    EXPECT_EQ(result.pathLen, 100);
    EXPECT_EQ(result.dUp, 100);
    EXPECT_EQ(result.dRight, 100);
    EXPECT_EQ(result.dDown, 100);
    EXPECT_EQ(result.dLeft, 100);
}

// clang-format off
TEST(PathSearchNoResult, ANeighbourOfTheTargetMustBeWithinOneHundredSteps) {
    // One corridor winding from the enemy at (1, 1); row 7 runs leftwards from (30, 7), 93 steps out,
    // so (23, 7) is 100 steps away and (22, 7) 101.
    const MazeGrid maze = Level({
        "********************************",
        "*..............................*",
        "******************************.*",
        "*..............................*",
        "*.******************************",
        "*..............................*",
        "******************************.*",
        "*..............................*",
        "********************************",
    });
    PathSearchQuery query{.enemy = {1, 1}, .player = {22, 7}, .vitMode = 1, .vit = kVitAside};
    PathSearchResult result = PathSearch(maze, query);
    EXPECT_EQ(result.pathDir, "right");
    EXPECT_EQ(result.pathLen, 100);
    EXPECT_EQ(result.dRight, 100);

    // One cell farther the neighbour carries 101, but the empty one on the other side counts 100, and no
    // neighbour holds that.
    query.player = {21, 7};
    result = PathSearch(maze, query);
    EXPECT_FALSE(result.found);
    EXPECT_EQ(result.pathLen, 100);
    EXPECT_EQ(result.dRight, 101);
    EXPECT_EQ(result.dLeft, 100);

    // The flood stops after its 100th pass: with no player mark in the way, 101 is as far as it writes.
    query.vitMode = 0;
    const PathWave wave = FloodPathWave(maze, query);
    EXPECT_EQ(WaveAt(wave, 22, 7), 101);
    EXPECT_EQ(WaveAt(wave, 21, 7), kWaveEmpty);
}
// clang-format on

TEST(PathSearchNoResult, APlayerCellOutsideZeroToOneHundredStopsEverySearch) {
    const MazeGrid maze = Level(kCorridor);
    // Heading for the big collectible the player plays no part, yet its cell is checked first.
    PathSearchQuery query{.enemy = {5, 3}, .player = {100, 3}, .vitMode = 0, .vit = {10, 3}};
    const PathSearchResult inRange = PathSearch(maze, query);
    EXPECT_EQ(inRange.pathDir, "right");
    EXPECT_EQ(inRange.pathLen, 4);

    for (const MazeCell player : {MazeCell{-1, 3}, MazeCell{101, 3}, MazeCell{5, -1}, MazeCell{5, 101}}) {
        query.player = player;
        const PathSearchResult result = PathSearch(maze, query);
        EXPECT_FALSE(result.found) << player.column << ", " << player.row;
        EXPECT_FALSE(result.distancesRead) << player.column << ", " << player.row;
    }
}

TEST(PathSearchMarks, MarksAreNeitherOverwrittenNorSpreadFrom) {
    const MazeGrid maze = Level(kCorridor);
    // The player right beside the enemy keeps its mark instead of becoming a seed; with the enemy's cell
    // counting as no distance and the flood unable to pass the player, nothing beside it carries one.
    PathSearchQuery query{.enemy = {4, 3}, .player = {5, 3}, .vitMode = 1, .vit = {12, 3}};
    PathWave wave = FloodPathWave(maze, query);
    EXPECT_EQ(WaveAt(wave, 5, 3), kWavePlayer);
    EXPECT_EQ(WaveAt(wave, 6, 3), kWaveEmpty);
    EXPECT_FALSE(PathSearch(maze, query).found);

    // A collectible left on the enemy's cell does not hide the enemy from the search.
    query = {.enemy = {4, 3}, .player = {8, 3}, .vitMode = 1, .vit = {4, 3}};
    wave = FloodPathWave(maze, query);
    EXPECT_EQ(WaveAt(wave, 4, 3), kWaveEnemy);
    EXPECT_EQ(PathSearch(maze, query).pathDir, "right");
    EXPECT_EQ(PathSearch(maze, query).pathLen, 3);
}

TEST(PathSearchGrid, NeighboursOfBorderCellsNeverWrapOrLeaveTheGrid) {
    // A U along the border: row 0 and row 30 joined by column 6. Stored column after column, the cell
    // below (c, 30) would be (c + 1, 0) and the one above (c, 0) would be (c - 1, 30), so a search that
    // let neighbours run on in storage would find the top corridor right beside the bottom one.
    MazeGrid maze = WallGrid();
    for (int column = 0; column <= 6; ++column) {
        MazeAt(maze, column, 0) = kFloorCell;
        MazeAt(maze, column, kMazeRows - 1) = kFloorCell;
    }
    for (int row = 0; row < kMazeRows; ++row)
        MazeAt(maze, 6, row) = kFloorCell;

    PathSearchQuery query{.enemy = {6, 10}, .player = {1, kMazeRows - 1}, .vitMode = 1, .vit = {10, 10}};
    const PathWave wave = FloodPathWave(maze, query);
    EXPECT_EQ(WaveAt(wave, 0, 0), 16);
    EXPECT_EQ(WaveAt(wave, 0, kMazeRows - 1), kWaveEmpty);
    PathSearchResult result = PathSearch(maze, query);
    EXPECT_EQ(result.pathDir, "down");
    EXPECT_EQ(result.pathLen, 24);
    EXPECT_EQ(result.dRight, 24);
    EXPECT_EQ(result.dDown, 100);

    // In the corner the enemy's left and upper neighbours lie outside the storage altogether.
    query = {.enemy = {0, 0}, .player = {6, kMazeRows - 1}, .vitMode = 1, .vit = {10, 10}};
    result = PathSearch(maze, query);
    EXPECT_EQ(result.pathDir, "right");
    EXPECT_EQ(result.pathLen, 35);
    EXPECT_EQ(result.dUp, 35);
}

} // namespace
} // namespace vimbo
