// Tests of the runner's move in the maze of level 1: what stops it, what does not, the remembered
// start, the start phase and the wall's clock.
#include "game/Player.hpp"

#include <gtest/gtest.h>

#include "game/Blocks.hpp"
#include "game/GameState.hpp"
#include "game/Tail.hpp"
#include "game/WallCells.hpp"
#include "game/World.hpp"
#include "tests/support/GameWorld.hpp"
#include "tests/support/PlayInvariants.hpp"

namespace vimbo {
namespace {

using test::TestGameWorld;
constexpr double kFrame = 0.016;

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(world_.Ready());
        world_.LoadLevel(1);
        PlayerCreate();
        // One frame in the start phase gives every sprite its bounds before the runner probes.
        nastarte = true;
        world_.Frame(kFrame);
        nastarte = false;
    }

    // A sprite of class T standing visible on a cell.
    template <typename T> T* Place(int column, int row, const char* image, int z) {
        auto* sprite = new T(&world_.Engine());
        sprite->SetImage(FindImage(image));
        sprite->SetZ(z);
        sprite->SetX(TestGameWorld::CellX(column));
        sprite->SetY(TestGameWorld::CellY(row));
        return sprite;
    }

    void RunUntilStanding(int maxFrames = 400) {
        for (int i = 0; i < maxFrames; ++i) {
            world_.Frame(kFrame);
            if (i > 2 && player->dir.empty())
                return;
        }
    }

    TestGameWorld world_;
};

TEST_F(PlayerTest, ATailSegmentAheadStopsTheRunnerOnePixelShortAsABlockDoes) {
    THvost* segment = Place<THvost>(8, 1, "Hvost", 2);
    player->nextDir = "right";
    RunUntilStanding();
    EXPECT_TRUE(player->dir.empty());
    EXPECT_EQ(player->vx, 0);
    // The leading edge within the pixel before the segment (the runner keeps its fraction).
    EXPECT_GE(player->X() + 24, segment->X() - 1);
    EXPECT_LT(player->X() + 24, segment->X());
}

TEST_F(PlayerTest, TheEndOfTheCorridorStopsTheRunnerOnePixelBeforeTheBlock) {
    player->nextDir = "right";
    RunUntilStanding();
    // Row 1 runs to column 30; column 31 is the border wall.
    EXPECT_GE(player->X() + 24, TestGameWorld::CellX(31) - 1);
    EXPECT_LT(player->X() + 24, TestGameWorld::CellX(31));
    EXPECT_EQ(player->cellX, 30) << "the cell in front of the block";
}

TEST_F(PlayerTest, HiddenSpritesDoNotMaskABlockFromTheRunner) {
    // The mouse cursor rests, hidden, on the wall at the end of the corridor during play.
    auto* pointer = Place<TGameSprite>(31, 1, "cursor", 11);
    pointer->Visible = false;
    player->nextDir = "right";
    RunUntilStanding();
    EXPECT_LT(player->X() + 24, TestGameWorld::CellX(31));
}

TEST_F(PlayerTest, ThePlacedWallIsNoObstacleForTheRunner) {
    Place<TWall>(8, 1, "wall", 8);
    player->nextDir = "right";
    world_.Frames(60, kFrame);
    EXPECT_GT(player->X(), TestGameWorld::CellX(9));
    EXPECT_EQ(player->dir, "right");
}

TEST_F(PlayerTest, ATailSegmentInTheSideOpeningDoesNotPreventTheTurnButStopsTheRunnerAfterIt) {
    // Column 4 opens downwards from row 1.
    THvost* segment = Place<THvost>(4, 2, "Hvost", 2);
    player->nextDir = "right";
    world_.Frames(3, kFrame);
    player->nextDir = "down";
    RunUntilStanding();
    // Flush with the opening to the pixel: the alignment scan counts whole pixels.
    EXPECT_GE(player->X(), TestGameWorld::CellX(4));
    EXPECT_LT(player->X(), TestGameWorld::CellX(4) + 1);
    EXPECT_LE(player->Y() + 24, segment->Y());
    EXPECT_TRUE(player->dir.empty());
}

TEST_F(PlayerTest, ABlockedRequestWaitsUntilTheWayIsFree) {
    THvost* segment = Place<THvost>(2, 1, "Hvost", 2);
    player->nextDir = "right";
    world_.Frames(30, kFrame);
    EXPECT_EQ(player->X(), TestGameWorld::CellX(1));
    EXPECT_TRUE(player->dir.empty());
    // The tail moves on: the stored request starts the runner.
    segment->SetX(-24);
    segment->Visible = false;
    world_.Frames(10, kFrame);
    EXPECT_EQ(player->dir, "right");
    EXPECT_GT(player->X(), TestGameWorld::CellX(1));
}

TEST_F(PlayerTest, TheStartPhaseHoldsTheRunnerUprightAndStill) {
    player->nextDir = "right";
    world_.Frames(10, kFrame);
    ASSERT_GT(player->X(), TestGameWorld::CellX(1));
    const double x = player->X();
    nastarte = true;
    world_.Frames(10, kFrame);
    EXPECT_EQ(player->X(), x);
    EXPECT_FALSE(player->AnimActive);
    EXPECT_EQ(player->Angle(), 0);
}

TEST_F(PlayerTest, TheWallsClockRunsDuringThePauseAndTheCellReopens) {
    const MazeGrid before = maze;
    player->nextDir = "right";
    world_.Frames(10, kFrame);
    DropWall();
    ASSERT_TRUE(showW);
    EXPECT_EQ(MazeAt(maze, wallCol, wallRow), kWallCell);
    ASSERT_TRUE(wall.Usable());
    EXPECT_EQ(wall->X(), TestGameWorld::CellX(wallCol));
    paused = true;
    world_.Frames(120, kFrame); // 1.92 s
    EXPECT_TRUE(showW);
    world_.Frames(6, kFrame);
    EXPECT_FALSE(showW);
    EXPECT_FALSE(wall);
    EXPECT_EQ(maze, before);
}

TEST_F(PlayerTest, NoWallIsDroppedWhileStandingOrWhileOneStands) {
    DropWall();
    EXPECT_FALSE(showW) << "the runner stands";
    player->nextDir = "right";
    world_.Frames(10, kFrame);
    DropWall();
    ASSERT_TRUE(showW);
    const int32_t column = wallCol;
    world_.Frames(10, kFrame);
    DropWall();
    EXPECT_EQ(wallCol, column);
    EXPECT_EQ(world_.Engine().CountOfClass<TWall>(), 1);
}

// At 20 frames a second the enemy's trail points lie up to 20 px apart, so its tail can cross the
// runner's way as two segments with a gap under the runner's centre line. The runner's scan along
// that line then found nothing and moved it about 4,095 px down, out of the maze and out of sight;
// and at any frame rate a start from standing, which looks at the neighbour's centre, stepped it
// into the tail that had just stopped it, and so on through.
TEST_F(PlayerTest, TwoTailSegmentsWithAGapUnderItsCentreStopTheRunnerAtEveryFrameRate) {
    ASSERT_NE(MazeAt(maze, 4, 2), kWallCell);
    ASSERT_NE(MazeAt(maze, 3, 4), kWallCell);
    ASSERT_NE(MazeAt(maze, 5, 4), kWallCell);
    auto* left = Place<THvost>(4, 4, "Hvost", 2);
    auto* right = Place<THvost>(4, 4, "Hvost", 2);
    left->SetX(TestGameWorld::CellX(4) - 14);
    right->SetX(TestGameWorld::CellX(4) + 14);
    for (const double frame : {0.002, 0.016, 0.033, 0.050}) {
        SCOPED_TRACE(frame);
        player->SetX(TestGameWorld::CellX(4));
        player->SetY(TestGameWorld::CellY(1));
        player->dir.clear();
        player->nextDir = "down";
        test::PlayInvariants play;
        for (double seconds = 0; seconds < 1.5; seconds += frame) {
            world_.Frame(frame);
            play.Check(frame);
        }
        EXPECT_EQ(play.Report(), "");
        EXPECT_EQ(player->dir, "");
        EXPECT_EQ(player->X(), TestGameWorld::CellX(4));
        const double gap = TestGameWorld::CellY(4) - (player->Y() + 24);
        EXPECT_GE(gap, 0.0) << "the runner never enters the tail";
        EXPECT_LE(gap, 1.0) << "it stands before the tail, in the cell above it";
    }
}

// The tail stops the runner wherever its segment lies, off the grid. Asked then to go down where the
// neighbour's centre is open but the corridor below is narrower than the runner's offset, it started
// across into the wall beside the opening, which its stops (both edges on a block) never saw.
TEST_F(PlayerTest, StoppedOffTheGridByTheTailTheRunnerDoesNotStartIntoTheWallBesideAnOpening) {
    ASSERT_NE(MazeAt(maze, 4, 2), kWallCell);
    ASSERT_EQ(MazeAt(maze, 5, 2), kWallCell);
    auto* segment = Place<THvost>(5, 1, "Hvost", 2);
    segment->SetX(TestGameWorld::CellX(5) + 6);
    player->nextDir = "right";
    RunUntilStanding();
    ASSERT_NEAR(player->X() + 24, segment->X() - 1, 1.0) << "stopped before the segment";
    player->nextDir = "down";
    test::PlayInvariants play;
    for (int i = 0; i < 60; ++i) {
        world_.Frame(kFrame);
        play.Check(kFrame);
    }
    EXPECT_EQ(play.Report(), "");
    EXPECT_EQ(player->Y(), TestGameWorld::CellY(1)) << "it waits in its corridor";
    // Heading left, it passes the opening's alignment within a few pixels and turns down there.
    player->nextDir = "left";
    world_.Frame(0.002);
    ASSERT_EQ(player->dir, "left");
    player->nextDir = "down";
    for (int i = 0; i < 60; ++i) {
        world_.Frame(kFrame);
        play.Check(kFrame);
    }
    EXPECT_EQ(play.Report(), "");
    EXPECT_NEAR(player->X(), TestGameWorld::CellX(4), 1.0) << "it turns at the opening once beside it";
    EXPECT_GT(player->Y(), TestGameWorld::CellY(2));
}

} // namespace
} // namespace vimbo
