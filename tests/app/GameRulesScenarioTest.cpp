// Scenario tests of the game's rules played headless: the enemy's catch and the restart, the game
// over and the way back to the menu, meals and the level change, Continue, and the backgrounds'
// share in the hover.
#include <gtest/gtest.h>

#include "engine/platform/VirtualKeys.hpp"
#include "frontend/Digits.hpp"
#include "frontend/Menus.hpp"
#include "game/Blocks.hpp"
#include "game/Collectibles.hpp"
#include "game/Effects.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "game/Tail.hpp"
#include "tests/support/GameDriver.hpp"

namespace {

namespace vk = ad::platform::vk;
using vimbo::test::GameDriver;

// Plays until the enemy has caught the standing runner.
::testing::AssertionResult CaughtStanding(GameDriver& game) {
    if (!game.StartNewGame())
        return ::testing::AssertionFailure() << "no game";
    game.Key(vk::Tab);
    const int livesBefore = vimbo::lives;
    if (!game.RunUntil([&] { return vimbo::lives < livesBefore; }, 800))
        return ::testing::AssertionFailure() << "the enemy never caught the runner";
    return ::testing::AssertionSuccess();
}

// Puts a still collectible worth `frame`'s points on the cell right of the runner's start.
vimbo::TVit1* CollectibleBesideTheStart(double frame) {
    vimbo::vit.Remove();
    vimbo::vitMode = 1;
    vimbo::vitCol = 2, vimbo::vitRow = 1, vimbo::vitOffX = 48, vimbo::vitOffY = 24;
    vimbo::VitCreate();
    vimbo::vit->AnimPos = frame;
    vimbo::vit->AnimActive = false;
    return vimbo::vit.get();
}

TEST(CatchScenario, TheEnemyCatchesTheRunnerAndPlayRestartsOnTheStartCells) {
    GameDriver game;
    ASSERT_TRUE(CaughtStanding(game));
    EXPECT_EQ(vimbo::lives, 2);
    EXPECT_TRUE(vimbo::tmrRestart);
    EXPECT_EQ(game.Audio().effects.back(), "dead13");
    ASSERT_TRUE(game.RunUntil([] { return !vimbo::tmrRestart && vimbo::player.Usable(); }, 300));
    EXPECT_EQ(vimbo::player->X(), vimbo::originX);
    EXPECT_EQ(vimbo::player->Y(), vimbo::originY);
    EXPECT_EQ(vimbo::CellOf(vimbo::enemy->X(), vimbo::originX), 30);
    EXPECT_EQ(vimbo::CellOf(vimbo::enemy->Y(), vimbo::originY), 29);
    EXPECT_EQ(vimbo::hvostLen, 15) << "the tail is back at the difficulty's length";
    for (const auto& segment : vimbo::hvosts)
        EXPECT_FALSE(segment->Visible);
    EXPECT_EQ(game.Count<vimbo::TPlayer>(), 1);
    // Keys wait for the star: it turns until the fade-in is over, then ends.
    ASSERT_TRUE(game.RunUntil([] { return vimbo::starActive; }, 300));
    game.Key(vk::Right);
    EXPECT_TRUE(vimbo::nastarte) << "keys are ignored while the star turns";
    ASSERT_TRUE(game.RunUntil([] { return !vimbo::starActive; }, 300));
    EXPECT_EQ(vimbo::score, 0) << "no level bonus after a death";
    game.Key(vk::Right);
    EXPECT_FALSE(vimbo::nastarte);
}

TEST(CatchScenario, AKeyInTheFadeInsLastFrameWaitsForTheStarSoTheRunnerStaysInTheMaze) {
    GameDriver game;
    ASSERT_TRUE(CaughtStanding(game));
    // The last step of the fade-in reaches full brightness while the fade still runs; the frame after
    // it ends the fade and starts the star, which covers the runner's corner of the maze.
    ASSERT_TRUE(game.RunUntil([] { return vimbo::Ireal >= 255 && vimbo::svetleet; }, 300));
    ASSERT_FALSE(vimbo::starActive);
    game.Key(vk::Left);
    EXPECT_TRUE(vimbo::nastarte) << "the key came before the star had started";
    ASSERT_TRUE(game.RunUntil([] { return !vimbo::starActive && !vimbo::svetleet; }, 300));
    game.Key(vk::Left);
    ASSERT_FALSE(vimbo::nastarte);
    game.Frames(20);
    EXPECT_EQ(vimbo::player->X(), vimbo::originX) << "the border left of the start cell holds the runner";
    EXPECT_EQ(vimbo::player->cellX, 1);
}

TEST(CatchScenario, TheLastLifeEndsInTheBannerAndAnyKeyLeadsBackToTheMenu) {
    GameDriver game({"0\r\n1\r\n0\r\n1\r\n1\r\n2\r\n", 1});
    ASSERT_TRUE(CaughtStanding(game)) << "a new game always has three lives";
    vimbo::lives = 1;
    ASSERT_TRUE(game.RunUntil([] { return !vimbo::tmrRestart && vimbo::player.Usable(); }, 300));
    ASSERT_TRUE(game.RunUntil([] { return !vimbo::starActive && !vimbo::svetleet; }, 300));
    game.Key(vk::Tab);
    ASSERT_TRUE(game.RunUntil([] { return vimbo::gameover2; }, 800));
    EXPECT_EQ(vimbo::lives, 0);
    ASSERT_TRUE(vimbo::HGameover2.Usable());
    EXPECT_EQ(vimbo::Ireal, 255) << "the banner shows at full brightness";
    game.Frames(3);
    // On the banner the score digits stand over it.
    EXPECT_EQ(vimbo::scoreDigits[0]->Z(), 21);
    game.Key(vk::F9);
    EXPECT_FALSE(vimbo::gameover2) << "any key leaves the banner";
    EXPECT_TRUE(vimbo::gameover3);
    ASSERT_TRUE(
        game.RunUntil([] { return vimbo::MainMenuE && vimbo::Ireal >= 255 && !vimbo::svetleet; }, 300));
    EXPECT_EQ(vimbo::lives, 3);
    EXPECT_EQ(vimbo::level, 1);
    EXPECT_EQ(game.Count<vimbo::TPlayer>(), 0);
    EXPECT_EQ(game.Count<vimbo::TEnemy1>(), 0);
    EXPECT_EQ(game.Count<vimbo::TDigital>(), 0);
    EXPECT_EQ(game.Count<vimbo::TBlock>(), 0);
    EXPECT_TRUE(vimbo::HNewGame.Usable() && vimbo::HNewGame->Visible);
    // A second game starts as the first did.
    ASSERT_TRUE(game.StartNewGame());
    EXPECT_EQ(game.Count<vimbo::TBlock>(), 992);
    EXPECT_EQ(game.Count<vimbo::THvost>(), 301);
    EXPECT_EQ(game.Count<vimbo::TEnemy1>(), 1);
}

TEST(MealScenario, TheRunnerEatsForPointsAndTheScoreShows) {
    GameDriver game;
    ASSERT_TRUE(game.StartNewGame());
    game.HoldEnemy();
    vimbo::TVit1* meal = CollectibleBesideTheStart(5); // 20 points
    game.Key(vk::Right);
    ASSERT_TRUE(game.RunUntil([&] { return vimbo::vit.get() != meal; }, 20));
    EXPECT_EQ(vimbo::score, 20);
    EXPECT_EQ(vimbo::topscore, 20);
    EXPECT_EQ(game.Audio().effects.back(), "s4_2");
    EXPECT_TRUE(vimbo::vit.Usable()) << "the next collectible is out";
    game.Frame();
    // "20" in the score row: the tens digit first, then the units.
    EXPECT_TRUE(vimbo::scoreDigits[1]->Visible);
    EXPECT_EQ(vimbo::scoreDigits[1]->PatternIndex(), 2);
    EXPECT_EQ(vimbo::scoreDigits[0]->PatternIndex(), 0);
    EXPECT_FALSE(vimbo::scoreDigits[2]->Visible);
}

TEST(MealScenario, ReachingTwoHundredLoadsLevelTwoWithItsBonus) {
    GameDriver game;
    ASSERT_TRUE(game.StartNewGame());
    game.HoldEnemy();
    vimbo::score = 190;
    CollectibleBesideTheStart(1); // 10 points
    game.Key(vk::Right);
    ASSERT_TRUE(game.RunUntil([] { return vimbo::tmrRestart; }, 20));
    EXPECT_EQ(vimbo::level, 2);
    EXPECT_EQ(vimbo::levelBonus, 15);
    ASSERT_TRUE(game.RunUntil([] { return !vimbo::tmrRestart; }, 300));
    EXPECT_EQ(vimbo::level_c, 2);
    EXPECT_EQ(game.Count<vimbo::TBlock>(), 992);
    ASSERT_TRUE(
        game.RunUntil([] { return !vimbo::starActive && vimbo::Ireal >= 255 && vimbo::score > 200; }, 400));
    EXPECT_EQ(vimbo::score, 215) << "the tail's length as the level bonus";
    EXPECT_EQ(vimbo::levelDigits[1]->PatternIndex(), 2);
}

// Puts a still collectible worth `frame`'s points on the enemy's own cell, so it eats it as soon as
// play is released.
void CollectibleUnderTheEnemy(double frame) {
    vimbo::vit.Remove();
    vimbo::vitMode = 1;
    vimbo::vitCol = 30, vimbo::vitRow = 29, vimbo::vitOffX = 30 * 24, vimbo::vitOffY = 29 * 24;
    vimbo::VitCreate();
    vimbo::vit->AnimPos = frame;
    vimbo::vit->AnimActive = false;
}

TEST(MealScenario, TheEnemysMealCostsScoreButNeverBelowZeroAndGrowsTheTail) {
    GameDriver game;
    ASSERT_TRUE(game.StartNewGame());
    vimbo::score = 15;
    CollectibleUnderTheEnemy(5); // 20 points
    game.Key(vk::Tab);
    ASSERT_TRUE(game.RunUntil([] { return vimbo::lastPoints == 20; }, 10));
    EXPECT_EQ(vimbo::score, 0);
    EXPECT_EQ(vimbo::hvostLen, 15 + 6);
    EXPECT_TRUE(vimbo::scoreDown.Usable());
    EXPECT_EQ(game.Audio().effects.back(), "s1");
}

TEST(MealScenario, TheEnemysMealCanTakeTheLevelDownWithoutBonus) {
    GameDriver game;
    ASSERT_TRUE(game.StartNewGame());
    vimbo::level = 2;
    vimbo::level_c = 2;
    vimbo::score = 205;
    CollectibleUnderTheEnemy(1); // 10 points
    game.Key(vk::Tab);
    ASSERT_TRUE(game.RunUntil([] { return vimbo::tmrRestart; }, 10));
    EXPECT_EQ(vimbo::score, 195);
    EXPECT_EQ(vimbo::level, 1);
    EXPECT_EQ(vimbo::levelBonus, 0);
    ASSERT_TRUE(
        game.RunUntil([] { return !vimbo::starActive && !vimbo::tmrRestart && vimbo::Ireal >= 255; }, 400));
    EXPECT_EQ(vimbo::score, 195);
}

TEST(MealScenario, AThousandGivesItsLifeOncePerGame) {
    GameDriver game;
    ASSERT_TRUE(game.StartNewGame());
    game.HoldEnemy();
    vimbo::score = 995;
    vimbo::level = vimbo::level_c = 5;
    CollectibleBesideTheStart(1);
    game.Key(vk::Right);
    ASSERT_TRUE(game.RunUntil([] { return vimbo::score > 995; }, 20));
    EXPECT_EQ(vimbo::lives, 4);
    EXPECT_TRUE(vimbo::lifeBonusGiven[0]);
    // The score falls below the thousand and rises past it again: no second life.
    vimbo::score = 995;
    vimbo::checkscore();
    vimbo::score = 1005;
    vimbo::checkscore();
    EXPECT_EQ(vimbo::lives, 4);
}

TEST(ContinueScenario, ContinueStartsLevelOneWithTheSavedLivesOnlyWhenTheFileExists) {
    {
        GameDriver first;
        first.Key(vk::Down);
        first.Key(vk::Return);
        first.Frames(3);
        EXPECT_TRUE(vimbo::MainMenuE) << "no save file: Continue does nothing";
        EXPECT_FALSE(vimbo::tmrNewGame);
    }
    GameDriver game({"900\r\n5\r\n1250\r\n1\r\n1\r\n3\r\n", 1});
    game.Key(vk::Down);
    game.Key(vk::Return);
    ASSERT_TRUE(game.RunUntil([] { return !vimbo::MainMenuE && vimbo::Ireal >= 255; }, 300));
    EXPECT_EQ(vimbo::lives, 5);
    EXPECT_EQ(vimbo::level, 1);
    EXPECT_EQ(vimbo::score, 0);
    EXPECT_EQ(vimbo::topscore, 1250);
    EXPECT_EQ(vimbo::hvostLen, 35) << "hard";
}

TEST(ContinueScenario, ContinueStartsOnTheLevelTheScoreGivesWithTheLivesItEarned) {
    GameDriver game({"0\r\n4\r\n0\r\n1\r\n1\r\n2\r\n", 1});
    vimbo::score = 2450; // what the game holds when the menu is left
    game.Key(vk::Down);
    game.Key(vk::Return);
    ASSERT_TRUE(game.RunUntil([] { return !vimbo::MainMenuE && vimbo::Ireal >= 255; }, 300));
    EXPECT_EQ(vimbo::level, 13);
    EXPECT_TRUE(vimbo::lifeBonusGiven[0] && vimbo::lifeBonusGiven[1]);
    EXPECT_FALSE(vimbo::lifeBonusGiven[2]);
    EXPECT_EQ(vimbo::lives, 4);
    EXPECT_EQ(game.Count<vimbo::TBlock>(), 992);
}

TEST(HoverScenario, PointingAtTheBackgroundClearsTheHoverSoAClickDoesNothing) {
    GameDriver g;
    const auto centre = [](const auto& item) {
        return std::pair{static_cast<int>(item->X() + item->Width() / 2),
                         static_cast<int>(item->Y() + item->Height() / 2)};
    };
    const auto [ex, ey] = centre(vimbo::HExit);
    g.MoveMouse(ex, ey);
    g.MoveMouse(ex + 1, ey);
    EXPECT_EQ(vimbo::hoverName, "HExit");
    g.MoveMouse(20, 20);
    g.MoveMouse(21, 20);
    EXPECT_EQ(vimbo::hoverName, "");
    g.Click();
    g.Frames(2);
    EXPECT_TRUE(g.Running()) << "a click over the background chooses nothing";
}

} // namespace
