// The point query behind the actors' probes.
#include "game/ActorProbes.hpp"

#include <algorithm>

#include "game/Blocks.hpp"

namespace vimbo {

const ad::TSprite* VisibleSpriteAt(const ad::TSpriteEngine& engine, double x, double y) {
    const ad::TOwningSpriteList& sprites = engine.Children();
    for (int32_t i = sprites.Count() - 1; i >= 0; --i) {
        const ad::TSprite* sprite = sprites[i];
        if (!sprite->Visible)
            continue;
        const ad::TSpriteRect r = sprite->GetBoundsRect();
        if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom)
            return sprite;
    }
    return nullptr;
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
    const int i = ScanToObstacle<TBlock>(actor, [&](int k) {
        return std::pair{side.scanX + side.stepX * k, side.scanY + side.stepY * k};
    });
    const bool besideOpening = !ObstacleAt<TBlock>(actor, side.secondX, side.secondY);
    if (rule == TurnRule::Flush && !besideOpening)
        return;
    if (besideOpening) {
        const double move = along * std::min<double>(i, step);
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
