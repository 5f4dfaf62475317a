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
    SteerByDirection(*this, dir, curSpeed, vx, vy, dx, dy);
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
    // A long frame is run as short steps; the frame's displacement is what they moved together.
    const int steps = StepsFor(timeGap);
    double frameDx = 0, frameDy = 0;
    for (int k = 0; k < steps; ++k) {
        Step(timeGap / steps);
        frameDx += dx;
        frameDy += dy;
    }
    dx = frameDx;
    dy = frameDy;
}

void TPlayer::Step(double timeGap) {
    dx = vx * timeGap;
    dy = vy * timeGap;
    StopBeforeObstacle<TBlock>(*this, {dir, dx, dy, vx, vy});
    StopBeforeObstacle<THvost>(*this, {dir, dx, dy, vx, vy});
    StartFromStanding();
    TurnTowards(*this, dir, nextDir, dx, dy, TurnRule::Flush);
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
    if (ObstacleAt<TBlock>(*this, x, y) || ObstacleAt<THvost>(*this, x, y))
        return;
    // A runner the tail stopped off the grid would start across its corridor into the wall beside
    // the opening, which its stops (both edges on a block) never see: it waits instead until it is
    // beside the opening. And two tail segments side by side can leave a gap just where the
    // neighbour's centre lies: started there, it would step into the tail that has just stopped it,
    // and so on through.
    if (EdgesMeeting<TBlock>(*this, nextDir) > 0 || EdgesMeeting<THvost>(*this, nextDir) == 2)
        return;
    dir = nextDir;
}

bool TPlayer::CollidesWith(const ad::TSprite& other) const {
    return dynamic_cast<const TVit1*>(&other) != nullptr;
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
