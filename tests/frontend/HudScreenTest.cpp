// Tests of what the front end answers when the rules ask about the screen: the digits' corners, where
// a score popup goes, and the game-over banner.
#include "frontend/HudScreen.hpp"

#include <gtest/gtest.h>

#include "frontend/Digits.hpp"
#include "frontend/Menus.hpp"
#include "game/Effects.hpp"
#include "game/Player.hpp"
#include "tests/frontend/FrontendFixture.hpp"

namespace vimbo {
namespace {

class HudScreenTest : public test::FrontendFixture {
protected:
    void StartGame() {
        level = 7;
        PlayerCreate();
        GameHudCreate();
        Frame();
    }
    HudScreen screen_;
};

TEST_F(HudScreenTest, WithoutADisplayThereAreNoDigitsToPlaceBy) {
    EXPECT_FALSE(screen_.LevelUnitsDigit());
    EXPECT_FALSE(screen_.ScoreTensDigit());
    EXPECT_FALSE(screen_.LivesDigit());
    EXPECT_FALSE(screen_.ScoreLeft());
    EXPECT_FALSE(screen_.ScoreTop());
}

TEST_F(HudScreenTest, TheDigitsCornersAreTheirSpritesPositions) {
    StartGame();
    score = 4321;
    lives = 2;
    Frame();
    ASSERT_TRUE(screen_.LevelUnitsDigit());
    EXPECT_EQ(screen_.LevelUnitsDigit()->x, levelDigits[1]->X());
    EXPECT_EQ(screen_.LevelUnitsDigit()->y, levelDigits[1]->Y());
    ASSERT_TRUE(screen_.ScoreTensDigit());
    EXPECT_EQ(screen_.ScoreTensDigit()->x, scoreDigits[1]->X());
    ASSERT_TRUE(screen_.LivesDigit());
    EXPECT_EQ(screen_.LivesDigit()->x, livesDigit->X());
    livesDigit->Dead();
    EXPECT_FALSE(screen_.LivesDigit()) << "a lives digit marked dead is gone for the bursts";
}

TEST_F(HudScreenTest, APopupGoesByTheScoresLowestShownDigitOnItsRow) {
    StartGame();
    score = 50;
    Frame();
    ASSERT_TRUE(scoreDigits[0]->Visible);
    EXPECT_EQ(screen_.ScoreLeft(), scoreDigits[0]->X());
    EXPECT_EQ(screen_.ScoreTop(), scoreDigits[0]->Y());
    scoreDigits[0]->Visible = false;
    scoreDigits[1]->Visible = true;
    EXPECT_EQ(screen_.ScoreLeft(), scoreDigits[1]->X()) << "the lowest digit shown";
}

TEST_F(HudScreenTest, TheGameOverBannerGoesUpInTheMiddleAndTakesTheStarAway) {
    StartGame();
    StartStar();
    ASSERT_TRUE(star.Usable());
    gameover = true;
    screen_.ShowGameOverBanner();
    EXPECT_FALSE(gameover);
    EXPECT_TRUE(gameover2);
    ASSERT_TRUE(HGameover2.Usable());
    EXPECT_EQ(HGameover2->X(), kScreenW / 2 - HGameover2->Width() / 2);
    EXPECT_FALSE(star.Usable());
}

} // namespace
} // namespace vimbo
