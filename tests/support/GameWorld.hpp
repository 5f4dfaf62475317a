// A game world for tests of the actors and rules without the form: a software-rendered surface, the
// whole image catalogue, a sprite engine lent to the game, and a level's maze with its blocks.
#pragma once

#include <cstdint>

#include "engine/render/AdImages.hpp"
#include "engine/sprites/AdPixelTest.hpp"
#include "engine/sprites/AdSprites.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace vimbo::test {

class TestGameWorld {
public:
    static constexpr int kScreenW = 1024;
    static constexpr int kScreenH = 768;

    // Resets the game state, loads the images and lends the engine objects to the game; play is
    // running (no menu, no start phase) with the runner's origin on cell (1, 1).
    TestGameWorld();
    ~TestGameWorld();
    TestGameWorld(const TestGameWorld&) = delete;
    TestGameWorld& operator=(const TestGameWorld&) = delete;

    bool Ready() const { return surface_.draw->Initialized(); }

    // Loads the shipped map of the level into the maze and builds its blocks.
    void LoadLevel(int32_t number);
    // Sets one cell and rebuilds the blocks (for mazes shaped by a test).
    void SetCell(int column, int row, char code);

    // One frame: move by `seconds` and free the dead; nothing is drawn.
    void Frame(double seconds);
    // One frame drawn and presented.
    void DrawnFrame(double seconds);
    void Frames(int count, double seconds);

    // The top-left pixel of a maze cell.
    static double CellX(int column) { return kScreenW / 2.0 - 384.0 + column * 24.0; }
    static double CellY(int row) { return kScreenH / 2.0 - 384.0 + row * 24.0; }

    ad::TSpriteEngine& Engine() { return engine_; }
    ad::TAdImageList& Images() { return images_; }
    ad::TAdDraw& Draw() { return *surface_.draw; }

private:
    HeadlessSurface surface_{kScreenW, kScreenH};
    ad::TAdImageList images_{surface_.draw.get()};
    ad::TSpriteEngine engine_{nullptr};
    ad::TAdSpritePixelCollisionTester tester_{surface_.draw.get()};
};

} // namespace vimbo::test
