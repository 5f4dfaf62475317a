// The playback window: the form on the real window takes its input from the recording and its time
// from the recorded frames, paced against the real clock at the chosen speed.
#include "app/ReplayWindow.hpp"

#include <algorithm>
#include <cmath>

#include "app/ProgramFiles.hpp"
#include "app/ReplayFiles.hpp"
#include "app/ReplayPlayback.hpp"
#include "engine/platform/Dialogs.hpp"
#include "engine/platform/Files.hpp"
#include "engine/platform/QuitSignals.hpp"
#include "engine/platform/SdlAudioDevice.hpp"
#include "engine/platform/VirtualKeys.hpp"
#include "engine/render/AdSetupForm.hpp"
#include "frontend/KeyboardInput.hpp"
#include "game/World.hpp"

namespace vimbo {

namespace {

constexpr int kDesignedClientWidth = 772;
constexpr int kDesignedClientHeight = 699;
constexpr int kSlowestSpeed = -2; // a quarter, as a power of two
constexpr int kFastestSpeed = 3;  // eight times
// However far behind the real clock the playback falls, one shown frame runs at most this many.
constexpr int kMostFramesPerShown = 256;

// The viewer's controls over the playback, and the hand-over to the player when it ends.
class ReplayViewer {
public:
    ReplayViewer(const Replay& replay, TForm1& form, ad::platform::MessageLoop& formLoop, ReplayTicks& ticks,
                 ad::platform::TickSource& real)
        : player_(replay, form, formLoop, [&ticks](uint32_t tick) { ticks.Set(tick); }), form_(form),
          formLoop_(formLoop), ticks_(ticks), real_(real) {
        // A recorded exit ends the playback, not the program.
        world.CloseForm = [this] { leaving_ = true; };
        Anchor();
    }

    bool Live() const { return live_; }
    ad::platform::MessageLoop::Handlers& FormHandlers() { return formLoop_.On(); }

    void Key(int key) {
        if (live_) {
            if (formLoop_.On().keyDown)
                formLoop_.On().keyDown(key);
            return;
        }
        if (key == ad::platform::vk::Escape)
            leaving_ = true;
        if (key == ad::platform::vk::Space)
            paused_ = !paused_;
        if (key == ad::platform::vk::Right)
            speed_ = std::min(speed_ + 1, kFastestSpeed);
        if (key == ad::platform::vk::Left)
            speed_ = std::max(speed_ - 1, kSlowestSpeed);
        Anchor();
    }

    void Idle(bool& done) {
        done = false;
        if (live_) {
            formLoop_.RunOnce();
            return;
        }
        if (paused_) {
            done = true; // nothing moves until the next key
            return;
        }
        const double speed = std::ldexp(1.0, speed_);
        const double due = static_cast<double>(anchorRecorded_) +
                           static_cast<double>(static_cast<uint32_t>(real_.Ticks() - anchorReal_)) * speed;
        int frames = 0;
        while (!leaving_ && frames < kMostFramesPerShown &&
               static_cast<double>(player_.RecordedMs()) <= due) {
            form_.SetPresenting(false);
            if (!player_.Step()) {
                leaving_ = true;
                break;
            }
            ++frames;
        }
        form_.SetPresenting(true);
        if (leaving_) {
            HandOver();
            return;
        }
        if (frames == 0) {
            real_.Sleep(1);
            return;
        }
        // Only the last of the frames run is shown.
        form_.Present();
    }

private:
    void Anchor() {
        anchorReal_ = real_.Ticks();
        anchorRecorded_ = player_.RecordedMs();
    }

    // The game goes on from its main menu with the player's input on the real clock.
    void HandOver() {
        live_ = true;
        TForm1* form = &form_;
        world.CloseForm = [form] { form->FormClose(); };
        ticks_.GoLive(real_);
        if (!form_.Closed())
            LeaveGame();
    }

    ReplayPlayer player_;
    TForm1& form_;
    ad::platform::MessageLoop& formLoop_;
    ReplayTicks& ticks_;
    ad::platform::TickSource& real_;
    int speed_ = 0;
    bool paused_ = false;
    bool leaving_ = false;
    bool live_ = false;
    uint32_t anchorReal_ = 0;
    uint64_t anchorRecorded_ = 0;
};

} // namespace

int RunReplayWindow(const std::string& path) {
    // Closing the terminal, a shutdown or Ctrl+C end the playback as closing its window does.
    ad::platform::CatchQuitSignals();
    ad::platform::SetApplicationTitle("vimbo 2");
    const ReplayReadResult read = LoadReplayFile(path);
    if (!read.replay) {
        ad::platform::ShowMessage(read.error);
        return 2;
    }
    const Replay& replay = *read.replay;
    ad::platform::TickSource& real = ad::platform::SystemTicks();
    std::string error;
    auto window = ad::platform::CreateSdlWindow(kDesignedClientWidth, kDesignedClientHeight, "Form1", error);
    if (!window) {
        ad::platform::ShowMessage("The game window could not be opened: " + error);
        return 1;
    }
    // The form's own loop takes its events from the recording only; the window's go to the viewer.
    ad::platform::HeadlessWindow recordedInput(kDesignedClientWidth, kDesignedClientHeight);
    ReplayTicks ticks(replay.Start().startTick);
    ad::platform::MessageLoop formLoop(recordedInput, ticks);
    ad::platform::SdlAudioDevice audio;
    ad::TAdSetupForm setupForm;
    // The installed game works in the player's data folder; the recording was read before.
    const ProgramPlace place = PrepareProgramFiles(ad::platform::ProgramFolder());
    TForm1 form(*window, formLoop, ticks, place.files, &audio, setupForm);
    form.PlayBack({replay.Start(), replay.Start().saveExisted ? path : std::string(), {}});
    if (const std::optional<int> exitCode = form.Open())
        return *exitCode;
    if (form.Recorder() == nullptr)
        return 1;
    window->Show();

    ReplayViewer viewer(replay, form, formLoop, ticks, real);
    ad::platform::MessageLoop loop(*window, real);
    loop.On().close = [&] {
        form.FormClose();
        loop.Terminate();
    };
    loop.On().keyDown = [&](int key) { viewer.Key(key); };
    loop.On().toggleFullScreen = [&] { form.ToggleFullScreen(); };
    // Once the player has the game, the window's input is the form's as in any game.
    loop.On().mouseMove = [&](int x, int y) {
        if (viewer.Live() && viewer.FormHandlers().mouseMove)
            viewer.FormHandlers().mouseMove(x, y);
    };
    loop.On().mouseDown = [&](ad::platform::MouseButton button, int x, int y) {
        if (viewer.Live() && viewer.FormHandlers().mouseDown)
            viewer.FormHandlers().mouseDown(button, x, y);
    };
    loop.On().padButton = [&](ad::platform::PadButton button) {
        if (viewer.Live() && viewer.FormHandlers().padButton)
            viewer.FormHandlers().padButton(button);
    };
    loop.On().padStick = [&](int x, int y) {
        if (viewer.Live() && viewer.FormHandlers().padStick)
            viewer.FormHandlers().padStick(x, y);
    };
    loop.On().padRemoved = [&] {
        if (viewer.Live() && viewer.FormHandlers().padRemoved)
            viewer.FormHandlers().padRemoved();
    };
    loop.On().idle = [&](bool& done) {
        viewer.Idle(done);
        if (form.Closed())
            loop.Terminate();
    };
    loop.Run();
    return 0;
}

} // namespace vimbo
