// The game-flow state machine and the scene builds it runs while the screen is dark.
#include "frontend/GameFlow.hpp"

#include <algorithm>
#include <exception>

#include "engine/platform/Dialogs.hpp"
#include "frontend/Backgrounds.hpp"
#include "frontend/Digits.hpp"
#include "frontend/Menus.hpp"
#include "game/Blocks.hpp"
#include "game/Collectibles.hpp"
#include "game/Effects.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/LevelLoading.hpp"
#include "game/Player.hpp"
#include "game/Tail.hpp"
#include "game/World.hpp"

namespace vimbo {

namespace {

void ResetTail() {
    hvostLen = TailLengthFor(difficulty, hvostLen);
    trailX.fill(0.0);
    trailY.fill(0.0);
}

// The level's burst as a game starts: at the units digit of the level.
void BurstAtLevelDigit() {
    const SpriteRef<TDigital>& units = levelDigits[1];
    if (!units)
        return;
    const int x = ad::AdTrunc(units->X()), y = ad::AdTrunc(units->Y());
    if (level > 9)
        EmitParticles(world.BonusParticles, 10, x - 1, y + 8);
    else
        EmitParticles(world.BonusParticles, 7, x + 8, y + 8);
}

void BuildNewGame() {
    Ireal = 0;
    tmrNewGame = false;
    RemoveMenus();
    PlayerCreate();
    player->CollisionTester = world.AdCollisionTester;
    GameHudCreate();
    EnemyCreate();
    CreateHvosts();
    SpawnVit();
    BuildBlocks(*world.SpriteEngine, *world.AdImageList);
    fon2Color = 0x71B33C;
    fonColor = 0x2A2AA5;
    bgScroll = true;
    svetleet = true;
    BurstAtLevelDigit();
    playerDied = false;
    if (enemy.Usable())
        enemy->dir = "up";
    star.Remove();
    MainMenuE = false;
}

void RestartPlay() {
    svetleet = true;
    tmrRestart = false;
    if (star.Usable()) {
        star->SetX(screenW / 2.0 - 384);
        star->SetY(screenH / 2.0 - 384);
    }
    if (lives < 1) {
        ad::platform::ShowMessage("d");
        return;
    }
    ResetTail();
    if (levelChanged) {
        levelChanged = false;
        loading_level();
        BuildBlocks(*world.SpriteEngine, *world.AdImageList);
    }
    // The restarted runner collides by rectangles: only the new game's runner gets the pixel test.
    player.Remove();
    PlayerCreate();
    PlaceEnemy();
    HideHvosts();
    vit.Remove();
    SpawnVit();
    LevelFonCreate();
    Fon2Create();
    HudDigitsRecreate();
}

void BackToMainMenu() {
    gameover3 = false;
    MainMenuE = true;
    lives = 3;
    level = 1;
    ResetTail();
    deleteLevel();
    HudCreate();
    LevelFonCreate();
    Fon2Create();
    svetleet = true;
}

// Runs one group of a teardown; a failure shows the group's text and skips the rest of it.
template <typename Group> void Guarded(const char* failure, Group group) {
    try {
        group();
    } catch (const std::exception&) {
        ad::platform::ShowMessage(failure);
    }
}

} // namespace

void ListenFlags() {
    if (showOptions) {
        showOptions = false;
        LayoutOptions();
    }
    if (gameover3 && Ireal <= 0)
        BackToMainMenu();
    if (tmrNewGame) {
        temneet = true;
        if (Ireal <= 0) {
            try {
                BuildNewGame();
            } catch (const std::exception&) {
                ad::platform::ShowMessage("error tmrnewgame in listen");
            }
        }
    }
    if (tmrRestart) {
        temneet = true;
        if (Ireal <= 0)
            RestartPlay();
    }
}

void deleteLevel() {
    blockIndex = 0;
    DeadBlocks();
    Guarded("error4", [] {
        for (const SpriteRef<THvost>& segment : hvosts) {
            if (!segment.Usable())
                continue;
            segment->SetX(-24);
            segment->Visible = false;
        }
    });
    Guarded("error5", [] {
        vit.Remove();
        star.Remove();
        RemoveLevelDigits();
    });
    Guarded("error6", [] { RemoveScoreDigits(); });
    Guarded("error7", [] {
        RemoveLivesDigitAndLabels();
        player.Remove();
        enemy.Remove();
    });
}

void StartNewGame() {
    score = 0;
    level = 1;
    lives = 3;
    loading_level();
    tmrNewGame = true;
}

void ContinueGame() {
    Ireal = 255;
    level = LevelForScore(score);
    const int earned = std::clamp(score / 1000, 0, static_cast<int>(lifeBonusGiven.size()));
    std::fill_n(lifeBonusGiven.begin(), earned, true);
    loading_level();
    tmrNewGame = true;
}

} // namespace vimbo
