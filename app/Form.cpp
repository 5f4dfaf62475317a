// The main form: start-up of the engine objects on the window, the per-frame idle handler, the
// window timer and the shutdown.
#include "app/Form.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/ImageLoading.hpp"
#include "engine/platform/Dialogs.hpp"
#include "engine/render/AdDLLLoader.hpp"
#include "engine/render/AdIniFile.hpp"
#include "engine/render/AdSetupSettings.hpp"
#include "game/Blocks.hpp"
#include "game/GameState.hpp"
#include "game/Sound.hpp"

namespace vimbo {

TForm1* Form1 = nullptr;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kMusicRestartIntervalMs = 1000;

} // namespace

TForm1::TForm1(ad::platform::Window& window, ad::platform::MessageLoop& loop, std::string programFolder,
               std::string logFileName, std::string saveFileName)
    : window_(window), loop_(loop), programFolder_(std::move(programFolder)), logFileName_(std::move(logFileName)),
      saveFileName_(std::move(saveFileName)) {
    Form1 = this;
    tmr1 = loop_.AddTimer(kMusicRestartIntervalMs, [this] { tmr1Timer(); });
    musicTimer_ = std::make_unique<LoopMusicTimer>(loop_, tmr1);
}

TForm1::~TForm1() {
    FormClose();
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate() {
    const SaveReadResult saved = LoadSaveFile(saveFileName_);
    if (saved.outcome == SaveReadOutcome::Damaged) ad::platform::ShowMessage(saved.message);
    AdPerCounter = std::make_unique<ad::TAdPerformanceCounter>(false);
    AdDraw = std::make_unique<ad::TAdDraw>(&window_, logFileName_);
    AdDraw->ApplicationTitle = ad::platform::ApplicationTitle();
    ChooseRenderer();
    if (!AdDraw->Initialize()) {
        ad::platform::ShowMessage(AdDraw->LastError);
        exitRequested_ = true;
        return;
    }
    writeSaveOnClose_ = true;
    create_level();
    audio_ = std::make_unique<SdlAudioDevice>();
    SetAudioDevice(audio_.get());
    StartMusic(MediaPlayer1);
}

// Takes the renderer and display settings stored in "adsettings.ini": the stored library if it is
// still a compatible one, else the first compatible library in the program's folder.
void TForm1::ChooseRenderer() {
    const ad::TAdIniFile ini(programFolder_ + ad::kAdSetupFileName);
    const ad::TAdSetupChoice choice = ad::ReadSetupChoice(ini);
    std::vector<std::string> plugins;
    ad::TAdDLLExplorer::GetPlugins(plugins, programFolder_);
    ad::ApplySetupChoice(*AdDraw, choice);
    const std::string path = ad::ChoosePluginPath(plugins, choice.Plugin);
    if (!path.empty()) AdDraw->SetDllName(path);
}

// The one-time build at start-up: game state, frame hook, images, sprite engine, collision tester.
// Frames run only once the whole build has succeeded, never on a half-built game.
void TForm1::create_level() {
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
    LoadImageCatalogue(*AdImageList, screenW, screenH);
    AdImageList->Restore();

    SpriteEngine = std::make_unique<ad::TSpriteEngine>(nullptr);
    SpriteEngine->SetSurface(AdDraw.get());
    AdCollisionTester = std::make_unique<ad::TAdSpritePixelCollisionTester>(AdDraw.get());
    screenW = SpriteEngine->SurfaceRect().right;
    screenH = SpriteEngine->SurfaceRect().bottom;

    window_.ShowSystemCursor(false);
    loop_.On().idle = [this](bool& done) { AppIdle(done); };
    idleBound_ = true;
}

void TForm1::AppIdle(bool& Done) {
    if (closed_ || !idleBound_ || !AdDraw || !AdDraw->CanDraw()) return;
    AdPerCounter->Calculate();
    AdDraw->ClearSurface(kWhite);
    AdDraw->BeginScene();
    AdDraw->SetOptions(AdDraw->Options() | ad::kAdOptionFrame);
    AdPerCounter->MaximumFrameRate = 500;
    SpriteEngine->Move(AdPerCounter->TimeGap / 1000.0);
    SpriteEngine->Draw();
    SpriteEngine->Dead();
    WatchMusic(MediaPlayer1, *musicTimer_);

    StepFade();

    AdDraw->EndScene();
    AdDraw->Flip();
    Done = false;
    AdDraw->SetOptions(AdDraw->Options() & ~ad::kAdOptionFrame);
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
    if (svetleet) Ireal += step;
    if (temneet) Ireal -= step;
    const auto v = static_cast<uint8_t>(std::clamp(std::trunc(Ireal), 0.0, 255.0));
    AdDraw->Scene()->SetAmbientColor(ad::Ad_ARGB(v, v, v, v));
}

void TForm1::FormClose() {
    if (closed_) return;
    closed_ = true;
    idleBound_ = false;
    MediaPlayer1.Stop();
    SetAudioDevice(nullptr);
    audio_.reset();
    loop_.On().idle = nullptr;
    SpriteEngine.reset();
    AdImageList.reset();
    AdPerCounter.reset();
    AdCollisionTester.reset();
    AdDraw.reset();
    if (writeSaveOnClose_) {
        const std::string failure = WriteSaveFile(saveFileName_);
        if (!failure.empty()) ad::platform::ShowMessage(failure);
    }
}

} // namespace vimbo
