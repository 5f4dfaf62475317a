// How the runner and the enemy feel the maze: the top-most sprite at a point relative to an actor's
// top-left corner, the scan along a line for the first obstacle, and the stop one pixel before an
// obstacle straight ahead.
#pragma once

#include <cmath>
#include <string>
#include <utility>

#include "engine/sprites/AdImageSprites.hpp"
#include "engine/sprites/AdSprites.hpp"

namespace vimbo {

// Scans farther than any maze reaches: a scan that finds nothing by then treats the obstacle as
// beyond every step an actor takes in a frame.
inline constexpr int kProbeScanLimit = 4096;

// The top-most visible sprite whose bounds contain the point (edges inclusive). Hidden sprites are
// not felt: the mouse cursor, hidden during play, must not mask a block from the actors.
const ad::TSprite* VisibleSpriteAt(const ad::TSpriteEngine& engine, double x, double y);

// Whether the top-most visible sprite at (x, y) relative to the actor's corner is a T.
template <typename T> bool ObstacleAt(const ad::TSprite& actor, double x, double y) {
    const ad::TSpriteEngine* engine = actor.Engine();
    if (engine == nullptr)
        return false;
    return dynamic_cast<const T*>(VisibleSpriteAt(*engine, actor.X() + x, actor.Y() + y)) != nullptr;
}

// The first i = 1, 2, ... at which point(i) holds a T, or kProbeScanLimit when none does.
template <typename T, typename PointOf> int ScanToObstacle(const ad::TSprite& actor, PointOf point) {
    for (int i = 1; i < kProbeScanLimit; ++i) {
        const auto [x, y] = point(i);
        if (ObstacleAt<T>(actor, x, y))
            return i;
    }
    return kProbeScanLimit;
}

// The actor's motion as its move sees it: direction, this frame's displacement and the velocity.
struct ActorMotion {
    std::string& dir;
    double dx;
    double dy;
    double& vx;
    double& vy;
};

// When both probes at the leading edge after this frame's step hold a T, moves the actor flush
// against it (its edge one pixel before the obstacle's), zeroes that velocity component and stands
// it. Tried for right, left, down and up in turn, each against the direction as it stands.
template <typename T> void StopBeforeObstacle(ad::TSprite& actor, ActorMotion m) {
    const double ahx = 24 + std::abs(m.dx), ahy = 24 + std::abs(m.dy);
    if (m.dir == "right" && ObstacleAt<T>(actor, ahx, 2) && ObstacleAt<T>(actor, ahx, 22)) {
        const int i = ScanToObstacle<T>(actor, [](int k) { return std::pair{24.0 + k, 12.0}; });
        actor.SetX(actor.X() + i - 1);
        m.vx = 0;
        m.dir.clear();
    }
    if (m.dir == "left" && ObstacleAt<T>(actor, -std::abs(m.dx), 2) &&
        ObstacleAt<T>(actor, -std::abs(m.dx), 22)) {
        const int i = ScanToObstacle<T>(actor, [](int k) { return std::pair{-1.0 * k, 12.0}; });
        actor.SetX(actor.X() - i + 1);
        m.vx = 0;
        m.dir.clear();
    }
    if (m.dir == "down" && ObstacleAt<T>(actor, 2, ahy) && ObstacleAt<T>(actor, 22, ahy)) {
        const int i = ScanToObstacle<T>(actor, [](int k) { return std::pair{12.0, 24.0 + k}; });
        actor.SetY(actor.Y() + i - 1);
        m.vy = 0;
        m.dir.clear();
    }
    if (m.dir == "up" && ObstacleAt<T>(actor, 2, -std::abs(m.dy)) &&
        ObstacleAt<T>(actor, 22, -std::abs(m.dy))) {
        const int i = ScanToObstacle<T>(actor, [](int k) { return std::pair{12.0, -1.0 * k}; });
        actor.SetY(actor.Y() - i + 1);
        m.vy = 0;
        m.dir.clear();
    }
}

// The centre of the neighbouring cell in a direction, relative to the actor's corner; false for a
// direction that is none of the four.
inline bool NeighbourCentre(const std::string& direction, double& x, double& y) {
    if (direction == "right")
        x = 36, y = 12;
    else if (direction == "left")
        x = -12, y = 12;
    else if (direction == "up")
        x = 12, y = -12;
    else if (direction == "down")
        x = 12, y = 36;
    else
        return false;
    return true;
}

// How an actor takes a perpendicular turn into an opening beside it.
enum class TurnRule {
    // The runner: the opening must lie beside both its trailing edge after this step and its leading
    // edge now; it then moves flush with the opening (never further than this step) and turns.
    Flush,
    // The enemy: the probe at its trailing edge alone decides; it moves flush only when its leading
    // edge lies beside the opening, and turns either way (a block pushes it back into the corridor).
    Eager,
};

// Turns towards `nextDir` when it differs from `dir`: a reversal at once, a perpendicular turn at an
// opening by the rule. The cases run for up, down, right, left in turn, each against `dir` as the
// ones before left it. Only blocks close an opening.
void TurnTowards(ad::TSprite& actor, std::string& dir, const std::string& nextDir, double dx, double dy,
                 TurnRule rule);

// Velocity and facing for `dir` at `speed` (standing changes nothing); the displacement across the
// new direction is dropped.
void SteerByDirection(ad::TImageSpriteEx& actor, const std::string& dir, double speed, double& vx, double& vy,
                      double& dx, double& dy);

} // namespace vimbo
