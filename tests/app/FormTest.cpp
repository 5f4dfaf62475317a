// The main form headless: start-up through the setup dialog on the software renderer, the frame, the
// fade and the shutdown.
#include "app/Form.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "engine/platform/Dialogs.hpp"
#include "game/GameState.hpp"
#include "game/Sound.hpp"
#include "game/World.hpp"
#include "tests/support/ChildRun.hpp"
#include "tests/support/HeadlessSurface.hpp"
#include "tests/support/RecordingAudioDevice.hpp"
#include "tests/support/ScriptedSetup.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        vimbo::ResetGameState();
        setenv("SDL_AUDIODRIVER", "dummy", 1); // the game opens its audio device; tests must not sound
        folder_ = vimbo::test::MakeTempFolder("form");
        ad::platform::SetMessageHandler(
            [this](const std::string&, const std::string& text) { messages_.push_back(text); });
    }
    void TearDown() override {
        form_.reset();
        ad::platform::SetMessageHandler(nullptr);
        std::filesystem::remove_all(folder_);
    }
    void InstallSoftwarePlugin() {
        std::filesystem::create_symlink(vimbo::test::SoftwarePluginPath(), folder_ + "SoftwareAdPlugin.so");
    }
    vimbo::FormFiles Files() const {
        vimbo::FormFiles files(folder_);
        files.log = folder_ + "adlog.txt";
        files.save = folder_ + "save";
        files.dump = folder_ + "inwards.txt";
        return files;
    }
    void Create(ad::platform::AudioDevice* audio = nullptr) {
        form_ = std::make_unique<vimbo::TForm1>(window_, loop_, ticks_, Files(), audio, setup_);
        form_->FormCreate();
    }
    // One turn of the message loop after `ms` milliseconds.
    void Frame(uint32_t ms) {
        ticks_.Advance(ms);
        loop_.RunOnce();
    }

    std::string folder_;
    std::vector<std::string> messages_;
    vimbo::test::ScriptedSetupPresenter setup_;
    ad::platform::HeadlessWindow window_{772, 699};
    ad::platform::ManualTicks ticks_{1000};
    ad::platform::MessageLoop loop_{window_, ticks_};
    std::unique_ptr<vimbo::TForm1> form_;
};


TEST_F(FormTest, WithoutAnyPluginSaysSoWithoutTheDialogAndAsksToExit) {
    Create();
    EXPECT_TRUE(form_->ExitRequested());
    EXPECT_FALSE(form_->SetupCancelled());
    EXPECT_EQ(setup_.Shown(), 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "No compatible graphic plugin library found.");
    form_.reset();
    EXPECT_FALSE(std::filesystem::exists(folder_ + "save"));
}

TEST_F(FormTest, AChosenRendererThatCannotStartGivesWayToAnotherOne) {
    InstallSoftwarePlugin();
    // Found first, so chosen: it loads but cannot start (as OpenGL on a machine without it).
    std::filesystem::create_symlink(std::string(VIMBO_FAKE_PLUGIN_DIR) + "/FailingFakeAdPlugin.so",
                                    folder_ + "FailingFakeAdPlugin.so");
    Create();
    ASSERT_FALSE(form_->ExitRequested()) << (messages_.empty() ? "" : messages_[0]);
    EXPECT_TRUE(messages_.empty()) << "the game opens without an error box";
    EXPECT_EQ(form_->AdDraw->DllName(), folder_ + "SoftwareAdPlugin.so");
    Frame(16);
    EXPECT_EQ(window_.PresentCount(), 1);
    std::ifstream log(folder_ + "adlog.txt");
    const std::string text{std::istreambuf_iterator<char>(log), {}};
    EXPECT_NE(text.find("playing with " + folder_ + "SoftwareAdPlugin.so instead"), std::string::npos)
        << text;
}

TEST_F(FormTest, LendsItsAudioDeviceToTheGameForTheRunAndTellsOnceWhyOneDidNotOpen) {
    InstallSoftwarePlugin();
    std::vector<std::string> told;
    vimbo::SetAudioMessageSink([&told](const std::string& message) { told.push_back(message); });
    vimbo::RecordingAudioDevice audio;
    audio.ready = false;
    Create(&audio);
    ASSERT_FALSE(form_->ExitRequested()) << (messages_.empty() ? "" : messages_[0]);
    EXPECT_EQ(vimbo::world.Audio, &audio);
    for (int frame = 0; frame < 30; ++frame)
        Frame(16);
    EXPECT_EQ(told, std::vector<std::string>{audio.LastError()});
    EXPECT_TRUE(audio.calls.empty()) << "nothing is asked of a device that did not open";
    form_.reset();
    EXPECT_EQ(vimbo::world.Audio, nullptr) << "the device is the form's; the game lets it go at close";
    vimbo::SetAudioMessageSink(nullptr);
    vimbo::ResetAudioProblems();
}

TEST_F(FormTest, WhenNoRendererStartsTheChosenOnesReasonIsShown) {
    std::filesystem::create_symlink(std::string(VIMBO_FAKE_PLUGIN_DIR) + "/FailingFakeAdPlugin.so",
                                    folder_ + "FailingFakeAdPlugin.so");
    Create();
    EXPECT_TRUE(form_->ExitRequested());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("could not be initialized"), std::string::npos) << messages_[0];
}

TEST_F(FormTest, CancellingTheSetupEndsSilentlyBeforeAnyFrameAndWritesNoSave) {
    InstallSoftwarePlugin();
    setup_.SetScript(vimbo::test::ScriptedSetupPresenter::CancelAtOnce);
    Create();
    EXPECT_EQ(setup_.Shown(), 1);
    EXPECT_TRUE(form_->ExitRequested());
    EXPECT_TRUE(form_->SetupCancelled());
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(form_->AdDraw->Initialized());
    EXPECT_EQ(form_->SpriteEngine, nullptr);
    Frame(16);
    EXPECT_EQ(window_.PresentCount(), 0);
    form_.reset();
    EXPECT_FALSE(std::filesystem::exists(folder_ + "save"));
}

TEST_F(FormTest, TheChoicesMadeInTheSetupShapeTheWindow) {
    InstallSoftwarePlugin();
    setup_.SetScript([](ad::TAdSetupDialog& dialog) {
        const auto list = dialog.Find(ad::TAdSetupControlRole::ResolutionList);
        const auto& items = dialog.Control(*list).Items;
        dialog.Select(*list,
                      static_cast<int>(std::find(items.begin(), items.end(), "800x600x32") - items.begin()));
        return true;
    });
    Create();
    ASSERT_FALSE(form_->ExitRequested());
    EXPECT_EQ(window_.ClientWidth(), 800);
    EXPECT_EQ(window_.ClientHeight(), 600);
    EXPECT_TRUE(window_.Bordered());
    Frame(16);
    EXPECT_EQ(window_.FrameWidth(), 800);

    // The next run remembers it, and full screen covers the whole screen without a border.
    form_.reset();
    vimbo::ResetGameState();
    setup_.SetScript([](ad::TAdSetupDialog& dialog) {
        dialog.Click(*dialog.Find(ad::TAdSetupControlRole::Fullscreen), true);
        return true;
    });
    window_.SetScreenSize(1600, 900);
    Create();
    ASSERT_FALSE(form_->ExitRequested());
    EXPECT_EQ(form_->AdDraw->DisplayWidth, 800);
    EXPECT_EQ(form_->AdDraw->DisplayMode, 3);
    EXPECT_FALSE(window_.Bordered());
    EXPECT_EQ(window_.ClientWidth(), 1600);
    EXPECT_EQ(window_.ClientHeight(), 900);
}

TEST_F(FormTest, RunsMenuFramesAtFullBrightnessOnTheSoftwareRenderer) {
    InstallSoftwarePlugin();
    Create();
    ASSERT_FALSE(form_->ExitRequested()) << (messages_.empty() ? "" : messages_[0]);
    EXPECT_EQ(window_.Caption(), ad::platform::ApplicationTitle());
    EXPECT_FALSE(window_.CursorShown());
    for (int i = 0; i < 5; ++i)
        Frame(16);
    EXPECT_EQ(window_.PresentCount(), 5);
    // The default choice is a 1024 x 768 window.
    EXPECT_EQ(window_.FrameWidth(), 1024);
    EXPECT_EQ(vimbo::screenW, 1024);
    EXPECT_EQ(vimbo::screenH, 768);
    const auto& frame = window_.Frame();
    ASSERT_FALSE(frame.empty());
    // The main menu is drawn: the highlighted New Game item's row is not plain background.
    int drawn = 0;
    const size_t row = static_cast<size_t>(vimbo::screenH / 2 + 58) * 1024 * 4;
    for (size_t x = 1024 / 2 - 64; x < 1024 / 2 + 64; ++x)
        drawn += frame[row + x * 4] != frame[row] || frame[row + x * 4 + 1] != frame[row + 1];
    EXPECT_GT(drawn, 10);
    EXPECT_EQ(form_->AdDraw->Scene()->AmbientColor(), (ad::AdColor{255, 255, 255, 255}));
    // The frame bit of the options is set only while a frame is drawn.
    EXPECT_EQ(form_->AdDraw->Options() & ad::kAdOptionFrame, 0);
    std::ifstream log(folder_ + "adlog.txt");
    std::string first;
    std::getline(log, first);
    EXPECT_EQ(first.substr(0, 21), "[Info]               ") << first;
}

TEST_F(FormTest, AFadeStepsByTheFrameTimeAndNeverWraps) {
    InstallSoftwarePlugin();
    Create();
    ASSERT_FALSE(form_->ExitRequested());
    for (int i = 0; i < 3; ++i)
        Frame(16);
    vimbo::temneet = true;
    // A 2 s stall moves the fade by at most 50 ms / 5 = 10.
    const double before = vimbo::Ireal;
    Frame(2000);
    EXPECT_GE(vimbo::Ireal, before - 10.0);
    EXPECT_LT(vimbo::Ireal, before);
    // Overshooting either end for a frame still gives a valid brightness.
    vimbo::temneet = false;
    vimbo::Ireal = 258.0;
    Frame(16);
    EXPECT_EQ(form_->AdDraw->Scene()->AmbientColor().r, 255);
    vimbo::Ireal = -3.0;
    Frame(16);
    EXPECT_EQ(form_->AdDraw->Scene()->AmbientColor().a, 0);
    // Running the fade to its end clears the flag at 0.
    vimbo::Ireal = 5.0;
    vimbo::temneet = true;
    for (int i = 0; i < 50 && vimbo::temneet; ++i)
        Frame(16);
    EXPECT_FALSE(vimbo::temneet);
    EXPECT_EQ(vimbo::Ireal, 0.0);
}

TEST_F(FormTest, AStoredIncompatiblePluginFallsBackToTheFirstCompatibleOne) {
    InstallSoftwarePlugin();
    std::ofstream(folder_ + "adsettings.ini")
        << "[ad2dsetup]\nplugin=" << folder_ << "GoneAdPlugin.so\nresolution=640x480x32\n";
    Create();
    ASSERT_FALSE(form_->ExitRequested());
    EXPECT_EQ(form_->AdDraw->DllName(), folder_ + "SoftwareAdPlugin.so");
    EXPECT_EQ(window_.ClientWidth(), 640);
}

TEST_F(FormTest, StartUpLoadsTheCatalogueAndBuildsTheSpriteEngine) {
    InstallSoftwarePlugin();
    Create();
    ASSERT_FALSE(form_->ExitRequested());
    ASSERT_NE(form_->AdImageList, nullptr);
    ad::TAdImage* collectible = form_->AdImageList->Find("vit1");
    ASSERT_NE(collectible, nullptr);
    EXPECT_EQ(collectible->PatternCount(), 16);
    ASSERT_NE(form_->SpriteEngine, nullptr);
    EXPECT_EQ(form_->SpriteEngine->SurfaceRect().right, 1024);
    EXPECT_NE(form_->AdCollisionTester, nullptr);
}

TEST_F(FormTest, StartingTheGameLeavesTheWorkingDirectoryAsItWas) {
    InstallSoftwarePlugin();
    const std::string work = vimbo::test::MakeTempFolder("workdir");
    // A player's own files with the names of the game's pictures must survive untouched.
    std::ofstream(work + "b3.bmp") << "my own picture";
    std::ofstream(work + "part1.bmp") << "mine too";
    const auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(work))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = listing();
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(work);
    Create();
    Frame(16);
    form_->FormClose();
    std::filesystem::current_path(previous);
    EXPECT_FALSE(form_->ExitRequested());
    EXPECT_EQ(listing(), before);
    std::ifstream mine(work + "b3.bmp");
    std::string content;
    std::getline(mine, content);
    EXPECT_EQ(content, "my own picture");
    std::filesystem::remove_all(work);
}

TEST_F(FormTest, CloseFreesTheEngineAndStopsFrames) {
    InstallSoftwarePlugin();
    Create();
    Frame(16);
    form_->FormClose();
    EXPECT_EQ(form_->AdDraw, nullptr);
    EXPECT_EQ(form_->AdPerCounter, nullptr);
    const int presented = window_.PresentCount();
    Frame(16);
    EXPECT_EQ(window_.PresentCount(), presented);
}

} // namespace

TEST_F(FormTest, KeepsLivesTopScoreAndSwitchesAcrossRunsButNotTheScore) {
    InstallSoftwarePlugin();
    std::ofstream(folder_ + "save", std::ios::binary) << "900\r\n5\r\n1250\r\n0\r\n1\r\n3\r\n";
    Create();
    ASSERT_FALSE(form_->ExitRequested());
    EXPECT_EQ(vimbo::lives, 5);
    EXPECT_EQ(vimbo::score, 0) << "the start-up build begins a game afresh";
    Frame(16);
    form_->FormClose();
    std::ifstream saved(folder_ + "save", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(saved), {}};
    EXPECT_EQ(text, "0\r\n5\r\n1250\r\n0\r\n1\r\n3\r\n");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(FormTest, ADamagedSaveIsReportedAndTheGameStillStarts) {
    InstallSoftwarePlugin();
    std::ofstream(folder_ + "save", std::ios::binary) << "garbage";
    Create();
    EXPECT_FALSE(form_->ExitRequested());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("damaged"), std::string::npos) << messages_[0];
    EXPECT_TRUE(std::filesystem::exists(folder_ + "save.damaged"));
    Frame(16);
    EXPECT_EQ(window_.PresentCount(), 1);
}

TEST_F(FormTest, ASaveThePlayerMayNotReadIsToldOnceAndNeverReplaced) {
    InstallSoftwarePlugin();
    const std::string text = "900\r\n5\r\n1250\r\n0\r\n1\r\n3\r\n";
    std::ofstream(folder_ + "save", std::ios::binary) << text;
    ::chmod((folder_ + "save").c_str(), 0);
    vimbo::test::OpenToPlayer(folder_);
    // Root reads through any file mode: the whole run is made under the player's own account.
    EXPECT_EQ(vimbo::test::RunInChild(
                  [&]() -> std::string {
                      Create();
                      if (form_->ExitRequested())
                          return "the game did not start";
                      if (vimbo::lives != 3 || !vimbo::soundOn || !vimbo::musicOn)
                          return "not a first run's values";
                      Frame(16);
                      vimbo::topscore = 5000;
                      form_->FormClose();
                      if (messages_.size() != 1)
                          return "told " + std::to_string(messages_.size()) + " times";
                      return messages_[0].find("will not be kept") == std::string::npos ? messages_[0] : "";
                  },
                  {.asPlayer = true}),
              "");
    ::chmod((folder_ + "save").c_str(), 0600);
    std::ifstream saved(folder_ + "save", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), text);
    EXPECT_FALSE(std::filesystem::exists(folder_ + "save.damaged"));
}

TEST_F(FormTest, ARendererLibraryThatCrashesAsItIsExaminedIsLeftOutAndLogged) {
    InstallSoftwarePlugin();
    // Named to be found first.
    std::filesystem::create_symlink(std::string(VIMBO_BROKEN_PLUGIN_DIR) + "/CrashingFakeAdPlugin.so",
                                    folder_ + "ACrashingFakeAdPlugin.so");
    Create();
    ASSERT_FALSE(form_->ExitRequested()) << (messages_.empty() ? "" : messages_[0]);
    EXPECT_EQ(form_->AdDraw->DllName(), folder_ + "SoftwareAdPlugin.so");
    Frame(16);
    EXPECT_EQ(window_.PresentCount(), 1);
    std::ifstream log(folder_ + "adlog.txt");
    const std::string logged{std::istreambuf_iterator<char>(log), {}};
    EXPECT_NE(logged.find("ACrashingFakeAdPlugin.so is left out: it "), std::string::npos) << logged;
}
