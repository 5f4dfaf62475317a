// The heads-up display's digits and labels: building the row below the maze, and the per-frame rule
// that keeps the digits equal to the level, score, top score and lives.
#include "frontend/Digits.hpp"

#include <algorithm>
#include <string>

#include "game/GameState.hpp"
#include "game/World.hpp"

namespace vimbo {

std::array<SpriteRef<TDigital>, 2> levelDigits;
std::array<SpriteRef<TDigital>, 5> scoreDigits;
std::array<SpriteRef<TDigital>, 5> topDigits;
SpriteRef<TDigital> livesDigit;
SpriteRef<THUD> HLevel, HScore, HTopScore, HLives;

namespace {

using Slots = std::array<SpriteRef<TDigital>, 5>;

constexpr int kHudZ = 10;
constexpr int kGameOverDigitZ = 21;
constexpr double kDigitWidth = 16;
// Offsets from the maze origin (the start cell's corner): the row lies just below the maze.
constexpr double kRowY = 724;
constexpr double kLevelLabelX = -24;
constexpr double kFirstLevelDigitX = 82;
constexpr double kSecondLevelDigitX = 98;
constexpr double kLivesLabelX = 618;
// From the units level digit to the score label, and from the lives label to its digit.
constexpr double kScoreLabelGap = 64;
constexpr double kLivesDigitGap = 104;
// The score digits start after the score label's width, whichever anchor they follow.
constexpr double kScoreLabelWidth = 90;
// Right of the score label, room for its five digits before the top-score label.
constexpr double kTopLabelGap = 80;
constexpr double kLevelSpinDegreesPerSecond = 100;
// On the game-over banner, from the screen's centre.
constexpr double kGameOverScoreX = -98, kGameOverScoreY = -40;
constexpr double kGameOverTopX = -64, kGameOverTopY = -1;

struct Anchor {
    double x = 0, y = 0;
};

// Clamped so that no frame beyond the image's last is ever drawn.
double DigitFrame(const TDigital& digit, int value) {
    const int last = std::max(digit.PatternCount() - 1, 0);
    return std::clamp(value, 0, last);
}

TDigital* MakeDigit(SpriteRef<TDigital>& ref) {
    auto* digit = new TDigital(world.SpriteEngine);
    ref = digit;
    digit->SetImage(FindImage("digital"));
    digit->AnimActive = false;
    digit->SetZ(kHudZ);
    return digit;
}

template <size_t N> void MakeMissingDigits(std::array<SpriteRef<TDigital>, N>& digits) {
    for (SpriteRef<TDigital>& digit : digits)
        if (!digit.Usable())
            MakeDigit(digit);
}

void MakeMissingLevelDigits() {
    for (SpriteRef<TDigital>& digit : levelDigits)
        if (!digit.Usable())
            MakeDigit(digit)->AnimLoop = false;
}

// A label left over from a build that failed half-way would otherwise stand frozen under the new one.
THUD* MakeLabel(SpriteRef<THUD>& ref, const char* image, double x) {
    ref.Remove();
    auto* label = new THUD(world.SpriteEngine);
    ref = label;
    label->SetImage(FindImage(image));
    label->AnimActive = false;
    label->SetZ(kHudZ);
    label->SetX(x);
    label->SetY(originY + kRowY);
    return label;
}

// Slot n - 1 - i shows the i-th character of the number's text, so the number reads left to right
// from firstX; numbers that do not fit the five slots (or are negative) leave the display as it is.
void ShowNumber(Slots& slots, int32_t value, double firstX, double y) {
    const std::string text = std::to_string(value);
    if (value < 0 || text.size() > slots.size())
        return;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const SpriteRef<TDigital>& slot = slots[n - 1 - i];
        if (!slot.Usable())
            continue;
        slot->Visible = true;
        slot->AnimPos = DigitFrame(*slot.get(), text[i] - '0');
        slot->SetX(firstX + kDigitWidth * static_cast<double>(i + 1));
        slot->SetY(y);
    }
    for (size_t k = n; k < slots.size(); ++k)
        if (slots[k].Usable())
            slots[k]->Visible = false;
}

Anchor LabelAnchor(const SpriteRef<THUD>& label) {
    return label.Usable() ? Anchor{label->X(), label->Y()} : Anchor{};
}

double TopLabelWidth() {
    return HTopScore.Usable() ? HTopScore->Width() : 0;
}

void ShowLives() {
    if (!HLives.Usable() || !livesDigit.Usable())
        return;
    livesDigit->SetX(HLives->X() + kLivesDigitGap);
    livesDigit->SetY(HLives->Y());
    livesDigit->AnimPos = DigitFrame(*livesDigit.get(), std::min(lives, kLivesShownMax));
}

// While the screen brightens after a level start the level number turns; once it is lit every digit
// stands upright again.
void SpinLevelDigits(TDigital& self, double timeGap) {
    if (Ireal > 0 && svetleet) {
        for (const SpriteRef<TDigital>& digit : levelDigits)
            if (digit.Usable())
                digit->SetAngle(digit->Angle() + kLevelSpinDegreesPerSecond * timeGap);
    } else {
        self.SetAngle(0);
    }
}

// Where the units digit of `level` stands: the second place from 10 on, else the first.
double UnitsDigitX() {
    return originX + (level >= 10 ? kSecondLevelDigitX : kFirstLevelDigitX);
}

} // namespace

void RefreshDigits() {
    Anchor scoreAnchor = LabelAnchor(HScore), topAnchor = LabelAnchor(HTopScore);
    if (gameover2) {
        const double centreX = screenW / 2.0, centreY = screenH / 2.0;
        scoreAnchor = {centreX + kGameOverScoreX, centreY + kGameOverScoreY};
        topAnchor = {centreX + kGameOverTopX, centreY + kGameOverTopY};
    }
    // The digits still show the last score below the cap: its text was taken before capping.
    const int32_t shownScore = score;
    if (score > kScoreCap)
        score = kScoreCap;
    ShowNumber(scoreDigits, shownScore, scoreAnchor.x + kScoreLabelWidth, scoreAnchor.y);
    ShowLives();
    ShowNumber(topDigits, topscore, topAnchor.x + TopLabelWidth(), topAnchor.y);
}

void TDigital::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    SpinLevelDigits(*this, timeGap);
    // The banner lies at Z 20: every digit comes above it, and the level and lives digits keep their
    // place below the maze, away from the banner.
    if (gameover2)
        SetZ(kGameOverDigitZ);
    RefreshDigits();
}

void SetLevelDigits() {
    const SpriteRef<TDigital>& tens = levelDigits[0];
    const SpriteRef<TDigital>& units = levelDigits[1];
    const double y = originY + kRowY;
    const auto show = [y](TDigital& digit, int value, double x) {
        digit.Visible = true;
        digit.AnimPos = DigitFrame(digit, value);
        digit.SetX(x);
        digit.SetY(y);
    };
    if (level >= 10) {
        const std::string text = std::to_string(level);
        if (tens.Usable())
            show(*tens.get(), text[0] - '0', originX + kFirstLevelDigitX);
        if (units.Usable())
            show(*units.get(), text[1] - '0', UnitsDigitX());
        return;
    }
    if (tens.Usable())
        tens->Visible = false;
    if (units.Usable())
        show(*units.get(), level, UnitsDigitX());
}

void GameHudCreate() {
    MakeLabel(HLevel, "level", originX + kLevelLabelX);
    MakeLabel(HLives, "lives", originX + kLivesLabelX);
    MakeMissingLevelDigits();
    MakeMissingDigits(topDigits);
    SetLevelDigits();
    MakeMissingDigits(scoreDigits);
    livesDigit.Remove();
    MakeDigit(livesDigit);
    // The score label stays where the level's digit count put it when the game began.
    THUD* scoreLabel = MakeLabel(HScore, "Score", UnitsDigitX() + kScoreLabelGap);
    scoreLabel->Visible = true;
    MakeLabel(HTopScore, "TopScore", scoreLabel->X() + 2 * scoreLabel->Width() + kTopLabelGap);
    // New digits would otherwise stand at the screen's corner until their first move.
    RefreshDigits();
}

void HudDigitsRecreate() {
    MakeMissingLevelDigits();
    MakeMissingDigits(topDigits);
    SetLevelDigits();
    RefreshDigits();
}

void RemoveLevelDigits() {
    for (const SpriteRef<TDigital>& digit : levelDigits)
        digit.Remove();
}

void RemoveScoreDigits() {
    for (const SpriteRef<TDigital>& digit : scoreDigits)
        digit.Remove();
    for (const SpriteRef<TDigital>& digit : topDigits)
        digit.Remove();
}

void RemoveLivesDigitAndLabels() {
    livesDigit.Remove();
    HLevel.Remove();
    HScore.Remove();
    HTopScore.Remove();
    HLives.Remove();
}

} // namespace vimbo
