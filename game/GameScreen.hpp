// What the game's rules need of the screen: where the heads-up display's digits stand, for the
// bursts and popups placed by them, and the game-over banner. The front end implements it; the form
// hands it to the game once, at start-up (the rules never include the front end).
#pragma once

#include <optional>

namespace vimbo {

struct ScreenPoint {
    double x = 0;
    double y = 0;
};

class GameScreen {
public:
    virtual ~GameScreen() = default;

    // The top-left corner of a digit, while it exists: the level's units, the score's tens, the lives.
    virtual std::optional<ScreenPoint> LevelUnitsDigit() const = 0;
    virtual std::optional<ScreenPoint> ScoreTensDigit() const = 0;
    virtual std::optional<ScreenPoint> LivesDigit() const = 0;
    // Where a score popup goes: the left edge of the score's lowest shown digit, and the score's row.
    virtual std::optional<double> ScoreLeft() const = 0;
    virtual std::optional<double> ScoreTop() const = 0;

    // The game has just ended on its last life: the banner goes up.
    virtual void ShowGameOverBanner() = 0;
};

} // namespace vimbo
