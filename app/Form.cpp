// The main form: start-up of the engine objects on the window, the per-frame idle handler, the
// keyboard and mouse events, the window timer and the shutdown.
#include "app/Form.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

#include "app/ImageLoading.hpp"
#include "engine/platform/Dialogs.hpp"
#include "engine/platform/Random.hpp"
#include "engine/platform/VirtualKeys.hpp"
#include "engine/render/AdCanvas.hpp"
#include "engine/render/AdSetupSettings.hpp"
#include "frontend/Backgrounds.hpp"
#include "frontend/KeyboardInput.hpp"
#include "frontend/Menus.hpp"
#include "frontend/MouseInput.hpp"
#include "game/Blocks.hpp"
#include "game/Effects.hpp"
#include "frontend/GameFlow.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "game/World.hpp"

namespace vimbo {

TForm1* Form1 = nullptr;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kMusicRestartIntervalMs = 1000;

} // namespace

TForm1::TForm1(ad::platform::Window& window, ad::platform::MessageLoop& loop, ad::platform::TickSource& ticks,
               FormFiles files, ad::platform::AudioDevice* audio, ad::TAdSetupPresenter& setupPresenter)
    : window_(window), loop_(loop), ticks_(ticks), files_(std::move(files)), audio_(audio),
      setupPresenter_(setupPresenter) {
    Form1 = this;
    tmr1 = loop_.AddTimer(kMusicRestartIntervalMs, [this] { tmr1Timer(); });
    musicTimer_ = std::make_unique<LoopMusicTimer>(loop_, tmr1);
}

TForm1::~TForm1() {
    FormClose();
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::FormCreate() {
    // A recording starts from the generator as the run found it, before anything draws from it.
    if (playback_)
        ad::platform::ProcessRandom().SetState(playback_->start.generatorState);
    const uint64_t generatorState = ad::platform::ProcessRandom().State();
    bool saveExisted = false;
    if (playback_) {
        ApplyPlaybackStart();
    } else {
        const SaveReadResult saved = LoadSaveFile(files_.save);
        if (!saved.message.empty())
            ad::platform::ShowMessage(saved.message);
        // The player was told once that this run cannot be kept there; the file stays as it is.
        saveWritable_ = saved.outcome != SaveReadOutcome::Untouchable && !files_.save.empty();
        saveExisted = saved.outcome != SaveReadOutcome::Missing;
    }
    AdPerCounter = std::make_unique<ad::TAdPerformanceCounter>(false, ticks_);
    // The renderer paces its frames on the frame timer's clock.
    AdDraw = std::make_unique<ad::TAdDraw>(&window_, files_.log, ticks_);
    AdDraw->ApplicationTitle = ad::platform::ApplicationTitle();
    if (!RunSetup()) {
        exitRequested_ = true;
        return;
    }
    if (playback_) {
        // The maze's place on the screen follows the picture size: a recording plays at its own.
        AdDraw->DisplayWidth = playback_->start.width;
        AdDraw->DisplayHeight = playback_->start.height;
        if (!playback_->plugin.empty()) {
            AdDraw->SetDllName(playback_->plugin);
            AdDraw->DisplayMode = static_cast<int32_t>(ad::platform::DisplayMode::Window);
        }
    }
    if (!InitializeRenderer()) {
        ad::platform::ShowMessage(AdDraw->LastError);
        exitRequested_ = true;
        return;
    }
    writeSaveOnClose_ = saveWritable_ && !playback_;
    create_level();
    StartRecording(generatorState, saveExisted);
    if (audio_ != nullptr && !audio_->Ready())
        ReportAudioProblem(audio_->LastError());
    world.Audio = audio_;
    StartMusic(MediaPlayer1);
}

std::optional<int> TForm1::Open() {
    try {
        FormCreate();
    } catch (const std::exception& e) {
        // The window still opens, without a running game; closing it shuts down normally.
        ad::platform::ShowMessage(e.what());
    }
    if (ExitRequested())
        return SetupCancelled() ? 0 : 1;
    return std::nullopt;
}

// The values "save" would have given, as the recording found them.
void TForm1::ApplyPlaybackStart() {
    const ReplayStart& start = playback_->start;
    score = start.score;
    lives = start.lives;
    topscore = start.topscore;
    soundOn = start.soundOn;
    musicOn = start.musicOn;
    difficulty = start.difficulty;
    files_.save = playback_->saveStandIn;
    files_.replays.clear();
}

void TForm1::StartRecording(uint64_t generatorState, bool saveExisted) {
    ReplayStart start;
    if (playback_) {
        start = playback_->start;
    } else {
        start = {.generatorState = generatorState,
                 .score = score,
                 .lives = lives,
                 .topscore = topscore,
                 .difficulty = difficulty,
                 .soundOn = soundOn,
                 .musicOn = musicOn,
                 .saveExisted = saveExisted,
                 .width = screenW,
                 .height = screenH};
        // The frame timer counts its first frame from the tick it was made at.
        start.startTick = static_cast<uint32_t>(static_cast<int64_t>(AdPerCounter->LastTickCount));
    }
    recorder_ = std::make_unique<GameRecorder>(start, files_.replays);
}

void TForm1::Record(const ReplayEvent& event) {
    if (recorder_)
        recorder_->Event(event);
}

// A recording that cannot be kept must not stop the game; the log tells.
void TForm1::LogReplayProblem(const std::string& problem) {
    if (!problem.empty() && AdDraw)
        AdDraw->Log.AddEntry(ad::TAdLogType::Warning, "TForm1", problem);
}

// Starts the chosen renderer; when it cannot start here (no OpenGL on this machine, say), the other
// renderers found beside the program are tried in turn, so the game still opens. The setup's
// choice stays as it was. False when none starts; LastError then holds the chosen one's reason.
bool TForm1::InitializeRenderer() {
    if (AdDraw->Initialize())
        return true;
    const std::string chosen = AdDraw->DllName();
    const std::string reason = AdDraw->LastError;
    for (const std::string& entry : AdSetup ? AdSetup->Plugins() : std::vector<std::string>{}) {
        const std::string path = entry.substr(entry.find('=') + 1);
        if (path == chosen)
            continue;
        AdDraw->SetDllName(path);
        if (AdDraw->Initialize()) {
            AdDraw->Log.AddEntry(ad::TAdLogType::Warning, "TForm1",
                                 "The chosen renderer could not start; playing with " + path + " instead.");
            return true;
        }
    }
    AdDraw->LastError = reason;
    return false;
}

// The setup dialog chooses the renderer library and the display settings; false when the process must
// end: the user cancelled (silently), or there is no renderer to choose (said in a message box).
bool TForm1::RunSetup() {
    AdSetup = std::make_unique<ad::TAdSetup>(*AdDraw, setupPresenter_);
    AdSetup->PluginFolder = files_.programFolder;
    AdSetup->UseSettingsFile = files_.keepSettings;
    AdSetup->SettingsFileName =
        files_.settings.empty() ? files_.programFolder + ad::kAdSetupFileName : files_.settings;
    if (playback_ && !playback_->plugin.empty())
        AdSetup->UseSettingsFile = false;
    try {
        setupCancelled_ = !AdSetup->Execute();
        return !setupCancelled_;
    } catch (const ad::ESetupDlgNoPluginsFound& e) {
        ad::platform::ShowMessage(e.what());
        return false;
    }
}

// The one-time build at start-up: game state, images, sprite engine, collision tester, the idle star,
// the main menu, the backgrounds and the cursor. Frames and events run only once the whole build has
// succeeded, never on a half-built game.
void TForm1::create_level() {
    playerSpeed = 400.0;
    nastarte = true;
    blockIndex = 0;
    level = 1;
    playerDied = false;
    dumpArmed = false;
    score = 0;
    EnInWall = false;
    bgScroll = true;
    Ireal = 255.0;
    MainMenuE = true;

    AdImageList = std::make_unique<ad::TAdImageList>(AdDraw.get());
    Particles = std::make_unique<GameParticles>(*AdDraw, *AdImageList);
    LoadImageCatalogue(*AdImageList, screenW, screenH);
    AdImageList->Restore();

    SpriteEngine = std::make_unique<ad::TSpriteEngine>(nullptr);
    SpriteEngine->SetSurface(AdDraw.get());
    AdCollisionTester = std::make_unique<ad::TAdSpritePixelCollisionTester>(AdDraw.get());
    world.AdDraw = AdDraw.get();
    world.AdImageList = AdImageList.get();
    world.SpriteEngine = SpriteEngine.get();
    world.AdCollisionTester = AdCollisionTester.get();
    world.EatParticles = Particles->EatParticles();
    world.EnemyParticles = Particles->EnemyParticles();
    world.BonusParticles = Particles->BonusParticles();
    world.GlowParticles = Particles->GlowParticles();
    world.SaveFileName = files_.save;
    world.CloseForm = [this] { FormClose(); };
    world.Screen = &screen_;
    screenW = SpriteEngine->SurfaceRect().right;
    screenH = SpriteEngine->SurfaceRect().bottom;

    // The idle star waits outside the screen until the first game.
    auto* idleStar = new TStar(SpriteEngine.get());
    star = idleStar;
    idleStar->SetImage(AdImageList->Find("star"));
    idleStar->AnimActive = false;
    idleStar->SetX(screenW + 24);
    idleStar->SetY(screenH + 24);
    idleStar->SetZ(7);

    HudCreate();
    LevelFonCreate();
    Fon2Create();
    // The second pair finds the layers made and only lays them out again.
    LevelFonCreate();
    Fon2Create();
    CreateCursors();
    window_.ShowSystemCursor(false);

    loop_.On().idle = [this](bool& done) { AppIdle(done); };
    loop_.On().keyDown = [this](int key) { FormKeyDown(key); };
    loop_.On().mouseMove = [this](int x, int y) { FormMouseMove(x, y); };
    loop_.On().mouseDown = [this](ad::platform::MouseButton, int, int) { FormMouseDown(); };
    loop_.On().padButton = [this](ad::platform::PadButton button) { FormPadButton(button); };
    loop_.On().padStick = [this](int x, int y) {
        if (const int key = stick_.KeyFor(x, y))
            FormKeyDown(key);
    };
    loop_.On().padRemoved = [this] {
        if (!Running())
            return;
        Record({.kind = ReplayEventKind::PadUnplugged});
        PadUnplugged();
    };
    loop_.On().toggleFullScreen = [this] { ToggleFullScreen(); };
    // The picture keeps the surface's size whatever the window's; the mouse is mapped into it.
    window_.SetLogicalSize(screenW, screenH);
    fullScreen_ = AdDraw->DisplayMode == 2 || AdDraw->DisplayMode == 3;
    idleBound_ = true;
}

void TForm1::AppIdle(bool& Done) {
    if (!Running() || !AdDraw || !AdDraw->CanDraw())
        return;
    AdPerCounter->Calculate();
    if (recorder_)
        recorder_->Frame(static_cast<uint32_t>(static_cast<int64_t>(AdPerCounter->LastTickCount)));
    AdDraw->ClearSurface(kWhite);
    AdDraw->BeginScene();
    AdDraw->SetOptions(AdDraw->Options() | ad::kAdOptionFrame);
    AdPerCounter->MaximumFrameRate = 500;
    SpriteEngine->Move(AdPerCounter->TimeGap / 1000.0);
    ListenFlags();
    // A menu's exit item closes the form from inside the frame.
    if (closed_)
        return;
    SpriteEngine->Draw();
    SpriteEngine->Dead();
    WatchMusic(MediaPlayer1, *musicTimer_);

    StepFade();
    DrawFrameRate();
    // Particles go over all sprites.
    Particles->MoveAndDraw(*AdDraw, AdPerCounter->TimeGap / 1000.0);

    AdDraw->EndScene();
    if (presenting_)
        AdDraw->Flip();
    Done = false;
    AdDraw->SetOptions(AdDraw->Options() & ~ad::kAdOptionFrame);
    if (recorder_)
        LogReplayProblem(recorder_->AfterFrame(SpriteEngine.get()));
}

void TForm1::Present() {
    if (Running() && AdDraw && AdDraw->CanDraw())
        AdDraw->Flip();
}

// Moves the brightness towards the running fade and hands it to the scene; it never wraps.
void TForm1::StepFade() {
    if (Ireal >= 255.0 && svetleet) {
        Ireal = 255.0;
        svetleet = false;
    }
    if (Ireal <= 0.0 && temneet) {
        Ireal = 0.0;
        temneet = false;
    }
    const double step = AdPerCounter->TimeGap / 5.0;
    if (svetleet)
        Ireal += step;
    if (temneet)
        Ireal -= step;
    const auto v = static_cast<uint8_t>(std::clamp(std::trunc(Ireal), 0.0, 255.0));
    AdDraw->Scene()->SetAmbientColor(ad::Ad_ARGB(v, v, v, v));
}

void TForm1::DrawFrameRate() {
    if (!showFps || AdDraw->Canvas() == nullptr)
        return;
    AdDraw->Canvas()->TextOut(window_.ClientWidth() - 110, 20, "FPS " + std::to_string(AdPerCounter->FPS));
    AdDraw->Canvas()->TextOut(10, 40, "version 161017");
}

void TForm1::FormKeyDown(int key) {
    if (!Running())
        return;
    Record({.kind = ReplayEventKind::Key, .key = key});
    // A recording played back leaves the player's dump alone.
    if (key == ad::platform::vk::F1 && dumpArmed && !playback_) {
        const std::string failure = DumpState(SpriteEngine.get(), files_.dump);
        if (!failure.empty())
            ad::platform::ShowMessage(failure);
    }
    if (key == ad::platform::vk::F2)
        dumpArmed = true;
    HandleGameKey(key);
}

void TForm1::FormPadButton(ad::platform::PadButton button) {
    if (const int key = KeyForPadButton(button))
        FormKeyDown(key);
}

void TForm1::ToggleFullScreen() {
    if (!Running())
        return;
    fullScreen_ = !fullScreen_;
    ad::platform::DisplaySettings settings{screenW, screenH, AdDraw->DisplayBitDepth,
                                           ad::platform::DisplayMode::Window};
    if (fullScreen_)
        settings.mode = ad::platform::DisplayMode::ScreenSized;
    window_.ApplyDisplayMode(settings);
}

void TForm1::FormMouseMove(int x, int y) {
    if (!Running())
        return;
    Record({.kind = ReplayEventKind::PointerMove, .x = x, .y = y});
    HandleMouseMove(x, y);
}

void TForm1::FormMouseDown() {
    if (!Running())
        return;
    Record({.kind = ReplayEventKind::PointerPress});
    HandleMouseDown();
}

void TForm1::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    idleBound_ = false;
    if (recorder_)
        LogReplayProblem(recorder_->Closing(SpriteEngine.get()));
    MediaPlayer1.Stop();
    // The loop's handlers stay: one of them may be running this very close; they check Running().
    world = {};
    SpriteEngine.reset();
    ResetBlockState();
    AdImageList.reset();
    AdPerCounter.reset();
    Particles.reset();
    AdCollisionTester.reset();
    AdDraw.reset();
    if (writeSaveOnClose_) {
        const std::string failure = WriteSaveFile(files_.save);
        if (!failure.empty())
            ad::platform::ShowMessage(failure);
    }
    loop_.Terminate();
}

} // namespace vimbo
