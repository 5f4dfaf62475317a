// The runner the player steers: it runs the corridors at a fixed speed, stops one pixel before maze
// blocks and the enemy's tail, turns flush into openings from a remembered request, and eats the
// collectible by touching it. Its move is also the clock of the placed wall.
#pragma once

#include <cstdint>
#include <string>

#include "game/SpriteRef.hpp"

namespace vimbo {

class TPlayer : public TGameSprite {
public:
    explicit TPlayer(ad::TSprite* parent) : TGameSprite(parent) {}

    void DoMove(double timeGap) override;
    void DoCollision(ad::TSprite* sprite, bool& done) override;
    // The runner answers the collectible alone.
    bool CollidesWith(const ad::TSprite& other) const override;

    // Velocity and facing from `dir`; standing changes nothing.
    void UpdateVelocity();

    int32_t cellX = 0;
    int32_t cellY = 0;
    std::string dir;
    // The requested direction, written by the keyboard and never cleared here.
    std::string nextDir;
    // The displacement of the last frame, pixels: what its steps moved the runner by.
    double dx = 0;
    double dy = 0;
    double vx = 0;
    double vy = 0;

private:
    // One step of the run: stops, start, turn, displacement and collisions.
    void Step(double timeGap);
    void StartFromStanding();
};

extern SpriteRef<TPlayer> player;

// Pixels per second, the same on every difficulty.
extern double playerSpeed;
// The speed UpdateVelocity uses: copied from playerSpeed at the end of every player move.
extern double curSpeed;
// Points of the collectible eaten last.
extern int32_t lastPoints;

// The maze cell under an actor: the nearest whole number of cells from the start cell, plus 1.
int32_t CellOf(double position, double origin);

// Creates the player on its start cell (1, 1), which also fixes the maze origin for every actor.
void PlayerCreate();

} // namespace vimbo
