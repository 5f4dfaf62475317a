// The main form: start-up of the engine objects on the window, the per-frame idle handler, the
// keyboard and mouse events, the window timer and the shutdown.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/GameRecorder.hpp"
#include "app/ParticleEffects.hpp"
#include "app/ReplayFiles.hpp"
#include "app/SaveFile.hpp"
#include "app/StateDump.hpp"
#include "engine/platform/AudioDevice.hpp"
#include "engine/platform/MessageLoop.hpp"
#include "engine/platform/TickSource.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdDraws.hpp"
#include "engine/render/AdImages.hpp"
#include "engine/render/AdPerformanceCounter.hpp"
#include "engine/render/AdSetupDlg.hpp"
#include "engine/sprites/AdPixelTest.hpp"
#include "engine/sprites/AdSprites.hpp"
#include "frontend/GamepadInput.hpp"
#include "frontend/HudScreen.hpp"
#include "game/Music.hpp"
#include "game/Sound.hpp"

namespace vimbo {

// Where the form finds and keeps its files.
struct FormFiles {
    explicit FormFiles(std::string folder = {}) : programFolder(std::move(folder)) {}

    // Holds the plugins and "adsettings.ini".
    std::string programFolder;
    // Empty: no log file.
    std::string log = "adlog.txt";
    // The values kept between runs; its presence offers Continue. Empty: nothing is kept.
    std::string save = kSaveFileName;
    std::string dump = kDumpFileName;
    // The setup's choices; empty: "adsettings.ini" in the program folder.
    std::string settings;
    // False: the setup's choices are neither read nor kept (there is nowhere to keep them).
    bool keepSettings = true;
    // Where finished games' recordings are kept; empty: nowhere.
    std::string replays = kReplayFolder;
};

// Playing a recording back: the form starts from the recording's start instead of "save" and plays
// at its picture size; it writes none of the player's files and records only to compare.
struct FormPlayback {
    ReplayStart start;
    // The main menu offers Continue when the save file exists; in playback it looks for this file
    // instead: one that exists when the recording says "save" did, else "".
    std::string saveStandIn;
    // A renderer library to use instead of the setup's choice ("" keeps the choice), then in a
    // window, with the setup's choices not written back.
    std::string plugin;
};

class TForm1 {
public:
    // The form draws on `window`, takes its events from `loop`, times its frames by `ticks`, sounds
    // through `audio` (nullptr keeps the game silent) and shows the setup dialog through
    // `setupPresenter`. None is owned; the form lends the device to the game for its whole run.
    TForm1(ad::platform::Window& window, ad::platform::MessageLoop& loop, ad::platform::TickSource& ticks,
           FormFiles files, ad::platform::AudioDevice* audio, ad::TAdSetupPresenter& setupPresenter);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Plays a recording instead of the player's input; called before FormCreate.
    void PlayBack(FormPlayback playback) { playback_ = std::move(playback); }

    // Start-up. Afterwards ExitRequested() tells whether the process must end at once: the setup
    // dialog was cancelled, found no renderer plugin, or the renderer could not be initialised.
    // Other errors raised on the way propagate to the caller, which shows them and keeps the window
    // open without a running game.
    void FormCreate();
    // FormCreate for a program about to show the window: what stopped the start-up is shown to the
    // player. Answers the program's exit code when the window must not open (0: the setup was
    // cancelled, 1: the game could not start), nothing when it may.
    std::optional<int> Open();
    // One frame; leaves Done false to be called again at once.
    void AppIdle(bool& Done);
    // Whether frames are shown; a playback running several frames per shown one hides the others.
    void SetPresenting(bool presenting) { presenting_ = presenting; }
    // Shows the last frame drawn, when it was drawn without being shown.
    void Present();
    // Shutdown: frees the engine objects, then writes the "save" file if the renderer had started
    // (never over a "save" that could not be read at start). Runs once; no frame or event handler
    // runs afterwards, and the message loop ends.
    void FormClose();
    void FormDestroy() {}
    void FormKeyDown(int key);
    void FormMouseMove(int x, int y);
    void FormMouseDown();
    // A controller's button, as the key it stands for on the current screen.
    void FormPadButton(ad::platform::PadButton button);
    // Alt+Enter: the window's own full screen and back, without a restart.
    void ToggleFullScreen();
    void tmr1Timer() { MusicTimerTick(MediaPlayer1, *musicTimer_); }
    void MediaPlayer1Notify() {}

    bool ExitRequested() const { return exitRequested_; }
    // The user cancelled the setup dialog: a silent end, not a failure.
    bool SetupCancelled() const { return setupCancelled_; }
    bool Closed() const { return closed_; }

    std::unique_ptr<ad::TAdDraw> AdDraw;
    // Kept for the whole run once created, as the setup's found-plugin list lives on.
    std::unique_ptr<ad::TAdSetup> AdSetup;
    std::unique_ptr<ad::TAdPerformanceCounter> AdPerCounter;
    std::unique_ptr<ad::TAdImageList> AdImageList;
    std::unique_ptr<ad::TSpriteEngine> SpriteEngine;
    std::unique_ptr<ad::TAdSpritePixelCollisionTester> AdCollisionTester;
    // The four particle effects with their templates.
    std::unique_ptr<GameParticles> Particles;
    int tmr1 = 0; // the window timer (music restart countdown), disabled until the music stops

    ad::platform::Window& Window() const { return window_; }
    const FormFiles& Files() const { return files_; }
    // The recording of this run, from a successful start-up on (nullptr before).
    const GameRecorder* Recorder() const { return recorder_.get(); }

private:
    bool RunSetup();
    void StartRecording(uint64_t generatorState, bool saveExisted);
    void ApplyPlaybackStart();
    void Record(const ReplayEvent& event);
    void LogReplayProblem(const std::string& problem);
    bool InitializeRenderer();
    void create_level();
    void StepFade();
    void DrawFrameRate();
    // Events arrive only while a game runs on a finished build.
    bool Running() const { return !closed_ && idleBound_; }

    ad::platform::Window& window_;
    ad::platform::MessageLoop& loop_;
    ad::platform::TickSource& ticks_;
    FormFiles files_;
    ad::platform::AudioDevice* audio_;
    ad::TAdSetupPresenter& setupPresenter_;
    std::unique_ptr<LoopMusicTimer> musicTimer_;
    std::optional<FormPlayback> playback_;
    std::unique_ptr<GameRecorder> recorder_;
    bool presenting_ = true;
    // What the rules ask of the screen, answered by the front end.
    HudScreen screen_;
    StickKeys stick_;
    bool fullScreen_ = false;
    bool saveWritable_ = true;
    bool writeSaveOnClose_ = false;
    bool idleBound_ = false;
    bool exitRequested_ = false;
    bool setupCancelled_ = false;
    bool closed_ = false;
};

// The one form of the program, set while it exists.
extern TForm1* Form1;

} // namespace vimbo
