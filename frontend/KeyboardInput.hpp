// The game's keys on every screen: the game-over banner, the main and options menus, the pause menu
// and play (steering, pause, wall, the frame-rate overlay).
#pragma once

namespace vimbo {

// Handles a pressed key (its virtual-key code) by the screen's rules. The dump keys are the form's;
// everything else is here, ignored while a restart waits, a fade runs or the star turns.
void HandleGameKey(int key);

} // namespace vimbo
