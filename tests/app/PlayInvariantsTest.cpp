// Tests of the play checker itself: a game in play keeps every rule, and each rule is broken when the
// state it watches is put wrong by hand. A checker that saw nothing would let every soak pass.
#include "tests/support/PlayInvariants.hpp"

#include <gtest/gtest.h>

#include "engine/platform/VirtualKeys.hpp"
#include "frontend/Backgrounds.hpp"
#include "game/Blocks.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "game/Tail.hpp"
#include "tests/support/GameDriver.hpp"

namespace vimbo::test {
namespace {

constexpr double kFrame = GameDriver::kFrameMs / 1000.0;

class PlayInvariantsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(game_.StartNewGame());
        // The checker sees the start phase, where the enemy's way begins.
        play_.Check(kFrame);
        game_.Key(ad::platform::vk::Right);
        play_.Check(kFrame);
    }
    // Frames with the checker after each; the count of breaches of the rule.
    int Run(int frames, const char* rule) {
        for (int i = 0; i < frames; ++i) {
            game_.Frame();
            play_.Check(kFrame);
        }
        const auto found = play_.Counts().find(rule);
        return found == play_.Counts().end() ? 0 : found->second;
    }
    static double CellLeft(int column) { return originX + (column - 1) * 24.0; }
    static double CellTop(int row) { return originY + (row - 1) * 24.0; }

    GameDriver game_;
    PlayInvariants play_;
};

TEST_F(PlayInvariantsTest, AGameInPlayKeepsEveryRule) {
    Run(40, "");
    EXPECT_EQ(play_.Report(), "");
    EXPECT_GT(play_.FramesInPlay(), 30);
}

TEST_F(PlayInvariantsTest, AnActorInABlockOrBeyondTheMazeBreaksItsRules) {
    game_.HoldEnemy();
    ASSERT_EQ(MazeAt(maze, 30, 30), kWallCell);
    enemy->SetY(CellTop(29) + 6); // 6 px into the border below the far corner
    EXPECT_GT(Run(1, "block-overlap"), 0);
    EXPECT_GT(Run(0, "on-floor"), 0);
    EXPECT_EQ(Run(0, "inside-maze"), 0) << "the border is still the maze's";
    enemy->SetY(CellTop(29) + 3); // the enemy may reach 4 px into a block
    const int before = Run(0, "block-overlap");
    EXPECT_EQ(Run(1, "block-overlap"), before);
    enemy->SetY(CellTop(31) + 1);
    EXPECT_GT(Run(1, "inside-maze"), 0);
}

TEST_F(PlayInvariantsTest, TheRunnerMayNotReachTheEnemysDepthIntoABlock) {
    game_.HoldEnemy();
    player->CanMove = false;
    ASSERT_EQ(MazeAt(maze, 0, 1), kWallCell);
    player->SetX(CellLeft(1) - 3);
    EXPECT_GT(Run(1, "block-overlap"), 0);
}

TEST_F(PlayInvariantsTest, AnActorBetweenCellsDiagonallyIsOffTheFloor) {
    game_.HoldEnemy();
    player->CanMove = false;
    player->SetX(CellLeft(1) + 12);
    player->SetY(CellTop(1) + 12);
    EXPECT_GT(Run(1, "on-floor"), 0);
}

TEST_F(PlayInvariantsTest, AnEnemyStandingStillLongerThanTwoSecondsBreaksItsRuleUnlessAWallHoldsIt) {
    game_.HoldEnemy();
    EnInWall = true;
    EXPECT_EQ(Run(100, "enemy-standstill"), 0) << "2.5 s, all held by the wall";
    EnInWall = false;
    EXPECT_EQ(Run(70, "enemy-standstill"), 0) << "1.75 s";
    EXPECT_GT(Run(20, "enemy-standstill"), 0);
}

TEST_F(PlayInvariantsTest, AHiddenRunnerOrOneGoneWithoutACatchBreaksItsRule) {
    game_.HoldEnemy();
    player->Visible = false;
    EXPECT_GT(Run(1, "runner-visible"), 0);
    const int hidden = Run(0, "runner-visible");
    player.Remove();
    EXPECT_GT(Run(2, "runner-visible"), hidden);
}

TEST_F(PlayInvariantsTest, ACatchThatLeadsNowhereBreaksItsRule) {
    game_.HoldEnemy();
    playerDied = true;
    player.Remove();
    // The restart is never asked for: neither a new runner nor the banner follows.
    EXPECT_EQ(Run(60, "catch-leads-on"), 0) << "1.5 s is still the fade's";
    EXPECT_GT(Run(40, "catch-leads-on"), 0);
}

TEST_F(PlayInvariantsTest, ATailSegmentWhereTheEnemyNeverWentBreaksItsRule) {
    game_.HoldEnemy();
    Run(2, "");
    // The last segment is beyond the tail's length: the trail does not place it.
    const SpriteRef<THvost>& segment = hvosts[kTailSegments - 1];
    ASSERT_TRUE(segment.Usable());
    segment->Visible = true;
    segment->SetX(CellLeft(1));
    segment->SetY(CellTop(1));
    EXPECT_GT(Run(1, "tail-on-way"), 0);
}

TEST_F(PlayInvariantsTest, ABackgroundLayerThatLeavesPartOfTheScreenBreaksItsRule) {
    Run(1, "");
    ASSERT_TRUE(fonSprites[0].Usable());
    for (const SpriteRef<TFon>& layer : fonSprites)
        layer->CanMove = false;
    fonSprites[0]->SetY(-100);
    for (size_t i = 1; i < fonSprites.size(); ++i)
        fonSprites[i]->SetY(-100);
    EXPECT_GT(Run(1, "background"), 0);
}

} // namespace
} // namespace vimbo::test
