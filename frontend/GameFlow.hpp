// The game-flow state machine: once per frame, after every sprite has moved, it carries out the
// requests raised by input and actors (lay out the options, build a new game, restart play, return
// to the main menu), building and tearing down scenes only while the screen is dark.
#pragma once

namespace vimbo {

// Acts on the requests in a fixed order; more than one may act in the same frame.
void ListenFlags();

// Removes the in-game sprites when a finished game returns to the main menu.
void deleteLevel();

// The menu's New Game: a fresh score, level and lives, the first map, and the request to build.
void StartNewGame();
// The menu's Continue: the level the score reached and the extra lives it already earned, then the
// request to build.
void ContinueGame();

} // namespace vimbo
