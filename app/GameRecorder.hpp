// The form's recorder: every input the form receives and every frame's time from the program's
// start, with checkpoints of the state; when a game ends its recording is kept on disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/ReplayFormat.hpp"
#include "engine/sprites/AdSprites.hpp"

namespace vimbo {

class GameRecorder {
public:
    // Records from `start`; keeps recordings in `folder` (see StoreGameReplay), or nowhere when it
    // is empty (a recording being played back is recorded again only to be compared).
    GameRecorder(const ReplayStart& start, std::string folder);

    void Event(const ReplayEvent& event);
    // A frame whose frame timer read `tick`.
    void Frame(uint32_t tick);
    // After each whole frame: a checkpoint every kReplayCheckpointInterval frames, the play's
    // values, and the recording kept when a game has just returned to the main menu. Returns what
    // went wrong keeping it ("" when nothing did).
    std::string AfterFrame(const ad::TSpriteEngine* engine);
    // The form closes: the recording is kept when a game was in progress. Returns as AfterFrame.
    std::string Closing(const ad::TSpriteEngine* engine);

    // The recording of the play so far, ending in the state `engine` holds now.
    ReplaySummary Summary(const ad::TSpriteEngine* engine) const;
    std::string Bytes(const ad::TSpriteEngine* engine) const;
    // The summary taken as the form closed, once it has.
    const std::optional<ReplaySummary>& ClosingSummary() const { return closing_; }
    uint32_t Frames() const { return writer_.Frames(); }
    int GamesKept() const { return gamesKept_; }

private:
    std::string Keep(const ad::TSpriteEngine* engine);

    ReplayWriter writer_;
    std::string folder_;
    uint32_t lastTick_;
    bool inGame_ = false;
    // The score, level and lives of the last frame of play: a game over puts the score back to 0
    // before the game returns to the menu.
    int32_t playScore_ = 0;
    int32_t playLevel_ = 0;
    int32_t playLives_ = 0;
    int gamesKept_ = 0;
    std::optional<ReplaySummary> closing_;
};

} // namespace vimbo
