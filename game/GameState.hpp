// The game-state globals and request flags shared by the form, the actors and the front end, with
// their values at program start. Sprite references live with the sprites that use them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/MazeGrid.hpp"

namespace vimbo {

// The maze of the current level (walls only until the first level is loaded).
extern MazeGrid maze;

extern int32_t score;
extern int32_t topscore;
extern int32_t level;
extern int32_t level_c;
extern int32_t lives;
extern std::string difficulty;
extern bool soundOn;
extern bool musicOn;

extern bool MainMenuE;
extern bool paused;
extern bool nastarte;
extern bool gameover;
extern bool gameover2;
extern bool gameover3;

// Fades: the screen brightness Ireal (0..255) and whether it is rising or falling.
extern bool temneet;
extern bool svetleet;
extern double Ireal;

// Requests, each consumed by the game-flow state machine.
extern bool tmrNewGame;
extern bool tmrRestart;
extern bool showOptions;

extern bool levelChanged;
extern bool playerDied;
extern bool starActive;
extern int32_t levelBonus;
extern std::array<bool, 100> lifeBonusGiven;
extern bool showW;
extern bool EnInWall;
extern bool bgScroll;
extern uint32_t fonColor;
extern uint32_t fon2Color;
extern int32_t hvostLen;
extern std::array<double, 301> trailX;
extern std::array<double, 301> trailY;
extern int32_t screenW;
extern int32_t screenH;
extern double originX;
extern double originY;
extern bool trackEnded;
extern int32_t musicTicks;
extern bool showFps;
extern bool dumpArmed;

// Puts every global of the game's rules back to its value at program start (tests run many games in
// one process): this header's, each subsystem's (blocks, enemy, tail, collectibles, maps, music,
// sound, speeds, the engine objects lent in `world`) and every sprite reference. The front end's
// reset calls it first.
void ResetGameState();

} // namespace vimbo
