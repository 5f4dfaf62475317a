// Playing recordings into the form, and the headless check of a recording.
#include "app/ReplayPlayback.hpp"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "app/ReplayFiles.hpp"
#include "app/StateChecksum.hpp"
#include "engine/platform/Dialogs.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdSetupDlg.hpp"
#include "frontend/Menus.hpp"

namespace vimbo {

ReplayPlayer::ReplayPlayer(const Replay& replay, TForm1& form, ad::platform::MessageLoop& loop,
                           ClockSetter setClock)
    : replay_(replay), form_(form), loop_(loop), setClock_(std::move(setClock)), cursor_(replay),
      tick_(replay.Start().startTick) {}

// The handlers the loop would call for the window's events: the form's own.
void ReplayPlayer::Dispatch(const ReplayEvent& event) {
    auto& on = loop_.On();
    switch (event.kind) {
    case ReplayEventKind::Key:
        if (on.keyDown)
            on.keyDown(event.key);
        break;
    case ReplayEventKind::PointerMove:
        if (on.mouseMove)
            on.mouseMove(event.x, event.y);
        break;
    case ReplayEventKind::PointerPress:
        if (on.mouseDown)
            on.mouseDown(ad::platform::MouseButton::Left, 0, 0);
        break;
    case ReplayEventKind::PadUnplugged:
        if (on.padRemoved)
            on.padRemoved();
        break;
    }
}

bool ReplayPlayer::Step() {
    if (done_)
        return false;
    if (form_.Closed() || !cursor_.Next(step_)) {
        done_ = true;
        return false;
    }
    for (const ReplayEvent& event : step_.events) {
        if (form_.Closed())
            break;
        Dispatch(event);
    }
    if (!step_.frameMs || form_.Closed()) {
        done_ = form_.Closed() || !step_.frameMs;
        return !done_;
    }
    tick_ += *step_.frameMs;
    recordedMs_ += *step_.frameMs;
    setClock_(tick_);
    loop_.RunOnce();
    if (step_.checkpoint && !form_.Closed() && form_.SpriteEngine) {
        if (StateChecksum(form_.SpriteEngine.get(), false) == *step_.checkpoint) {
            if (!firstDiverged_)
                lastMatched_ = cursor_.FramesRead();
        } else if (!firstDiverged_) {
            firstDiverged_ = cursor_.FramesRead();
        }
    }
    return true;
}

PlaybackOutcome ReplayPlayer::Outcome() const {
    PlaybackOutcome outcome;
    outcome.recorded = replay_.Summary();
    if (const GameRecorder* recorder = form_.Recorder()) {
        outcome.played = recorder->ClosingSummary() ? *recorder->ClosingSummary()
                                                    : recorder->Summary(form_.SpriteEngine.get());
    }
    outcome.firstDivergedFrame = firstDiverged_;
    outcome.lastMatchedFrame = lastMatched_;
    // A final state that differs with every checkpoint matching diverged after the last one.
    if (!firstDiverged_ && outcome.played != outcome.recorded)
        outcome.firstDivergedFrame = lastMatched_ + 1;
    return outcome;
}

namespace {

// The setup dialog confirmed at once: the check needs no choice from anyone.
class ConfirmingSetup : public ad::TAdSetupPresenter {
public:
    explicit ConfirmingSetup(const ReplayStart& start) : mode_{start.width, start.height, 32, 60} {}
    std::vector<ad::platform::ScreenMode> ScreenModes() override { return {mode_}; }
    ad::platform::ScreenMode DesktopMode() override { return mode_; }
    bool ShowModal(ad::TAdSetupDialog&) override { return true; }

private:
    ad::platform::ScreenMode mode_;
};

void PrintSummary(const char* what, const ReplaySummary& s) {
    std::printf("%s: score %" PRId32 ", level %" PRId32 ", lives %" PRId32 ", %" PRIu32
                " frames, state checksum %016" PRIx64 "\n",
                what, s.score, s.level, s.lives, s.frames, s.checksum);
}

} // namespace

int CheckReplay(const std::string& path, const std::string& programFolder) {
    const ReplayReadResult read = LoadReplayFile(path);
    if (!read.replay) {
        std::fprintf(stderr, "%s\n", read.error.c_str());
        return 2;
    }
    const Replay& replay = *read.replay;
    // Message boxes would wait for someone to close them; the check reports them and goes on.
    ad::platform::SetMessageHandler([](const std::string&, const std::string& text) {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    });
    ad::platform::HeadlessWindow window(772, 699);
    ReplayTicks ticks(replay.Start().startTick);
    ad::platform::MessageLoop loop(window, ticks);
    ConfirmingSetup setup(replay.Start());
    // The run starts as a fresh program's would, whatever ran in this process before.
    ResetFrontEndState();
    FormFiles files(programFolder);
    // The engine's log of the check is not the player's "adlog.txt", which may come with the replay.
    const std::filesystem::path log = std::filesystem::temp_directory_path() /
                                      ("vimbo2-replay-check-" + std::to_string(::getpid()) + ".txt");
    files.log = log.string();
    struct RemoveLog {
        std::filesystem::path path;
        ~RemoveLog() {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    } removeLog{log};
    TForm1 form(window, loop, ticks, files, nullptr, setup);
    form.PlayBack({replay.Start(), replay.Start().saveExisted ? path : std::string(),
                   programFolder + "SoftwareAdPlugin.so"});
    try {
        form.FormCreate();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "The game could not start to play the replay: %s\n", e.what());
        return 2;
    }
    if (form.ExitRequested() || form.Recorder() == nullptr) {
        std::fprintf(stderr, "The game could not start to play the replay.\n");
        return 2;
    }
    ReplayPlayer player(replay, form, loop, [&ticks](uint32_t tick) { ticks.Set(tick); });
    while (player.Step()) {
        if (form.Particles)
            form.Particles->WaitForCalculations();
    }
    const PlaybackOutcome outcome = player.Outcome();
    PrintSummary("played  ", outcome.played);
    PrintSummary("recorded", outcome.recorded);
    std::error_code sizeError;
    const auto bytes = static_cast<double>(std::filesystem::file_size(path, sizeError));
    const double minutes = static_cast<double>(player.RecordedMs()) / 60000.0;
    if (!sizeError && minutes > 0)
        std::printf("recording: %.0f bytes for %.1f s of play, %.0f bytes a minute\n", bytes, minutes * 60.0,
                    bytes / minutes);
    form.FormClose();
    ad::platform::SetMessageHandler(nullptr);
    if (outcome.Equal()) {
        std::printf("the replay ran to its end with the recorded state\n");
        return 0;
    }
    std::printf("the replay diverged at frame %" PRIu32 " (the state last matched after frame %" PRIu32 ")\n",
                *outcome.firstDivergedFrame, outcome.lastMatchedFrame);
    return 1;
}

} // namespace vimbo
