// Recording play as the form runs it, and keeping finished games' recordings.
#include "app/GameRecorder.hpp"

#include "app/ReplayFiles.hpp"
#include "app/StateChecksum.hpp"
#include "game/GameState.hpp"

namespace vimbo {

GameRecorder::GameRecorder(const ReplayStart& start, std::string folder)
    : writer_(start), folder_(std::move(folder)), lastTick_(start.startTick), playScore_(score),
      playLevel_(level), playLives_(lives) {}

void GameRecorder::Event(const ReplayEvent& event) {
    writer_.Event(event);
}

void GameRecorder::Frame(uint32_t tick) {
    writer_.Frame(tick - lastTick_);
    lastTick_ = tick;
}

std::string GameRecorder::AfterFrame(const ad::TSpriteEngine* engine) {
    if (writer_.Frames() % kReplayCheckpointInterval == 0)
        writer_.Checkpoint(StateChecksum(engine, false));
    if (!MainMenuE && !gameover3) {
        playScore_ = score;
        playLevel_ = level;
        playLives_ = lives;
    }
    const bool wasInGame = inGame_;
    inGame_ = !MainMenuE;
    return wasInGame && !inGame_ ? Keep(engine) : std::string();
}

std::string GameRecorder::Closing(const ad::TSpriteEngine* engine) {
    if (closing_)
        return {};
    closing_ = Summary(engine);
    return inGame_ ? Keep(engine) : std::string();
}

ReplaySummary GameRecorder::Summary(const ad::TSpriteEngine* engine) const {
    return {writer_.Frames(), playScore_, playLevel_, playLives_, StateChecksum(engine, false)};
}

std::string GameRecorder::Bytes(const ad::TSpriteEngine* engine) const {
    return writer_.Bytes(Summary(engine));
}

std::string GameRecorder::Keep(const ad::TSpriteEngine* engine) {
    if (folder_.empty())
        return {};
    ++gamesKept_;
    return StoreGameReplay(folder_, Bytes(engine), playScore_);
}

} // namespace vimbo
