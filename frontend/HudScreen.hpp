// The front end's answers to what the rules ask of the screen: the heads-up display's digits and the
// game-over banner. The form hands one to the game at start-up.
#pragma once

#include "game/GameScreen.hpp"

namespace vimbo {

class HudScreen : public GameScreen {
public:
    // The level's units and the score's tens while their sprites are set (marked dead or not), the
    // lives digit while it is usable.
    std::optional<ScreenPoint> LevelUnitsDigit() const override;
    std::optional<ScreenPoint> ScoreTensDigit() const override;
    std::optional<ScreenPoint> LivesDigit() const override;
    // The lowest score digit that is usable and shown; the row of the units digit while it is set.
    std::optional<double> ScoreLeft() const override;
    std::optional<double> ScoreTop() const override;
    void ShowGameOverBanner() override;
};

} // namespace vimbo
