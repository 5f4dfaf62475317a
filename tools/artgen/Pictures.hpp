// Every picture the generator makes, by group, and the list that names them for the game.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Raster.hpp"

namespace artgen {

// Actors, collectibles and effects (Sprites.cpp).
// One frame of the runner (8 frames of 24 x 24 units).
void DrawPlayerFrame(Canvas& c, int frame);
Picture MakePlayer();
Picture MakeEnemy();
Picture MakeHvost();
Picture MakeVit1();
Picture MakeVit2();
Picture MakeWall();
Picture MakeStar();
Picture MakeCursor();
Picture MakeCursor0();
Picture MakeParticle(int kind); // 1 to 5

// The maze blocks of every level (Tiles.cpp).
Picture MakeBlocks();

// The two background layers (Backgrounds.cpp).
Picture MakeFon();
Picture MakeFon2();

// Lettering: labels, digits, menu items, popups and banners (Menus.cpp, Banners.cpp).
Picture MakeLabel(const std::string& text, int width, int height);
Picture MakeDigits();
Picture MakeMenuItem(const std::string& text, int width);
Picture MakeOnOff();
Picture MakeEasyNormalHard();
Picture MakeScorePopups(bool up);
Picture MakePause();
Picture MakeMenuPanel();
Picture MakeTitle();
Picture MakeGameOverBanner();

struct ArtItem {
    std::string name; // the resource name the game looks it up by; the file is name + ".bmp"
    int frameWidth, frameHeight;
    std::function<Picture()> make;
};

// Every bitmap of the game in catalogue order, then the particle images and the unused extras.
std::vector<ArtItem> Catalogue();

} // namespace artgen
