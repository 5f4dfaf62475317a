// Tests of the enemy in the maze of level 1: its meals and what they cost, catching the runner, the
// wall's hold, the hunt along its path search, and the tail it drags.
#include "game/Enemy.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "engine/platform/Random.hpp"
#include "game/Blocks.hpp"
#include "game/Collectibles.hpp"
#include "game/Effects.hpp"
#include "game/GameState.hpp"
#include "game/LevelLoading.hpp"
#include "game/Player.hpp"
#include "game/Tail.hpp"
#include "game/WallCells.hpp"
#include "game/World.hpp"
#include "tests/support/GameWorld.hpp"
#include "tests/support/PlayInvariants.hpp"
#include "tests/support/RecordingGameScreen.hpp"
#include "tests/support/RecordingAudioDevice.hpp"

namespace vimbo {
namespace {

using test::TestGameWorld;
constexpr double kFrame = 0.016;

class EnemyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(world_.Ready());
        world.Audio = &audio_;
        world.Screen = &screen_;
        ad::platform::SetRandSeed(99);
        world_.LoadLevel(1);
        loading_level();
        PlayerCreate();
        EnemyCreate();
        CreateHvosts();
        enemy->dir = "up";
        nastarte = true;
        world_.Frame(kFrame);
        nastarte = false;
    }
    void TearDown() override { world.Audio = nullptr; }

    // A collectible of the given frame on a cell, still.
    TVit1* Collectible(int column, int row, double frame) {
        vitMode = frame >= 12 ? 0 : 1;
        vitCol = column, vitRow = row, vitOffX = column * 24, vitOffY = row * 24;
        VitCreate();
        vit->AnimPos = frame;
        vit->AnimActive = false;
        return vit.get();
    }
    void Eat(TVit1* collectible) {
        bool done = false;
        enemy->DoCollision(collectible, done);
    }
    void Catch() {
        bool done = false;
        enemy->DoCollision(player.get(), done);
    }
    int VisibleSegments() const {
        return static_cast<int>(std::count_if(hvosts.begin(), hvosts.end(),
                                              [](const SpriteRef<THvost>& s) { return s && s->Visible; }));
    }

    TestGameWorld world_;
    RecordingAudioDevice audio_;
    test::RecordingGameScreen screen_;
};

TEST_F(EnemyTest, AMealCostsThePlayerItsWorthAndGrowsTheTailBelowALimit) {
    score = 100;
    hvostLen = 291;
    Eat(Collectible(2, 4, 9)); // worth 30
    EXPECT_EQ(score, 70);
    EXPECT_EQ(hvostLen, 298);
    EXPECT_EQ(std::count(audio_.effects.begin(), audio_.effects.end(), "s1"), 1);
    EXPECT_TRUE(scoreDown.Usable());
    EXPECT_EQ(scoreDown->Color, 0x0000FFu) << "points lost show red";

    hvostLen = 292;
    Eat(Collectible(2, 4, 9));
    EXPECT_EQ(hvostLen, 292) << "no growth from 292 on for a 30-point meal";
}

TEST_F(EnemyTest, TheScoreNeverFallsBelowZero) {
    score = 15;
    Eat(Collectible(2, 4, 5)); // worth 20
    EXPECT_EQ(score, 0);
    EXPECT_EQ(lastPoints, 20);
}

TEST_F(EnemyTest, ACollectibleAlreadyEatenCountsOnce) {
    score = 100;
    TVit1* collectible = Collectible(2, 4, 1);
    collectible->Dead();
    Eat(collectible);
    EXPECT_EQ(score, 100);
}

TEST_F(EnemyTest, CatchingTheRunnerCostsALifeTakesTheWallAndAsksForARestart) {
    player->nextDir = "right";
    world_.Frames(10, kFrame);
    const MazeGrid before = maze;
    DropWall();
    ASSERT_TRUE(showW);
    lives = 2;
    Catch();
    EXPECT_EQ(lives, 1);
    EXPECT_TRUE(tmrRestart);
    EXPECT_FALSE(gameover);
    EXPECT_TRUE(playerDied);
    EXPECT_TRUE(nastarte);
    EXPECT_EQ(Ireal, 255);
    EXPECT_FALSE(player.Usable());
    EXPECT_TRUE(star.Usable());
    EXPECT_FALSE(showW);
    EXPECT_EQ(maze, before) << "the wall went with the life";
    EXPECT_EQ(audio_.effects.back(), "dead13");
}

TEST_F(EnemyTest, CatchingTheRunnerOnTheLastLifeShowsTheGameOverBanner) {
    lives = 1;
    Catch();
    EXPECT_EQ(lives, 0);
    EXPECT_FALSE(tmrRestart);
    EXPECT_TRUE(gameover);
    EXPECT_EQ(screen_.gameOverBanners, 1);
}

TEST_F(EnemyTest, AGameWithNoLifeLeftEndsAtTheCatchInsteadOfWaitingForARestart) {
    lives = 0;
    Catch();
    EXPECT_EQ(screen_.gameOverBanners, 1);
    EXPECT_FALSE(tmrRestart);
}

TEST_F(EnemyTest, TheWallHoldsTheEnemyUntilItGoes) {
    showW = true;
    wallX = wallY = 1;
    enemy->vy = -enemySpeed;
    bool done = false;
    auto* placed = new TWall(&world_.Engine());
    enemy->DoCollision(placed, done);
    EXPECT_TRUE(EnInWall);
    EXPECT_EQ(enemy->vy, -enemySpeed);
    const double x = enemy->X(), y = enemy->Y();
    world_.Frames(20, kFrame);
    EXPECT_EQ(enemy->X(), x);
    EXPECT_EQ(enemy->Y(), y);
    showW = false;
    world_.Frame(kFrame);
    EXPECT_FALSE(EnInWall);
    world_.Frames(5, kFrame);
    EXPECT_TRUE(enemy->X() != x || enemy->Y() != y) << "free again";
}

TEST_F(EnemyTest, TheEnemyHuntsDownARunnerThatStandsStill) {
    lives = 3;
    vitMode = 1; // a small collectible: the runner is the target
    int frames = 0;
    while (!tmrRestart && frames < 2000) {
        world_.Frame(kFrame);
        ++frames;
    }
    EXPECT_TRUE(tmrRestart) << "caught within " << frames << " frames";
    EXPECT_EQ(lives, 2);
    // From the far corner the route is about 57 cells at 400 pixels a second: under four seconds.
    EXPECT_LT(frames, 300);
}

TEST_F(EnemyTest, TheBigCollectibleDrawsTheEnemyAwayFromTheRunner) {
    player->SetX(-100); // out of reach; the enemy must not go for the runner's cell
    score = 500;
    const int32_t tail = hvostLen;
    SpriteRef<TVit1> big;
    big = Collectible(30, 24, 13);
    ASSERT_EQ(vitMode, 0);
    for (int i = 0; i < 200 && big.Usable(); ++i)
        world_.Frame(kFrame);
    EXPECT_EQ(lastPoints, 100) << "the enemy ate the big collectible";
    EXPECT_EQ(score, 400);
    EXPECT_EQ(hvostLen, tail + 20);
}

TEST_F(EnemyTest, TheTailMarksTheEnemysLastCellChanges) {
    hvostLen = 5;
    player->SetX(-100);
    std::set<std::pair<double, double>> trail;
    int changes = 0;
    int32_t lastCellX = enemy->cellX, lastCellY = enemy->cellY;
    for (int i = 0; i < 120; ++i) {
        world_.Frame(kFrame);
        if (enemy->cellX != lastCellX || enemy->cellY != lastCellY)
            ++changes;
        lastCellX = enemy->cellX, lastCellY = enemy->cellY;
    }
    ASSERT_GT(changes, 6);
    EXPECT_EQ(VisibleSegments(), 6) << "hvostLen + 1 segments once the enemy has moved far enough";
    for (const SpriteRef<THvost>& segment : hvosts) {
        if (!segment || !segment->Visible)
            continue;
        const int column = CellOf(segment->X(), originX), row = CellOf(segment->Y(), originY);
        EXPECT_NE(MazeAt(maze, column, row), kWallCell) << "segments lie on the enemy's path";
    }
}

// The tail grows by one segment every 400000 segment moves at the frame rate's cap of 500 frames a
// second (301 a frame): about every 2.66 s of play, whatever the frame rate.
TEST_F(EnemyTest, TheTailGrowsWithTimeAtTheSameRateAtEveryFrameRate) {
    constexpr double kMinute = 60.0;
    constexpr double kSecondsPerSegment = 400000.0 / kTailSegments * 0.002;
    enemy->CanMove = false;
    player->SetX(-100);
    for (const int ms : {2, 16, 33}) {
        SCOPED_TRACE(ms);
        ResetTailState();
        hvostLen = 15;
        const double frame = ms / 1000.0;
        for (double seconds = 0; seconds < kMinute; seconds += frame)
            world_.Frame(frame);
        EXPECT_NEAR(hvostLen - 15, kMinute / kSecondsPerSegment, 1.0);
    }
}

TEST_F(EnemyTest, HiddenTailSegmentsStayParkedAtTheStartOfPlay) {
    HideHvosts();
    EXPECT_EQ(VisibleSegments(), 0);
    for (const SpriteRef<THvost>& segment : hvosts)
        EXPECT_EQ(segment->X(), -24);
    EXPECT_EQ(world_.Engine().CountOfClass<THvost>(), kTailSegments);
}

// The enemy at the frame rates of a slow machine (30 to 20 frames a second), hunting a runner that
// stands still: it must stay in the maze, on its floor and out of its blocks all the way, and catch
// the runner.
class EnemyAtLongFramesTest : public EnemyTest, public ::testing::WithParamInterface<int> {
protected:
    // Puts the enemy on a cell, running one way, and the runner on another; returns the seconds until
    // the catch (or the time limit), checking play after every frame.
    double Hunt(int column, int row, const char* direction, int runnerColumn, int runnerRow,
                test::PlayInvariants& play) {
        enemy->SetX(TestGameWorld::CellX(column));
        enemy->SetY(TestGameWorld::CellY(row));
        enemy->dir = enemy->nextDir = enemy->pathDir = direction;
        enemy->UpdateVelocity();
        player->SetX(TestGameWorld::CellX(runnerColumn));
        player->SetY(TestGameWorld::CellY(runnerRow));
        lives = 3;
        vitMode = 1;
        const double frame = GetParam() / 1000.0;
        double seconds = 0;
        while (!tmrRestart && seconds < 8) {
            world_.Frame(frame);
            seconds += frame;
            play.Check(frame);
        }
        return seconds;
    }
};

// Coming down column 30 after a runner who went left along row 29, the enemy turned the corner cell
// (30, 29) from inside the border's block and ran out of the maze for good.
TEST_P(EnemyAtLongFramesTest, TurnsTheFarCornerOfTheRingWithoutLeavingTheMaze) {
    test::PlayInvariants play;
    const double seconds = Hunt(30, 21, "down", 22, 29, play);
    EXPECT_TRUE(tmrRestart) << "the runner was not caught in " << seconds << " s";
    EXPECT_EQ(play.Report(), "");
}

// The same at the start cell's corner (1, 1), turning from left to down.
TEST_P(EnemyAtLongFramesTest, TurnsTheStartCornerOfTheRingWithoutLeavingTheMaze) {
    test::PlayInvariants play;
    const double seconds = Hunt(9, 1, "left", 1, 9, play);
    EXPECT_TRUE(tmrRestart) << "the runner was not caught in " << seconds << " s";
    EXPECT_EQ(play.Report(), "");
}

// Thrown through a corner's wall by the push out of a deep overlap, the enemy came to stand half a
// cell off the grid on a plain corridor cell with its route pointing into a wall, where it never
// searched again.
TEST_P(EnemyAtLongFramesTest, NeverComesToStandOffTheGridFacingAWall) {
    test::PlayInvariants play;
    const double seconds = Hunt(4, 10, "down", 30, 29, play);
    EXPECT_TRUE(tmrRestart) << "the runner was not caught in " << seconds << " s";
    EXPECT_EQ(play.Report(), "");
}

INSTANTIATE_TEST_SUITE_P(SlowFrameRates, EnemyAtLongFramesTest, ::testing::Values(33, 40, 50),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "ms";
                         });

} // namespace
} // namespace vimbo
