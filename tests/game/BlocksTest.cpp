// Tests of the maze's block sprites on the software renderer: building them from a level's maze,
// rebuilding and clearing them, and taking the player's wall away.
#include "game/Blocks.hpp"

#include <gtest/gtest.h>

#include <string>

#include "app/ImageLoading.hpp"
#include "engine/platform/Resources.hpp"
#include "game/ActorProbes.hpp"
#include "game/BlockTiles.hpp"
#include "game/GameState.hpp"
#include "game/WallCells.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace vimbo {
namespace {

constexpr int kScreenW = 1024;
constexpr int kScreenH = 768;
constexpr uint32_t kClearColor = 0x000000;

class BlocksTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameState();
        ASSERT_TRUE(surface_.draw->Initialized());
        LoadImageRes(images_, "b3", 24, 24, true, kKeyWhite);
        images_.Restore();
        engine_.SetSurface(surface_.draw.get());
        screenW = kScreenW;
        screenH = kScreenH;
    }
    void TearDown() override { ResetGameState(); }

    void LoadLevel(int32_t number) {
        level = number;
        const auto& map = ad::platform::LoadResource(ad::platform::ResourceKind::RawData, "map" + std::to_string(number));
        ASSERT_TRUE(LoadMazeFromText(maze, {reinterpret_cast<const char*>(map.bytes.data()), map.bytes.size()}));
    }
    // The block built for the cell (blocks are made row by row).
    static TBlock* BlockOf(int column, int row) { return blocks[static_cast<size_t>(row * kMazeColumns + column)]; }
    static double CellX(int column) { return kScreenW / 2.0 - 384.0 + column * 24.0; }
    static double CellY(int row) { return kScreenH / 2.0 - 384.0 + row * 24.0; }

    void Frame(double seconds) {
        surface_.draw->ClearSurface(kClearColor);
        surface_.draw->BeginScene();
        engine_.Move(seconds);
        engine_.Draw();
        engine_.Dead();
        surface_.draw->EndScene();
        surface_.draw->Flip();
    }

    test::HeadlessSurface surface_{kScreenW, kScreenH};
    ad::TAdImageList images_{surface_.draw.get()};
    ad::TSpriteEngine engine_{nullptr};
};

TEST_F(BlocksTest, EveryCellGetsABlockWallsOnTheGridAndFloorsParked) {
    LoadLevel(1);
    BuildBlocks(engine_, images_);
    EXPECT_EQ(blockIndex, kMazeCells);
    EXPECT_EQ(engine_.CountOfClass<TBlock>(), kMazeCells);
    EXPECT_EQ(blocks[kMazeCells], nullptr) << "the last slot stays free";
    int walls = 0;
    for (int row = 0; row < kMazeRows; ++row)
        for (int column = 0; column < kMazeColumns; ++column) {
            const TBlock* block = BlockOf(column, row);
            ASSERT_NE(block, nullptr);
            EXPECT_EQ(block->Z(), kBlockZ);
            EXPECT_EQ(block->Image(), images_.Find("b3"));
            if (MazeAt(maze, column, row) == kWallCell) {
                ++walls;
                EXPECT_EQ(block->X(), CellX(column));
                EXPECT_EQ(block->Y(), CellY(row));
                EXPECT_EQ(block->PatternIndex(), BlockFrame(maze, column, row, 1)) << column << "," << row;
            } else {
                EXPECT_EQ(block->X(), kParkedBlockPosition);
                EXPECT_EQ(block->Y(), kParkedBlockPosition);
            }
        }
    EXPECT_EQ(walls, 674);
    // Column 1, row 1 (the player's start, a floor cell) lies at the maze origin.
    EXPECT_EQ(CellX(1), kScreenW / 2.0 - 360.0);
}

TEST_F(BlocksTest, ActorsFindBlocksOnlyOnWallCells) {
    LoadLevel(1);
    BuildBlocks(engine_, images_);
    Frame(0.016);
    ASSERT_EQ(MazeAt(maze, 0, 0), kWallCell);
    ASSERT_NE(MazeAt(maze, 1, 1), kWallCell);
    EXPECT_NE(dynamic_cast<TBlock*>(engine_.GetSpriteAt(CellX(0) + 12, CellY(0) + 12)), nullptr);
    EXPECT_EQ(engine_.GetSpriteAt(CellX(1) + 12, CellY(1) + 12), nullptr);
}

// At 640 x 480 the maze starts 64 px left of and 144 px above the screen, so the place where floor
// cells' blocks are parked lies on the maze's cell (1, 5): a floor cell that those blocks once walled
// up, and from which the enemy's push out of every one of them flung it out of the maze.
TEST_F(BlocksTest, OnAScreenSmallerThanTheMazeTheParkedBlocksNeitherShowNorAreFelt) {
    screenW = 640;
    screenH = 480;
    LoadLevel(1);
    BuildBlocks(engine_, images_);
    Frame(0.016);
    const double left = screenW / 2.0 - 384, top = screenH / 2.0 - 384;
    const double x = kParkedBlockPosition + 4, y = kParkedBlockPosition + 12;
    const int column = static_cast<int>((x - left) / 24), row = static_cast<int>((y - top) / 24);
    ASSERT_EQ(column, 1);
    ASSERT_EQ(row, 5);
    ASSERT_NE(MazeAt(maze, column, row), kWallCell);
    EXPECT_EQ(VisibleSpriteOfClassAt<TBlock>(engine_, x, y), nullptr);
    for (int cell = 0; cell < kMazeCells; ++cell) {
        const TBlock* block = blocks[static_cast<size_t>(cell)];
        ASSERT_NE(block, nullptr);
        const bool wall = MazeAt(maze, cell % kMazeColumns, cell / kMazeColumns) == kWallCell;
        EXPECT_EQ(block->Visible, wall) << cell;
        EXPECT_EQ(block->CanDoCollisions, wall) << cell;
    }
}

TEST_F(BlocksTest, WallsAreDrawnInTheLevelsTintAndFloorsLeaveTheScreenClear) {
    LoadLevel(1);
    BuildBlocks(engine_, images_);
    Frame(0.016);
    EXPECT_EQ(BlockOf(0, 0)->Color, BlockColorForLevel(1));
    const uint32_t floor = surface_.FramePixel(static_cast<int>(CellX(1)) + 12, static_cast<int>(CellY(1)) + 12);
    EXPECT_EQ(floor & 0xFFFFFF, kClearColor);
    // Level 1 tints green: a drawn wall pixel has green and no red or blue.
    const uint32_t wallPixel = surface_.FramePixel(static_cast<int>(CellX(0)) + 12, static_cast<int>(CellY(0)) + 12);
    EXPECT_NE(wallPixel & 0x00FF00, 0u);
    EXPECT_EQ(wallPixel & 0xFF00FF, 0u);
}

TEST_F(BlocksTest, ATileStaysPutThroughALongFirstFrame) {
    LoadLevel(3);
    BuildBlocks(engine_, images_);
    const int before = BlockOf(0, 0)->PatternIndex();
    Frame(0.5);
    Frame(0.5);
    EXPECT_EQ(BlockOf(0, 0)->PatternIndex(), before);
    EXPECT_FALSE(BlockOf(0, 0)->AnimActive);
}

TEST_F(BlocksTest, RebuildingReplacesTheBlocksOfTheLevelBefore) {
    LoadLevel(1);
    BuildBlocks(engine_, images_);
    TBlock* old = BlockOf(0, 0);
    LoadLevel(7);
    BuildBlocks(engine_, images_);
    EXPECT_TRUE(old->Deaded());
    EXPECT_NE(BlockOf(0, 0), old);
    Frame(0.016);
    EXPECT_EQ(engine_.CountOfClass<TBlock>(), kMazeCells);
    EXPECT_EQ(blockBase, BlockBaseForLevel(7));
    EXPECT_EQ(BlockOf(0, 0)->Color, BlockColorForLevel(7));
}

TEST_F(BlocksTest, DeadBlocksClearsEverySlotAndCanRunAgainAfterTheBlocksAreFreed) {
    LoadLevel(1);
    BuildBlocks(engine_, images_);
    DeadBlocks();
    EXPECT_EQ(blockIndex, kBlockSlots);
    for (const TBlock* block : blocks) EXPECT_EQ(block, nullptr);
    engine_.Dead();
    EXPECT_EQ(engine_.CountOfClass<TBlock>(), 0);
    DeadBlocks(); // would touch freed sprites if the slots still held them
    EXPECT_EQ(blockIndex, kBlockSlots);
}

TEST_F(BlocksTest, RemovingTheWallFreesItsCellAndASecondRemovalOnlyClearsTheFlag) {
    LoadLevel(1);
    const MazeGrid before = maze;
    // The player drops a wall on a straight corridor cell of level 1.
    int column = 0;
    int row = 0;
    for (int c = 1; c < kMazeColumns - 1 && column == 0; ++c)
        for (int r = 1; r < kMazeRows - 1 && column == 0; ++r)
            if (MazeAt(maze, c, r) == kFloorCell) column = c, row = r;
    ASSERT_NE(column, 0);
    wall = new TWall(&engine_);
    showW = true;
    wallX = 100;
    wallY = 200;
    wallTimer = 7;
    wallCol = column;
    wallRow = row;
    CloseCellForWall(maze, column, row);
    TWall* placed = wall.get();

    walldestroy();
    EXPECT_FALSE(showW);
    EXPECT_TRUE(placed->Deaded());
    EXPECT_EQ(wall.get(), nullptr);
    EXPECT_EQ(wallTimer, 0);
    EXPECT_EQ(wallX, 0);
    EXPECT_EQ(wallY, 0);
    EXPECT_EQ(wallCol, 0);
    EXPECT_EQ(maze, before) << "the corridor and its neighbours are as the level loaded them";

    engine_.Dead();
    const MazeGrid after = maze;
    showW = true;
    walldestroy();
    EXPECT_FALSE(showW);
    EXPECT_EQ(maze, after);
}

} // namespace
} // namespace vimbo
