// The setup dialog's window on a (virtual) display: its place, size and caption, and the keys and
// window events that answer it. Skipped without a display.
#include "engine/render/AdSetupForm.hpp"

#include <SDL2/SDL.h>

#include <atomic>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "engine/platform/SdlVideo.hpp"
#include "engine/render/AdDraws.hpp"
#include "tests/support/DisplayTests.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

const std::string kFakes = VIMBO_FAKE_PLUGIN_DIR "/";

// Plays the user from SDL's timer thread: once the dialog's window has shown, the scripted events are
// pushed into SDL's queue addressed to it. Should it never show, SDL_QUIT ends the wait.
class ScriptedUser {
public:
    using Script = std::vector<SDL_Event> (*)(uint32_t windowId);

    explicit ScriptedUser(Script script) : script_(script) {
        SDL_InitSubSystem(SDL_INIT_TIMER);
        SDL_AddEventWatch(&ScriptedUser::Watch, this);
        timer_ = SDL_AddTimer(100, &ScriptedUser::Tick, this);
    }
    ~ScriptedUser() {
        SDL_RemoveTimer(timer_);
        SDL_DelEventWatch(&ScriptedUser::Watch, this);
        SDL_QuitSubSystem(SDL_INIT_TIMER);
    }

    bool Shown() const { return windowId_ != 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    const std::string& Title() const { return title_; }
    bool Resizable() const { return resizable_; }

private:
    static int Watch(void* data, SDL_Event* event) {
        auto* self = static_cast<ScriptedUser*>(data);
        if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_SHOWN &&
            !self->Shown()) {
            SDL_Window* window = SDL_GetWindowFromID(event->window.windowID);
            SDL_GetWindowSize(window, &self->width_, &self->height_);
            SDL_GetWindowPosition(window, &self->left_, &self->top_);
            self->title_ = SDL_GetWindowTitle(window);
            self->resizable_ = (SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE) != 0;
            self->windowId_ = event->window.windowID;
        }
        return 1;
    }
    static Uint32 Tick(Uint32 interval, void* data) {
        auto* self = static_cast<ScriptedUser*>(data);
        constexpr int kPatience = 50;
        if (self->Shown()) {
            for (SDL_Event event : self->script_(self->windowId_))
                SDL_PushEvent(&event);
            return 0;
        }
        if (++self->ticks_ < kPatience)
            return interval;
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        return 0;
    }

    Script script_;
    SDL_TimerID timer_ = 0;
    std::atomic<uint32_t> windowId_{0};
    int ticks_ = 0;
    int width_ = 0, height_ = 0, left_ = 0, top_ = 0;
    std::string title_;
    bool resizable_ = true;
};

SDL_Event Key(Uint32 type, SDL_Keycode key, uint32_t windowId) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = windowId;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    return event;
}

std::vector<SDL_Event> PressEnter(uint32_t id) {
    return {Key(SDL_KEYDOWN, SDLK_RETURN, id), Key(SDL_KEYUP, SDLK_RETURN, id)};
}

std::vector<SDL_Event> PressEscape(uint32_t id) {
    return {Key(SDL_KEYDOWN, SDLK_ESCAPE, id), Key(SDL_KEYUP, SDLK_ESCAPE, id)};
}

// A release without its press, as when Enter started the program and was let go over the dialog.
std::vector<SDL_Event> ReleaseEnterThenClose(uint32_t id) {
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = id;
    return {Key(SDL_KEYUP, SDLK_RETURN, id), close};
}

class SetupFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        if (!video_.Acquire(error))
            GTEST_SKIP() << "no display: " << error;
        folder_ = vimbo::test::MakeTempFolder("setup-form");
        std::filesystem::create_symlink(kFakes + "GoodFakeAdPlugin.so", folder_ + "GoodFakeAdPlugin.so");
        draw_ = std::make_unique<ad::TAdDraw>(&window_, folder_ + "adlog.txt");
        setup_ = std::make_unique<ad::TAdSetup>(*draw_, form_);
        setup_->Caption = "vimbo 2";
        setup_->PluginFolder = folder_;
        setup_->SettingsFileName = folder_ + "adsettings.ini";
    }
    void TearDown() override {
        setup_.reset();
        draw_.reset();
        if (!folder_.empty())
            std::filesystem::remove_all(folder_);
        vimbo::test::KeepLoadedLibrariesResident();
    }

    ad::platform::SdlVideoReference video_;
    std::string folder_;
    ad::platform::HeadlessWindow window_{320, 200};
    std::unique_ptr<ad::TAdDraw> draw_;
    ad::TAdSetupForm form_;
    std::unique_ptr<ad::TAdSetup> setup_;
};

TEST_F(SetupFormTest, AFixedCentredWindowCaptionedWithTheTitleConfirmsOnEnter) {
    ScriptedUser user(&PressEnter);
    EXPECT_TRUE(setup_->Execute());
    ASSERT_TRUE(user.Shown());
    EXPECT_EQ(user.Title(), "vimbo 2");
    EXPECT_EQ(user.Width(), 320);
    EXPECT_GT(user.Height(), 150);
    EXPECT_FALSE(user.Resizable());
    SDL_Rect screen{};
    SDL_GetDisplayBounds(0, &screen);
    EXPECT_EQ(user.Left(), screen.x + (screen.w - user.Width()) / 2);
    EXPECT_EQ(user.Top(), screen.y + (screen.h - user.Height()) / 2);
}

TEST_F(SetupFormTest, EscapeCancels) {
    ScriptedUser user(&PressEscape);
    EXPECT_FALSE(setup_->Execute());
    EXPECT_TRUE(user.Shown());
}

TEST_F(SetupFormTest, AReleaseWithoutItsPressAnswersNothingAndClosingTheWindowCancels) {
    ScriptedUser user(&ReleaseEnterThenClose);
    EXPECT_FALSE(setup_->Execute());
    EXPECT_TRUE(user.Shown());
}

} // namespace
