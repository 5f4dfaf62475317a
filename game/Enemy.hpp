// The enemy: it races the runner for the collectible along the routes of its path search, drags its
// tail, is held by the placed wall and costs the runner a life when it catches it.
#pragma once

#include <cstdint>
#include <string>

#include "game/SpriteRef.hpp"

namespace vimbo {

class TEnemy1 : public TGameSprite {
public:
    explicit TEnemy1(ad::TSprite* parent) : TGameSprite(parent) {}

    void DoMove(double timeGap) override;
    void DoCollision(ad::TSprite* sprite, bool& done) override;
    // The enemy answers the collectible, blocks, the wall and the runner.
    bool CollidesWith(const ad::TSprite& other) const override;

    // Velocity and facing from `dir`, as the runner's; standing changes nothing.
    void UpdateVelocity();

    // The displacement of the last frame, pixels: what its steps moved the enemy by.
    double dx = 0;
    double dy = 0;
    int32_t cellX = 0;
    int32_t cellY = 0;
    std::string dir;
    // The first step of the route the last path search found.
    std::string pathDir;
    std::string nextDir;
    double vx = 0;
    double vy = 0;

private:
    // One step of the hunt; false when the move of this frame ends with it.
    bool Step(double timeGap);
    void DecideAtJunction();
    void EatCollectible(ad::TSprite& collectible);
    void LeaveBlock(const ad::TSprite& block);
    void RunIntoWall();
    void CatchPlayer();
};

extern SpriteRef<TEnemy1> enemy;

// Pixels per second, the same on every difficulty; restored after every move.
extern int32_t enemySpeed;
// How long the enemy has stood still, in tenths of a second.
extern double stuckTime;
// The path search already ran for the junction cell the enemy stands on.
extern bool atJunction;
// What the last path search read beside its target.
extern int32_t pathLen, dUp, dRight, dDown, dLeft;

// Creates the enemy with its tail for a new game.
void EnemyCreate();
// Puts the enemy on its start cell (30, 29), the corner farthest from the runner's.
void PlaceEnemy();
// Runs the path search from the enemy's cell and takes its direction, if it found one.
void PathSearch();

// Puts the enemy's state back to its value at program start.
void ResetEnemyState();

} // namespace vimbo
