// The runner's move: the wall's clock, stops before blocks and tail, the start from standing, turns
// flush with openings, and the displacement of the frame.
#include "game/Player.hpp"

#include <algorithm>
#include <cmath>
#include <exception>

#include "engine/platform/Dialogs.hpp"
#include "game/ActorProbes.hpp"
#include "game/Blocks.hpp"
#include "game/Collectibles.hpp"
#include "game/Effects.hpp"
#include "game/GameState.hpp"
#include "game/Sound.hpp"
#include "game/Tail.hpp"
#include "game/World.hpp"

namespace vimbo {

SpriteRef<TPlayer> player;
double playerSpeed;
double curSpeed;
int32_t lastPoints;

int32_t CellOf(double position, double origin) {
    return ad::AdRound((position - origin) / 24.0) + 1;
}

void PlayerCreate() {
    auto* runner = new TPlayer(world.SpriteEngine);
    player = runner;
    runner->SetImage(FindImage("player"));
    runner->AnimLoop = true;
    runner->AnimSpeed = 6.0;
    runner->SetZ(7);
    runner->SetX(screenW / 2.0 - 360);
    runner->SetY(screenH / 2.0 - 360);
    runner->cellX = 1;
    runner->cellY = 1;
    originX = runner->X();
    originY = runner->Y();
    runner->Visible = true;
}

void TPlayer::UpdateVelocity() {
    if (dir == "up") {
        vx = 0, vy = -curSpeed, dx = 0;
        SetAngle(0);
    } else if (dir == "down") {
        vx = 0, vy = curSpeed, dx = 0;
        SetAngle(180);
    } else if (dir == "left") {
        vx = -curSpeed, vy = 0, dy = 0;
        SetAngle(270);
    } else if (dir == "right") {
        vx = curSpeed, vy = 0, dy = 0;
        SetAngle(90);
    }
}

void TPlayer::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    // The wall ages here, before the start phase and the pause return, so its time runs in both.
    if (showW)
        wallTimer += timeGap * 10;
    if (wallTimer >= kWallLifetime && showW) {
        showW = false;
        walldestroy();
        EnInWall = false;
    }
    if (nastarte) {
        AnimActive = false;
        SetAngle(0);
        return;
    }
    if (paused || MainMenuE)
        return;

    dx = vx * timeGap;
    dy = vy * timeGap;
    StopBeforeObstacle<TBlock>(*this, {dir, dx, dy, vx, vy});
    StopBeforeObstacle<THvost>(*this, {dir, dx, dy, vx, vy});
    StartFromStanding();
    TurnWhileMoving();
    UpdateVelocity();
    AnimActive = vx != 0 || vy != 0;
    curSpeed = playerSpeed;
    // The displacement was taken from the velocity at the start of the frame: a reversal still steps
    // the old way once, and a perpendicular turn makes no step in its frame.
    if (vx != 0)
        SetX(X() + dx);
    else
        dx = 0;
    if (vy != 0)
        SetY(Y() + dy);
    else
        dy = 0;
    cellX = CellOf(X(), originX);
    cellY = CellOf(Y(), originY);
    Collision();
}

void TPlayer::StartFromStanding() {
    double x = 0, y = 0;
    if (!dir.empty() || !NeighbourCentre(nextDir, x, y))
        return;
    if (!ObstacleAt<TBlock>(*this, x, y) && !ObstacleAt<THvost>(*this, x, y))
        dir = nextDir;
}

namespace {

// One perpendicular turn: the side column or row is probed half a cell beside the player; the scan
// finds where the opening ends ahead, so the player stops exactly flush with it.
struct SideOpening {
    double firstX, firstY;   // the trailing edge after this step
    double secondX, secondY; // the leading edge now
    double scanX, scanY;     // scan point for i = 0; each step adds (stepX, stepY)
    double stepX, stepY;
};

} // namespace

void TPlayer::TurnWhileMoving() {
    if (dir.empty() || nextDir == dir)
        return;
    const double ax = std::abs(dx), ay = std::abs(dy);
    // Returns whether the turn was taken; `along` is +1 or -1 on the axis of travel.
    const auto turn = [&](const SideOpening& side, bool vertical, int along) {
        if (ObstacleAt<TBlock>(*this, side.firstX, side.firstY) ||
            ObstacleAt<TBlock>(*this, side.secondX, side.secondY))
            return false;
        const int i = ScanToObstacle<TBlock>(*this, [&](int k) {
            return std::pair{side.scanX + side.stepX * k, side.scanY + side.stepY * k};
        });
        if (ObstacleAt<TBlock>(*this, side.secondX, side.secondY))
            return false;
        if (vertical)
            SetY(Y() + along * std::min<double>(i, ay));
        else
            SetX(X() + along * std::min<double>(i, ax));
        dir = nextDir;
        return true;
    };
    const auto reverse = [&](const char* opposite) {
        if (nextDir == opposite)
            dir = nextDir;
    };
    if (dir == "up") {
        if (nextDir == "right")
            turn({36, 24 - ay, 36, 0, 36, 0, 0, -1}, true, -1);
        else if (nextDir == "left")
            turn({-12, 24 - ay, -12, 0, -12, 0, 0, -1}, true, -1);
        else
            reverse("down");
    }
    if (dir == "down") {
        if (nextDir == "right")
            turn({36, ay, 36, 24, 36, 24, 0, 1}, true, 1);
        else if (nextDir == "left")
            turn({-12, ay, -12, 24, -12, 24, 0, 1}, true, 1);
        else
            reverse("up");
    }
    if (dir == "right") {
        if (nextDir == "up")
            turn({ax, -12, 24, -12, 24, -12, 1, 0}, false, 1);
        else if (nextDir == "down")
            turn({ax, 36, 24, 36, 24, 36, 1, 0}, false, 1);
        else
            reverse("left");
    }
    if (dir == "left") {
        if (nextDir == "up")
            turn({24 - ax, -12, 0, -12, 0, -12, -1, 0}, false, -1);
        else if (nextDir == "down")
            turn({24 - ax, 36, 0, 36, 0, 36, -1, 0}, false, -1);
        else
            reverse("right");
    }
}

void TPlayer::DoCollision(ad::TSprite* sprite, bool& done) {
    TGameSprite::DoCollision(sprite, done);
    auto* collectible = dynamic_cast<TVit1*>(sprite);
    // A collectible already eaten in this frame (by the enemy) counts no more.
    if (collectible == nullptr || collectible->Deaded())
        return;
    try {
        EmitParticles(world.EatParticles, 8, ad::AdRound(X()) + 12, ad::AdRound(Y()) + 12);
        const double frame = vit.Usable() ? vit->AnimPos : collectible->AnimPos;
        lastPoints = PointsForFrame(frame);
        score += lastPoints;
        switch (lastPoints) {
        case 100:
            EmitParticles(world.BonusParticles, 10, ad::AdRound(X()), ad::AdRound(Y()));
            PlaySoundRes("s5");
            break;
        case 30:
            PlaySoundRes("s4_3");
            break;
        case 20:
            PlaySoundRes("s4_2");
            break;
        default:
            PlaySoundRes("s4_1");
            break;
        }
        ShowScoreUp();
        collectible->SetX(-24);
        collectible->Dead();
        checkscore();
    } catch (const std::exception&) {
        ad::platform::ShowMessage("error in player col");
    }
}

} // namespace vimbo
