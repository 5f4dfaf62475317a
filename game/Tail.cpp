// The enemy's tail segments and the trail they follow.
#include "game/Tail.hpp"

#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/World.hpp"

namespace vimbo {

std::array<SpriteRef<THvost>, kTailSegments> hvosts;

namespace {

// The tail grows by one segment every 400000 segment moves of 2 ms frames, the frame rate's cap (301
// moves a frame, about 2.66 s of play). Each move adds its frame's time, so the tail grows at that
// rate whatever the frame rate: counting moves alone would make it grow eight times faster at 500
// frames a second than at 60.
constexpr double kGrowthMoves = 400000;
constexpr double kGrowthMoveSeconds = kGrowthMoves * 0.002;

int32_t trailCursor;
// The enemy's cell as the last two segment moves saw it, and which slot the next one writes.
int32_t lastCells[2][2];
int32_t lastCellSlot;
// Seconds of segment moves since the tail last grew by time.
double growthClock;

} // namespace

void ResetTailState() {
    trailCursor = 0;
    lastCells[0][0] = lastCells[0][1] = lastCells[1][0] = lastCells[1][1] = 0;
    lastCellSlot = 0;
    growthClock = 0;
}

void CreateHvosts() {
    for (SpriteRef<THvost>& slot : hvosts) {
        if (slot.Usable())
            continue;
        auto* segment = new THvost(world.SpriteEngine);
        slot = segment;
        segment->SetImage(FindImage("Hvost"));
        segment->AnimSpeed = 8.0;
        segment->SetZ(2);
        segment->SetX(-24);
        segment->Visible = false;
        segment->CollisionTester = world.AdCollisionTester;
    }
}

void HideHvosts() {
    for (const SpriteRef<THvost>& segment : hvosts) {
        if (!segment)
            continue;
        segment->SetX(-24);
        segment->Visible = false;
    }
}

void THvost::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    if (paused || MainMenuE || nastarte || gameover || gameover2 || !enemy)
        return;
    lastCells[lastCellSlot][0] = enemy->cellX;
    lastCells[lastCellSlot][1] = enemy->cellY;
    lastCellSlot ^= 1;
    // All segments see the same enemy cell within a frame, so one trail point is written per cell
    // change: the enemy's position in the first frame after it.
    if (trailCursor < 0 || trailCursor >= kTailSegments)
        trailCursor = 0;
    if (lastCells[0][0] != lastCells[1][0] || lastCells[0][1] != lastCells[1][1]) {
        trailX[static_cast<size_t>(trailCursor)] = enemy->X();
        trailY[static_cast<size_t>(trailCursor)] = enemy->Y();
        ++trailCursor;
    }
    // Every segment places all of them; only the first move of a frame finds anything to change, so
    // the others compare and move nothing.
    for (int32_t n = 0; n <= hvostLen && n < kTailSegments; ++n) {
        const size_t i = static_cast<size_t>(n);
        const SpriteRef<THvost>& segment = hvosts[i];
        if (trailX[i] == 0 || !segment)
            continue;
        segment->Visible = true;
        if (segment->X() != trailX[i])
            segment->SetX(trailX[i]);
        if (segment->Y() != trailY[i])
            segment->SetY(trailY[i]);
    }
    // The trail is a ring of hvostLen + 1 entries.
    if (trailCursor > hvostLen)
        trailCursor = 0;
    if (growthClock >= kGrowthMoveSeconds) {
        if (hvostLen < kLongestTail)
            ++hvostLen;
        growthClock = 0;
    }
    growthClock += timeGap;
}

} // namespace vimbo
