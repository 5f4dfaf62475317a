// The menus' items and what choosing, stepping and highlighting each one does, written once: the
// keyboard, the mouse and the controller only turn their input into an item and an action.
#pragma once

#include <optional>
#include <string>

#include "game/SpriteRef.hpp"

namespace vimbo {

// The ten selectable items; each menu's in the order of its ring.
enum class MenuItem {
    NewGame,
    Continue,
    Options,
    Exit,
    SoundSwitch,
    MusicSwitch,
    Difficulty,
    Back,
    ContinuePaused,
    ExitPaused,
};

// Who chose. The keyboard and the mouse differ in two touches: the sound New Game makes, and which
// main item the options screen leaves lit (Options for the keyboard; Exit, which then lies under the
// pointer, for the mouse).
enum class MenuInput { Keyboard, Mouse };

// The item of a hover name ("HNewGame", ..., "HExitP").
std::optional<MenuItem> ItemForHoverName(const std::string& name);
// The hover name of a selectable item's sprite, "" for any other sprite.
const char* ItemName(const ad::TSprite* sprite);
// The selectable item's sprite of that hover name if it is usable and shown, else nullptr.
TGameSprite* ShownItem(const std::string& name);

// Whether the options screen shows in place of the main menu.
bool OptionsScreenShown();
// Whether every item of the menu on screen exists (the pause's while paused, else the options' or
// the main menu's): the keyboard works a menu only then.
bool MenuComplete();
// The lit item of the menu on screen, the first in its ring when more are.
std::optional<MenuItem> HighlightedItem();

// The keyboard's highlight moves one step round the ring of the menu on screen (+1 down, -1 up),
// from the lit item; with none lit nothing moves.
void StepHighlight(int step);
// The pointer rests on the item: it is lit and the rest of its menu is not. The main and options
// menus answer only outside the pause, the pause menu only in it.
void HoverItem(MenuItem item);
// Chooses the item: a game starts or continues, the options open or close, a switch or the
// difficulty steps, play resumes, or the game ends.
void ActivateItem(MenuItem item, MenuInput how);

// The frame a switch shows after a step: on and off swap, lit. A frame between the two (2, plain
// off) stays.
double NextSwitchFrame(double frame);
// The frame the difficulty selector shows after a step: easy, normal, hard and round again, lit.
double NextDifficultyFrame(double frame);

} // namespace vimbo
