// The enemy's move (block stops, one-probe turns, junction decisions, the wall's hold, standstill) and
// its collision responses.
#include "game/Enemy.hpp"

#include <algorithm>
#include <cmath>

#include "engine/render/AdCanvas.hpp"
#include "game/ActorProbes.hpp"
#include "game/Blocks.hpp"
#include "game/Collectibles.hpp"
#include "game/Effects.hpp"
#include "game/GameScreen.hpp"
#include "game/GameState.hpp"
#include "game/PathSearch.hpp"
#include "game/Player.hpp"
#include "game/Sound.hpp"
#include "game/Tail.hpp"
#include "game/World.hpp"

namespace vimbo {

SpriteRef<TEnemy1> enemy;
int32_t enemySpeed;
double stuckTime;
bool atJunction;
int32_t pathLen, dUp, dRight, dDown, dLeft;

namespace {

constexpr int32_t kEnemySpeed = 400;

// Standing still this long (tenths of a second) makes the enemy search again on a junction, and
// this long take the last route found wherever it stands.
constexpr double kSearchAgainAfter = 5;
constexpr double kTakeRouteAfter = 15;

} // namespace

void ResetEnemyState() {
    enemySpeed = 0;
    stuckTime = 0;
    atJunction = false;
    pathLen = dUp = dRight = dDown = dLeft = 0;
}

void EnemyCreate() {
    auto* hunter = new TEnemy1(world.SpriteEngine);
    enemy = hunter;
    hunter->SetImage(FindImage("Enemy"));
    hunter->AnimSpeed = 8.0;
    hunter->SetZ(7);
    PlaceEnemy();
    hunter->CollisionTester = world.AdCollisionTester;
}

void PlaceEnemy() {
    if (!enemy)
        return;
    enemy->SetX(screenW / 2.0 + 336);
    enemy->SetY(screenH / 2.0 + 312);
    enemySpeed = kEnemySpeed;
}

void PathSearch() {
    if (!enemy || !player)
        return;
    const PathSearchQuery query{
        {enemy->cellX, enemy->cellY}, {player->cellX, player->cellY}, vitMode, {vitCol, vitRow}};
    const PathSearchResult result = PathSearch(maze, query);
    if (result.distancesRead) {
        pathLen = result.pathLen;
        dUp = result.dUp;
        dRight = result.dRight;
        dDown = result.dDown;
        dLeft = result.dLeft;
    }
    if (result.found)
        enemy->pathDir = result.pathDir;
}

void TEnemy1::UpdateVelocity() {
    SteerByDirection(*this, dir, enemySpeed, vx, vy, dx, dy);
}

void TEnemy1::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    if (nastarte) {
        AnimActive = false;
        SetAngle(0);
        return;
    }
    if (paused || MainMenuE)
        return;
    // A long frame is run as short steps, until one of them ends the move (a catch, or the enemy
    // gone); the frame's displacement is what they moved together.
    const int steps = StepsFor(timeGap);
    double frameDx = 0, frameDy = 0;
    for (int k = 0; k < steps; ++k) {
        const bool goesOn = Step(timeGap / steps);
        frameDx += dx;
        frameDy += dy;
        if (!goesOn)
            break;
    }
    dx = frameDx;
    dy = frameDy;
}

bool TEnemy1::Step(double timeGap) {
    // Held fast as long as the wall it ran into stands.
    if (EnInWall) {
        dx = 0;
        dy = 0;
        if (!showW)
            EnInWall = false;
        return true;
    }
    AnimActive = vx != 0 || vy != 0;
    dx = vx * timeGap;
    dy = vy * timeGap;
    StopBeforeObstacle<TBlock>(*this, {dir, dx, dy, vx, vy});
    double x = 0, y = 0;
    if (dir.empty() && NeighbourCentre(nextDir, x, y) && !ObstacleAt<TBlock>(*this, x, y))
        dir = nextDir;
    TurnTowards(*this, dir, nextDir, dx, dy, TurnRule::Eager);
    DecideAtJunction();
    UpdateVelocity();
    SetX(X() + dx);
    SetY(Y() + dy);
    cellX = CellOf(X(), originX);
    cellY = CellOf(Y(), originY);
    enemySpeed = kEnemySpeed;
    Collision();
    if (Deaded())
        return false;
    if (vx == 0 && vy == 0)
        stuckTime += timeGap * 10;
    else
        stuckTime = 0;
    if (stuckTime > kTakeRouteAfter) {
        stuckTime = 0;
        nextDir = pathDir;
    }
    if (stuckTime > kSearchAgainAfter)
        atJunction = false;
    // A catch starts the restart: the enemy stands from here on.
    return !nastarte;
}

void TEnemy1::DecideAtJunction() {
    const bool onJunction = InMaze(cellX, cellY) && MazeAt(maze, cellX, cellY) == kJunctionCell;
    if (!onJunction) {
        atJunction = false;
        return;
    }
    if (atJunction)
        return;
    PathSearch();
    nextDir = pathDir;
    atJunction = true;
}

bool TEnemy1::CollidesWith(const ad::TSprite& other) const {
    return dynamic_cast<const TVit1*>(&other) != nullptr || dynamic_cast<const TBlock*>(&other) != nullptr ||
           dynamic_cast<const TWall*>(&other) != nullptr || dynamic_cast<const TPlayer*>(&other) != nullptr;
}

void TEnemy1::DoCollision(ad::TSprite* sprite, bool& done) {
    TGameSprite::DoCollision(sprite, done);
    if (dynamic_cast<TVit1*>(sprite) != nullptr)
        EatCollectible(*sprite);
    else if (dynamic_cast<TBlock*>(sprite) != nullptr)
        LeaveBlock(*sprite);
    else if (dynamic_cast<TWall*>(sprite) != nullptr)
        RunIntoWall();
    else if (dynamic_cast<TPlayer*>(sprite) != nullptr && !sprite->Deaded())
        CatchPlayer();
}

void TEnemy1::EatCollectible(ad::TSprite& collectible) {
    // A collectible the runner ate in this frame is gone already: it must not count twice.
    if (collectible.Deaded())
        return;
    const double p = vit.Usable() ? vit->AnimPos : static_cast<TVit1&>(collectible).AnimPos;
    // The richer the meal, the more the tail grows, as long as it stays short enough for the growth.
    struct Growth {
        int32_t segments, below;
    };
    const int32_t points = PointsForFrame(p);
    const Growth meal = points == 100 ? Growth{20, 279}
                        : points == 30 ? Growth{7, 292}
                        : points == 20 ? Growth{6, 293}
                                       : Growth{5, 294};
    lastPoints = points;
    score -= points;
    if (hvostLen < meal.below)
        hvostLen += meal.segments;
    PlaySoundRes("s1");
    if (score < 0)
        score = 0;
    EmitParticles(world.EnemyParticles, 5, ad::AdRound(X()) + 12, ad::AdRound(Y()) + 12);
    ShowScoreDown();
    collectible.Dead();
    checkscore();
}

void TEnemy1::LeaveBlock(const ad::TSprite& block) {
    const double x = ad::AdRound(X()), y = ad::AdRound(Y());
    const ad::TSpriteEngine* engine = Engine();
    const auto blockAt = [&](double px, double py) {
        return VisibleSpriteOfClassAt<TBlock>(*engine, px, py) != nullptr;
    };
    if (blockAt(x + 25, y + 2) || blockAt(x + 25, y + 22))
        SetX(X() - 1);
    if (blockAt(x - 1, y + 2) || blockAt(x - 1, y + 22))
        SetX(X() + 1);
    if (blockAt(x + 2, y - 1) || blockAt(x + 22, y - 1))
        SetY(Y() + 1);
    if (blockAt(x + 2, y + 25) || blockAt(x + 22, y + 25))
        SetY(Y() - 1);
    SetX(block.X() >= X() ? X() - 1 : X() + 1);
    SetY(block.Y() >= Y() ? Y() - 1 : Y() + 1);
}

void TEnemy1::RunIntoWall() {
    if (world.AdDraw != nullptr && world.AdDraw->Canvas() != nullptr)
        world.AdDraw->Canvas()->TextOut(ad::AdRound(X()), ad::AdRound(Y() - 24), "o_0");
    if (EnInWall)
        return;
    EnInWall = true;
    if (vx != 0)
        vx = -enemySpeed;
    if (vy != 0)
        vy = -enemySpeed;
}

void TEnemy1::CatchPlayer() {
    if (showW) {
        showW = false;
        walldestroy();
        EnInWall = false;
    }
    PlaySoundRes("dead13");
    playerDied = true;
    nastarte = true;
    bgScroll = true;
    Ireal = 255.0;
    levelBonus = 0;
    lives -= 1;
    EmitParticles(world.EnemyParticles, 25, ad::AdRound(X()) + 12, ad::AdRound(Y()) + 12);
    StartStar();
    player.Remove();
    // A game continued with no life left (a "save" written during the game-over banner) ends here
    // too, rather than asking for a restart that has nothing to restart with.
    if (lives > 0) {
        tmrRestart = true;
    } else {
        gameover = true;
        if (world.Screen != nullptr)
            world.Screen->ShowGameOverBanner();
    }
}

} // namespace vimbo
