// Building and clearing the maze's block sprites, and taking the placed wall away.
#include "game/Blocks.hpp"

#include <exception>
#include <string>

#include "engine/platform/Dialogs.hpp"
#include "game/BlockTiles.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "game/Sound.hpp"
#include "game/WallCells.hpp"
#include "game/World.hpp"

namespace vimbo {

std::array<TBlock*, kBlockSlots> blocks;
int32_t blockIndex;
int32_t blockBase;
uint32_t blockColor;
double wallTimer;
double wallX;
double wallY;
int32_t wallCol;
int32_t wallRow;
SpriteRef<TWall> wall;

void ResetBlockState() {
    blocks.fill(nullptr);
    blockIndex = 0;
    blockBase = 0;
    blockColor = 0;
    wallTimer = 0;
    wallX = 0;
    wallY = 0;
    wallCol = 0;
    wallRow = 0;
    wall = nullptr;
}

void TBlock::DoMove(double timeGap) {
    TImageSpriteEx::DoMove(timeGap);
    SetColor(blockColor);
    AnimActive = false;
}

void BuildBlocks(ad::TSpriteEngine& engine, const ad::TAdImageList& images) {
    if (engine.CountOfClass<TBlock>() > 0)
        DeadBlocks();
    blockIndex = 0;
    ad::TAdImage* sheet = images.Find("b3");
    const double left = screenW / 2.0 - 384.0;
    const double top = screenH / 2.0 - 384.0;
    for (int row = 0; row < kMazeRows; ++row) {
        for (int column = 0; column < kMazeColumns; ++column) {
            try {
                auto* block = new TBlock(&engine);
                blocks[static_cast<size_t>(blockIndex)] = block;
                block->SetImage(sheet);
                if (MazeAt(maze, column, row) == kWallCell) {
                    blockBase = BlockBaseForLevel(level);
                    blockColor = BlockColorForLevel(level);
                    const int tile = ChooseBlockTile(maze, column, row);
                    if (tile >= 0)
                        block->AnimPos = blockBase + tile;
                    block->SetX(left + column * kCellSize);
                    block->SetY(top + row * kCellSize);
                } else {
                    block->SetX(kParkedBlockPosition);
                    block->SetY(kParkedBlockPosition);
                    // On a screen smaller than the maze the parking place lies inside the maze:
                    // there a parked block must neither show nor be felt by the actors.
                    block->Visible = false;
                    block->CanDoCollisions = false;
                }
                block->SetZ(kBlockZ);
                ++blockIndex;
            } catch (const std::exception&) {
                ad::platform::ShowMessage("error block setline");
                return;
            }
        }
    }
}

void DeadBlocks() {
    blockIndex = 0;
    for (TBlock*& block : blocks) {
        try {
            if (block != nullptr && !block->Deaded())
                block->Dead();
        } catch (const std::exception&) {
            ad::platform::ShowMessage("error DeadBlocks\rb=" + std::to_string(blockIndex));
            return;
        }
        block = nullptr;
        ++blockIndex;
    }
}

void TWall::PlaceWall() {
    auto* placed = new TWall(world.SpriteEngine);
    wall = placed;
    placed->SetImage(FindImage("wall"));
    placed->AnimSpeed = 8.0;
    placed->AnimLoop = true;
    if (player) {
        if (player->Deaded()) {
            placed->SetX(24);
            placed->SetY(24);
        } else {
            placed->SetX(player->cellX * 24 + originX - 24);
            placed->SetY(player->cellY * 24 + originY - 24);
        }
    }
    placed->SetZ(8);
    PlaySoundRes("whoosh");
}

void DropWall() {
    if (!player || (player->vx == 0 && player->vy == 0) || showW)
        return;
    wallTimer = 0;
    showW = true;
    TWall::PlaceWall();
    wallX = player->X();
    wallY = player->Y();
    wallCol = player->cellX;
    wallRow = player->cellY;
    CloseCellForWall(maze, wallCol, wallRow);
}

void walldestroy() {
    showW = false;
    if (wallX == 0 || wallY == 0)
        return;
    wall.Remove();
    wall = nullptr;
    wallTimer = 0;
    wallX = 0;
    wallY = 0;
    OpenCellAfterWall(maze, wallCol, wallRow);
    wallCol = 0;
}

} // namespace vimbo
