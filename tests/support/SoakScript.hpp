// Seeded random play for long runs of the whole game: every frame gets a random length of 1 to 50 ms
// and, now and then, a key or a mouse action that makes sense on the screen shown (or, less often,
// one that does not). The script never lets an exit item close the game. In play it either wanders
// after the collectible or runs from the enemy round the maze's outer ring, asking for turns early.
#pragma once

#include <cstdint>

#include "engine/platform/Random.hpp"
#include "tests/support/GameDriver.hpp"

namespace vimbo::test {

// What the game went through under the script, counted from the state between frames.
struct SoakTally {
    int keys = 0;
    int mouseMoves = 0;
    int clicks = 0;
    int exitsCancelled = 0;
    int framesInMainMenu = 0;
    int framesInOptions = 0;
    int framesInPlay = 0;
    int framesPaused = 0;
    int framesGameOver = 0;
    int gamesBuilt = 0;
    int livesLost = 0;
    int gamesLost = 0;
    int levelChanges = 0;
    int wallsDropped = 0;
    int highestLevel = 0;
};

enum class PlayStyle {
    // Steers towards the collectible or anywhere, now and then drops the wall or pauses.
    Wander,
    // Runs the outer ring clockwise with the enemy behind, and asks for turns across it early, often
    // where the tail lies.
    Chase,
};

class SoakScript {
public:
    explicit SoakScript(uint32_t seed, PlayStyle style = PlayStyle::Wander) : random_(seed), style_(style) {}

    // Queues this frame's input (if any) on the driver and returns the frame's length in ms. The
    // caller runs the frame; call Observe afterwards.
    uint32_t Next(GameDriver& game);
    // Counts what the last frame changed.
    void Observe();

    const SoakTally& Tally() const { return tally_; }

private:
    enum class Screen { Fading, MainMenu, Options, Play, Paused, GameOver };
    static Screen Current();

    void MenuAction(GameDriver& game, bool options);
    void PlayAction(GameDriver& game);
    void ChaseAction(GameDriver& game);
    void PauseAction(GameDriver& game);
    void StrayAction(GameDriver& game);
    void Key(GameDriver& game, int key);
    // Activates the highlighted item, unless that is an exit: then moves the highlight instead.
    void Activate(GameDriver& game, int moveKey);
    void HoverRandomItem(GameDriver& game, bool options);
    void MoveAnywhere(GameDriver& game);
    int TowardsCollectible();
    int AlongTheRing();
    void Click(GameDriver& game);
    bool Chance(int percent) { return random_.Random(100) < percent; }

    ad::platform::RandomGenerator random_;
    PlayStyle style_;
    SoakTally tally_;
    bool lastPlay_ = false;
    bool lastMenu_ = true;
    bool lastGameOver_ = false;
    bool lastWall_ = false;
    int32_t lastLives_ = 0;
    int32_t lastLevel_ = 0;
};

} // namespace vimbo::test
