// The star and the score popups.
#include "game/Effects.hpp"

#include <algorithm>
#include <optional>

#include "game/GameScreen.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "game/World.hpp"

namespace vimbo {

SpriteRef<TStar> star;
SpriteRef<TScoreFly> scoreUp;
SpriteRef<TScoreFly2> scoreDown;

namespace {

// The star ends on the first frame that shows its last picture once play may resume.
constexpr double kStarLastFrame = 7;
// Popups fade by this much alpha per second.
constexpr double kPopupFade = 200;

// Places a popup beside the score: right of its lowest shown digit, on the score's row.
void PlacePopup(TGameSprite& popup, double offset) {
    if (world.Screen != nullptr) {
        if (const std::optional<double> left = world.Screen->ScoreLeft())
            popup.SetX(*left + offset);
        if (const std::optional<double> top = world.Screen->ScoreTop())
            popup.SetY(*top);
    }
    popup.SetZ(50);
    popup.AnimActive = false;
    popup.AnimPos = lastPoints == 100 ? 3 : lastPoints == 30 ? 2 : lastPoints == 20 ? 1 : 0;
    popup.SetAlpha(255);
    popup.Visible = true;
}

// Fades the popup; returns false once it has gone.
bool Fade(TGameSprite& popup, double timeGap) {
    popup.SetAlpha(popup.Alpha() - timeGap * kPopupFade);
    if (popup.Alpha() > 1)
        return true;
    popup.Dead();
    popup.Visible = false;
    return false;
}

} // namespace

void StartStar() {
    auto* turning = new TStar(world.SpriteEngine);
    star = turning;
    turning->SetImage(FindImage("star"));
    turning->AnimPos = 0;
    turning->AnimActive = true;
    turning->AnimSpeed = 5.0;
    if (player.Usable()) {
        turning->SetX(player->X() + 12 - turning->Width() / 2);
        turning->SetY(player->Y() + 12 - turning->Height() / 2);
    }
    turning->SetZ(10);
}

void TStar::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    SetAngle(Angle() + 2);
    if (Ireal >= 254 && svetleet)
        starActive = true;
    if (!starActive || AnimPos < kStarLastFrame)
        return;
    Dead();
    starActive = false;
    const std::optional<ScreenPoint> units =
        world.Screen != nullptr ? world.Screen->LevelUnitsDigit() : std::nullopt;
    if (units)
        EmitParticles(world.BonusParticles, level > 9 ? 10 : 7, ad::AdTrunc(units->x) - 1 + (level < 10 ? 9 : 0),
                      ad::AdTrunc(units->y) + 8);
    if (level != 1 && !playerDied) {
        score += levelBonus;
        topscore = std::max(topscore, score);
        const std::optional<ScreenPoint> tens =
            world.Screen != nullptr ? world.Screen->ScoreTensDigit() : std::nullopt;
        if (tens)
            EmitParticles(world.BonusParticles, 10, ad::AdTrunc(tens->x) - 1, ad::AdTrunc(tens->y) + 8);
    }
    levelBonus = 0;
    playerDied = false;
}

void ShowScoreUp() {
    scoreUp.Remove();
    auto* popup = new TScoreFly(world.SpriteEngine);
    scoreUp = popup;
    popup->SetImage(FindImage("scoreup"));
    PlacePopup(*popup, 30);
}

void ShowScoreDown() {
    scoreDown.Remove();
    auto* popup = new TScoreFly2(world.SpriteEngine);
    scoreDown = popup;
    popup->SetImage(FindImage("scoredown"));
    popup->SetColor(0x0000FF);
    PlacePopup(*popup, 40);
}

void TScoreFly::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    Fade(*this, timeGap);
}

void TScoreFly2::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    if (Fade(*this, timeGap))
        SetX(X() + timeGap * curSpeed / 3);
}

} // namespace vimbo
