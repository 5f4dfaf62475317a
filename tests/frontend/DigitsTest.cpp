// Tests of the heads-up display's row below the maze: the numbers it shows and where, the level
// number's spin, the game-over placement, and how the game flow builds and removes the row.
#include "frontend/Digits.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/platform/Dialogs.hpp"
#include "frontend/GameFlow.hpp"
#include "game/Player.hpp"
#include "tests/frontend/FrontendFixture.hpp"

namespace vimbo {
namespace {

using Slots = std::array<SpriteRef<TDigital>, 5>;
constexpr int kDigitsInRow = 2 + 5 + 5 + 1;

// The visible slots as the player reads them, left to right; each must stand one digit width right
// of the one before, on the same row.
std::string Shown(const Slots& slots) {
    std::vector<const TDigital*> visible;
    for (const SpriteRef<TDigital>& slot : slots)
        if (slot.Usable() && slot->Visible)
            visible.push_back(slot.get());
    std::sort(visible.begin(), visible.end(), [](auto* a, auto* b) { return a->X() < b->X(); });
    std::string text;
    for (const TDigital* digit : visible) {
        EXPECT_EQ(digit->X(), visible[0]->X() + 16.0 * static_cast<double>(text.size()));
        EXPECT_EQ(digit->Y(), visible[0]->Y());
        text += static_cast<char>('0' + digit->PatternIndex());
    }
    return text;
}

class DigitsTest : public test::FrontendFixture {
protected:
    // The row as a new game lays it out; the player fixes the maze origin first.
    void StartGame(int32_t startLevel) {
        level = startLevel;
        PlayerCreate();
        GameHudCreate();
        Frame();
    }
};

TEST_F(DigitsTest, NumbersReadLeftToRightFromTheirLabelAndHideUnusedSlots) {
    StartGame(1);
    score = 7;
    topscore = 450;
    lives = 12;
    Frame();
    EXPECT_EQ(livesDigit->PatternIndex(), 9) << "the image's last frame";
    EXPECT_EQ(livesDigit->X(), HLives->X() + 104);
    EXPECT_EQ(Shown(scoreDigits), "7");
    EXPECT_EQ(scoreDigits[0]->X(), HScore->X() + HScore->Width() + 16) << "16 px right of the label's end";
    EXPECT_EQ(scoreDigits[0]->Y(), HScore->Y());
    EXPECT_EQ(Shown(topDigits), "450");
    EXPECT_EQ(topDigits[2]->X(), HTopScore->X() + HTopScore->Width() + 16);

    score = 12345;
    Frame();
    EXPECT_EQ(Shown(scoreDigits), "12345");
    EXPECT_EQ(scoreDigits[0]->PatternIndex(), 5) << "slot 0 holds the units";
    score = 999;
    Frame();
    EXPECT_EQ(Shown(scoreDigits), "999");
    EXPECT_FALSE(scoreDigits[3]->Visible || scoreDigits[4]->Visible);
    EXPECT_EQ(scoreDigits[2]->X(), HScore->X() + HScore->Width() + 16);

    HLives.Remove();
    Frame();
    lives = 4;
    Frame();
    EXPECT_EQ(livesDigit->PatternIndex(), 9) << "no lives step without its label";
}

TEST_F(DigitsTest, AScorePastTheCapIsHeldThereWhileTheDisplayKeepsTheLastValue) {
    StartGame(1);
    score = 99990;
    Frame();
    score = 100010;
    topscore = 123456;
    Frame();
    Frame();
    EXPECT_EQ(score, kScoreCap);
    EXPECT_EQ(Shown(scoreDigits), "99990");
    EXPECT_EQ(topscore, 123456) << "the top score is not capped";
}

TEST_F(DigitsTest, LevelDigitsTakeOnePlaceBelowTenAndTwoFromTenOn) {
    StartGame(12);
    EXPECT_TRUE(levelDigits[0]->Visible);
    EXPECT_EQ(levelDigits[0]->PatternIndex(), 1);
    EXPECT_EQ(levelDigits[0]->X(), originX + 82);
    EXPECT_EQ(levelDigits[1]->PatternIndex(), 2);
    EXPECT_EQ(levelDigits[1]->X(), originX + 98);
    EXPECT_EQ(HScore->X(), originX + 162);
    for (const THUD* label : {HLevel.get(), HScore.get(), HTopScore.get(), HLives.get()})
        EXPECT_EQ(label->Y(), originY + 724);
    EXPECT_GT(originY + 724, screenH / 2.0 + 360) << "the row lies below the maze";

    // A restart at level 9 moves the level digits, keeps the score label at the game's first place
    // and remakes the lost level and top-score digits, not the score digits.
    levelDigits[0].Remove();
    topDigits[2].Remove();
    scoreDigits[3].Remove();
    Frame();
    level = 9;
    HudDigitsRecreate();
    EXPECT_TRUE(levelDigits[0].Usable() && topDigits[2].Usable());
    EXPECT_FALSE(scoreDigits[3]);
    EXPECT_FALSE(levelDigits[0]->Visible);
    EXPECT_EQ(levelDigits[1]->PatternIndex(), 9);
    EXPECT_EQ(levelDigits[1]->X(), originX + 82);
    EXPECT_EQ(HScore->X(), originX + 162);
}

TEST_F(DigitsTest, TheLevelNumberSpinsWhileTheScreenBrightensAndStandsUprightAfter) {
    StartGame(12);
    svetleet = true;
    Ireal = 100;
    Frame(0.05);
    // Each digit of the row turns both level digits.
    EXPECT_DOUBLE_EQ(levelDigits[0]->Angle(), 100 * 0.05 * kDigitsInRow);
    EXPECT_DOUBLE_EQ(levelDigits[1]->Angle(), levelDigits[0]->Angle());
    EXPECT_EQ(scoreDigits[0]->Angle(), 0);

    svetleet = false;
    Ireal = 255;
    Frame(0.05);
    EXPECT_EQ(levelDigits[0]->Angle(), 0);
    EXPECT_EQ(levelDigits[1]->Angle(), 0);
}

TEST_F(DigitsTest, OnTheGameOverBannerScoreAndTopScoreStandAboveItAndTheRestStaysBelowTheMaze) {
    StartGame(3);
    score = 12345;
    topscore = 23456;
    gameover = true;
    GameOverBanner();
    // A digit changing its Z re-sorts the engine's list while it moves, so a neighbour may wait a
    // frame for its turn: look once the screen has settled.
    for (int frame = 0; frame < 6; ++frame)
        Frame();
    const ad::TSpriteRect banner = HGameover2->GetBoundsRect();
    for (const Slots* slots : {&scoreDigits, &topDigits})
        for (const SpriteRef<TDigital>& digit : *slots) {
            const ad::TSpriteRect box = digit->GetBoundsRect();
            EXPECT_EQ(digit->Z(), 21);
            EXPECT_TRUE(box.left > screenW / 2 && box.right <= banner.right && box.top >= banner.top &&
                        box.bottom <= banner.bottom);
        }
    EXPECT_EQ(scoreDigits[4]->X(), screenW / 2.0 - 98 + 90 + 16);
    EXPECT_EQ(scoreDigits[0]->Y(), screenH / 2.0 - 40);
    EXPECT_EQ(topDigits[4]->X(), screenW / 2.0 - 64 + HTopScore->Width() + 16);
    EXPECT_EQ(topDigits[0]->Y(), screenH / 2.0 - 1);
    for (const TDigital* digit : {levelDigits[1].get(), livesDigit.get()})
        EXPECT_EQ(digit->Y(), originY + 724);
}

// Through the game flow: a new game lays out one row, the return to the menu takes it away.
TEST_F(DigitsTest, TheGameFlowBuildsOneRowPerGameAndRemovesItForTheMenu) {
    std::vector<std::string> messages;
    ad::platform::SetMessageHandler(
        [&](const std::string&, const std::string& text) { messages.push_back(text); });
    MainMenuE = true;
    HudCreate();
    for (int game = 0; game < 2; ++game) {
        StartNewGame();
        Ireal = 0;
        ListenFlags();
        Frame();
        EXPECT_EQ(engine_.CountOfClass<TDigital>(), kDigitsInRow);
        EXPECT_EQ(engine_.CountOfClass<THUD>(), 4) << "the labels, and no menu";
        EXPECT_EQ(levelDigits[1]->PatternIndex(), 1);

        gameover3 = true;
        Ireal = 0;
        ListenFlags();
        Frame();
        EXPECT_EQ(engine_.CountOfClass<TDigital>(), 0);
        EXPECT_FALSE(HLevel || HScore || HTopScore || HLives);
    }
    ad::platform::SetMessageHandler(nullptr);
    EXPECT_EQ(messages, std::vector<std::string>{});
}

} // namespace
} // namespace vimbo
