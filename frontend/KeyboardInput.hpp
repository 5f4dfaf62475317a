// The game's keys on every screen: the game-over banner, the main and options menus, the pause menu
// and play (steering, pause, wall, the frame-rate overlay).
#pragma once

namespace vimbo {

// Handles a pressed key (its virtual-key code) by the screen's rules. The dump keys are the form's;
// everything else is here, ignored while a restart waits, a fade runs or the star turns.
void HandleGameKey(int key);

// Whether a game is being played (not a menu, the pause, the game-over banner, a restart, a fade or
// the star): what the pause key would pause.
bool GameRunning();
// Pauses the game and shows the pause menu.
void PauseGame();
// Ends the game in progress as the key on the game-over banner does: a fade, then the main menu.
void LeaveGame();

} // namespace vimbo
