// How the runner and the enemy feel the maze: the obstacle at a point relative to an actor's top-left
// corner, the scan along a line for the first obstacle, the stop one pixel before an obstacle straight
// ahead, the turns into openings, and the short steps a long frame is moved in.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/sprites/AdImageSprites.hpp"
#include "engine/sprites/AdSprites.hpp"

namespace vimbo {

// The longest step an actor moves at once. The probes, the stops, the scans and the enemy's one-probe
// turns are sound for steps this short (0.8 px at 400 px/s, the steps of the frame rate's cap); a
// longer frame is moved as several equal steps, so the actors play the same at every frame rate.
inline constexpr double kLongestStep = 0.002;

// How many equal steps a frame of `timeGap` seconds is moved in.
int StepsFor(double timeGap);

// The top-most visible sprite of class T whose bounds contain the point (edges inclusive). Hidden
// sprites are not felt (the mouse cursor, hidden during play, must not mask a block from the actors),
// and neither are sprites of other classes: the enemy, the collectible or an effect standing over the
// edge of a block must not hide the block from a probe.
template <typename T> const T* VisibleSpriteOfClassAt(const ad::TSpriteEngine& engine, double x, double y) {
    const ad::TOwningSpriteList& sprites = engine.Children();
    for (int32_t i = sprites.Count() - 1; i >= 0; --i) {
        const ad::TSprite* sprite = sprites[i];
        if (!sprite->Visible)
            continue;
        const ad::TSpriteRect r = sprite->GetBoundsRect();
        if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom)
            if (const T* found = dynamic_cast<const T*>(sprite))
                return found;
    }
    return nullptr;
}

// Whether a visible T stands at (x, y) relative to the actor's corner.
template <typename T> bool ObstacleAt(const ad::TSprite& actor, double x, double y) {
    const ad::TSpriteEngine* engine = actor.Engine();
    if (engine == nullptr)
        return false;
    return VisibleSpriteOfClassAt<T>(*engine, actor.X() + x, actor.Y() + y) != nullptr;
}

// The first i = 1, 2, ..., limit at which point(i) holds a T, or 0 when none does.
template <typename T, typename PointOf> int ScanToObstacle(const ad::TSprite& actor, PointOf point, int limit) {
    for (int i = 1; i <= limit; ++i) {
        const auto [x, y] = point(i);
        if (ObstacleAt<T>(actor, x, y))
            return i;
    }
    return 0;
}

// The actor's motion as its move sees it: direction, this frame's displacement and the velocity.
struct ActorMotion {
    std::string& dir;
    double dx;
    double dy;
    double& vx;
    double& vy;
};

// How far ahead of its leading edge an actor stepping `step` pixels meets a T that both its edge
// probes found: the first i along its centre line, as long as that lies within the step; where the
// centre line runs through a gap between two obstacles (tail segments a long frame laid apart), the
// nearer of the lines through the two probes. `along(i, across)` is the point i pixels ahead at
// `across` pixels along the edge.
template <typename T, typename PointOf> int DistanceAhead(const ad::TSprite& actor, double step, PointOf along) {
    const int reach = static_cast<int>(std::ceil(step)) + 1;
    if (const int centre = ScanToObstacle<T>(actor, [&](int i) { return along(i, 12.0); }, reach))
        return centre;
    const int first = ScanToObstacle<T>(actor, [&](int i) { return along(i, 2.0); }, reach);
    const int second = ScanToObstacle<T>(actor, [&](int i) { return along(i, 22.0); }, reach);
    if (first == 0 || second == 0)
        return std::max({first, second, 1});
    return std::min(first, second);
}

// When both probes at the leading edge after this frame's step hold a T, moves the actor flush
// against it (its edge one pixel before the obstacle's), zeroes that velocity component and stands
// it. Tried for right, left, down and up in turn, each against the direction as it stands.
template <typename T> void StopBeforeObstacle(ad::TSprite& actor, ActorMotion m) {
    const double ax = std::abs(m.dx), ay = std::abs(m.dy);
    if (m.dir == "right" && ObstacleAt<T>(actor, 24 + ax, 2) && ObstacleAt<T>(actor, 24 + ax, 22)) {
        const int i = DistanceAhead<T>(actor, ax, [](int k, double a) { return std::pair{24.0 + k, a}; });
        actor.SetX(actor.X() + i - 1);
        m.vx = 0;
        m.dir.clear();
    }
    if (m.dir == "left" && ObstacleAt<T>(actor, -ax, 2) && ObstacleAt<T>(actor, -ax, 22)) {
        const int i = DistanceAhead<T>(actor, ax, [](int k, double a) { return std::pair{-1.0 * k, a}; });
        actor.SetX(actor.X() - i + 1);
        m.vx = 0;
        m.dir.clear();
    }
    if (m.dir == "down" && ObstacleAt<T>(actor, 2, 24 + ay) && ObstacleAt<T>(actor, 22, 24 + ay)) {
        const int i = DistanceAhead<T>(actor, ay, [](int k, double a) { return std::pair{a, 24.0 + k}; });
        actor.SetY(actor.Y() + i - 1);
        m.vy = 0;
        m.dir.clear();
    }
    if (m.dir == "up" && ObstacleAt<T>(actor, 2, -ay) && ObstacleAt<T>(actor, 22, -ay)) {
        const int i = DistanceAhead<T>(actor, ay, [](int k, double a) { return std::pair{a, -1.0 * k}; });
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

// How many of the two leading-edge probes one pixel ahead in a direction hold a T: the probes that
// stop an actor, at the distance a stopped actor stands from what stopped it.
template <typename T> int EdgesMeeting(const ad::TSprite& actor, const std::string& direction) {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (direction == "right")
        x1 = x2 = 25, y1 = 2, y2 = 22;
    else if (direction == "left")
        x1 = x2 = -1, y1 = 2, y2 = 22;
    else if (direction == "down")
        y1 = y2 = 25, x1 = 2, x2 = 22;
    else if (direction == "up")
        y1 = y2 = -1, x1 = 2, x2 = 22;
    else
        return 0;
    return (ObstacleAt<T>(actor, x1, y1) ? 1 : 0) + (ObstacleAt<T>(actor, x2, y2) ? 1 : 0);
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
