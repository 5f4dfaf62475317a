// The key rules of each screen, in their order of priority.
#include "frontend/KeyboardInput.hpp"

#include <optional>

#include "engine/platform/VirtualKeys.hpp"
#include "frontend/MenuModel.hpp"
#include "frontend/Menus.hpp"
#include "game/Blocks.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"

namespace vimbo {

namespace vk = ad::platform::vk;

namespace {

bool IsUp(int key) {
    return key == vk::Up || key == vk::KeyW;
}
bool IsDown(int key) {
    return key == vk::Down || key == vk::KeyS;
}
bool IsActivate(int key) {
    return key == vk::Space || key == vk::Return;
}

void MenuKey(int key) {
    if (!MenuComplete())
        return;
    if (IsDown(key))
        StepHighlight(1);
    else if (IsUp(key))
        StepHighlight(-1);
    else if (IsActivate(key))
        if (const std::optional<MenuItem> item = HighlightedItem())
            ActivateItem(*item, MenuInput::Keyboard);
}

// Returns whether the pause menu consumed the key: a move or a choice while one of its items is lit.
bool PauseKey(int key) {
    if (!MenuComplete())
        return false;
    const std::optional<MenuItem> lit = HighlightedItem();
    if (!lit)
        return false;
    if (IsUp(key) || IsDown(key)) {
        StepHighlight(1);
        return true;
    }
    if (IsActivate(key)) {
        ActivateItem(*lit, MenuInput::Keyboard);
        return true;
    }
    return false;
}

void LeaveGameOver() {
    level = 1;
    score = 0;
    nastarte = true;
    bgScroll = true;
    Ireal = 255;
    HGameover2.Remove();
    gameover2 = false;
    gameover3 = true;
    temneet = true;
    lifeBonusGiven.fill(false);
}

void Steer(int key) {
    if (!player)
        return;
    if (IsUp(key))
        player->nextDir = "up";
    else if (IsDown(key))
        player->nextDir = "down";
    else if (key == vk::Right || key == vk::KeyD)
        player->nextDir = "right";
    else if (key == vk::Left || key == vk::KeyA)
        player->nextDir = "left";
}

} // namespace

bool GameRunning() {
    return !MainMenuE && !paused && !gameover2 && !tmrRestart && !starActive && Ireal >= 255 && player.Usable();
}

void LeaveGame() {
    if (MainMenuE || gameover3)
        return;
    if (paused) {
        RemovePauseMenu();
        paused = false;
    }
    tmrRestart = false;
    levelChanged = false;
    LeaveGameOver();
}

void PauseGame() {
    paused = true;
    Ireal = 255;
    BuildPauseMenu();
}

void HandleGameKey(int key) {
    // The fade-in's last step leaves Ireal at full brightness while the fade still runs, and the
    // star over the runner's corner starts only in the frame that ends it: a key taken in between
    // would release the runner under the star, which hides the maze's border from its probes.
    if (tmrRestart || Ireal < 255 || svetleet || starActive)
        return;
    if (gameover2) {
        LeaveGameOver();
        return;
    }
    if (MainMenuE) {
        MenuKey(key);
        return;
    }
    if (paused && PauseKey(key))
        return;
    nastarte = false;
    Steer(key);
    if (key == vk::F9)
        showFps = !showFps;
    if (key == vk::Pause || key == vk::Escape) {
        if (paused) {
            paused = false;
            RemovePauseMenu();
        } else {
            PauseGame();
        }
    }
    if (key == vk::Space)
        DropWall();
}

} // namespace vimbo
