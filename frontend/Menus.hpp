// The menus as sprites: the main and options menus with the title banner, the pause menu, the
// game-over banner and the sprite cursor with its invisible hot spot. An item's frame (`AnimPos`)
// holds both its value and its highlight.
#pragma once

#include <string>

#include "game/SpriteRef.hpp"

namespace vimbo {

// Main and options menu items, the title banner and the in-game labels.
// The frame an item shows is its value and highlight, set by menu code only. Items are still from
// the start: an animating first move would step a fresh item off its frame when that frame is long
// (at 20 frames a second a highlighted item would wrap back to plain).
class THUD : public TGameSprite {
public:
    explicit THUD(ad::TSprite* parent) : TGameSprite(parent) { AnimActive = false; }
    void DoMove(double timeGap) override;
};

class THUDPause : public TGameSprite {
public:
    explicit THUDPause(ad::TSprite* parent) : TGameSprite(parent) { AnimActive = false; }
    void DoMove(double timeGap) override;
};

class THUDGo : public TGameSprite {
public:
    explicit THUDGo(ad::TSprite* parent) : TGameSprite(parent) {}
};

// The visible mouse pointer: follows the mouse and shows in the menus and the pause.
class TCursor : public TGameSprite {
public:
    explicit TCursor(ad::TSprite* parent) : TGameSprite(parent) {}
    void DoMove(double timeGap) override;
};

// The invisible, zero-sized hot spot at the mouse point: its collision scan finds the menu item
// under the pointer and keeps its name in `hoverName`.
class TCursor0 : public TGameSprite {
public:
    explicit TCursor0(ad::TSprite* parent) : TGameSprite(parent) {}
    void DoMove(double timeGap) override;
    void DoCollision(ad::TSprite* sprite, bool& done) override;

private:
    // A selectable item was reported in this frame's scan: a background reported after it (one
    // whose edge lies just left of the pointer) must not clear the hover.
    bool itemReported_ = false;
};

extern SpriteRef<THUD> HKelvoranth, HNewGame, HContinue, HOptions, HExit;
extern SpriteRef<THUD> HSounds, HMusic, HDifficulty, HBack, HOnOffS, HOnOffM, HEasyNormalHard;
extern SpriteRef<THUDPause> HPause, HContinueP, HExitP, HMenuP;
extern SpriteRef<THUDGo> HGameover2;
extern SpriteRef<TCursor> cursor;
extern SpriteRef<TCursor0> cursorHotSpot;

// The selectable item under the pointer ("HNewGame", ..., "HExitP"), or empty.
extern std::string hoverName;
// The last mouse position in client pixels.
extern int mouseX, mouseY;

// Puts the game's globals (ResetGameState) and then the front end's back to their values at program
// start: the one reset between runs in one process.
void ResetFrontEndState();

// Highlight ranges and steps. A plain item is highlighted at frame 1 or more; a switch in [1, 2) or
// [3, 4); the difficulty selector in [1, 2), [3, 4) or [5, 6). Highlighting keeps the value: 0, 2, 4
// become 1, 3, 5 and back.
bool PlainHighlighted(double frame);
bool ValueHighlighted(double frame);
double Highlighted(double frame);
double Unhighlighted(double frame);

// Builds the main menu (and the hidden options items) unless a game is being started.
void HudCreate();
// Lays out the options screen over the main menu's place.
void LayoutOptions();
// How the options screen was left: the keyboard leaves Options highlighted, the mouse Exit (which
// lies where Back was clicked).
enum class MenuReturn { Keyboard, Mouse };
// Back to the main menu from the options screen, taking the switches and the difficulty into the
// game state and the music.
void ReturnToMainMenu(MenuReturn how);
// The twelve main and options menu sprites marked dead (the game is being built).
void RemoveMenus();

void BuildPauseMenu();
void RemovePauseMenu();

// The game-over banner, if the game just ended.
void GameOverBanner();

// The cursor and the hot spot, created once at start-up.
void CreateCursors();

} // namespace vimbo
