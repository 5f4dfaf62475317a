// Tests of the menu model itself: the rings the keyboard's highlight goes round, the hover, and what
// choosing each item does, the same whichever input chose it but for the touches the text gives
// each.
#include "frontend/MenuModel.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "frontend/Menus.hpp"
#include "game/GameState.hpp"
#include "game/Sound.hpp"
#include "tests/frontend/FrontendFixture.hpp"
#include "tests/support/RecordingAudioDevice.hpp"

namespace vimbo {
namespace {

class MenuModelTest : public test::FrontendFixture {
protected:
    void SetUp() override {
        FrontendFixture::SetUp();
        MainMenuE = true;
        soundOn = true;
        musicOn = true;
        difficulty = "normal";
        HudCreate();
        world.CloseForm = [this] { ++closes_; };
    }
    // The lit items of the main menu, in ring order.
    static std::vector<MenuItem> LitMainItems() {
        std::vector<MenuItem> lit;
        const std::vector<std::pair<MenuItem, const SpriteRef<THUD>*>> items{
            {MenuItem::NewGame, &HNewGame}, {MenuItem::Continue, &HContinue},
            {MenuItem::Options, &HOptions}, {MenuItem::Exit, &HExit}};
        for (const auto& [item, ref] : items)
            if (PlainHighlighted((*ref)->AnimPos))
                lit.push_back(item);
        return lit;
    }

    int closes_ = 0;
};

TEST_F(MenuModelTest, TheKeyboardsHighlightGoesRoundTheMainMenusRing) {
    EXPECT_EQ(HighlightedItem(), MenuItem::NewGame);
    StepHighlight(-1);
    EXPECT_EQ(LitMainItems(), std::vector<MenuItem>{MenuItem::Exit}) << "up from the first item is the last";
    StepHighlight(1);
    StepHighlight(1);
    EXPECT_EQ(LitMainItems(), std::vector<MenuItem>{MenuItem::Continue});
    HNewGame->AnimPos = HContinue->AnimPos = 0;
    StepHighlight(1);
    EXPECT_EQ(HighlightedItem(), std::nullopt) << "with nothing lit nothing moves";
}

TEST_F(MenuModelTest, TheHoveredItemAloneOfItsMenuIsLitAndThePauseKeepsTheMainMenuStill) {
    HoverItem(MenuItem::Options);
    EXPECT_EQ(LitMainItems(), std::vector<MenuItem>{MenuItem::Options});
    paused = true;
    HoverItem(MenuItem::Exit);
    EXPECT_EQ(LitMainItems(), std::vector<MenuItem>{MenuItem::Options});
}

TEST_F(MenuModelTest, SwitchesAndTheDifficultyStepAlikeFromEveryInput) {
    EXPECT_EQ(NextSwitchFrame(1), 3) << "lit on becomes lit off";
    EXPECT_EQ(NextSwitchFrame(3), 1);
    EXPECT_EQ(NextSwitchFrame(0), 3) << "a plain switch the pointer chose comes out lit";
    EXPECT_EQ(NextDifficultyFrame(1), 3);
    EXPECT_EQ(NextDifficultyFrame(3), 5);
    EXPECT_EQ(NextDifficultyFrame(5), 1);

    showOptions = false;
    LayoutOptions();
    ASSERT_TRUE(OptionsScreenShown());
    EXPECT_EQ(HighlightedItem(), MenuItem::SoundSwitch);
    ActivateItem(MenuItem::SoundSwitch, MenuInput::Keyboard);
    EXPECT_EQ(HOnOffS->AnimPos, 3);
    ActivateItem(MenuItem::SoundSwitch, MenuInput::Mouse);
    EXPECT_EQ(HOnOffS->AnimPos, 1);
    EXPECT_TRUE(soundOn) << "the game takes the value only as the screen is left";

    StepHighlight(1);
    StepHighlight(1);
    ASSERT_EQ(HighlightedItem(), MenuItem::Difficulty);
    EXPECT_EQ(HOnOffS->AnimPos, 0) << "the switch keeps its value as the highlight leaves it";
    for (const MenuInput how : {MenuInput::Keyboard, MenuInput::Mouse, MenuInput::Keyboard})
        ActivateItem(MenuItem::Difficulty, how);
    EXPECT_EQ(HEasyNormalHard->AnimPos, 3) << "normal, hard, easy and normal again";
}

TEST_F(MenuModelTest, LeavingTheOptionsTakesTheirValuesAndLightsTheItemOfTheInput) {
    LayoutOptions();
    ActivateItem(MenuItem::SoundSwitch, MenuInput::Keyboard);
    ActivateItem(MenuItem::Difficulty, MenuInput::Mouse);
    ActivateItem(MenuItem::Back, MenuInput::Keyboard);
    EXPECT_FALSE(OptionsScreenShown());
    EXPECT_FALSE(soundOn);
    EXPECT_EQ(difficulty, "hard");
    EXPECT_EQ(LitMainItems(), std::vector<MenuItem>{MenuItem::Options});

    LayoutOptions();
    ActivateItem(MenuItem::Back, MenuInput::Mouse);
    EXPECT_EQ(LitMainItems(), std::vector<MenuItem>{MenuItem::Exit}) << "where the pointer now rests";
}

TEST_F(MenuModelTest, ChoosingStartsOpensResumesOrCloses) {
    RecordingAudioDevice audio;
    world.Audio = &audio;
    ActivateItem(MenuItem::NewGame, MenuInput::Keyboard);
    EXPECT_TRUE(tmrNewGame);
    ActivateItem(MenuItem::NewGame, MenuInput::Mouse);
    EXPECT_EQ(audio.effects, (std::vector<std::string>{"sfx3_1", "s5"}));
    world.Audio = nullptr;

    HOptions->AnimPos = 1;
    ActivateItem(MenuItem::Options, MenuInput::Mouse);
    EXPECT_TRUE(showOptions);
    EXPECT_EQ(HOptions->AnimPos, 0) << "the pointer leaves it behind";

    ActivateItem(MenuItem::Continue, MenuInput::Keyboard);
    EXPECT_EQ(closes_, 0);
    ActivateItem(MenuItem::Exit, MenuInput::Mouse);
    EXPECT_EQ(closes_, 1);

    MainMenuE = false;
    paused = true;
    BuildPauseMenu();
    EXPECT_EQ(HighlightedItem(), MenuItem::ContinuePaused);
    StepHighlight(-1);
    EXPECT_EQ(HighlightedItem(), MenuItem::ExitPaused);
    StepHighlight(-1);
    ActivateItem(*HighlightedItem(), MenuInput::Keyboard);
    EXPECT_FALSE(paused);
    EXPECT_FALSE(HContinueP.Usable());
}

} // namespace
} // namespace vimbo
