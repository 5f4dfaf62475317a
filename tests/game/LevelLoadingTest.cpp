// Tests of loading a level: the map from the program's resources into the maze, the per-level
// resets, and what a missing map leaves behind.
#include "game/LevelLoading.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/platform/Dialogs.hpp"
#include "game/GameState.hpp"
#include "game/WallCells.hpp"

namespace vimbo {
namespace {

class LevelLoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameState();
        ad::platform::SetMessageHandler([this](const std::string&, const std::string& text) { messages_.push_back(text); });
    }
    void TearDown() override {
        ad::platform::SetMessageHandler(nullptr);
        ResetGameState();
    }
    static long CellsOf(char code) { return std::count(maze.begin(), maze.end(), code); }

    std::vector<std::string> messages_;
};

TEST_F(LevelLoadingTest, LevelZeroLoadsTheFirstMapWithItsJunctions) {
    level = 0;
    loading_level();
    EXPECT_EQ(level, 1);
    EXPECT_EQ(level_c, 1);
    EXPECT_EQ(mapLines.size(), static_cast<size_t>(kMazeCells));
    EXPECT_EQ(CellsOf(kWallCell), 674);
    EXPECT_EQ(CellsOf(kJunctionCell), 48);
    EXPECT_EQ(CellsOf(kFloorCell), 270);
    EXPECT_EQ(MazeAt(maze, 1, 1), kJunctionCell) << "the player's start cell";
    EXPECT_TRUE(messages_.empty());
}

TEST_F(LevelLoadingTest, ResetsTheTrailAndSizesTheTailByDifficulty) {
    trailX.fill(5.0);
    trailY.fill(7.0);
    level = 4;
    difficulty = "hard";
    loading_level();
    EXPECT_EQ(hvostLen, 35);
    EXPECT_TRUE(std::all_of(trailX.begin(), trailX.end(), [](double v) { return v == 0.0; }));
    EXPECT_TRUE(std::all_of(trailY.begin(), trailY.end(), [](double v) { return v == 0.0; }));
    EXPECT_EQ(TailLengthFor("easy", 99), 5);
    EXPECT_EQ(TailLengthFor("normal", 99), 15);
    EXPECT_EQ(TailLengthFor("Hard", 99), 99) << "an unknown difficulty keeps the tail";
}

TEST_F(LevelLoadingTest, ReloadingRestoresCellsChangedDuringPlay) {
    level = 2;
    loading_level();
    const MazeGrid loaded = maze;
    CloseCellForWall(maze, 1, 1);
    ASSERT_NE(maze, loaded);
    loading_level();
    EXPECT_EQ(maze, loaded);
}

TEST_F(LevelLoadingTest, ALevelWithoutAMapSaysSoAndKeepsThePreviousMap) {
    level = 3;
    loading_level();
    const MazeGrid third = maze;
    const std::vector<std::string> lines = mapLines;
    level = 21;
    loading_level();
    EXPECT_EQ(messages_, std::vector<std::string>{"error l_l 3"});
    EXPECT_EQ(level_c, 21);
    EXPECT_EQ(mapLines, lines);
    EXPECT_EQ(maze, third);
}

TEST_F(LevelLoadingTest, BeforeAnyMapTheMazeIsAllWallsAndAMissingMapSaysSoTwice) {
    EXPECT_EQ(CellsOf(kWallCell), kMazeCells);
    level = 25;
    loading_level();
    // No map was ever loaded: no lines to fill the grid with.
    EXPECT_EQ(messages_, (std::vector<std::string>{"error l_l 3", "error l_l 4"}));
    EXPECT_EQ(CellsOf(kWallCell), kMazeCells);
}

} // namespace
} // namespace vimbo
