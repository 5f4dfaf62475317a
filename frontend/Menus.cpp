// Building and laying out the menu screens, the pause menu, the game-over banner and the cursor.
#include "frontend/Menus.hpp"

#include <initializer_list>
#include <utility>

#include "frontend/MenuModel.hpp"
#include "game/Effects.hpp"
#include "game/GameState.hpp"
#include "game/Music.hpp"
#include "game/World.hpp"

namespace vimbo {

SpriteRef<THUD> HKelvoranth, HNewGame, HContinue, HOptions, HExit;
SpriteRef<THUD> HSounds, HMusic, HDifficulty, HBack, HOnOffS, HOnOffM, HEasyNormalHard;
SpriteRef<THUDPause> HPause, HContinueP, HExitP, HMenuP;
SpriteRef<THUDGo> HGameover2;
SpriteRef<TCursor> cursor;
SpriteRef<TCursor0> cursorHotSpot;
std::string hoverName;
int mouseX, mouseY;

namespace {

// Half the screen, truncated as the layouts measure it.
int HalfW() {
    return screenW / 2;
}
int HalfH() {
    return screenH / 2;
}

template <typename T>
T* MakeItem(SpriteRef<T>& ref, const char* image, int z, double x, double y, double frame, bool visible) {
    auto* item = new T(world.SpriteEngine);
    ref = item;
    item->SetImage(FindImage(image));
    item->SetZ(z);
    item->SetX(x);
    item->SetY(y);
    item->AnimPos = frame;
    item->Visible = visible;
    return item;
}

// The frame of the switches for an on/off value, and of the selector for a difficulty.
double SwitchFrame(bool on) {
    return on ? 0 : 2;
}
double DifficultyFrame(const std::string& name) {
    if (name == "normal")
        return 2;
    if (name == "hard")
        return 4;
    return 0;
}

using HudList = std::initializer_list<const SpriteRef<THUD>*>;

// Runs `action` on each item of the list that is usable.
template <typename Action> void ForEachItem(HudList items, Action action) {
    for (const SpriteRef<THUD>* item : items)
        if (item->Usable())
            action(*item->get());
}

const HudList kMainItems{&HNewGame, &HContinue, &HOptions, &HExit};

// The switches and the difficulty take effect as the options screen is left.
void ApplyOptions() {
    if (!HOnOffS.Usable() || !HOnOffM.Usable() || !HEasyNormalHard.Usable())
        return;
    soundOn = HOnOffS->AnimPos >= 0 && HOnOffS->AnimPos < 2;
    musicOn = HOnOffM->AnimPos >= 0 && HOnOffM->AnimPos < 2;
    const double d = HEasyNormalHard->AnimPos;
    if (d >= 0 && d < 2)
        difficulty = "easy";
    else if (d >= 2 && d < 4)
        difficulty = "normal";
    else if (d >= 4 && d < 6)
        difficulty = "hard";
    ApplyMusicSwitch(MediaPlayer1);
}

} // namespace

void THUD::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    AnimActive = false;
}

void THUDPause::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    AnimActive = false;
}

void ResetFrontEndState() {
    ResetGameState();
    hoverName.clear();
    mouseX = mouseY = 0;
}

bool PlainHighlighted(double frame) {
    return frame >= 1;
}

bool ValueHighlighted(double frame) {
    return (frame >= 1 && frame < 2) || (frame >= 3 && frame < 4) || (frame >= 5 && frame < 6);
}

// By the frame shown (the integer part): an item's first move may have nudged its position a little
// past the value menu code gave it.
double Highlighted(double frame) {
    const int shown = ad::AdTrunc(frame);
    return shown % 2 == 0 ? shown + 1 : shown;
}

double Unhighlighted(double frame) {
    const int shown = ad::AdTrunc(frame);
    return shown % 2 == 1 ? shown - 1 : shown;
}

void HudCreate() {
    if (!MainMenuE || tmrNewGame)
        return;
    const int w = HalfW(), h = HalfH();
    const auto centred = [&](SpriteRef<THUD>& ref, const char* image, double y, double frame) {
        THUD* item = MakeItem(ref, image, 10, 0, y, frame, true);
        item->SetX(w - item->Width() / 2);
    };
    centred(HNewGame, "newgame", h + 48, 1);
    centred(HContinue, "continue", h + 80, 0);
    centred(HOptions, "options", h + 112, 0);
    centred(HExit, "exit", h + 144, 0);
    THUD* banner = MakeItem(HKelvoranth, "kelvoranth", 10, 0, 0, 0, true);
    banner->SetX(w - banner->Width() / 2);
    banner->SetY(h - 1.5 * banner->Height());
    MakeItem(HSounds, "sounds", 9, screenW, h + 48, 0, false);
    MakeItem(HMusic, "music", 9, screenW, h + 80, 0, false);
    MakeItem(HDifficulty, "difficulty", 9, screenW, h + 112, 0, false);
    MakeItem(HBack, "back", 9, screenW, h + 144, 0, false);
    MakeItem(HOnOffS, "onoff", 9, screenW, h + 48, SwitchFrame(soundOn), false);
    MakeItem(HOnOffM, "onoff", 9, screenW, h + 80, SwitchFrame(musicOn), false);
    MakeItem(HEasyNormalHard, "easynormalhard", 9, screenW, h + 112, DifficultyFrame(difficulty), false);
}

void LayoutOptions() {
    ForEachItem(kMainItems, [](THUD& item) {
        item.Visible = false;
        item.SetX(screenW);
    });
    const auto show = [](THUD& item, double x) {
        item.SetZ(11);
        item.SetX(x);
        item.Visible = true;
    };
    ForEachItem({&HSounds, &HMusic, &HDifficulty},
                [&](THUD& label) { show(label, HalfW() - label.Width() - 8); });
    ForEachItem({&HBack}, [&](THUD& back) { show(back, HalfW() - back.Width() / 2 - 8); });
    ForEachItem({&HOnOffS, &HOnOffM, &HEasyNormalHard}, [&](THUD& value) { show(value, HalfW() + 8); });
    // The sound switch starts highlighted, in its current value.
    if (HOnOffS.Usable())
        HOnOffS->AnimPos = soundOn ? 1 : 3;
    if (HOnOffM.Usable())
        HOnOffM->AnimPos = SwitchFrame(musicOn);
}

void ReturnToMainMenu(MenuReturn how) {
    ForEachItem(kMainItems, [](THUD& item) {
        item.SetX(HalfW() - item.Width() / 2);
        item.Visible = true;
    });
    ForEachItem({&HBack}, [](THUD& back) { back.AnimPos = 0; });
    ForEachItem({&HSounds, &HMusic, &HDifficulty, &HBack, &HOnOffS, &HOnOffM, &HEasyNormalHard},
                [](THUD& item) {
                    item.SetZ(9);
                    item.SetX(screenW);
                    item.Visible = false;
                });
    ApplyOptions();
    // The keyboard leaves Options highlighted; the mouse left through Back, where Exit now lies under
    // the pointer. Either way exactly one item ends highlighted.
    const SpriteRef<THUD>& chosen = how == MenuReturn::Keyboard ? HOptions : HExit;
    ForEachItem(kMainItems, [&](THUD& item) { item.AnimPos = chosen == &item ? 1 : 0; });
}

void RemoveMenus() {
    for (const SpriteRef<THUD>* item : {&HNewGame, &HContinue, &HOptions, &HExit, &HKelvoranth, &HSounds,
                                        &HMusic, &HDifficulty, &HBack, &HOnOffS, &HOnOffM, &HEasyNormalHard})
        item->Remove();
}

void BuildPauseMenu() {
    const int w = HalfW(), h = HalfH();
    MakeItem(HPause, "pause", 10, 10, 10, 0, true);
    THUDPause* go = MakeItem(HContinueP, "continue", 11, 0, h - 32, 1, true);
    go->SetX(w - go->Width() / 2);
    THUDPause* leave = MakeItem(HExitP, "exit", 11, 0, h, 0, true);
    leave->SetX(w - leave->Width() / 2);
    MakeItem(HMenuP, "menup", 10, w - go->Width() / 2 - 16, h - 48, 0, true);
}

void RemovePauseMenu() {
    HPause.Remove();
    HContinueP.Remove();
    HExitP.Remove();
    HMenuP.Remove();
}

void GameOverBanner() {
    if (!gameover)
        return;
    gameover = false;
    THUDGo* banner = MakeItem(HGameover2, "gameover2", 20, 0, 0, 1, true);
    banner->SetX(HalfW() - banner->Width() / 2);
    banner->SetY(HalfH() - banner->Height() / 2);
    star.Remove();
    gameover2 = true;
}

void CreateCursors() {
    TCursor* pointer = MakeItem(cursor, "cursor", 11, 100, 100, 0, true);
    pointer->AnimActive = false;
    pointer->AnimLoop = false;
    // The hot spot asks for a picture the list does not hold: it stays without image and size.
    TCursor0* hotSpot = MakeItem(cursorHotSpot, "cursor0", 11, 100, 100, 0, true);
    hotSpot->AnimActive = false;
    hotSpot->AnimLoop = false;
}

void TCursor::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    SetX(mouseX);
    SetY(mouseY);
    Visible = MainMenuE || paused;
}

void TCursor0::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    SetX(mouseX);
    SetY(mouseY);
    Visible = MainMenuE || paused;
    itemReported_ = false;
    Collision();
}

void TCursor0::DoCollision(ad::TSprite* sprite, bool& done) {
    TGameSprite::DoCollision(sprite, done);
    // Labels, the title banner and the pause panel leave the hover as it is.
    if (dynamic_cast<THUD*>(sprite) != nullptr || dynamic_cast<THUDPause*>(sprite) != nullptr) {
        const char* name = ItemName(sprite);
        if (*name != '\0') {
            hoverName = name;
            itemReported_ = true;
        }
    } else if (!itemReported_) {
        hoverName.clear();
    }
}

} // namespace vimbo
