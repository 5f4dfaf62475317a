// Tests of game controllers through SDL's virtual controller: plugging in, buttons, the left stick and
// unplugging reach the game as window events. No device or display is needed.
#include "engine/platform/SdlGamepads.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ad::platform::EventKind;
using ad::platform::PadButton;
using ad::platform::SdlGamepads;
using ad::platform::WindowEvent;

class SdlGamepadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        pads_ = std::make_unique<SdlGamepads>();
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "test pad";
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index_, 0) << SDL_GetError();
        joystick_ = SDL_JoystickOpen(index_);
        ASSERT_NE(joystick_, nullptr);
    }
    void TearDown() override {
        if (joystick_ != nullptr)
            SDL_JoystickClose(joystick_);
        if (index_ >= 0 && attached_)
            SDL_JoystickDetachVirtual(index_);
        Events();
        pads_.reset();
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
    }

    // The window events of everything SDL has queued.
    std::vector<WindowEvent> Events() {
        SDL_JoystickUpdate();
        SDL_PumpEvents();
        std::vector<WindowEvent> events;
        SDL_Event sdl;
        while (SDL_PollEvent(&sdl) != 0) {
            WindowEvent event;
            if (pads_ && pads_->Translate(sdl, event))
                events.push_back(event);
        }
        return events;
    }
    void Press(SDL_GameControllerButton button) {
        SDL_JoystickSetVirtualButton(joystick_, button, 1);
        Events();
        SDL_JoystickSetVirtualButton(joystick_, button, 0);
    }

    std::unique_ptr<SdlGamepads> pads_;
    int index_ = -1;
    bool attached_ = true;
    SDL_Joystick* joystick_ = nullptr;
};

TEST_F(SdlGamepadsTest, APluggedControllerIsOpenedAndItsButtonsBecomeEvents) {
    EXPECT_TRUE(Events().empty()) << "plugging in is no game event";
    EXPECT_EQ(pads_->Count(), 1u);
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_A, 1);
    std::vector<WindowEvent> events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::PadButton);
    EXPECT_EQ(events[0].pad, PadButton::A);
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_A, 0);
    EXPECT_TRUE(Events().empty()) << "a release is no event";
    const std::pair<SDL_GameControllerButton, PadButton> mapping[] = {
        {SDL_CONTROLLER_BUTTON_B, PadButton::B},
        {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::Up},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::Down},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::Left},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::Right}};
    for (const auto& [button, pad] : mapping) {
        SDL_JoystickSetVirtualButton(joystick_, button, 1);
        events = Events();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].pad, pad);
        SDL_JoystickSetVirtualButton(joystick_, button, 0);
        Events();
    }
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_X, 1);
    EXPECT_TRUE(Events().empty()) << "buttons the game does not use";
}

TEST_F(SdlGamepadsTest, TheLeftStickReportsBothAxesAndTheRightStickNothing) {
    Events();
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, 30000);
    std::vector<WindowEvent> events = Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().kind, EventKind::PadStick);
    EXPECT_EQ(events.back().x, 30000);
    EXPECT_EQ(events.back().y, 0);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, -20000);
    events = Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().x, 30000);
    EXPECT_EQ(events.back().y, -20000);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_RIGHTX, 30000);
    EXPECT_TRUE(Events().empty());
}

TEST_F(SdlGamepadsTest, UnpluggingIsAnEventAndClosesTheController) {
    Events();
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    SDL_JoystickDetachVirtual(index_);
    attached_ = false;
    const std::vector<WindowEvent> events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::PadRemoved);
    EXPECT_EQ(pads_->Count(), 0u);
}

} // namespace
