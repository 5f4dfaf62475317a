// Scenario tests of the player comforts: a game controller working every screen as the keys do, a
// controller unplugged mid-game, Alt+Enter, and the mouse under a picture scaled into a larger window.
#include <gtest/gtest.h>

#include "engine/platform/VirtualKeys.hpp"
#include "frontend/GamepadInput.hpp"
#include "frontend/Menus.hpp"
#include "game/Blocks.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "tests/support/GameDriver.hpp"

namespace {

namespace vk = ad::platform::vk;
using ad::platform::PadButton;
using vimbo::test::GameDriver;

int Shown(const vimbo::SpriteRef<vimbo::THUD>& item) {
    return item.Usable() ? static_cast<int>(item->AnimPos) : -1;
}

TEST(PadKeys, ButtonsStandForTheKeysOfTheScreen) {
    vimbo::ResetGameState();
    vimbo::MainMenuE = true;
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::A), vk::Return);
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::B), 0) << "the main menu has nothing to leave";
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::Up), vk::Up);
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::Right), vk::Right);
    vimbo::MainMenuE = false;
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::A), vk::Space) << "the wall in play";
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::Start), vk::Escape);
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::B), 0);
    vimbo::paused = true;
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::A), vk::Return);
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::B), vk::Escape);
    vimbo::paused = false;
    vimbo::gameover2 = true;
    EXPECT_EQ(vimbo::KeyForPadButton(PadButton::A), vk::Return);
    vimbo::ResetGameState();
}

TEST(PadKeys, TheStickPressesADirectionOnceBeyondTheDeadZone) {
    vimbo::StickKeys stick;
    EXPECT_EQ(stick.KeyFor(12000, 3000), 0) << "inside the dead zone";
    EXPECT_EQ(stick.KeyFor(20000, 3000), vk::Right);
    EXPECT_EQ(stick.KeyFor(30000, 5000), 0) << "held: no repeat";
    EXPECT_EQ(stick.KeyFor(12000, 0), 0) << "easing off, still out of the centre";
    EXPECT_EQ(stick.KeyFor(20000, 0), 0) << "and back out: the same direction is still held";
    EXPECT_EQ(stick.KeyFor(2000, -1000), 0);
    EXPECT_EQ(stick.KeyFor(20000, 0), vk::Right) << "after the centre it presses again";
    EXPECT_EQ(stick.KeyFor(5000, -30000), vk::Up) << "the stronger axis decides";
    EXPECT_EQ(stick.KeyFor(-32768, 100), vk::Left);
    EXPECT_EQ(stick.KeyFor(0, 32767), vk::Down);
}

TEST(PadScenario, AControllerPlaysTheWholeRoundOfMenusAndPlay) {
    GameDriver game;
    game.Pad(PadButton::Down);
    game.Pad(PadButton::Down);
    EXPECT_EQ(Shown(vimbo::HOptions), 1);
    game.Pad(PadButton::A);
    game.Frame();
    ASSERT_TRUE(vimbo::HBack->Visible) << "A opened the options";
    game.Pad(PadButton::A); // the sound switch, lit on opening, turns off in the picture
    game.Pad(PadButton::B);
    EXPECT_TRUE(vimbo::HBack->Visible) << "Escape does nothing on the options screen";
    game.Stick(0, 30000);
    game.Stick(0, 0);
    game.Stick(0, 30000);
    game.Stick(0, 0);
    game.Stick(0, 30000);
    game.Pad(PadButton::A);
    EXPECT_FALSE(vimbo::HBack->Visible) << "the stick went down to Back";
    EXPECT_FALSE(vimbo::soundOn);
    game.Pad(PadButton::Up);
    game.Pad(PadButton::Up);
    ASSERT_EQ(Shown(vimbo::HNewGame), 1);
    game.Pad(PadButton::A);
    ASSERT_TRUE(
        game.RunUntil([] { return !vimbo::MainMenuE && vimbo::Ireal >= 255 && !vimbo::svetleet; }, 300));
    game.HoldEnemy();
    game.Pad(PadButton::Right);
    EXPECT_FALSE(vimbo::nastarte);
    EXPECT_EQ(vimbo::player->nextDir, "right");
    game.Frames(3);
    game.Pad(PadButton::A);
    EXPECT_TRUE(vimbo::showW) << "A drops the wall in play";
    game.Pad(PadButton::Start);
    EXPECT_TRUE(vimbo::paused);
    game.Pad(PadButton::B);
    EXPECT_FALSE(vimbo::paused) << "B leaves the pause";
}

TEST(PadScenario, UnpluggingTheControllerPausesAGameInPlayButNoMenu) {
    GameDriver game;
    game.UnplugPad();
    EXPECT_FALSE(vimbo::paused);
    EXPECT_TRUE(vimbo::MainMenuE);
    ASSERT_TRUE(game.StartNewGame());
    game.HoldEnemy();
    game.Key(vk::Right);
    game.UnplugPad();
    EXPECT_TRUE(vimbo::paused);
    EXPECT_EQ(game.Count<vimbo::THUDPause>(), 4);
    game.UnplugPad();
    EXPECT_TRUE(vimbo::paused) << "a second unplug does not resume";
}

TEST(FullScreenScenario, AltEnterSwitchesToTheWindowSystemsFullScreenAndBack) {
    GameDriver game;
    auto& window = game.Window();
    ASSERT_TRUE(window.Bordered());
    const int width = window.ClientWidth();
    game.ToggleFullScreen();
    EXPECT_FALSE(window.Bordered());
    EXPECT_EQ(window.ClientWidth(), window.ScreenWidth());
    EXPECT_EQ(window.ClientHeight(), window.ScreenHeight());
    EXPECT_TRUE(vimbo::MainMenuE) << "no restart";
    game.ToggleFullScreen();
    EXPECT_TRUE(window.Bordered());
    EXPECT_EQ(window.ClientWidth(), width);
    EXPECT_EQ(game.Window().FrameWidth(), width) << "the picture keeps its size";
}

TEST(FullScreenScenario, UnderBarsTheMouseStillFindsTheMenuItems) {
    GameDriver game;
    game.ToggleFullScreen();
    auto& window = game.Window();
    ASSERT_NE(window.ClientWidth(), vimbo::screenW);
    // Where New Game lies on the screen: the picture fills the height, centred between side bars.
    const auto fit =
        ad::platform::FitInto(vimbo::screenW, vimbo::screenH, window.ClientWidth(), window.ClientHeight());
    const double itemX = vimbo::HNewGame->X() + vimbo::HNewGame->Width() / 2;
    const double itemY = vimbo::HNewGame->Y() + vimbo::HNewGame->Height() / 2;
    const int x = fit.x + static_cast<int>(itemX * fit.width / vimbo::screenW);
    const int y = fit.y + static_cast<int>(itemY * fit.height / vimbo::screenH);
    game.Key(vk::Down); // the highlight away from New Game first
    game.MoveMouse(x, y);
    game.MoveMouse(x + 1, y);
    EXPECT_EQ(vimbo::hoverName, "HNewGame");
    EXPECT_EQ(Shown(vimbo::HNewGame), 1);
    game.Click();
    EXPECT_TRUE(vimbo::tmrNewGame);
}

} // namespace
