// The soak's random player: per-screen choices of keys, pointer moves and clicks.
#include "tests/support/SoakScript.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "engine/platform/VirtualKeys.hpp"
#include "frontend/Menus.hpp"
#include "game/Blocks.hpp"
#include "game/Collectibles.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/MazeGrid.hpp"
#include "game/Player.hpp"

namespace vimbo::test {

namespace vk = ad::platform::vk;

namespace {

constexpr uint32_t kShortestFrameMs = 1;
constexpr uint32_t kLongestFrameMs = 50;
// Most frames carry no input, so that play goes on between the player's decisions.
constexpr int kInputPercent = 30;

template <size_t N> int Pick(ad::platform::RandomGenerator& random, const std::array<int, N>& keys) {
    return keys[static_cast<size_t>(random.Random(static_cast<int32_t>(N)))];
}

bool ExitHighlighted() {
    const bool options = HBack.Usable() && HBack->Visible;
    if (MainMenuE && !options && HExit.Usable() && PlainHighlighted(HExit->AnimPos))
        return true;
    return paused && HExitP.Usable() && PlainHighlighted(HExitP->AnimPos) && HContinueP.Usable() &&
           !PlainHighlighted(HContinueP->AnimPos);
}

} // namespace

SoakScript::Screen SoakScript::Current() {
    if (gameover2)
        return Screen::GameOver;
    if (Ireal < 255 || tmrNewGame || tmrRestart || starActive)
        return Screen::Fading;
    if (MainMenuE)
        return HBack.Usable() && HBack->Visible ? Screen::Options : Screen::MainMenu;
    return paused ? Screen::Paused : Screen::Play;
}

uint32_t SoakScript::Next(GameDriver& game) {
    const uint32_t ms = kShortestFrameMs + static_cast<uint32_t>(random_.Random(kLongestFrameMs));
    const Screen screen = Current();
    switch (screen) {
    case Screen::MainMenu:
        ++tally_.framesInMainMenu;
        break;
    case Screen::Options:
        ++tally_.framesInOptions;
        break;
    case Screen::Play:
        ++tally_.framesInPlay;
        break;
    case Screen::Paused:
        ++tally_.framesPaused;
        break;
    case Screen::GameOver:
        ++tally_.framesGameOver;
        break;
    case Screen::Fading:
        break;
    }
    if (!Chance(kInputPercent))
        return ms;
    // Now and then a key or a move that the screen has no use for: it must change nothing.
    if (Chance(10)) {
        StrayAction(game);
        return ms;
    }
    switch (screen) {
    case Screen::MainMenu:
    case Screen::Options:
        MenuAction(game, screen == Screen::Options);
        break;
    case Screen::Play:
        if (style_ == PlayStyle::Chase)
            ChaseAction(game);
        else
            PlayAction(game);
        break;
    case Screen::Paused:
        PauseAction(game);
        break;
    case Screen::GameOver:
        Key(game, Pick(random_, std::array{vk::Return, vk::Left, vk::KeyA, vk::Tab}));
        break;
    case Screen::Fading:
        StrayAction(game);
        break;
    }
    return ms;
}

void SoakScript::Observe() {
    const bool play = !MainMenuE && player.Usable();
    if (!MainMenuE && lastMenu_)
        ++tally_.gamesBuilt;
    if (!MainMenuE && lives < lastLives_)
        ++tally_.livesLost;
    if (gameover2 && !lastGameOver_)
        ++tally_.gamesLost;
    if (!MainMenuE && level != lastLevel_ && !lastMenu_)
        ++tally_.levelChanges;
    if (showW && !lastWall_)
        ++tally_.wallsDropped;
    if (play)
        tally_.highestLevel = std::max(tally_.highestLevel, level);
    lastPlay_ = play;
    lastMenu_ = MainMenuE;
    lastGameOver_ = gameover2;
    lastWall_ = showW;
    lastLives_ = lives;
    lastLevel_ = level;
}

void SoakScript::MenuAction(GameDriver& game, bool options) {
    // Mostly moving about: an activation on the main menu usually starts a game at once.
    const int roll = random_.Random(100);
    if (roll < 50)
        Key(game, Pick(random_, std::array{vk::Up, vk::Down, vk::KeyW, vk::KeyS}));
    else if (roll < 62)
        Activate(game, vk::Down);
    else if (roll < 85)
        HoverRandomItem(game, options);
    else
        Click(game);
}

void SoakScript::PlayAction(GameDriver& game) {
    // Walls hold the enemy for two seconds and the pause stops everything: dropped often, they
    // would keep the enemy from ever catching the runner.
    const int roll = random_.Random(100);
    if (roll < 40)
        Key(game, TowardsCollectible());
    else if (roll < 85)
        Key(game, Pick(random_, std::array{vk::Up, vk::Down, vk::Left, vk::Right, vk::KeyW, vk::KeyA, vk::KeyS,
                                           vk::KeyD}));
    else if (roll < 88)
        Key(game, vk::Space);
    else if (roll < 90)
        Key(game, Pick(random_, std::array{vk::Escape, vk::Pause}));
    else if (roll < 96)
        MoveAnywhere(game);
    else
        Click(game);
}

void SoakScript::ChaseAction(GameDriver& game) {
    const int roll = random_.Random(100);
    if (roll < 55) {
        Key(game, AlongTheRing());
    } else if (roll < 85) {
        // A turn across the runner's way, asked for before the opening: it is taken at the next one,
        // wherever the tail lies then.
        const bool across = player.Usable() && (player->dir == "up" || player->dir == "down");
        Key(game, across ? Pick(random_, std::array{vk::Left, vk::Right}) : Pick(random_, std::array{vk::Up, vk::Down}));
    } else if (roll < 95) {
        Key(game, Pick(random_, std::array{vk::Up, vk::Down, vk::Left, vk::Right}));
    } else if (roll < 97) {
        Key(game, vk::Space);
    } else if (roll < 98) {
        Key(game, Pick(random_, std::array{vk::Escape, vk::Pause}));
    } else {
        MoveAnywhere(game);
    }
}

// Clockwise round the cells next to the border: right along row 1, down column 30, left along row
// 29, up column 1; from inside the maze, towards the nearest side of the ring.
int SoakScript::AlongTheRing() {
    if (!player.Usable())
        return vk::Right;
    const int c = player->cellX, r = player->cellY;
    constexpr int kLast = kMazeColumns - 2, kBottom = kMazeRows - 2;
    if (r == 1 && c < kLast)
        return vk::Right;
    if (c == kLast && r < kBottom)
        return vk::Down;
    if (r == kBottom && c > 1)
        return vk::Left;
    if (c == 1 && r > 1)
        return vk::Up;
    const int nearest = std::min({c - 1, kLast - c, r - 1, kBottom - r});
    if (nearest == r - 1)
        return vk::Up;
    if (nearest == kLast - c)
        return vk::Right;
    if (nearest == kBottom - r)
        return vk::Down;
    return vk::Left;
}

// A player after points: the way along which the collectible lies farther, as the crow flies. Walls
// stop the runner often enough that the random steering gets it round them.
int SoakScript::TowardsCollectible() {
    if (!vit.Usable() || !player.Usable())
        return vk::Right;
    const int across = vitCol - player->cellX, along = vitRow - player->cellY;
    if (std::abs(across) >= std::abs(along))
        return across >= 0 ? vk::Right : vk::Left;
    return along >= 0 ? vk::Down : vk::Up;
}

void SoakScript::PauseAction(GameDriver& game) {
    const int roll = random_.Random(100);
    if (roll < 30)
        Key(game, Pick(random_, std::array{vk::Up, vk::Down, vk::KeyW, vk::KeyS}));
    else if (roll < 55)
        Activate(game, vk::Up);
    else if (roll < 70)
        Key(game, Pick(random_, std::array{vk::Escape, vk::Pause}));
    else if (roll < 85)
        HoverRandomItem(game, false);
    else
        Click(game);
}

void SoakScript::StrayAction(GameDriver& game) {
    const int roll = random_.Random(100);
    if (roll < 60)
        Key(game, Pick(random_, std::array{vk::F1, vk::F2, vk::F9, vk::Tab, vk::Back, vk::Key0, vk::KeyA + 16,
                                           vk::Home, vk::Delete, vk::Shift}));
    else if (roll < 85)
        MoveAnywhere(game);
    else
        Click(game);
}

void SoakScript::Key(GameDriver& game, int key) {
    game.QueueKey(key);
    ++tally_.keys;
}

void SoakScript::Activate(GameDriver& game, int moveKey) {
    if (ExitHighlighted()) {
        ++tally_.exitsCancelled;
        Key(game, moveKey);
        return;
    }
    Key(game, Pick(random_, std::array{vk::Return, vk::Space}));
}

void SoakScript::HoverRandomItem(GameDriver& game, bool options) {
    const std::array<const SpriteRef<THUD>*, 5> menu{&HNewGame, &HContinue, &HOptions, &HExit, &HKelvoranth};
    const std::array<const SpriteRef<THUD>*, 5> optionItems{&HOnOffS, &HOnOffM, &HEasyNormalHard, &HBack,
                                                            &HSounds};
    const ad::TSprite* target = nullptr;
    if (paused) {
        const auto& item = random_.Random(2) == 0 ? HContinueP : HExitP;
        target = item.Usable() ? item.get() : nullptr;
    } else {
        const auto& items = options ? optionItems : menu;
        const auto* item = items[static_cast<size_t>(random_.Random(static_cast<int32_t>(items.size())))];
        target = item->Usable() ? item->get() : nullptr;
    }
    if (target == nullptr) {
        MoveAnywhere(game);
        return;
    }
    // A point anywhere on the item, its edges included.
    const int x = static_cast<int>(target->X()) + random_.Random(static_cast<int32_t>(target->Width()) + 1);
    const int y = static_cast<int>(target->Y()) + random_.Random(static_cast<int32_t>(target->Height()) + 1);
    game.QueueMouseMove(x, y);
    ++tally_.mouseMoves;
}

void SoakScript::MoveAnywhere(GameDriver& game) {
    // Mostly inside the window, sometimes beyond its edges.
    game.QueueMouseMove(random_.Random(1100) - 40, random_.Random(840) - 40);
    ++tally_.mouseMoves;
}

void SoakScript::Click(GameDriver& game) {
    if (hoverName == "HExit" || hoverName == "HExitP") {
        ++tally_.exitsCancelled;
        MoveAnywhere(game);
        return;
    }
    game.QueueClick(random_.Random(4) == 0 ? ad::platform::MouseButton::Right
                                           : ad::platform::MouseButton::Left);
    ++tally_.clicks;
}

} // namespace vimbo::test
