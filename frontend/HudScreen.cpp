// Where the display's digits stand, read from their sprites, and the banner from the menus.
#include "frontend/HudScreen.hpp"

#include "frontend/Digits.hpp"
#include "frontend/Menus.hpp"

namespace vimbo {

namespace {

std::optional<ScreenPoint> CornerOf(const SpriteRef<TDigital>& digit) {
    if (!digit)
        return std::nullopt;
    return ScreenPoint{digit->X(), digit->Y()};
}

} // namespace

std::optional<ScreenPoint> HudScreen::LevelUnitsDigit() const {
    return CornerOf(levelDigits[1]);
}

std::optional<ScreenPoint> HudScreen::ScoreTensDigit() const {
    return CornerOf(scoreDigits[1]);
}

std::optional<ScreenPoint> HudScreen::LivesDigit() const {
    return livesDigit.Usable() ? CornerOf(livesDigit) : std::nullopt;
}

std::optional<double> HudScreen::ScoreLeft() const {
    for (const SpriteRef<TDigital>& digit : scoreDigits)
        if (digit.Usable() && digit->Visible)
            return digit->X();
    return std::nullopt;
}

std::optional<double> HudScreen::ScoreTop() const {
    return scoreDigits[0] ? std::optional<double>(scoreDigits[0]->Y()) : std::nullopt;
}

void HudScreen::ShowGameOverBanner() {
    GameOverBanner();
}

} // namespace vimbo
