// Drives the whole game headless for scenario tests: the main form on the software renderer in a
// temporary working folder, a hand-driven clock, a seeded random generator, scripted input through
// the window's event queue, a recording audio device, and read access to the state and the dump.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Form.hpp"
#include "engine/platform/MessageLoop.hpp"
#include "engine/platform/TickSource.hpp"
#include "engine/platform/Window.hpp"
#include "engine/sprites/AdSprites.hpp"
#include "tests/support/RecordingAudioDevice.hpp"
#include "tests/support/ScriptedSetup.hpp"

namespace vimbo::test {

struct GameDriverOptions {
    // The text of "save" before start-up; without one the run is a first run (no file).
    std::optional<std::string> saveText;
    uint32_t seed = 1;
    // The text of "adsettings.ini" before start-up; without one the setup's defaults hold (a
    // 1024 x 768 window).
    std::optional<std::string> settingsText{};
    // Draws with the OpenGL renderer in a real window instead of the software one in memory; the
    // input stays scripted. Start-up throws std::runtime_error without a display.
    bool openGL = false;
    // Draws in a real window with the software renderer too, as a player sees it.
    bool onScreen = false;
    // Runs on the system's clock: frames take the time they really take (the renderer's pacing
    // included) and Frame's length is ignored. For benchmarks; a test keeps to the hand-driven clock.
    bool realTime = false;
    // Plays this recording instead of starting as a fresh run: the start-up's frames are then the
    // recording's, run by a ReplayPlayer on Loop() with SetClock.
    std::optional<FormPlayback> playback{};
};

class GameDriver {
public:
    // A frame time whose runner step (10 px at 400 px/s) is whole but does not divide the 24-pixel
    // cell, so runs pass openings between steps as they do at real frame rates.
    static constexpr uint32_t kFrameMs = 25;

    // Starts the game: the form's start-up, then the frame timer's first frames, after which every
    // kFrameMs frame moves the game by exactly kFrameMs (the timer smooths its frame times, so a
    // steady frame time only shows through after a settling frame).
    explicit GameDriver(GameDriverOptions options = {});
    // Closes the form if it is still open, then puts the working folder and every global back.
    ~GameDriver();
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    // Sets the clock to `tick` for the next turn (a recording's frame time).
    void SetClock(uint32_t tick);
    ad::platform::MessageLoop& Loop() { return loop_; }

    // One turn of the message loop `ms` milliseconds after the last: queued input, timers, a frame.
    void Frame(uint32_t ms = kFrameMs);
    void Frames(int count, uint32_t ms = kFrameMs);
    // Runs frames until `done` holds (checked before each frame); false if it still does not hold
    // after `maxFrames`.
    bool RunUntil(const std::function<bool()>& done, int maxFrames, uint32_t ms = kFrameMs);

    // Input waits in the window's queue and reaches the form at the start of the next turn.
    void QueueKey(int key);
    void QueueMouseMove(int x, int y);
    void QueueClick(ad::platform::MouseButton button = ad::platform::MouseButton::Left);
    // The same, each followed by one frame.
    void Key(int key);
    void MoveMouse(int x, int y);
    void Click(ad::platform::MouseButton button = ad::platform::MouseButton::Left);
    // A controller: a button, the left stick moved to (x, y) (-32768..32767 each), the controller
    // unplugged, and Alt+Enter; each followed by one frame.
    void Pad(ad::platform::PadButton button);
    void Stick(int x, int y);
    void UnplugPad();
    void ToggleFullScreen();
    // Points at the middle of the sprite and rests there for a second move: the menus highlight
    // from the hover that the frame after the first move found under the pointer.
    void HoverOver(const ad::TSprite& sprite);

    // Enter on the main menu, then frames until the new game is in play at full brightness.
    ::testing::AssertionResult StartNewGame(int maxFrames = 300);
    // Keeps the enemy on its start cell in the far corner, for scenarios of the runner alone.
    void HoldEnemy();

    // False once the form has closed and the message loop has ended.
    bool Running() const { return !loop_.Terminated(); }
    TForm1& Form() { return *form_; }
    ad::platform::HeadlessWindow& Window() { return window_; }
    RecordingAudioDevice& Audio() { return audio_; }
    // Texts of the message boxes shown so far.
    const std::vector<std::string>& Messages() const { return messages_; }
    // The sprite engine; only while the form runs.
    ad::TSpriteEngine& Engine() const;
    // Sprites of exactly class T in the engine (0 once the form has closed).
    template <typename T> int Count() const {
        return form_->SpriteEngine ? form_->SpriteEngine->CountOfClass<T>() : 0;
    }

    // The working folder of the run, with a trailing '/'.
    const std::string& Folder() const { return environment_.folder; }
    bool FileExists(const std::string& name) const;
    // A file of the working folder as lines without their line ends; empty if it does not exist.
    std::vector<std::string> FileLines(const std::string& name) const;
    // The last diagnostic dump as label -> value; empty if none was written.
    std::map<std::string, std::string> Dump() const;
    bool DumpWritten() const;

    // How far the runner moves in one kFrameMs frame.
    static double RunnerStep();

private:
    // Everything global the run changes, set up first and restored last, even when start-up throws.
    struct Environment {
        Environment(GameDriver& driver, const GameDriverOptions& options);
        ~Environment();
        Environment(const Environment&) = delete;
        Environment& operator=(const Environment&) = delete;

        std::string folder;
        std::string previousDirectory;
    };

    std::vector<std::string> messages_;
    Environment environment_;
    ad::platform::HeadlessWindow window_{772, 699};
    ad::platform::ManualTicks ticks_{1000};
    // The hand-driven clock, or the system's for a run in real time.
    ad::platform::TickSource& clock_;
    ad::platform::MessageLoop loop_{window_, clock_};
    RecordingAudioDevice audio_;
    // Confirms the stored setup choices: the game starts in a 1024 x 768 window.
    ScriptedSetupPresenter setup_;
    // The real window the renderer draws in (OpenGL, or on screen); the loop still takes its events
    // from window_.
    std::unique_ptr<ad::platform::Window> screen_;
    std::unique_ptr<TForm1> form_;
    int pointerX_ = 0;
    int pointerY_ = 0;
};

} // namespace vimbo::test
