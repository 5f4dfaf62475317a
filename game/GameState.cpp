// The game-state globals and request flags, with their values at program start.
#include "game/GameState.hpp"

#include "game/Blocks.hpp"
#include "game/Collectibles.hpp"
#include "game/Enemy.hpp"
#include "game/LevelLoading.hpp"
#include "game/Music.hpp"
#include "game/Player.hpp"
#include "game/Sound.hpp"
#include "game/SpriteRef.hpp"
#include "game/Tail.hpp"
#include "game/World.hpp"

namespace vimbo {

MazeGrid maze = WallGrid();
int32_t score;
int32_t topscore;
int32_t level;
int32_t level_c;
int32_t lives;
std::string difficulty;
bool soundOn;
bool musicOn;
bool MainMenuE;
bool paused;
bool nastarte;
bool gameover;
bool gameover2;
bool gameover3;
bool temneet;
bool svetleet;
double Ireal;
bool tmrNewGame;
bool tmrRestart;
bool showOptions;
bool levelChanged;
bool playerDied;
bool starActive;
int32_t levelBonus;
std::array<bool, 100> lifeBonusGiven;
bool showW;
bool EnInWall;
bool bgScroll;
uint32_t fonColor;
uint32_t fon2Color;
int32_t hvostLen;
std::array<double, 301> trailX;
std::array<double, 301> trailY;
int32_t screenW;
int32_t screenH;
double originX;
double originY;
bool trackEnded;
int32_t musicTicks;
bool showFps;
bool dumpArmed;

void ResetGameState() {
    maze = WallGrid();
    score = topscore = level = level_c = lives = 0;
    difficulty.clear();
    soundOn = musicOn = false;
    MainMenuE = paused = nastarte = gameover = gameover2 = gameover3 = false;
    temneet = svetleet = false;
    Ireal = 0.0;
    tmrNewGame = tmrRestart = showOptions = false;
    levelChanged = playerDied = starActive = false;
    levelBonus = 0;
    lifeBonusGiven.fill(false);
    showW = EnInWall = bgScroll = false;
    fonColor = fon2Color = 0;
    hvostLen = 0;
    trailX.fill(0.0);
    trailY.fill(0.0);
    screenW = screenH = 0;
    originX = originY = 0.0;
    trackEnded = false;
    musicTicks = 0;
    showFps = dumpArmed = false;
    ResetBlockState();
    ResetEnemyState();
    ResetTailState();
    ResetCollectibleState();
    mapLines.clear();
    playerSpeed = curSpeed = 0;
    lastPoints = 0;
    MediaPlayer1 = {};
    ResetAudioProblems();
    world = {};
    ForgetAllSprites();
}

} // namespace vimbo
