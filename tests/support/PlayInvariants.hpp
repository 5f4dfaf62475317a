// What play must never do, checked on the game state after every frame: the runner and the enemy stay
// in the maze, on its floor and out of its blocks; the enemy never stands still for long unless the
// wall holds it; the runner never vanishes but through a catch, and a catch always leads on; the tail
// lies on the enemy's own way; the background covers the screen.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vimbo::test {

struct PlayBreach {
    int frame = 0;
    // The rule broken (one of PlayInvariants' rule names) and what the state showed.
    std::string rule;
    std::string detail;
};

class PlayInvariants {
public:
    // How far an actor may reach into a block: the runner stops one pixel short of it; the enemy's
    // early turns and one-pixel push-outs leave it this deep at 2 ms frames.
    static constexpr double kRunnerOverlap = 1.0;
    static constexpr double kEnemyOverlap = 4.0;
    // The longest the enemy may stand still without the wall holding it (it searches again after
    // half a second on a junction and takes its last route after a second and a half anywhere).
    static constexpr double kLongestStandstill = 2.0;
    // How far the enemy may waver while it counts as standing.
    static constexpr double kStandingReach = 2.0;
    // From a catch to the next runner or the game-over banner: the fade to black takes 1.28 s.
    static constexpr double kLongestCatch = 2.0;

    // Checks the state the frame that just ran left; `seconds` is how far that frame moved the game.
    void Check(double seconds);

    // Every breach, in order; the first kKeptBreaches of each rule in full.
    const std::vector<PlayBreach>& Breaches() const { return breaches_; }
    // Breaches by rule, all counted.
    const std::map<std::string, int>& Counts() const { return counts_; }
    int FramesChecked() const { return frames_; }
    int FramesInPlay() const { return framesInPlay_; }
    // A summary line per rule broken, or an empty text.
    std::string Report() const;

    static constexpr int kKeptBreaches = 5;

private:
    void CheckActors();
    void CheckStandstill(double seconds);
    void CheckCatch(double seconds);
    void CheckTail();
    void CheckBackground();
    void Breach(const char* rule, const std::string& detail);

    int frame_ = 0;
    int frames_ = 0;
    int framesInPlay_ = 0;
    std::vector<PlayBreach> breaches_;
    std::map<std::string, int> counts_;

    // The enemy's standstill: where it stood when it last moved, and for how long since.
    bool standing_ = false;
    double standX_ = 0, standY_ = 0, standFor_ = 0;
    // The catch that ended the runner, counted until play goes on.
    bool caught_ = false;
    double caughtFor_ = 0;
    // Cells the enemy stood on since the trail was last cleared.
    std::set<std::pair<int, int>> enemyCells_;
    bool lastStartPhase_ = true;
};

} // namespace vimbo::test
