// A game world for tests of the actors and rules without the form.
#include "tests/support/GameWorld.hpp"

#include <string>

#include "app/ImageLoading.hpp"
#include "engine/platform/Resources.hpp"
#include "game/Blocks.hpp"
#include "game/GameState.hpp"
#include "game/MazeGrid.hpp"
#include "game/Player.hpp"
#include "game/SpriteRef.hpp"
#include "game/World.hpp"

namespace vimbo::test {

TestGameWorld::TestGameWorld() {
    ResetGameState();
    if (!Ready())
        return;
    LoadImageCatalogue(images_, kScreenW, kScreenH);
    images_.Restore();
    engine_.SetSurface(surface_.draw.get());
    world.AdDraw = surface_.draw.get();
    world.AdImageList = &images_;
    world.SpriteEngine = &engine_;
    world.AdCollisionTester = &tester_;
    screenW = kScreenW;
    screenH = kScreenH;
    originX = CellX(1);
    originY = CellY(1);
    playerSpeed = 400;
    level = 1;
    lives = 3;
    difficulty = "normal";
    hvostLen = 15;
    soundOn = true;
}

TestGameWorld::~TestGameWorld() {
    world = {};
    engine_.Clear();
    ResetGameState();
}

void TestGameWorld::LoadLevel(int32_t number) {
    level = number;
    const auto& map =
        ad::platform::LoadResource(ad::platform::ResourceKind::RawData, "map" + std::to_string(number));
    LoadMazeFromText(maze, {reinterpret_cast<const char*>(map.bytes.data()), map.bytes.size()});
    BuildBlocks(engine_, images_);
}

void TestGameWorld::SetCell(int column, int row, char code) {
    MazeAt(maze, column, row) = code;
    BuildBlocks(engine_, images_);
}

void TestGameWorld::Frame(double seconds) {
    surface_.draw->BeginScene();
    engine_.Move(seconds);
    engine_.Dead();
    surface_.draw->EndScene();
}

void TestGameWorld::DrawnFrame(double seconds) {
    surface_.draw->ClearSurface(0);
    surface_.draw->BeginScene();
    engine_.Move(seconds);
    engine_.Draw();
    engine_.Dead();
    surface_.draw->EndScene();
    surface_.draw->Flip();
}

void TestGameWorld::Frames(int count, double seconds) {
    for (int i = 0; i < count; ++i)
        Frame(seconds);
}

} // namespace vimbo::test
