// Scenarios of the whole game run headless: the main and options menus by keyboard and mouse, a new
// game on the level-1 maze, the runner's moves, pause, the wall, the exits and the state dump.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/platform/Resources.hpp"
#include "engine/platform/VirtualKeys.hpp"
#include "frontend/Menus.hpp"
#include "game/Blocks.hpp"
#include "game/GameState.hpp"
#include "game/MazeGrid.hpp"
#include "game/Player.hpp"
#include "tests/support/GameDriver.hpp"

namespace {

namespace vk = ad::platform::vk;
using vimbo::test::GameDriver;
using vimbo::test::GameDriverOptions;

constexpr int kCell = 24;
// Save texts: score, lives, top score, sound, music, difficulty (1 easy, 2 normal, 3 hard).
const char* const kAllOffEasy = "0\r\n3\r\n0\r\n0\r\n0\r\n1\r\n";

// The frame a menu item shows (its value and highlight); -1 once the item is gone.
template <typename T> int Shown(const vimbo::SpriteRef<T>& item) {
    return item.Usable() ? static_cast<int>(std::trunc(item->AnimPos)) : -1;
}

// The screen position of maze cell (column, row), measured from the runner's start cell (1, 1).
double CellLeft(int column) {
    return vimbo::originX + (column - 1) * kCell;
}
double CellTop(int row) {
    return vimbo::originY + (row - 1) * kCell;
}

vimbo::MazeGrid LevelMap(int level) {
    const ad::platform::Resource& map =
        ad::platform::LoadResource(ad::platform::ResourceKind::RawData, "map" + std::to_string(level));
    vimbo::MazeGrid grid = vimbo::WallGrid();
    vimbo::LoadMazeFromText(grid, {reinterpret_cast<const char*>(map.bytes.data()), map.bytes.size()});
    return grid;
}

bool IsWall(int column, int row) {
    return vimbo::MazeAt(vimbo::maze, column, row) == vimbo::kWallCell;
}

// The first column right of `from` in `row` that holds a wall.
int FirstWallRightOf(int from, int row) {
    int column = from + 1;
    while (!IsWall(column, row))
        ++column;
    return column;
}

// The first column right of `from` in `row` whose cell below is open.
int FirstOpeningBelowRightOf(int from, int row) {
    int column = from + 1;
    while (IsWall(column, row + 1))
        ++column;
    return column;
}

// The cell and its eight neighbours as a picture of maze codes, for readable failures.
std::vector<std::string> Around(const vimbo::MazeGrid& grid, int column, int row) {
    std::vector<std::string> rows;
    for (int r = row - 1; r <= row + 1; ++r) {
        rows.emplace_back();
        for (int c = column - 1; c <= column + 1; ++c)
            rows.back() += vimbo::MazeAt(grid, c, r);
    }
    return rows;
}

const vimbo::TBlock* BlockAtCentreOf(const GameDriver& game, int column, int row) {
    const double left = vimbo::screenW / 2 - 384 + column * kCell;
    const double top = vimbo::screenH / 2 - 384 + row * kCell;
    return dynamic_cast<const vimbo::TBlock*>(game.Engine().GetSpriteAt(left + 12, top + 12));
}

// The maze as a picture, '*' where `wall` holds for a cell and '.' elsewhere.
template <typename IsWallAt> std::vector<std::string> Picture(IsWallAt wall) {
    std::vector<std::string> rows(vimbo::kMazeRows, std::string(vimbo::kMazeColumns, '.'));
    for (int row = 0; row < vimbo::kMazeRows; ++row)
        for (int column = 0; column < vimbo::kMazeColumns; ++column)
            if (wall(column, row))
                rows[row][column] = '*';
    return rows;
}

// A new game in play with the runner released by a key that moves it nowhere; the enemy is held in
// its corner so that it cannot end the runner's scenario.
void StartAndRelease(GameDriver& game) {
    ASSERT_TRUE(game.StartNewGame());
    game.HoldEnemy();
    game.Key(vk::Tab);
    ASSERT_FALSE(vimbo::nastarte);
}

// The runner set off to the right along its start row and moving.
void RunRight(GameDriver& game) {
    StartAndRelease(game);
    game.Key(vk::Right);
    ASSERT_TRUE(game.RunUntil([] { return vimbo::player->X() > vimbo::originX; }, 5));
}

void ExpectClosedAndSaved(GameDriver& game) {
    EXPECT_FALSE(game.Running());
    EXPECT_TRUE(game.Form().Closed());
    EXPECT_EQ(game.Form().SpriteEngine, nullptr);
    const std::vector<std::string> saved = game.FileLines("save");
    ASSERT_EQ(saved.size(), 6u) << "closing writes the six values kept between runs";
    EXPECT_EQ(saved[1], std::to_string(vimbo::lives));
    const int presented = game.Window().PresentCount();
    game.Frames(3);
    EXPECT_EQ(game.Window().PresentCount(), presented) << "no frame runs after the close";
}

TEST(MainMenuScenario, StartsOnTheMainMenuWithNewGameHighlighted) {
    GameDriver game;
    ASSERT_TRUE(game.Running());
    EXPECT_TRUE(game.Messages().empty());
    EXPECT_TRUE(vimbo::MainMenuE);
    EXPECT_EQ(vimbo::Ireal, 255.0);
    EXPECT_FALSE(vimbo::paused);
    EXPECT_EQ(game.Count<vimbo::TPlayer>(), 0);
    EXPECT_EQ(game.Count<vimbo::TCursor>(), 1);
    EXPECT_TRUE(vimbo::cursor->Visible);
    double rowAbove = 0;
    for (const auto* item : {&vimbo::HNewGame, &vimbo::HContinue, &vimbo::HOptions, &vimbo::HExit}) {
        ASSERT_TRUE(item->Usable());
        EXPECT_TRUE((*item)->Visible);
        EXPECT_EQ((*item)->X(), vimbo::screenW / 2 - (*item)->Width() / 2) << "centred";
        EXPECT_GT((*item)->Y(), rowAbove) << "one row below the other";
        rowAbove = (*item)->Y();
    }
    EXPECT_EQ(Shown(vimbo::HNewGame), 1);
    EXPECT_EQ(Shown(vimbo::HContinue), 0);
    EXPECT_EQ(Shown(vimbo::HOptions), 0);
    EXPECT_EQ(Shown(vimbo::HExit), 0);
    for (const auto* item : {&vimbo::HOnOffS, &vimbo::HOnOffM, &vimbo::HEasyNormalHard, &vimbo::HBack}) {
        EXPECT_FALSE((*item)->Visible);
        EXPECT_GE((*item)->X(), vimbo::screenW) << "hidden items stand off the screen";
    }
}

TEST(MainMenuScenario, UpAndDownMoveTheHighlightRoundTheRing) {
    GameDriver game;
    game.Key(vk::Down);
    EXPECT_EQ(Shown(vimbo::HNewGame), 0);
    EXPECT_EQ(Shown(vimbo::HContinue), 1);
    game.Key(vk::KeyW);
    game.Key(vk::Up);
    EXPECT_EQ(Shown(vimbo::HExit), 1) << "before New Game comes Exit";
    EXPECT_EQ(Shown(vimbo::HNewGame), 0);
    game.Key(vk::KeyS);
    EXPECT_EQ(Shown(vimbo::HNewGame), 1) << "after Exit comes New Game";
    EXPECT_EQ(Shown(vimbo::HExit), 0);
}

TEST(OptionsScenario, KeyboardRoundTripTakesTheValuesOnlyThroughBack) {
    GameDriver game; // a first run: sound and music on, normal difficulty
    ASSERT_TRUE(vimbo::soundOn && vimbo::musicOn);
    ASSERT_EQ(vimbo::difficulty, "normal");
    ASSERT_TRUE(game.Audio().musicPlaying);
    game.Key(vk::Down);
    game.Key(vk::Down);
    game.Key(vk::Return);
    ASSERT_TRUE(vimbo::HBack->Visible) << "the options screen is shown";
    EXPECT_FALSE(vimbo::HNewGame->Visible);
    EXPECT_EQ(Shown(vimbo::HOnOffS), 1) << "the sound switch starts highlighted, showing on";
    EXPECT_EQ(Shown(vimbo::HOnOffM), 0);
    EXPECT_EQ(Shown(vimbo::HEasyNormalHard), 2);

    game.Key(vk::Return); // sound: on -> off
    game.Key(vk::Down);
    game.Key(vk::Space); // music: on -> off
    game.Key(vk::Down);
    game.Key(vk::Return); // difficulty: normal -> hard
    EXPECT_EQ(Shown(vimbo::HOnOffS), 2);
    EXPECT_EQ(Shown(vimbo::HOnOffM), 2);
    EXPECT_EQ(Shown(vimbo::HEasyNormalHard), 5);
    game.Key(vk::Down);
    EXPECT_EQ(Shown(vimbo::HBack), 1);
    EXPECT_EQ(Shown(vimbo::HEasyNormalHard), 4) << "leaving the selector keeps its value";
    EXPECT_TRUE(vimbo::soundOn && vimbo::musicOn) << "the switches change only the pictures";
    EXPECT_EQ(vimbo::difficulty, "normal");
    EXPECT_TRUE(game.Audio().musicPlaying);

    game.Key(vk::Return);
    EXPECT_FALSE(vimbo::soundOn);
    EXPECT_FALSE(vimbo::musicOn);
    EXPECT_EQ(vimbo::difficulty, "hard");
    EXPECT_EQ(game.Audio().calls.back(), "stop") << "the music switch reaches the player";
    EXPECT_FALSE(game.Audio().musicPlaying);
    EXPECT_FALSE(vimbo::HBack->Visible);
    for (const auto* item : {&vimbo::HNewGame, &vimbo::HContinue, &vimbo::HOptions, &vimbo::HExit})
        EXPECT_TRUE((*item)->Visible);
    EXPECT_EQ(Shown(vimbo::HOptions), 1) << "the keyboard comes back to Options";
    EXPECT_EQ(Shown(vimbo::HNewGame) + Shown(vimbo::HContinue) + Shown(vimbo::HExit), 0);
}

TEST(OptionsScenario, MouseRoundTripTakesTheValuesOnlyThroughBack) {
    GameDriver game(GameDriverOptions{.saveText = kAllOffEasy});
    ASSERT_FALSE(vimbo::soundOn || vimbo::musicOn);
    ASSERT_FALSE(game.Audio().musicPlaying);
    game.HoverOver(*vimbo::HOptions.get());
    game.Click();
    ASSERT_TRUE(vimbo::HBack->Visible);
    EXPECT_EQ(Shown(vimbo::HOnOffS), 3) << "the sound switch starts highlighted, showing off";

    game.HoverOver(*vimbo::HOnOffS.get());
    game.Click();
    EXPECT_EQ(Shown(vimbo::HOnOffS), 1);
    game.HoverOver(*vimbo::HOnOffM.get());
    EXPECT_EQ(Shown(vimbo::HOnOffS), 0) << "hovering the next item unhighlights and keeps the value";
    game.Click();
    EXPECT_EQ(Shown(vimbo::HOnOffM), 1);
    game.HoverOver(*vimbo::HEasyNormalHard.get());
    game.Click();
    EXPECT_EQ(Shown(vimbo::HEasyNormalHard), 3);
    game.HoverOver(*vimbo::HBack.get());
    EXPECT_EQ(Shown(vimbo::HBack), 1);
    EXPECT_FALSE(vimbo::soundOn || vimbo::musicOn) << "the switches change only the pictures";
    EXPECT_EQ(vimbo::difficulty, "easy");
    EXPECT_FALSE(game.Audio().musicPlaying);

    game.Click();
    EXPECT_TRUE(vimbo::soundOn);
    EXPECT_TRUE(vimbo::musicOn);
    EXPECT_EQ(vimbo::difficulty, "normal");
    EXPECT_TRUE(game.Audio().musicPlaying) << "the music switch reaches the player";
    EXPECT_EQ(game.Audio().calls.back(), "play 1");
    EXPECT_FALSE(vimbo::HBack->Visible);
    EXPECT_TRUE(vimbo::HExit->Visible);
    EXPECT_EQ(Shown(vimbo::HExit), 1) << "the mouse comes back to Exit, where Back was";
    EXPECT_EQ(Shown(vimbo::HNewGame) + Shown(vimbo::HContinue) + Shown(vimbo::HOptions), 0);
}

TEST(NewGameScenario, FadesOutBuildsLevelOneWhileDarkAndFadesIn) {
    GameDriver game;
    game.Key(vk::Return);
    EXPECT_EQ(game.Audio().effects, std::vector<std::string>{"sfx3_1"});
    EXPECT_EQ(vimbo::level, 1);
    EXPECT_EQ(vimbo::lives, 3);
    EXPECT_LT(vimbo::Ireal, 255.0) << "the fade-out has begun";
    game.QueueKey(vk::Down); // keys wait for full brightness
    double lastMenuBrightness = vimbo::Ireal;
    for (int i = 0; i < 200 && vimbo::MainMenuE; ++i) {
        ASSERT_TRUE(vimbo::HNewGame.Usable()) << "the menu stays until the screen is dark";
        EXPECT_EQ(Shown(vimbo::HNewGame), 1);
        EXPECT_LE(vimbo::Ireal, lastMenuBrightness);
        lastMenuBrightness = vimbo::Ireal;
        game.Frame();
    }
    ASSERT_FALSE(vimbo::MainMenuE);
    EXPECT_LE(lastMenuBrightness, 0.0) << "the game is built only once the screen is dark";
    EXPECT_TRUE(vimbo::svetleet);
    EXPECT_TRUE(game.Messages().empty());

    EXPECT_EQ(vimbo::MazeToRows(vimbo::maze), vimbo::MazeToRows(LevelMap(1)));
    EXPECT_EQ(game.Count<vimbo::TBlock>(), vimbo::kMazeCells);
    for (const auto* item : {&vimbo::HNewGame, &vimbo::HContinue, &vimbo::HOptions, &vimbo::HExit,
                             &vimbo::HKelvoranth, &vimbo::HBack, &vimbo::HOnOffS})
        EXPECT_FALSE(item->Usable());
    ASSERT_EQ(game.Count<vimbo::TPlayer>(), 1);
    EXPECT_EQ(vimbo::player->X(), vimbo::screenW / 2 - 360);
    EXPECT_EQ(vimbo::player->Y(), vimbo::screenH / 2 - 360);
    EXPECT_EQ(vimbo::player->X(), vimbo::originX);
    EXPECT_EQ(vimbo::player->Y(), vimbo::originY);
    EXPECT_EQ(vimbo::player->cellX, 1);
    EXPECT_EQ(vimbo::player->cellY, 1);
    EXPECT_TRUE(vimbo::nastarte);

    ASSERT_TRUE(game.RunUntil([] { return !vimbo::svetleet; }, 200));
    EXPECT_EQ(vimbo::Ireal, 255.0);
    EXPECT_EQ(Picture([&](int c, int r) { return BlockAtCentreOf(game, c, r) != nullptr; }), Picture(IsWall))
        << "a block stands on every wall cell and on no other";
    const vimbo::TBlock* border = BlockAtCentreOf(game, 0, 1);
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->X() + kCell, vimbo::originX) << "the start cell lies right of the border's block";
    EXPECT_EQ(vimbo::player->X(), vimbo::originX) << "the runner holds still until the first key";
    EXPECT_EQ(vimbo::player->Y(), vimbo::originY);
    EXPECT_TRUE(vimbo::nastarte);
    EXPECT_FALSE(vimbo::cursor->Visible);
}

TEST(RunnerScenario, HoldsStillUntilTheFirstKeyAndStandsBeforeABlockedRequest) {
    GameDriver game;
    ASSERT_TRUE(game.StartNewGame());
    game.HoldEnemy();
    game.Frames(10);
    EXPECT_EQ(vimbo::player->X(), vimbo::originX);
    ASSERT_TRUE(IsWall(1, 0));
    game.Key(vk::Up);
    EXPECT_FALSE(vimbo::nastarte) << "the first key releases play";
    game.Frames(10);
    EXPECT_EQ(vimbo::player->X(), vimbo::originX) << "the cell above is a wall";
    EXPECT_EQ(vimbo::player->Y(), vimbo::originY);
    EXPECT_EQ(vimbo::player->dir, "");
    EXPECT_EQ(vimbo::player->nextDir, "up") << "the request stays stored";
    ASSERT_FALSE(IsWall(2, 1));
    game.Key(vk::KeyD);
    game.Frames(3);
    EXPECT_EQ(vimbo::player->dir, "right");
    EXPECT_GT(vimbo::player->X(), vimbo::originX);
    EXPECT_EQ(vimbo::player->Y(), vimbo::originY);
}

// A frame is run as steps of under a pixel, so the runner's edge stops within a pixel of the block
// rather than at whole pixels.
TEST(RunnerScenario, StopsWithItsLeadingEdgeWithinAPixelBeforeTheBlock) {
    GameDriver game;
    RunRight(game);
    const int wallColumn = FirstWallRightOf(1, 1);
    ASSERT_TRUE(game.RunUntil([] { return vimbo::player->dir.empty(); }, 200));
    const vimbo::TBlock* block = BlockAtCentreOf(game, wallColumn, 1);
    ASSERT_NE(block, nullptr);
    const double gap = block->X() - (vimbo::player->X() + kCell);
    EXPECT_GE(gap, 0.0) << "the runner never enters the block";
    EXPECT_LE(gap, 1.0);
    EXPECT_EQ(vimbo::player->Y(), vimbo::originY);
    EXPECT_EQ(vimbo::player->vx, 0.0);
    EXPECT_EQ(vimbo::player->cellX, wallColumn - 1) << "still the cell in front of the block";
    const double stopped = vimbo::player->X();
    game.Frames(5);
    EXPECT_EQ(vimbo::player->X(), stopped);
}

TEST(RunnerScenario, TurnsFlushIntoTheFirstOpeningFromARememberedKey) {
    GameDriver game;
    RunRight(game);
    const int opening = FirstOpeningBelowRightOf(1, 1);
    ASSERT_GT(vimbo::player->X() + kCell, CellLeft(2)) << "the runner has left the start cell's opening";
    ASSERT_LT(vimbo::player->X() + GameDriver::RunnerStep(), CellLeft(opening));
    game.Key(vk::Down);
    ASSERT_TRUE(game.RunUntil([] { return vimbo::player->dir != "right"; }, 200));
    EXPECT_EQ(vimbo::player->dir, "down");
    EXPECT_NEAR(vimbo::player->X(), CellLeft(opening), 1.0) << "aligned with the opening";
    EXPECT_GE(vimbo::player->Y(), vimbo::originY);
    EXPECT_LT(vimbo::player->Y(), vimbo::originY + GameDriver::RunnerStep()) << "less than a frame's run down";
    const double turnedAt = vimbo::player->X(), downAt = vimbo::player->Y();
    game.Frames(4);
    EXPECT_EQ(vimbo::player->X(), turnedAt);
    EXPECT_NEAR(vimbo::player->Y(), downAt + 4 * GameDriver::RunnerStep(), 1e-9);
}

TEST(RunnerScenario, ReversesAtOnceAfterOneMoreStepTheOldWay) {
    GameDriver game;
    RunRight(game);
    game.Frames(3);
    const double before = vimbo::player->X();
    ASSERT_LT(before + 2 * kCell, CellLeft(FirstWallRightOf(1, 1)));
    game.Key(vk::Left);
    EXPECT_EQ(vimbo::player->dir, "left");
    // The first short step of the frame still went right; the rest went back.
    EXPECT_LT(vimbo::player->X(), before);
    EXPECT_GT(vimbo::player->X(), before - GameDriver::RunnerStep());
    const double turned = vimbo::player->X();
    game.Frame();
    EXPECT_NEAR(vimbo::player->X(), turned - GameDriver::RunnerStep(), 1e-9);
    EXPECT_EQ(vimbo::player->Y(), vimbo::originY);
}

TEST(PauseScenario, EscapeFreezesTheRunnerAndTheSameKeyResumes) {
    GameDriver game;
    RunRight(game);
    for (const int key : {vk::Escape, vk::Pause}) {
        game.Key(key);
        ASSERT_TRUE(vimbo::paused);
        EXPECT_EQ(vimbo::Ireal, 255.0);
        EXPECT_EQ(game.Count<vimbo::THUDPause>(), 4);
        EXPECT_EQ(Shown(vimbo::HContinueP), 1);
        EXPECT_EQ(Shown(vimbo::HExitP), 0);
        EXPECT_TRUE(vimbo::cursor->Visible);
        const double frozen = vimbo::player->X();
        game.Frames(10);
        EXPECT_EQ(vimbo::player->X(), frozen);
        game.Key(vk::Down);
        EXPECT_EQ(Shown(vimbo::HContinueP), 0);
        EXPECT_EQ(Shown(vimbo::HExitP), 1);
        game.Key(vk::Up);
        EXPECT_EQ(Shown(vimbo::HContinueP), 1);
        EXPECT_EQ(vimbo::player->nextDir, "right") << "Up and Down only work the pause menu";

        game.Key(key);
        EXPECT_FALSE(vimbo::paused);
        EXPECT_EQ(game.Count<vimbo::THUDPause>(), 0);
        EXPECT_FALSE(vimbo::cursor->Visible);
        game.Frame();
        EXPECT_GT(vimbo::player->X(), frozen) << "runs on after the pause";
    }
}

TEST(PauseScenario, TheContinueItemResumesByEnterAndByClick) {
    GameDriver game;
    RunRight(game);
    game.Key(vk::Escape);
    game.Key(vk::Return);
    EXPECT_FALSE(vimbo::paused);
    EXPECT_EQ(game.Count<vimbo::THUDPause>(), 0);

    game.Key(vk::Escape);
    ASSERT_TRUE(vimbo::paused);
    const double frozen = vimbo::player->X();
    game.HoverOver(*vimbo::HContinueP.get());
    EXPECT_EQ(vimbo::hoverName, "HContinueP");
    game.Click();
    EXPECT_FALSE(vimbo::paused);
    EXPECT_EQ(game.Count<vimbo::THUDPause>(), 0);
    EXPECT_TRUE(game.Running());
    game.Frame();
    EXPECT_GT(vimbo::player->X(), frozen);
}

TEST(PauseScenario, ThePauseMenuKeepsItsHighlightAtALowFrameRate) {
    GameDriver game;
    RunRight(game);
    // 20 frames a second: a fresh item's first move must not step its picture off the highlight.
    game.Frames(60, 50);
    game.QueueKey(vk::Escape);
    game.Frames(4, 50);
    ASSERT_TRUE(vimbo::paused);
    EXPECT_EQ(Shown(vimbo::HContinueP), 1);
    game.QueueKey(vk::Return);
    game.Frame(50);
    EXPECT_FALSE(vimbo::paused);
}

TEST(WallScenario, SpaceDropsAWallOnTheRunnersCellForTwoSeconds) {
    GameDriver game;
    StartAndRelease(game);
    game.Key(vk::Space);
    EXPECT_FALSE(vimbo::showW) << "no wall while standing";
    game.Key(vk::Right);
    ASSERT_TRUE(game.RunUntil([] { return vimbo::player->cellX == 2; }, 20));
    const int column = vimbo::player->cellX, row = vimbo::player->cellY;
    const vimbo::MazeGrid before = vimbo::maze;
    std::vector<std::string> closed = Around(before, column, row);
    closed[1][1] = vimbo::kWallCell;
    for (char* neighbour : {&closed[0][1], &closed[2][1], &closed[1][0], &closed[1][2]})
        if (*neighbour == vimbo::kFloorCell)
            *neighbour = vimbo::kJunctionCell;
    ASSERT_NE(Around(before, column, row), closed) << "the cell has plain floor beside it";

    game.Key(vk::Space);
    ASSERT_TRUE(vimbo::showW);
    EXPECT_EQ(game.Audio().effects.back(), "whoosh");
    ASSERT_EQ(game.Count<vimbo::TWall>(), 1);
    EXPECT_EQ(vimbo::wall->X(), CellLeft(column));
    EXPECT_EQ(vimbo::wall->Y(), CellTop(row));
    EXPECT_EQ(Around(vimbo::maze, column, row), closed);
    game.Key(vk::Space);
    EXPECT_EQ(game.Count<vimbo::TWall>(), 1) << "one wall at a time";

    // The wall ages with every frame from the one that follows its key; two have run.
    const int framesInTwoSeconds = 2000 / GameDriver::kFrameMs;
    game.Frames(framesInTwoSeconds - 3);
    EXPECT_TRUE(vimbo::showW) << "still standing one frame before two seconds";
    EXPECT_EQ(game.Count<vimbo::TWall>(), 1);
    game.Frame();
    EXPECT_FALSE(vimbo::showW);
    EXPECT_EQ(game.Count<vimbo::TWall>(), 0);
    EXPECT_EQ(Around(vimbo::maze, column, row), Around(before, column, row));
    EXPECT_EQ(vimbo::MazeToRows(vimbo::maze), vimbo::MazeToRows(before));
}

TEST(ExitScenario, TheMainMenusExitEndsTheRunAndWritesSaveByKeyAndByClick) {
    {
        GameDriver game;
        ASSERT_FALSE(game.FileExists("save"));
        game.Key(vk::Up);
        ASSERT_EQ(Shown(vimbo::HExit), 1);
        game.Key(vk::Return);
        ExpectClosedAndSaved(game);
    }
    {
        GameDriver game;
        game.HoverOver(*vimbo::HExit.get());
        game.Click();
        ExpectClosedAndSaved(game);
    }
}

TEST(ExitScenario, ThePauseMenusExitEndsTheRunAndWritesSaveByKeyAndByClick) {
    {
        GameDriver game;
        StartAndRelease(game);
        game.Key(vk::Escape);
        game.Key(vk::Down);
        game.Key(vk::Space);
        ExpectClosedAndSaved(game);
    }
    {
        GameDriver game;
        StartAndRelease(game);
        game.Key(vk::Escape);
        game.HoverOver(*vimbo::HExitP.get());
        EXPECT_EQ(Shown(vimbo::HExitP), 1);
        EXPECT_EQ(Shown(vimbo::HContinueP), 0);
        game.Click();
        ExpectClosedAndSaved(game);
    }
}

TEST(DumpScenario, F2ArmsTheDumpAndEachF1WritesTheStateOfThatMoment) {
    GameDriver game;
    game.Key(vk::F2);
    game.Key(vk::F1);
    ASSERT_TRUE(game.DumpWritten());
    auto dump = game.Dump();
    EXPECT_EQ(game.FileLines("inwards.txt").size(), 32u);
    EXPECT_EQ(dump["TPlayer"], "0");
    EXPECT_EQ(dump["TEnemy1"], "0");
    EXPECT_EQ(dump["THvost"], "0");
    EXPECT_EQ(dump["TCursor"], "1");
    EXPECT_EQ(dump["MainMenuE"], "true");
    EXPECT_EQ(dump["Ireal"], "255");
    EXPECT_TRUE(vimbo::MainMenuE) << "the debug keys work no menu";
    EXPECT_EQ(Shown(vimbo::HNewGame), 1);

    ASSERT_TRUE(game.StartNewGame());
    game.Key(vk::F1);
    dump = game.Dump();
    EXPECT_EQ(dump["TBlock"], "992");
    EXPECT_EQ(dump["TPlayer"], "1");
    EXPECT_EQ(dump["TEnemy1"], "1");
    EXPECT_EQ(dump["THvost"], "301");
    EXPECT_EQ(dump["TVit1"], "1");
    EXPECT_EQ(dump["TDigital"], "13");
    EXPECT_EQ(dump["TFon"], "3");
    EXPECT_EQ(dump["TFon2"], "3");
    EXPECT_EQ(dump["MainMenuE"], "false");
    EXPECT_EQ(dump["nastarte"], "true") << "the dump is taken before the key releases play";
    EXPECT_EQ(dump["level"], "1");
    EXPECT_EQ(dump["lives"], "3");
    EXPECT_FALSE(vimbo::nastarte);
    game.Key(vk::F1);
    EXPECT_EQ(game.Dump()["nastarte"], "false");

    game.Key(vk::Escape);
    game.Key(vk::F1);
    dump = game.Dump();
    EXPECT_EQ(dump["paused"], "true");
    EXPECT_EQ(dump["THUDPause"], "4");
    EXPECT_EQ(dump["Ireal"], "255");
}

TEST(DumpScenario, F1BeforeF2WritesNothing) {
    GameDriver game;
    game.Key(vk::F1);
    game.Frames(2);
    EXPECT_FALSE(game.DumpWritten());
    game.Key(vk::F2);
    EXPECT_FALSE(game.DumpWritten()) << "F2 only arms the dump";
    game.Key(vk::F1);
    EXPECT_TRUE(game.DumpWritten());
}

TEST(MouseMenuScenario, HoveringHighlightsTheItemUnderThePointerAndTheTitleChangesNothing) {
    GameDriver game;
    game.HoverOver(*vimbo::HExit.get());
    EXPECT_EQ(vimbo::hoverName, "HExit");
    EXPECT_EQ(Shown(vimbo::HExit), 1);
    EXPECT_EQ(Shown(vimbo::HNewGame) + Shown(vimbo::HContinue) + Shown(vimbo::HOptions), 0);
    game.HoverOver(*vimbo::HContinue.get());
    EXPECT_EQ(Shown(vimbo::HContinue), 1);
    EXPECT_EQ(Shown(vimbo::HExit), 0);
    game.HoverOver(*vimbo::HKelvoranth.get());
    EXPECT_EQ(vimbo::hoverName, "") << "the title is no item: the background under it clears the hover";
    EXPECT_EQ(Shown(vimbo::HContinue), 1);
    // The pointer exactly on an item's top-left corner is not inside it.
    game.MoveMouse(static_cast<int>(vimbo::HOptions->X()), static_cast<int>(vimbo::HOptions->Y()));
    game.MoveMouse(static_cast<int>(vimbo::HOptions->X()), static_cast<int>(vimbo::HOptions->Y()));
    EXPECT_NE(vimbo::hoverName, "HOptions");
    EXPECT_EQ(Shown(vimbo::HOptions), 0);
    EXPECT_TRUE(vimbo::MainMenuE);
    EXPECT_TRUE(game.Audio().effects.empty());
}

TEST(MouseMenuScenario, ClickingNewGameStartsTheGameAsEnterDoesAndClicksWaitForTheFade) {
    GameDriver game;
    game.HoverOver(*vimbo::HNewGame.get());
    game.Click();
    EXPECT_EQ(game.Audio().effects, std::vector<std::string>{"s5"});
    EXPECT_LT(vimbo::Ireal, 255.0);
    game.HoverOver(*vimbo::HExit.get());
    EXPECT_EQ(Shown(vimbo::HExit), 0) << "no hover while the screen fades";
    game.Click();
    EXPECT_TRUE(game.Running()) << "a click during the fade is ignored";
    ASSERT_TRUE(game.RunUntil([] { return !vimbo::MainMenuE && !vimbo::svetleet; }, 300));
    EXPECT_EQ(game.Count<vimbo::TBlock>(), vimbo::kMazeCells);
    ASSERT_EQ(game.Count<vimbo::TPlayer>(), 1);
    EXPECT_EQ(vimbo::player->X(), vimbo::originX);
    EXPECT_EQ(vimbo::player->Y(), vimbo::originY);
    EXPECT_TRUE(vimbo::nastarte);
    EXPECT_EQ(vimbo::level, 1);
    EXPECT_EQ(vimbo::lives, 3);
    EXPECT_EQ(vimbo::score, 0);
    EXPECT_EQ(vimbo::Ireal, 255.0);
    EXPECT_TRUE(game.Messages().empty());
}

} // namespace
