// Playing a recording into the form: the recorded input through the message loop's handlers, each
// frame at its recorded time, and the state compared with the recording's checkpoints as it goes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/Form.hpp"
#include "app/ReplayFormat.hpp"
#include "engine/platform/MessageLoop.hpp"
#include "engine/platform/TickSource.hpp"

namespace vimbo {

// The recording's clock: the player sets it to each frame's recorded tick, and sleeps pass no time;
// once live, it runs on a real clock from where the recording left it.
class ReplayTicks : public ad::platform::TickSource {
public:
    explicit ReplayTicks(uint32_t start) : now_(start) {}
    uint32_t Ticks() override { return live_ != nullptr ? now_ + (live_->Ticks() - liveFrom_) : now_; }
    void Sleep(uint32_t milliseconds) override {
        if (live_ != nullptr)
            live_->Sleep(milliseconds);
    }
    void Set(uint32_t now) { now_ = now; }
    void GoLive(ad::platform::TickSource& real) {
        live_ = &real;
        liveFrom_ = real.Ticks();
    }

private:
    uint32_t now_;
    ad::platform::TickSource* live_ = nullptr;
    uint32_t liveFrom_ = 0;
};

// Where a playback ended and how it compares with the recording.
struct PlaybackOutcome {
    ReplaySummary recorded;
    ReplaySummary played;
    // The first checkpoint frame whose state differed from the recording's.
    std::optional<uint32_t> firstDivergedFrame;
    // The frame after which the last checkpoint still matched (0: none did).
    uint32_t lastMatchedFrame = 0;
    bool Equal() const { return !firstDivergedFrame && played == recorded; }
};

class ReplayPlayer {
public:
    // Sets the form's clock to a tick.
    using ClockSetter = std::function<void(uint32_t tick)>;

    // Plays `replay` into `form`, whose message loop is `loop` (its events come from nowhere else)
    // and whose clock `setClock` sets. The form must have started with the recording's playback.
    ReplayPlayer(const Replay& replay, TForm1& form, ad::platform::MessageLoop& loop, ClockSetter setClock);

    // Runs the next recorded frame with the input before it (or the input after the last frame);
    // false once the recording is done or the form has closed.
    bool Step();
    bool Done() const { return done_; }
    uint32_t FramesRun() const { return cursor_.FramesRead(); }
    // The recorded time played so far, in milliseconds.
    uint64_t RecordedMs() const { return recordedMs_; }
    const std::optional<uint32_t>& FirstDivergedFrame() const { return firstDiverged_; }

    // The outcome so far (the whole one once Done).
    PlaybackOutcome Outcome() const;

private:
    void Dispatch(const ReplayEvent& event);

    const Replay& replay_;
    TForm1& form_;
    ad::platform::MessageLoop& loop_;
    ClockSetter setClock_;
    Replay::Cursor cursor_;
    ReplayStep step_;
    uint32_t tick_;
    uint64_t recordedMs_ = 0;
    uint32_t lastMatched_ = 0;
    std::optional<uint32_t> firstDiverged_;
    bool done_ = false;
};

// The headless check: the recording played without a window on the software renderer found in
// `programFolder`, as fast as it runs; prints the play's final score, level and lives and the state's
// checksum beside the recorded ones. 0 when it ran to its end with the recorded final state, 1 when
// it diverged, 2 when the file is unreadable or the game could not start.
int CheckReplay(const std::string& path, const std::string& programFolder);

} // namespace vimbo
