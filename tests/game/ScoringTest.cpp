// Tests of the scoring after meals: extra lives, the top score, the level that follows the score both
// ways, the collectible's placement and worth, and the star's level bonus.
#include "game/Collectibles.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/platform/Random.hpp"
#include "game/Effects.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/LevelLoading.hpp"
#include "game/Player.hpp"
#include "game/World.hpp"
#include "tests/support/GameWorld.hpp"
#include "tests/support/RecordingAudioDevice.hpp"

namespace vimbo {
namespace {

using test::TestGameWorld;
constexpr double kFrame = 0.016;

class ScoringTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(world_.Ready());
        world.Audio = &audio_;
        ad::platform::SetRandSeed(1234);
        world_.LoadLevel(1);
        loading_level(); // the map's lines, which the placement draws from
        PlayerCreate();
    }
    void TearDown() override { world.Audio = nullptr; }

    int Count(const char* effect) const {
        return static_cast<int>(std::count(audio_.effects.begin(), audio_.effects.end(), effect));
    }

    TestGameWorld world_;
    RecordingAudioDevice audio_;
};

TEST(LevelForScore, OneLevelPerTwoHundredPointsFromTheFirstToTheTwentieth) {
    EXPECT_EQ(LevelForScore(0), 1);
    EXPECT_EQ(LevelForScore(199), 1);
    EXPECT_EQ(LevelForScore(200), 2);
    EXPECT_EQ(LevelForScore(3799), 19);
    EXPECT_EQ(LevelForScore(3800), 20);
    EXPECT_EQ(LevelForScore(100000), 20);
    // A "save" may hold a negative score; there is no level below the first (a map "0" or "-4"
    // does not exist).
    EXPECT_EQ(LevelForScore(-300), 1);
    EXPECT_EQ(LevelForScore(-1000), 1);
}

TEST_F(ScoringTest, PassingAThousandGivesOneLifeAndTheLevelMayChangeInTheSameMeal) {
    level = 5;
    score = 1009; // 999 and a 10-point meal
    checkscore();
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(Count("sfx3_1"), 1);
    EXPECT_EQ(level, 6);
    EXPECT_TRUE(levelChanged);
    EXPECT_TRUE(tmrRestart);
    EXPECT_TRUE(nastarte);
    EXPECT_EQ(levelBonus, hvostLen) << "a level rise earns the tail's length";
    EXPECT_TRUE(star.Usable());
    EXPECT_EQ(topscore, 1009);
}

TEST_F(ScoringTest, TheLevelFallsWithTheScoreWithoutBonus) {
    level = 2;
    score = 190; // 210 less a 20-point meal of the enemy
    checkscore();
    EXPECT_EQ(level, 1);
    EXPECT_EQ(levelBonus, 0);
    EXPECT_TRUE(tmrRestart);
}

TEST_F(ScoringTest, AHundredAtTwoThousandNineHundredAndFiftyGivesTheThirdLifeAndLevelSixteen) {
    level = 15;
    lifeBonusGiven[0] = lifeBonusGiven[1] = true;
    score = 3050;
    checkscore();
    EXPECT_EQ(lives, 4);
    EXPECT_TRUE(lifeBonusGiven[2]);
    EXPECT_EQ(level, 16);
}

TEST_F(ScoringTest, TheLevelStopsAtTwentyAndOnlyChangesWhenDue) {
    level = 20;
    score = 3800;
    lifeBonusGiven.fill(true);
    checkscore();
    EXPECT_EQ(level_c, 20);
    EXPECT_FALSE(tmrRestart);
    EXPECT_TRUE(vit.Usable()) << "the same level places the next collectible";
    score = 9999;
    vit.Remove();
    checkscore();
    EXPECT_EQ(level_c, 20);
    EXPECT_FALSE(tmrRestart);
}

TEST_F(ScoringTest, EachThousandGivesItsLifeOncePerGame) {
    level = 6;
    score = 1000;
    checkscore();
    ASSERT_EQ(lives, 4);
    score = 990;
    level = level_c;
    tmrRestart = false;
    checkscore();
    score = 1000;
    level = level_c;
    checkscore();
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(Count("sfx3_1"), 1);
}

TEST_F(ScoringTest, SeveralThousandsAtOnceGiveSeveralLives) {
    level = 16;
    score = 3010;
    checkscore();
    EXPECT_EQ(lives, 6);
    EXPECT_EQ(Count("sfx3_1"), 3);
}

TEST_F(ScoringTest, TheCollectibleLandsOnlyInNarrowCorridorsAwayFromTheStarts) {
    int big = 0;
    for (int i = 0; i < 600; ++i) {
        vit.Remove();
        world_.Frame(kFrame);
        SpawnVit();
        ASSERT_TRUE(vit.Usable());
        const int c = vitCol, r = vitRow;
        EXPECT_EQ(mapLines[static_cast<size_t>(r * kMazeColumns + c)], ".");
        for (const auto& [dc, dr] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
            EXPECT_EQ(MazeAt(maze, c + dc, r + dr), kWallCell) << c << "," << r;
        EXPECT_FALSE(c == 1 && r == 1);
        EXPECT_FALSE(c == 30 && r == 29);
        EXPECT_EQ(vit->X(), TestGameWorld::CellX(c));
        big += vitMode == 0;
    }
    // One in thirty is big (a seeded run, so this is exact to the draw, but the bounds are loose).
    EXPECT_GT(big, 5);
    EXPECT_LT(big, 50);
}

TEST_F(ScoringTest, TheStartPhasesCollectibleIsSmallAndItsWorthFollowsItsFrame) {
    nastarte = true;
    for (int i = 0; i < 100; ++i) {
        vit.Remove();
        world_.Frame(kFrame);
        SpawnVit();
        ASSERT_EQ(vitMode, 1);
        EXPECT_LT(vit->AnimPos, 12);
        EXPECT_EQ(vit->Y(), TestGameWorld::CellY(vitRow) - 3) << "small ones stand 3 pixels high";
    }
    EXPECT_EQ(PointsForFrame(0), 10);
    EXPECT_EQ(PointsForFrame(3.9), 10);
    EXPECT_EQ(PointsForFrame(4), 20);
    EXPECT_EQ(PointsForFrame(11.5), 30);
    EXPECT_EQ(PointsForFrame(13), 100);
}

TEST_F(ScoringTest, TheRunnerEatsTheCollectibleForItsWorth) {
    level = 1;
    score = 40;
    nastarte = false;
    vitMode = 1;
    vitCol = 2, vitRow = 1, vitOffX = 48, vitOffY = 24;
    VitCreate();
    vit->AnimPos = 8; // a 30-point frame
    vit->SetAnimStart(8);
    vit->SetAnimStop(11);
    vit->AnimActive = false;
    SpriteRef<TVit1> watched; // cleared when the eaten collectible is freed
    watched = vit.get();
    player->CollisionTester = nullptr;
    player->nextDir = "right";
    nastarte = true;
    world_.Frame(kFrame);
    nastarte = false;
    for (int i = 0; i < 30 && watched.Usable(); ++i)
        world_.Frame(kFrame);
    EXPECT_EQ(score, 70);
    EXPECT_EQ(lastPoints, 30);
    EXPECT_EQ(Count("s4_3"), 1);
    EXPECT_TRUE(scoreUp.Usable());
    EXPECT_TRUE(vit.Usable()) << "the next collectible is placed";
}

TEST_F(ScoringTest, TheStarEndsAfterTheFadeInWithTheLevelBonus) {
    level = 3;
    score = 400;
    levelBonus = 15;
    playerDied = false;
    StartStar();
    SpriteRef<TStar> turning;
    turning = star.get();
    svetleet = true;
    Ireal = 255;
    world_.Frame(kFrame);
    EXPECT_TRUE(starActive);
    svetleet = false;
    for (int i = 0; i < 200 && turning.Usable(); ++i)
        world_.Frame(kFrame);
    EXPECT_FALSE(starActive);
    EXPECT_EQ(score, 415);
    EXPECT_EQ(topscore, 415);
    EXPECT_EQ(levelBonus, 0);
}

TEST_F(ScoringTest, AStarAfterADeathGivesNoBonus) {
    level = 3;
    score = 400;
    levelBonus = 15;
    playerDied = true;
    StartStar();
    SpriteRef<TStar> turning;
    turning = star.get();
    svetleet = true;
    Ireal = 255;
    for (int i = 0; i < 200 && turning.Usable(); ++i)
        world_.Frame(kFrame);
    EXPECT_EQ(score, 400);
    EXPECT_FALSE(playerDied);
}

} // namespace
} // namespace vimbo
