// SDL key codes to the game's virtual-key codes.
#include "engine/platform/SdlKeys.hpp"

#include <gtest/gtest.h>

#include "engine/platform/VirtualKeys.hpp"

namespace {

using ad::platform::VirtualKeyFromSdl;
namespace vk = ad::platform::vk;

TEST(SdlKeys, LettersDigitsAndFunctionKeysMapOntoTheirRanges) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), 0x41);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_w), vk::KeyW);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_s), vk::KeyS);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_d), vk::KeyD);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_z), 0x5A);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_0), 0x30);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_9), 0x39);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1), vk::F1);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F2), vk::F2);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F9), vk::F9);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12), 0x7B);
}

TEST(SdlKeys, TheGamesNamedKeys) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_UP), vk::Up);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_DOWN), vk::Down);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_LEFT), vk::Left);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RIGHT), vk::Right);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RETURN), vk::Return);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER), vk::Return);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_ESCAPE), vk::Escape);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_PAUSE), vk::Pause);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_SPACE), vk::Space);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_BACKSPACE), vk::Back);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_TAB), vk::Tab);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RSHIFT), vk::Shift);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_LCTRL), vk::Control);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RALT), vk::Menu);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_HOME), vk::Home);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_END), vk::End);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_PAGEUP), vk::Prior);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_PAGEDOWN), vk::Next);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_INSERT), vk::Insert);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_DELETE), vk::Delete);
}

TEST(SdlKeys, KeysWithoutACodeGiveZero) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F13), 0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_5), 0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_UNKNOWN), 0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_MINUS), 0) << "punctuation is no letter or digit";
}

} // namespace
