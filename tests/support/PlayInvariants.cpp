// The play checker's rules over the game's globals and sprites.
#include "tests/support/PlayInvariants.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "frontend/Backgrounds.hpp"
#include "game/Blocks.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/MazeGrid.hpp"
#include "game/Player.hpp"
#include "game/Tail.hpp"
#include "game/World.hpp"

namespace vimbo::test {

namespace {

constexpr double kCell = 24.0;

std::string Format(const char* format, auto... values) {
    std::array<char, 256> text{};
    std::snprintf(text.data(), text.size(), format, values...);
    return text.data();
}

double MazeLeft() {
    return screenW / 2.0 - 384.0;
}
double MazeTop() {
    return screenH / 2.0 - 384.0;
}

// Which cells hold a block, from the block sprites themselves: what the actors feel.
struct BlockGrid {
    std::array<std::array<bool, kMazeRows>, kMazeColumns> block{};

    BlockGrid() {
        const ad::TOwningSpriteList& sprites = world.SpriteEngine->Children();
        for (int32_t i = 0; i < sprites.Count(); ++i) {
            const auto* b = dynamic_cast<const TBlock*>(sprites[i]);
            if (b == nullptr || !b->Visible || !b->CanDoCollisions || b->Deaded())
                continue;
            const long c = std::lround((b->X() - MazeLeft()) / kCell);
            const long r = std::lround((b->Y() - MazeTop()) / kCell);
            if (c >= 0 && c < kMazeColumns && r >= 0 && r < kMazeRows)
                block[static_cast<size_t>(c)][static_cast<size_t>(r)] = true;
        }
    }
    bool Floor(long c, long r) const {
        return c >= 0 && c < kMazeColumns && r >= 0 && r < kMazeRows &&
               !block[static_cast<size_t>(c)][static_cast<size_t>(r)];
    }
    // How deep a 24-pixel square at (x, y) reaches into the deepest block it overlaps: the smaller of
    // its two overlaps with that block.
    double DeepestOverlap(double x, double y, long& atC, long& atR) const {
        double deepest = 0;
        const long c0 = static_cast<long>(std::floor((x - MazeLeft()) / kCell));
        const long r0 = static_cast<long>(std::floor((y - MazeTop()) / kCell));
        for (long c = c0; c <= c0 + 1; ++c) {
            for (long r = r0; r <= r0 + 1; ++r) {
                if (c < 0 || c >= kMazeColumns || r < 0 || r >= kMazeRows ||
                    !block[static_cast<size_t>(c)][static_cast<size_t>(r)])
                    continue;
                const double bx = MazeLeft() + c * kCell, by = MazeTop() + r * kCell;
                const double ox = std::min(x, bx) + kCell - std::max(x, bx);
                const double oy = std::min(y, by) + kCell - std::max(y, by);
                const double depth = std::min(ox, oy);
                if (ox > 0 && oy > 0 && depth > deepest) {
                    deepest = depth;
                    atC = c, atR = r;
                }
            }
        }
        return deepest;
    }
};

// The cells an actor's position spans along one axis: one when it lies within `reach` of a cell's
// grid position, else the two it lies between.
std::pair<long, long> Span(double position, double gridStart, double reach) {
    const double at = (position - gridStart) / kCell;
    const long nearest = std::lround(at);
    if (std::abs(at - static_cast<double>(nearest)) * kCell <= reach)
        return {nearest, nearest};
    const long below = static_cast<long>(std::floor(at));
    return {below, below + 1};
}

bool InPlay() {
    return !MainMenuE && !nastarte && !paused && !gameover && !gameover2 && player.Usable() && enemy.Usable();
}

struct ActorView {
    const char* name;
    double x, y;
    const std::string& dir;
    double reach;
};

} // namespace

void PlayInvariants::Check(double seconds) {
    ++frame_;
    if (world.SpriteEngine == nullptr)
        return;
    ++frames_;
    CheckCatch(seconds);
    const bool startPhase = nastarte || MainMenuE;
    if (startPhase && !lastStartPhase_)
        enemyCells_.clear();
    lastStartPhase_ = startPhase;
    // From its position: the enemy's own cell fields wait for its first move after it was placed.
    if (enemy.Usable())
        enemyCells_.insert({CellOf(enemy->X(), originX), CellOf(enemy->Y(), originY)});
    if (!InPlay()) {
        standing_ = false;
        return;
    }
    ++framesInPlay_;
    CheckActors();
    CheckStandstill(seconds);
    CheckTail();
    CheckBackground();
}

void PlayInvariants::CheckActors() {
    const BlockGrid grid;
    if (!player->Visible)
        Breach("runner-visible", "the runner is hidden in play");
    if (!enemy->Visible)
        Breach("enemy-visible", "the enemy is hidden in play");
    const std::array<ActorView, 2> actors{
        ActorView{"runner", player->X(), player->Y(), player->dir, kRunnerOverlap},
        ActorView{"enemy", enemy->X(), enemy->Y(), enemy->dir, kEnemyOverlap}};
    for (const ActorView& a : actors) {
        const std::string where =
            Format("%s at (%.2f, %.2f), cell (%ld, %ld), dir \"%s\"", a.name, a.x - originX, a.y - originY,
                   std::lround((a.x - originX) / kCell) + 1, std::lround((a.y - originY) / kCell) + 1,
                   a.dir.c_str());
        // The border's blocks are the maze's: reaching into them is the overlap rule's to judge.
        const double right = MazeLeft() + (kMazeColumns - 1) * kCell, bottom = MazeTop() + (kMazeRows - 1) * kCell;
        if (a.x < MazeLeft() || a.x > right || a.y < MazeTop() || a.y > bottom) {
            Breach("inside-maze", where);
            continue;
        }
        long c = 0, r = 0;
        const double depth = grid.DeepestOverlap(a.x, a.y, c, r);
        if (depth > a.reach)
            Breach("block-overlap", where + Format(" is %.2f px into the block (%ld, %ld)", depth, c, r));
        const auto [c0, c1] = Span(a.x, MazeLeft(), a.reach);
        const auto [r0, r1] = Span(a.y, MazeTop(), a.reach);
        if (c0 != c1 && r0 != r1)
            Breach("on-floor", where + " is off the grid both ways");
        else if (!grid.Floor(c0, r0) || !grid.Floor(c1, r1))
            Breach("on-floor", where + Format(" spans the cells (%ld, %ld) to (%ld, %ld), not all floor", c0, r0,
                                              c1, r1));
    }
}

void PlayInvariants::CheckStandstill(double seconds) {
    const double x = enemy->X(), y = enemy->Y();
    // Held by the wall, or shut in by it: the wall's two seconds are the enemy's to wait.
    if (EnInWall || showW) {
        standing_ = false;
        return;
    }
    if (!standing_ || std::abs(x - standX_) > kStandingReach || std::abs(y - standY_) > kStandingReach) {
        standing_ = true;
        standX_ = x, standY_ = y, standFor_ = 0;
        return;
    }
    standFor_ += seconds;
    if (standFor_ > kLongestStandstill) {
        Breach("enemy-standstill",
               Format("the enemy has stood at (%.2f, %.2f), cell (%d, %d), dir \"%s\", for %.2f s", x - originX,
                      y - originY, enemy->cellX, enemy->cellY, enemy->dir.c_str(), standFor_));
        standFor_ = 0;
    }
}

void PlayInvariants::CheckCatch(double seconds) {
    const bool gameOn = !MainMenuE && !gameover2 && !gameover;
    if (!gameOn || player.Usable()) {
        caught_ = false;
        return;
    }
    if (!caught_) {
        caught_ = true;
        caughtFor_ = 0;
        if (!playerDied)
            Breach("runner-visible", "the runner is gone without a catch");
        return;
    }
    if (!paused)
        caughtFor_ += seconds;
    if (caughtFor_ > kLongestCatch) {
        Breach("catch-leads-on", Format("%.2f s after the catch neither a new runner nor the banner", caughtFor_));
        caughtFor_ = 0;
    }
}

void PlayInvariants::CheckTail() {
    for (int i = 0; i < kTailSegments; ++i) {
        const SpriteRef<THvost>& segment = hvosts[static_cast<size_t>(i)];
        if (!segment.Usable() || !segment->Visible || segment->X() == kParkedBlockPosition)
            continue;
        const std::pair<int, int> cell{CellOf(segment->X(), originX), CellOf(segment->Y(), originY)};
        if (!enemyCells_.contains(cell))
            Breach("tail-on-way", Format("segment %d shows on the cell (%d, %d), which the enemy never passed", i,
                                         cell.first, cell.second));
    }
}

void PlayInvariants::CheckBackground() {
    // The opaque layer: its three sprites side by side must cover the whole screen.
    std::vector<std::pair<double, double>> spans;
    for (const SpriteRef<TFon>& layer : fonSprites) {
        if (!layer.Usable())
            continue;
        if (layer->Y() > 0 || layer->Y() + layer->Height() < screenH)
            Breach("background", Format("a background sprite spans the rows %.1f to %.1f of %d", layer->Y(),
                                        layer->Y() + layer->Height(), screenH));
        spans.emplace_back(layer->X(), layer->X() + layer->Width());
    }
    // A world without the form's backgrounds (the actors' tests) has nothing to cover the screen with.
    if (spans.empty())
        return;
    std::sort(spans.begin(), spans.end());
    double covered = 0;
    for (const auto& [from, to] : spans) {
        if (from > covered)
            break;
        covered = std::max(covered, to);
    }
    if (covered < screenW)
        Breach("background", Format("the background covers the columns 0 to %.1f of %d only", covered, screenW));
}

void PlayInvariants::Breach(const char* rule, const std::string& detail) {
    if (counts_[rule]++ < kKeptBreaches)
        breaches_.push_back({frame_, rule, detail});
}

std::string PlayInvariants::Report() const {
    std::string text;
    for (const auto& [rule, count] : counts_) {
        text += Format("%s: %d frames", rule.c_str(), count);
        for (const PlayBreach& b : breaches_)
            if (b.rule == rule) {
                text += Format(", first after frame %d: ", b.frame) + b.detail;
                break;
            }
        text += "\n";
    }
    return text;
}

} // namespace vimbo::test
