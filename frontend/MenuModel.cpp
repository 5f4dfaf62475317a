// Each menu item's sprite, ring and actions.
#include "frontend/MenuModel.hpp"

#include <array>
#include <span>

#include "engine/platform/Files.hpp"
#include "frontend/GameFlow.hpp"
#include "frontend/Menus.hpp"
#include "game/GameState.hpp"
#include "game/Sound.hpp"
#include "game/World.hpp"

namespace vimbo {

namespace {

struct ItemSprite {
    MenuItem item;
    const SpriteRefBase* ref;
    const char* hoverName;
};

const std::array<ItemSprite, 10> kItems{{
    {MenuItem::NewGame, &HNewGame, "HNewGame"},
    {MenuItem::Continue, &HContinue, "HContinue"},
    {MenuItem::Options, &HOptions, "HOptions"},
    {MenuItem::Exit, &HExit, "HExit"},
    {MenuItem::SoundSwitch, &HOnOffS, "HOnOffS"},
    {MenuItem::MusicSwitch, &HOnOffM, "HOnOffM"},
    {MenuItem::Difficulty, &HEasyNormalHard, "HEasyNormalHard"},
    {MenuItem::Back, &HBack, "HBack"},
    {MenuItem::ContinuePaused, &HContinueP, "HContinueP"},
    {MenuItem::ExitPaused, &HExitP, "HExitP"},
}};

const std::array<MenuItem, 4> kMainRing{MenuItem::NewGame, MenuItem::Continue, MenuItem::Options, MenuItem::Exit};
const std::array<MenuItem, 4> kOptionsRing{MenuItem::SoundSwitch, MenuItem::MusicSwitch, MenuItem::Difficulty,
                                           MenuItem::Back};
const std::array<MenuItem, 2> kPauseRing{MenuItem::ContinuePaused, MenuItem::ExitPaused};

ad::TSprite* SpriteOf(MenuItem item) {
    return kItems[static_cast<size_t>(item)].ref->Raw();
}
bool Usable(MenuItem item) {
    return kItems[static_cast<size_t>(item)].ref->Usable();
}
double& FrameOf(MenuItem item) {
    return static_cast<TGameSprite*>(SpriteOf(item))->AnimPos;
}

// Switches and the selector show their value in the frame: they are lit in odd frames.
bool ShowsAValue(MenuItem item) {
    return item == MenuItem::SoundSwitch || item == MenuItem::MusicSwitch || item == MenuItem::Difficulty;
}
bool Lit(MenuItem item) {
    const double frame = FrameOf(item);
    return ShowsAValue(item) ? ValueHighlighted(frame) : PlainHighlighted(frame);
}

std::span<const MenuItem> RingOnScreen() {
    if (paused)
        return kPauseRing;
    return OptionsScreenShown() ? std::span<const MenuItem>(kOptionsRing) : std::span<const MenuItem>(kMainRing);
}

bool InRing(std::span<const MenuItem> ring, MenuItem item) {
    for (const MenuItem member : ring)
        if (member == item)
            return true;
    return false;
}

void CloseForm() {
    if (world.CloseForm)
        world.CloseForm();
}

} // namespace

const char* ItemName(const ad::TSprite* sprite) {
    if (sprite == nullptr)
        return "";
    for (const ItemSprite& entry : kItems)
        if (entry.ref->Raw() == sprite)
            return entry.hoverName;
    return "";
}

TGameSprite* ShownItem(const std::string& name) {
    for (const ItemSprite& entry : kItems)
        if (name == entry.hoverName && entry.ref->Usable() && entry.ref->Raw()->Visible)
            return static_cast<TGameSprite*>(entry.ref->Raw());
    return nullptr;
}

std::optional<MenuItem> ItemForHoverName(const std::string& name) {
    for (const ItemSprite& entry : kItems)
        if (name == entry.hoverName)
            return entry.item;
    return std::nullopt;
}

bool OptionsScreenShown() {
    return HBack.Usable() && HBack->Visible;
}

bool MenuComplete() {
    for (const MenuItem item : RingOnScreen())
        if (!Usable(item))
            return false;
    return true;
}

std::optional<MenuItem> HighlightedItem() {
    for (const MenuItem item : RingOnScreen())
        if (Usable(item) && Lit(item))
            return item;
    return std::nullopt;
}

void StepHighlight(int step) {
    const std::span<const MenuItem> ring = RingOnScreen();
    const std::optional<MenuItem> lit = HighlightedItem();
    if (!lit || !MenuComplete())
        return;
    const int size = static_cast<int>(ring.size());
    int at = 0;
    while (ring[static_cast<size_t>(at)] != *lit)
        ++at;
    const MenuItem next = ring[static_cast<size_t>(((at + step) % size + size) % size)];
    // The options keep each value as its highlight moves; the other menus' frames are lit or not.
    const bool values = ring.data() == kOptionsRing.data();
    FrameOf(*lit) = values ? Unhighlighted(FrameOf(*lit)) : 0;
    FrameOf(next) = values ? Highlighted(FrameOf(next)) : 1;
}

void HoverItem(MenuItem item) {
    if (InRing(kPauseRing, item)) {
        if (!paused || !Usable(MenuItem::ContinuePaused) || !Usable(MenuItem::ExitPaused))
            return;
        for (const MenuItem member : kPauseRing)
            FrameOf(member) = member == item ? 1 : 0;
        return;
    }
    if (paused)
        return;
    if (InRing(kMainRing, item)) {
        for (const MenuItem member : kMainRing)
            if (Usable(member))
                FrameOf(member) = member == item ? 1 : 0;
        return;
    }
    for (const MenuItem member : kOptionsRing) {
        if (!Usable(member))
            continue;
        if (ShowsAValue(member))
            FrameOf(member) = member == item ? Highlighted(FrameOf(member)) : Unhighlighted(FrameOf(member));
        else
            FrameOf(member) = member == item ? 1 : 0;
    }
}

void ActivateItem(MenuItem item, MenuInput how) {
    switch (item) {
    case MenuItem::NewGame:
        PlaySoundRes(how == MenuInput::Keyboard ? "sfx3_1" : "s5");
        StartNewGame();
        break;
    case MenuItem::Continue:
        if (ad::platform::FileExists(world.SaveFileName)) {
            PlaySoundRes("sfx3_1");
            ContinueGame();
        }
        break;
    case MenuItem::Options:
        showOptions = true;
        // The pointer leaves the item behind as the screen changes: it is not lit on the way back.
        if (how == MenuInput::Mouse)
            FrameOf(item) = 0;
        break;
    case MenuItem::Exit:
    case MenuItem::ExitPaused:
        CloseForm();
        break;
    case MenuItem::SoundSwitch:
    case MenuItem::MusicSwitch:
        // Stepping changes only the picture; the game takes the values as the screen is left.
        FrameOf(item) = NextSwitchFrame(FrameOf(item));
        break;
    case MenuItem::Difficulty:
        FrameOf(item) = NextDifficultyFrame(FrameOf(item));
        break;
    case MenuItem::Back:
        ReturnToMainMenu(how == MenuInput::Keyboard ? MenuReturn::Keyboard : MenuReturn::Mouse);
        break;
    case MenuItem::ContinuePaused:
        RemovePauseMenu();
        paused = false;
        break;
    }
}

double NextSwitchFrame(double frame) {
    if (frame < 2)
        return 3;
    return frame > 2 ? 1 : frame;
}

double NextDifficultyFrame(double frame) {
    if (frame < 2)
        return 3;
    return frame < 4 ? 5 : 1;
}

} // namespace vimbo
