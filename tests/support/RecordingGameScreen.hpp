// A stand-in for the front end's screen in tests of the rules: digits where the test puts them, and
// a count of the game-over banners asked for.
#pragma once

#include "game/GameScreen.hpp"

namespace vimbo::test {

class RecordingGameScreen : public GameScreen {
public:
    std::optional<ScreenPoint> LevelUnitsDigit() const override { return levelUnits; }
    std::optional<ScreenPoint> ScoreTensDigit() const override { return scoreTens; }
    std::optional<ScreenPoint> LivesDigit() const override { return lives; }
    std::optional<double> ScoreLeft() const override { return scoreLeft; }
    std::optional<double> ScoreTop() const override { return scoreTop; }
    void ShowGameOverBanner() override { ++gameOverBanners; }

    std::optional<ScreenPoint> levelUnits, scoreTens, lives;
    std::optional<double> scoreLeft, scoreTop;
    int gameOverBanners = 0;
};

} // namespace vimbo::test
