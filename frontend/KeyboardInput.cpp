// The key rules of each screen, in their order of priority.
#include "frontend/KeyboardInput.hpp"

#include <array>

#include "engine/platform/Files.hpp"
#include "engine/platform/VirtualKeys.hpp"
#include "frontend/Menus.hpp"
#include "game/Blocks.hpp"
#include "game/GameFlow.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "game/Sound.hpp"
#include "game/World.hpp"

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

using Ring = std::array<const SpriteRef<THUD>*, 4>;
const Ring kMainRing{&HNewGame, &HContinue, &HOptions, &HExit};
const Ring kOptionsRing{&HOnOffS, &HOnOffM, &HEasyNormalHard, &HBack};

bool RingUsable(const Ring& ring) {
    for (const SpriteRef<THUD>* item : ring)
        if (!item->Usable())
            return false;
    return true;
}

// Moves the highlight one step around the ring (+1 next, -1 previous), from the first highlighted
// item in ring order; without a highlighted item nothing changes.
void StepHighlight(const Ring& ring, int step, bool options) {
    for (size_t i = 0; i < ring.size(); ++i) {
        THUD& item = *ring[i]->get();
        const bool lit =
            options && ring[i] != &HBack ? ValueHighlighted(item.AnimPos) : PlainHighlighted(item.AnimPos);
        if (!lit)
            continue;
        THUD& next = *ring[(i + ring.size() + step) % ring.size()]->get();
        item.AnimPos = options ? Unhighlighted(item.AnimPos) : 0;
        next.AnimPos = options ? Highlighted(next.AnimPos) : 1;
        return;
    }
}

void CloseForm() {
    if (world.CloseForm)
        world.CloseForm();
}

void ActivateMainItem() {
    if (PlainHighlighted(HNewGame->AnimPos)) {
        PlaySoundRes("sfx3_1");
        StartNewGame();
        return;
    }
    if (PlainHighlighted(HContinue->AnimPos) && ad::platform::FileExists(world.SaveFileName)) {
        PlaySoundRes("sfx3_1");
        ContinueGame();
        return;
    }
    if (PlainHighlighted(HOptions->AnimPos))
        showOptions = true;
    if (PlainHighlighted(HExit->AnimPos))
        CloseForm();
}

void ActivateOptionsItem() {
    // Toggling and stepping change only the picture; the game takes the values on Back.
    for (const SpriteRef<THUD>* toggle : {&HOnOffS, &HOnOffM}) {
        const int shown = ad::AdTrunc((*toggle)->AnimPos);
        if (shown == 1 || shown == 3) {
            (*toggle)->AnimPos = shown == 1 ? 3 : 1;
            return;
        }
    }
    const int selector = ad::AdTrunc(HEasyNormalHard->AnimPos);
    if (selector == 1 || selector == 3 || selector == 5) {
        HEasyNormalHard->AnimPos = selector == 5 ? 1 : selector + 2;
        return;
    }
    if (PlainHighlighted(HBack->AnimPos))
        ReturnToMainMenu(MenuReturn::Keyboard);
}

void MenuKey(int key) {
    const bool options = HBack.Usable() && HBack->Visible;
    const Ring& ring = options ? kOptionsRing : kMainRing;
    if (!RingUsable(ring))
        return;
    if (IsDown(key))
        StepHighlight(ring, 1, options);
    else if (IsUp(key))
        StepHighlight(ring, -1, options);
    else if (IsActivate(key))
        options ? ActivateOptionsItem() : ActivateMainItem();
}

// Returns whether the pause menu consumed the key.
bool PauseKey(int key) {
    if (!HContinueP.Usable() || !HExitP.Usable())
        return false;
    const bool onContinue = PlainHighlighted(HContinueP->AnimPos);
    const bool onExit = !onContinue && PlainHighlighted(HExitP->AnimPos);
    if (IsUp(key) || IsDown(key)) {
        if (!onContinue && !onExit)
            return false;
        HContinueP->AnimPos = onContinue ? 0 : 1;
        HExitP->AnimPos = onContinue ? 1 : 0;
        return true;
    }
    if (IsActivate(key)) {
        if (onContinue) {
            RemovePauseMenu();
            paused = false;
            return true;
        }
        if (onExit) {
            CloseForm();
            return true;
        }
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
