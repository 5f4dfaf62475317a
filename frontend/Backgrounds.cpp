// The background layers: their colours by level, their layout, the endless scrolling in the menus
// and the parallax drift against the runner during play.
#include "frontend/Backgrounds.hpp"

#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "game/World.hpp"

namespace vimbo {

std::array<SpriteRef<TFon>, 3> fonSprites;
std::array<SpriteRef<TFon2>, 3> fon2Sprites;

namespace {

// How a layer moves: menu scrolling in pixels per second, and the share of the runner's step it
// drifts back by.
struct LayerMotion {
    double scrollSpeed;
    double parallax;
};

constexpr LayerMotion kFonMotion{50, 0.02};
constexpr LayerMotion kFon2Motion{100, 0.05};

// Sprites of a layer overlap by this much, so no seam shows between them.
constexpr double kOverlap = 10;
constexpr double kExtraHeight = 50;
// All three sprites of a layer share their Y: a step between two of them would show as a seam in the
// picture scrolling past.
constexpr double kLayerY = -20;

struct LayerLook {
    const char* image;
    int z;
    double alpha;
    uint32_t color;
};

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r + 256 * g + 65536 * b;
}

struct LevelColors {
    int32_t fromLevel;
    uint32_t fon2;
    uint32_t fon;
};

// Later rows win.
constexpr LevelColors kLevelColors[] = {
    {2, Rgb(255, 69, 0), Rgb(60, 179, 113)},     {3, Rgb(255, 192, 203), Rgb(0, 255, 0)},
    {4, Rgb(135, 206, 250), Rgb(0, 255, 0)},     {5, Rgb(255, 69, 0), Rgb(238, 130, 238)},
    {7, Rgb(100, 200, 50), Rgb(200, 200, 250)},  {9, Rgb(240, 248, 255), Rgb(0, 0, 255)},
    {11, Rgb(200, 200, 250), Rgb(250, 250, 50)}, {15, Rgb(250, 250, 100), Rgb(150, 150, 250)},
    {18, Rgb(0, 80, 0), Rgb(220, 150, 30)},
};

template <typename T> void BuildLayer(std::array<SpriteRef<T>, 3>& layer, const LayerLook& look) {
    const double width = screenW, height = screenH + kExtraHeight;
    double x = -kOverlap;
    for (SpriteRef<T>& ref : layer) {
        if (!ref.Usable())
            ref = new T(world.SpriteEngine);
        T& sprite = *ref.get();
        sprite.SetImage(FindImage(look.image));
        sprite.SetX(x);
        sprite.SetY(kLayerY);
        sprite.SetWidth(width);
        sprite.SetHeight(height);
        sprite.SetZ(look.z);
        sprite.SetAlpha(look.alpha);
        sprite.SetColor(look.color);
        x += sprite.Width() - kOverlap;
    }
}

template <typename T>
void MoveLayerSprite(T& sprite, const std::array<SpriteRef<T>, 3>& layer, uint32_t color,
                     const LayerMotion& motion, double timeGap) {
    sprite.SetColor(color);
    if (MainMenuE && bgScroll) {
        sprite.SetX(sprite.X() - motion.scrollSpeed * timeGap);
        // A sprite that has left the screen on the left joins the right end of the layer. The
        // overshoot past the edge is kept, so a long frame cannot open a seam between the sprites.
        const double lastWidth = layer[2].Usable() ? layer[2]->Width() : sprite.Width();
        const double leftEdge = -lastWidth - kOverlap;
        const double rightEnd = 2 * sprite.Width() - 4 * kOverlap;
        if (sprite.X() <= leftEdge)
            sprite.SetX(sprite.X() - leftEdge + rightEnd);
    }
    if (MainMenuE || nastarte || paused || !player.Usable())
        return;
    // The runner's step of its last move: the layer moves against it.
    if (player->vx != 0)
        sprite.SetX(sprite.X() - motion.parallax * player->dx);
    if (player->vy != 0)
        sprite.SetY(sprite.Y() - motion.parallax * player->dy);
}

} // namespace

void TFon::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    MoveLayerSprite(*this, fonSprites, fonColor, kFonMotion, timeGap);
}

void TFon2::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    MoveLayerSprite(*this, fon2Sprites, fon2Color, kFon2Motion, timeGap);
}

void LevelFonCreate() {
    if (MainMenuE) {
        fon2Color = Rgb(135, 206, 250);
        fonColor = Rgb(0, 255, 0);
    } else {
        fon2Color = Rgb(60, 179, 113);
        fonColor = Rgb(165, 42, 42);
    }
    for (const LevelColors& row : kLevelColors) {
        if (level >= row.fromLevel) {
            fon2Color = row.fon2;
            fonColor = row.fon;
        }
    }
    FonCreate();
}

void FonCreate() {
    BuildLayer(fonSprites, {"fon", -2, 255, fonColor});
}

void Fon2Create() {
    BuildLayer(fon2Sprites, {"fon2", 1, 200, fon2Color});
}

} // namespace vimbo
