// Hover and click rules of the menus.
#include "frontend/MouseInput.hpp"

#include "engine/platform/Files.hpp"
#include "frontend/Menus.hpp"
#include "game/GameFlow.hpp"
#include "game/GameState.hpp"
#include "game/Sound.hpp"
#include "game/World.hpp"

namespace vimbo {

namespace {

// Hovering starts only near the end of a fade-in; clicks wait for full brightness.
constexpr double kHoverBrightness = 253;

void Lit(const SpriteRef<THUD>& item, bool highlighted) {
    if (!item.Usable())
        return;
    item->AnimPos = highlighted ? Highlighted(item->AnimPos) : Unhighlighted(item->AnimPos);
}

void HoverMainItem() {
    for (const SpriteRef<THUD>* item : {&HNewGame, &HContinue, &HOptions, &HExit})
        if (item->Usable())
            (*item)->AnimPos = hoverName == ItemName(item->get()) ? 1 : 0;
}

} // namespace

void HandleMouseMove(int x, int y) {
    mouseX = x;
    mouseY = y;
    if (Ireal < kHoverBrightness)
        return;
    if (!paused) {
        if (hoverName == "HNewGame" || hoverName == "HContinue" || hoverName == "HOptions" ||
            hoverName == "HExit") {
            HoverMainItem();
        } else if (hoverName == "HOnOffS" || hoverName == "HOnOffM" || hoverName == "HEasyNormalHard" ||
                   hoverName == "HBack") {
            Lit(HOnOffS, hoverName == "HOnOffS");
            Lit(HOnOffM, hoverName == "HOnOffM");
            Lit(HEasyNormalHard, hoverName == "HEasyNormalHard");
            if (HBack.Usable())
                HBack->AnimPos = hoverName == "HBack" ? 1 : 0;
        }
    }
    if (paused && Ireal >= 1 && HContinueP.Usable() && HExitP.Usable()) {
        if (hoverName == "HContinueP")
            HContinueP->AnimPos = 1, HExitP->AnimPos = 0;
        else if (hoverName == "HExitP")
            HContinueP->AnimPos = 0, HExitP->AnimPos = 1;
    }
}

void HandleMouseDown() {
    if (Ireal < 255)
        return;
    // The hover of an item that is gone (the menu of a game that has started) is stale.
    if (ShownItem(hoverName) == nullptr)
        return;
    if (hoverName == "HContinueP") {
        RemovePauseMenu();
        paused = false;
    }
    if (hoverName == "HExit" || hoverName == "HExitP") {
        if (world.CloseForm)
            world.CloseForm();
        return;
    }
    if (hoverName == "HNewGame") {
        PlaySoundRes("s5");
        StartNewGame();
    }
    if (hoverName == "HOptions") {
        showOptions = true;
        if (HOptions.Usable())
            HOptions->AnimPos = 0;
    }
    if (hoverName == "HBack")
        ReturnToMainMenu(MenuReturn::Mouse);
    for (const SpriteRef<THUD>* toggle : {&HOnOffS, &HOnOffM}) {
        if (hoverName != ItemName(toggle->get()) || !toggle->Usable() || !(*toggle)->Visible)
            continue;
        const double frame = (*toggle)->AnimPos;
        if (frame < 2)
            (*toggle)->AnimPos = 3;
        else if (frame > 2)
            (*toggle)->AnimPos = 1;
        return;
    }
    if (hoverName == "HEasyNormalHard" && HEasyNormalHard.Usable() && HEasyNormalHard->Visible) {
        double& frame = HEasyNormalHard->AnimPos;
        if (frame < 2)
            frame = 3;
        else if (frame < 4)
            frame = 5;
        else if (frame > 3)
            frame = 1;
        return;
    }
    if (hoverName == "HContinue" && ad::platform::FileExists(world.SaveFileName)) {
        PlaySoundRes("sfx3_1");
        ContinueGame();
    }
}

} // namespace vimbo
