// The heads-up display below the maze: labels and one sprite per digit for the level, the score, the
// top score and the lives.
#pragma once

#include <array>

#include "frontend/Menus.hpp"
#include "game/SpriteRef.hpp"

namespace vimbo {

// One digit: the frame of the image "digital" is the digit's value. Every digit's move refreshes the
// whole display from the game state, so the display follows the state without anyone telling it.
class TDigital : public TGameSprite {
public:
    explicit TDigital(ad::TSprite* parent) : TGameSprite(parent) {}
    void DoMove(double timeGap) override;
};

// The level's tens and units digits.
extern std::array<SpriteRef<TDigital>, 2> levelDigits;
// Slot k shows the digit of weight 10 to the power k; slots above the number's length are hidden.
extern std::array<SpriteRef<TDigital>, 5> scoreDigits;
extern std::array<SpriteRef<TDigital>, 5> topDigits;
extern SpriteRef<TDigital> livesDigit;

// The labels of the row, never hovered.
extern SpriteRef<THUD> HLevel, HScore, HTopScore, HLives;

// The highest score the display shows; a score that passes it is held there.
inline constexpr int32_t kScoreCap = 100000;
// A lives count above 9 shows as 9: the image has no frame beyond it.
inline constexpr int32_t kLivesShownMax = 9;

// The row of labels and digits a new game starts with. Needs `originX`, `originY` (the player
// exists) and `level`.
void GameHudCreate();
// A restart: the level and top-score digits that are not usable are made again, and the level
// digits show `level`.
void HudDigitsRecreate();
// The level digits show `level`: one digit below 10, two from 10 on.
void SetLevelDigits();
// Puts the score, top-score and lives digits in line with the game state (also capping the score);
// every digit's move runs it.
void RefreshDigits();

// The level teardown, in its three groups.
void RemoveLevelDigits();
// The score digits, then the top-score digits.
void RemoveScoreDigits();
// The lives digit and the four labels.
void RemoveLivesDigitAndLabels();

} // namespace vimbo
