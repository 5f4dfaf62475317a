// The main form: start-up of the engine objects on the window, the per-frame idle handler, the
// window timer and the shutdown.
#pragma once

#include <memory>
#include <string>

#include "app/SaveFile.hpp"
#include "app/SdlAudioDevice.hpp"
#include "engine/platform/MessageLoop.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdDraws.hpp"
#include "engine/render/AdImages.hpp"
#include "engine/render/AdPerformanceCounter.hpp"
#include "engine/sprites/AdPixelTest.hpp"
#include "engine/sprites/AdSprites.hpp"
#include "game/Music.hpp"

namespace vimbo {

class TForm1 {
public:
    // The form draws on `window`; `loop` delivers its events; `programFolder` holds the plugins and
    // "adsettings.ini"; the engine log goes to `logFileName`; the values kept between runs to
    // `saveFileName`.
    TForm1(ad::platform::Window& window, ad::platform::MessageLoop& loop, std::string programFolder,
           std::string logFileName = "adlog.txt", std::string saveFileName = kSaveFileName);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Start-up. Afterwards ExitRequested() tells whether the process must end at once (no renderer
    // could be initialised); errors raised on the way propagate to the caller, which shows them and
    // keeps the window open without a running game.
    void FormCreate();
    // One frame; leaves Done false to be called again at once.
    void AppIdle(bool& Done);
    // Shutdown: frees the engine objects, then writes the "save" file if the renderer had started.
    // Runs once; no frame runs afterwards.
    void FormClose();
    void FormDestroy() {}
    void tmr1Timer() { MusicTimerTick(MediaPlayer1, *musicTimer_); }
    void MediaPlayer1Notify() {}

    bool ExitRequested() const { return exitRequested_; }
    bool Closed() const { return closed_; }

    std::unique_ptr<ad::TAdDraw> AdDraw;
    std::unique_ptr<ad::TAdPerformanceCounter> AdPerCounter;
    std::unique_ptr<ad::TAdImageList> AdImageList;
    std::unique_ptr<ad::TSpriteEngine> SpriteEngine;
    std::unique_ptr<ad::TAdSpritePixelCollisionTester> AdCollisionTester;
    int tmr1 = 0; // the window timer (music restart countdown), disabled until the music stops

    ad::platform::Window& Window() const { return window_; }
    const std::string& ProgramFolder() const { return programFolder_; }

private:
    void ChooseRenderer();
    void create_level();
    void StepFade();

    ad::platform::Window& window_;
    ad::platform::MessageLoop& loop_;
    std::string programFolder_;
    std::string logFileName_;
    std::string saveFileName_;
    std::unique_ptr<SdlAudioDevice> audio_;
    std::unique_ptr<LoopMusicTimer> musicTimer_;
    bool writeSaveOnClose_ = false;
    bool idleBound_ = false;
    bool exitRequested_ = false;
    bool closed_ = false;
};

// The one form of the program, set while it exists.
extern TForm1* Form1;

} // namespace vimbo
