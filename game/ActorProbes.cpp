// The actors' steps and their turns into side openings.
#include "game/ActorProbes.hpp"

#include <algorithm>
#include <cmath>

#include "game/Blocks.hpp"

namespace vimbo {

int StepsFor(double timeGap) {
    // Frames are at most 50 ms long; a stray long one (a test's, or a clock that jumped) still ends.
    constexpr int kMostSteps = 1000;
    if (!(timeGap > kLongestStep))
        return 1;
    // A frame a rounding error longer than a whole number of steps takes no extra step.
    const double steps = std::ceil(timeGap / kLongestStep - 1e-9);
    return steps >= kMostSteps ? kMostSteps : static_cast<int>(steps);
}

namespace {

// One perpendicular turn, relative to the actor's corner: the side column or row is probed half a
// cell beside it; the scan finds where the opening ends ahead.
struct SideOpening {
    double firstX, firstY;   // beside the trailing edge after this step
    double secondX, secondY; // beside the leading edge now
    double scanX, scanY;     // the scan's point for i = 0; each step adds (stepX, stepY)
    double stepX, stepY;
};

void TurnInto(ad::TSprite& actor, std::string& dir, const std::string& nextDir, const SideOpening& side,
              double step, bool vertical, int along, TurnRule rule) {
    if (ObstacleAt<TBlock>(actor, side.firstX, side.firstY))
        return;
    if (rule == TurnRule::Flush && ObstacleAt<TBlock>(actor, side.secondX, side.secondY))
        return;
    // Only where the opening ends within this step matters: the move never goes further than the step.
    const int i = ScanToObstacle<TBlock>(
        actor, [&](int k) { return std::pair{side.scanX + side.stepX * k, side.scanY + side.stepY * k}; },
        static_cast<int>(std::ceil(step)) + 1);
    const bool besideOpening = !ObstacleAt<TBlock>(actor, side.secondX, side.secondY);
    if (rule == TurnRule::Flush && !besideOpening)
        return;
    if (besideOpening) {
        const double move = along * (i == 0 ? step : std::min<double>(i, step));
        if (vertical)
            actor.SetY(actor.Y() + move);
        else
            actor.SetX(actor.X() + move);
    }
    dir = nextDir;
}

} // namespace

void TurnTowards(ad::TSprite& actor, std::string& dir, const std::string& nextDir, double dx, double dy,
                 TurnRule rule) {
    if (dir.empty() || nextDir == dir)
        return;
    const double ax = std::abs(dx), ay = std::abs(dy);
    const auto turn = [&](const SideOpening& side, bool vertical, int along) {
        TurnInto(actor, dir, nextDir, side, vertical ? ay : ax, vertical, along, rule);
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

void SteerByDirection(ad::TImageSpriteEx& actor, const std::string& dir, double speed, double& vx, double& vy,
                      double& dx, double& dy) {
    if (dir == "up") {
        vx = 0, vy = -speed, dx = 0;
        actor.SetAngle(0);
    } else if (dir == "down") {
        vx = 0, vy = speed, dx = 0;
        actor.SetAngle(180);
    } else if (dir == "left") {
        vx = -speed, vy = 0, dy = 0;
        actor.SetAngle(270);
    } else if (dir == "right") {
        vx = speed, vy = 0, dy = 0;
        actor.SetAngle(90);
    }
}

} // namespace vimbo
