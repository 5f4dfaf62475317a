// The two tinted background layers behind the maze and the menus: they scroll in the menus and
// drift against the runner in play.
#pragma once

#include <array>

#include "game/SpriteRef.hpp"

namespace vimbo {

// The lower layer.
class TFon : public TGameSprite {
public:
    explicit TFon(ad::TSprite* parent) : TGameSprite(parent) {}
    void DoMove(double timeGap) override;
};

// The upper, translucent layer: it scrolls and drifts faster than the lower one.
class TFon2 : public TGameSprite {
public:
    explicit TFon2(ad::TSprite* parent) : TGameSprite(parent) {}
    void DoMove(double timeGap) override;
};

// Each layer is three screen-wide sprites side by side, overlapping by 10 pixels. They are made once
// and reused by every later build, so they outlive the teardown of a level.
extern std::array<SpriteRef<TFon>, 3> fonSprites;
extern std::array<SpriteRef<TFon2>, 3> fon2Sprites;

// Chooses `fonColor` and `fon2Color` for the menu or the level, then lays out the lower layer.
void LevelFonCreate();
// Puts the lower layer back at its start, in `fonColor`.
void FonCreate();
// Puts the upper layer back at its start, in `fon2Color`.
void Fon2Create();

} // namespace vimbo
