// The headless game driver: the form's run in a temporary working folder, with the clock, the input
// and the globals under the test's control.
#include "tests/support/GameDriver.hpp"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/ParticleEffects.hpp"
#include "engine/platform/Dialogs.hpp"
#include "engine/platform/Random.hpp"
#include "engine/platform/VirtualKeys.hpp"
#include "frontend/Menus.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "game/World.hpp"
#include "tests/support/DisplayTests.hpp"
#include "tests/support/HeadlessSurface.hpp"
#include "tests/support/TestPaths.hpp"

namespace vimbo::test {

namespace {

constexpr double kRunnerSpeed = 400.0;
// The first frame of a fresh frame timer counts 1 ms and the second none; the third is the first
// that is measured, and it enters the smoothing alone, weighted 1 against the previous 0 weighted 20.
constexpr uint32_t kSettlingFrameMs = 21 * GameDriver::kFrameMs;

} // namespace

GameDriver::Environment::Environment(GameDriver& driver, const GameDriverOptions& options)
    : folder(MakeTempFolder("scenario")), previousDirectory(std::filesystem::current_path().string()) {
    // Every run starts as a fresh process would.
    ResetFrontEndState();
    if (options.openGL)
        std::filesystem::create_symlink(OpenGLPluginPath(), folder + "OpenGLAdPlugin.so");
    else
        std::filesystem::create_symlink(SoftwarePluginPath(), folder + "SoftwareAdPlugin.so");
    if (options.saveText)
        std::ofstream(folder + "save", std::ios::binary) << *options.saveText;
    if (options.settingsText)
        std::ofstream(folder + "adsettings.ini", std::ios::binary) << *options.settingsText;
    // "save", "inwards.txt" and "./music" are the game's names relative to where it runs.
    std::filesystem::current_path(folder);
    ad::platform::SetRandSeed(options.seed);
    ad::platform::SetMessageHandler(
        [&driver](const std::string&, const std::string& text) { driver.messages_.push_back(text); });
}

GameDriver::Environment::~Environment() {
    ad::platform::SetMessageHandler(nullptr);
    std::error_code ignored;
    std::filesystem::current_path(previousDirectory, ignored);
    std::filesystem::remove_all(folder, ignored);
    ResetFrontEndState();
}

GameDriver::GameDriver(GameDriverOptions options)
    : environment_(*this, options),
      clock_(options.realTime ? ad::platform::SystemTicks()
                              : static_cast<ad::platform::TickSource&>(ticks_)) {
    if (options.openGL || options.onScreen) {
        std::string error;
        screen_ = ad::platform::CreateSdlWindow(window_.ClientWidth(), window_.ClientHeight(), "Form1", error);
        if (!screen_)
            throw std::runtime_error("no display: " + error);
        screen_->Show();
    }
    ad::platform::Window& formWindow = screen_ ? *screen_ : window_;
    form_ =
        std::make_unique<TForm1>(formWindow, loop_, clock_, FormFiles(environment_.folder), &audio_, setup_);
    if (options.playback) {
        form_->PlayBack(*options.playback);
        form_->FormCreate();
        return;
    }
    form_->FormCreate();
    Frame();
    Frame();
    Frame(kSettlingFrameMs);
}

GameDriver::~GameDriver() {
    // Closing writes "save" into the working folder, which must still be the run's.
    form_.reset();
}

void GameDriver::Frame(uint32_t ms) {
    if (&clock_ == &ticks_)
        ticks_.Advance(ms);
    loop_.RunOnce();
    // The frame timer's sleeps have moved the clock already; kept, they would pile up in long runs.
    ticks_.ClearSleeps();
    // Whether a particle worker has finished by the next frame depends on the machine's load; waiting
    // here makes every frame take the result of the one before, so runs repeat exactly.
    if (form_ && form_->Particles)
        form_->Particles->WaitForCalculations();
}

void GameDriver::SetClock(uint32_t tick) {
    ticks_.Set(tick);
    ticks_.ClearSleeps();
}

void GameDriver::Frames(int count, uint32_t ms) {
    for (int i = 0; i < count; ++i)
        Frame(ms);
}

bool GameDriver::RunUntil(const std::function<bool()>& done, int maxFrames, uint32_t ms) {
    for (int i = 0; i < maxFrames; ++i) {
        if (done())
            return true;
        Frame(ms);
    }
    return done();
}

void GameDriver::QueueKey(int key) {
    window_.PushEvent({ad::platform::EventKind::KeyDown, key});
}

void GameDriver::QueueMouseMove(int x, int y) {
    pointerX_ = x;
    pointerY_ = y;
    window_.PushEvent({ad::platform::EventKind::MouseMove, 0, x, y});
}

void GameDriver::QueueClick(ad::platform::MouseButton button) {
    window_.PushEvent({ad::platform::EventKind::MouseDown, 0, pointerX_, pointerY_, button});
}

void GameDriver::Key(int key) {
    QueueKey(key);
    Frame();
}

void GameDriver::Pad(ad::platform::PadButton button) {
    ad::platform::WindowEvent event{ad::platform::EventKind::PadButton};
    event.pad = button;
    window_.PushEvent(event);
    Frame();
}

void GameDriver::Stick(int x, int y) {
    window_.PushEvent({ad::platform::EventKind::PadStick, 0, x, y});
    Frame();
}

void GameDriver::UnplugPad() {
    window_.PushEvent({ad::platform::EventKind::PadRemoved});
    Frame();
}

void GameDriver::ToggleFullScreen() {
    window_.PushEvent({ad::platform::EventKind::ToggleFullScreen});
    Frame();
}

void GameDriver::MoveMouse(int x, int y) {
    QueueMouseMove(x, y);
    Frame();
}

void GameDriver::Click(ad::platform::MouseButton button) {
    QueueClick(button);
    Frame();
}

void GameDriver::HoverOver(const ad::TSprite& sprite) {
    const int x = static_cast<int>(sprite.X() + sprite.Width() / 2);
    const int y = static_cast<int>(sprite.Y() + sprite.Height() / 2);
    MoveMouse(x, y);
    MoveMouse(x + 1, y);
}

::testing::AssertionResult GameDriver::StartNewGame(int maxFrames) {
    if (!MainMenuE)
        return ::testing::AssertionFailure() << "not on the main menu";
    Key(ad::platform::vk::Return);
    const bool started = RunUntil(
        [] { return !MainMenuE && Ireal >= 255 && !svetleet && !temneet && player.Usable(); }, maxFrames);
    if (started)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "no game in play after " << maxFrames << " frames: MainMenuE=" << MainMenuE
           << " tmrNewGame=" << tmrNewGame << " Ireal=" << Ireal << " messages=" << messages_.size();
}

void GameDriver::HoldEnemy() {
    if (enemy)
        enemy->CanMove = false;
}

ad::TSpriteEngine& GameDriver::Engine() const {
    return *form_->SpriteEngine;
}

bool GameDriver::FileExists(const std::string& name) const {
    return std::filesystem::exists(environment_.folder + name);
}

std::vector<std::string> GameDriver::FileLines(const std::string& name) const {
    std::ifstream file(environment_.folder + name, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::map<std::string, std::string> GameDriver::Dump() const {
    std::map<std::string, std::string> values;
    for (const std::string& line : FileLines(kDumpFileName)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

bool GameDriver::DumpWritten() const {
    return FileExists(kDumpFileName);
}

double GameDriver::RunnerStep() {
    return kRunnerSpeed * kFrameMs / 1000.0;
}

} // namespace vimbo::test
