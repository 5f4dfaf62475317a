// The setup dialog's rules without a display: its sections, the resolution list, the check boxes and
// display modes, the plugin change, and the settings file kept beside the program.
#include "engine/render/AdSetupDlg.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "engine/render/AdDraws.hpp"
#include "engine/render/AdIniFile.hpp"
#include "tests/support/ScriptedSetup.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

using ad::TAdSetupControlRole;
using vimbo::test::ScriptedSetupPresenter;

const std::string kFakes = VIMBO_FAKE_PLUGIN_DIR "/";

std::vector<std::string> Captions(const ad::TAdSetupDialog& dialog) {
    std::vector<std::string> captions;
    for (const ad::TAdSetupSection& section : dialog.Sections())
        captions.push_back(section.Caption);
    return captions;
}

std::vector<std::string> CheckBoxes(const ad::TAdSetupSection& section) {
    std::vector<std::string> captions;
    for (const ad::TAdSetupControl& control : section.Controls)
        if (control.Kind == ad::TAdSetupControlKind::CheckBox)
            captions.push_back(control.Caption);
    return captions;
}

const ad::TAdSetupControl& ControlOf(const ad::TAdSetupDialog& dialog, TAdSetupControlRole role) {
    return dialog.Control(dialog.Find(role).value());
}

// Picks a list entry by its text, as a user would.
void Choose(ad::TAdSetupDialog& dialog, TAdSetupControlRole role, const std::string& text) {
    const auto ref = dialog.Find(role).value();
    const std::vector<std::string>& items = dialog.Control(ref).Items;
    const auto found = std::find(items.begin(), items.end(), text);
    ASSERT_NE(found, items.end()) << text;
    dialog.Select(ref, static_cast<int>(found - items.begin()));
}

void Click(ad::TAdSetupDialog& dialog, TAdSetupControlRole role, bool checked,
           const std::string& option = "") {
    dialog.Click(dialog.Find(role, option).value(), checked);
}

class SetupDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = vimbo::test::MakeTempFolder("setup");
        draw_ = std::make_unique<ad::TAdDraw>(&window_, folder_ + "adlog.txt");
    }
    void TearDown() override {
        draw_.reset();
        std::filesystem::remove_all(folder_);
    }
    void Install(const std::string& plugin) {
        std::filesystem::create_symlink(kFakes + plugin + ".so", folder_ + plugin + ".so");
    }
    void Store(const std::string& text) {
        std::ofstream(folder_ + "adsettings.ini", std::ios::binary) << text;
    }
    std::string Stored(const std::string& key) const {
        return ad::TAdIniFile(folder_ + "adsettings.ini").ReadString("ad2dsetup", key, "<none>");
    }
    std::string StoredText() const {
        std::ifstream in(folder_ + "adsettings.ini", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::unique_ptr<ad::TAdSetup> MakeSetup() {
        auto setup = std::make_unique<ad::TAdSetup>(*draw_, presenter_);
        setup->PluginFolder = folder_;
        setup->SettingsFileName = folder_ + "adsettings.ini";
        return setup;
    }
    // Runs the dialog once with `script` as the user; the dialog is kept open to the script only.
    bool Execute(ScriptedSetupPresenter::Script script) {
        presenter_.SetScript(std::move(script));
        setup_ = MakeSetup();
        return setup_->Execute();
    }
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        for (const ad::TAdLogEntry& entry : draw_->Log.Entries())
            lines.push_back(entry.Text);
        return lines;
    }

    std::string folder_;
    ad::platform::HeadlessWindow window_{320, 200};
    std::unique_ptr<ad::TAdDraw> draw_;
    ScriptedSetupPresenter presenter_;
    std::unique_ptr<ad::TAdSetup> setup_;
};

TEST_F(SetupDlgTest, SectionsFollowTheChosenPluginsOptionGroupsBetweenResolutionAndPlugin) {
    Install("GoodFakeAdPlugin");
    Install("OptionsFakeAdPlugin");
    Store("[ad2dsetup]\nplugin=" + folder_ + "OptionsFakeAdPlugin.so\n");
    std::vector<std::string> captions;
    std::vector<std::string> quality;
    std::vector<std::string> plugins;
    ASSERT_TRUE(Execute([&](ad::TAdSetupDialog& dialog) {
        captions = Captions(dialog);
        quality = CheckBoxes(dialog.Sections()[1]);
        plugins = ControlOf(dialog, TAdSetupControlRole::PluginList).Items;
        // Sections stack downwards without overlapping, every control inside its own, and the
        // buttons below the last one, inside the window.
        int below = 0;
        for (const ad::TAdSetupSection& section : dialog.Sections()) {
            EXPECT_GE(section.Bounds.Top, below + 5) << section.Caption;
            below = section.Bounds.Top + section.Bounds.Height;
            for (const ad::TAdSetupControl& control : section.Controls) {
                EXPECT_GE(control.Bounds.Top, 10);
                EXPECT_LE(control.Bounds.Top + control.Bounds.Height + 30, section.Bounds.Height);
                EXPECT_EQ(control.Bounds.Width, section.Bounds.Width - 20);
            }
        }
        EXPECT_GE(dialog.OkButton().Top, below);
        EXPECT_LE(dialog.OkButton().Top + dialog.OkButton().Height, dialog.ClientHeight());
        EXPECT_LT(dialog.OkButton().Left + dialog.OkButton().Width, dialog.CancelButton().Left);
        return true;
    }));
    // Hidden options, the resolution's own group and groups with only hidden options show nothing;
    // a group is placed where its first option comes.
    EXPECT_EQ(captions,
              (std::vector<std::string>{"Resolution", "Quality", "Display", "Antialiasing", "Plugin"}));
    EXPECT_EQ(quality, (std::vector<std::string>{"Smooth drawing", "Dither colours"}));
    EXPECT_EQ(plugins, (std::vector<std::string>{"GoodFakeAdPlugin", "OptionsFakeAdPlugin"}));
    EXPECT_EQ(draw_->DllName(), folder_ + "OptionsFakeAdPlugin.so");
}

TEST_F(SetupDlgTest, ACaptionTheViewWrapsMakesItsCheckBoxTallerAndPushesWhatFollowsDown) {
    Install("OptionsFakeAdPlugin");
    std::vector<int> tops, heights;
    ASSERT_TRUE(Execute([&](ad::TAdSetupDialog& dialog) {
        const int before = dialog.ClientHeight();
        // The view wraps three captions onto two lines each.
        dialog.SetCaptionLines([](const std::string& caption, int width) {
            EXPECT_EQ(width, 250);
            return caption == "Smooth drawing" || caption == "Dither colours" ||
                           caption == "Use current desktop resolution"
                       ? 2
                       : 1;
        });
        EXPECT_EQ(dialog.ClientHeight(), before + 3 * ad::TAdSetupDialog::kCaptionLineHeight);
        const ad::TAdSetupSection& quality = dialog.Sections()[1];
        for (const ad::TAdSetupControl& control : quality.Controls) {
            tops.push_back(control.Bounds.Top);
            heights.push_back(control.Bounds.Height);
        }
        EXPECT_EQ(dialog.Sections()[2].Bounds.Top, quality.Bounds.Top + quality.Bounds.Height + 5);
        EXPECT_GE(dialog.OkButton().Top,
                  dialog.Sections().back().Bounds.Top + dialog.Sections().back().Bounds.Height);
        dialog.SetCaptionLines(nullptr);
        EXPECT_EQ(dialog.ClientHeight(), before);
        return true;
    }));
    // "Smooth drawing" and "Dither colours" both wrap, touching each other.
    EXPECT_EQ(tops, (std::vector<int>{10, 52}));
    EXPECT_EQ(heights, (std::vector<int>{42, 42}));
}

TEST_F(SetupDlgTest, ResolutionListKeepsLargeColourModesOnceInOrderAndPreselectsTheDesktop) {
    Install("GoodFakeAdPlugin");
    const std::vector<ad::platform::ScreenMode> modes = {
        {1024, 768, 32, 60}, {320, 200, 32, 60}, {800, 600, 8, 60},  {1024, 768, 32, 75},
        {800, 600, 16, 60},  {640, 480, 32, 60}, {639, 480, 32, 60}, {1920, 1080, 32, 60}};
    const std::vector<std::string> offered = {"1024x768x32", "800x600x16", "640x480x32", "1920x1080x32"};
    auto setup = MakeSetup();
    ad::TAdSetupDialog onDesktop(*setup, modes, {640, 480, 24, 60});
    onDesktop.BuildSections();
    EXPECT_EQ(ControlOf(onDesktop, TAdSetupControlRole::ResolutionList).Items, offered);
    EXPECT_EQ(ControlOf(onDesktop, TAdSetupControlRole::ResolutionList).Text(), "640x480x32");

    ad::TAdSetupDialog elsewhere(*setup, modes, {800, 600, 16, 60});
    elsewhere.BuildSections();
    EXPECT_EQ(ControlOf(elsewhere, TAdSetupControlRole::ResolutionList).Text(), "1920x1080x32");
}

TEST_F(SetupDlgTest, TheCheckBoxesSetTheDisplayModeAndGreyOutWhatTheDesktopDecides) {
    Install("GoodFakeAdPlugin");
    std::vector<int> modes;
    ASSERT_TRUE(Execute([&](ad::TAdSetupDialog& dialog) {
        modes.push_back(draw_->DisplayMode);
        Click(dialog, TAdSetupControlRole::Fullscreen, true);
        modes.push_back(draw_->DisplayMode);
        Click(dialog, TAdSetupControlRole::Fullscreen, false);
        modes.push_back(draw_->DisplayMode);

        Click(dialog, TAdSetupControlRole::CurrentResolution, true);
        modes.push_back(draw_->DisplayMode);
        EXPECT_FALSE(ControlOf(dialog, TAdSetupControlRole::ResolutionList).Enabled);
        EXPECT_FALSE(ControlOf(dialog, TAdSetupControlRole::Fullscreen).Enabled);
        EXPECT_TRUE(ControlOf(dialog, TAdSetupControlRole::Fullscreen).Checked);
        // Greyed-out controls take no input.
        Click(dialog, TAdSetupControlRole::Fullscreen, false);
        Choose(dialog, TAdSetupControlRole::ResolutionList, "800x600x32");
        EXPECT_TRUE(ControlOf(dialog, TAdSetupControlRole::Fullscreen).Checked);
        EXPECT_EQ(draw_->DisplayWidth, 1024);
        modes.push_back(draw_->DisplayMode);

        Click(dialog, TAdSetupControlRole::CurrentResolution, false);
        modes.push_back(draw_->DisplayMode);
        EXPECT_TRUE(ControlOf(dialog, TAdSetupControlRole::ResolutionList).Enabled);
        EXPECT_TRUE(ControlOf(dialog, TAdSetupControlRole::Fullscreen).Checked);
        return true;
    }));
    EXPECT_EQ(modes, (std::vector<int>{1, 3, 1, 2, 2, 3}));
    EXPECT_EQ(Stored("fullscreen"), "1");
    EXPECT_EQ(Stored("curres"), "0");
}

TEST_F(SetupDlgTest, StoredChoicesAreLoadedAndAppliedAsIfClicked) {
    Install("GoodFakeAdPlugin");
    Store("[ad2dsetup]\nresolution=800x600x16\nfullscreen=1\ncurres=1\nsmooth=1\n");
    ASSERT_TRUE(Execute([&](ad::TAdSetupDialog& dialog) {
        EXPECT_EQ(ControlOf(dialog, TAdSetupControlRole::ResolutionList).Text(), "800x600x16");
        EXPECT_FALSE(ControlOf(dialog, TAdSetupControlRole::ResolutionList).Enabled);
        EXPECT_TRUE(ControlOf(dialog, TAdSetupControlRole::PluginOption).Checked);
        return true;
    }));
    EXPECT_EQ(draw_->DisplayWidth, 800);
    EXPECT_EQ(draw_->DisplayHeight, 600);
    EXPECT_EQ(draw_->DisplayBitDepth, 16);
    EXPECT_EQ(draw_->DisplayMode, 2);
    const std::vector<ad::AdPropertyValue> values = draw_->PluginProperties.Values();
    ASSERT_EQ(values.size(), 1u);
    EXPECT_STREQ(values[0].name, "smooth");
    EXPECT_EQ(*static_cast<const uint8_t*>(values[0].data), 1);
}

TEST_F(SetupDlgTest, AStoredResolutionNoLongerOfferedSelectsTheFirstEntry) {
    Install("GoodFakeAdPlugin");
    Store("[ad2dsetup]\nresolution=1600x1200x32\n");
    ASSERT_TRUE(Execute(ScriptedSetupPresenter::ConfirmAsLoaded));
    EXPECT_EQ(draw_->DisplayWidth, 640);
    EXPECT_EQ(draw_->DisplayHeight, 480);
    EXPECT_EQ(draw_->DisplayBitDepth, 16);
    EXPECT_EQ(Stored("resolution"), "640x480x16");
}

TEST_F(SetupDlgTest, ADepthOf24SetsTheSizeButLeavesTheDepth) {
    Install("GoodFakeAdPlugin");
    presenter_ = ScriptedSetupPresenter(ScriptedSetupPresenter::ConfirmAsLoaded,
                                        {{800, 600, 16, 60}, {1280, 1024, 24, 60}}, {1280, 1024, 24, 60});
    ASSERT_TRUE(Execute([](ad::TAdSetupDialog& dialog) {
        Choose(dialog, TAdSetupControlRole::ResolutionList, "1280x1024x24");
        return true;
    }));
    EXPECT_EQ(draw_->DisplayWidth, 1280);
    EXPECT_EQ(draw_->DisplayHeight, 1024);
    EXPECT_EQ(draw_->DisplayBitDepth, 16) << "the depth of the first entry, loaded before";
}

TEST_F(SetupDlgTest, ChangingThePluginSavesFirstThenRebuildsForItsOptionsEvenIfCancelled) {
    Install("GoodFakeAdPlugin");
    Install("OptionsFakeAdPlugin");
    std::vector<std::string> before, after;
    bool fullscreenKept = false;
    EXPECT_FALSE(Execute([&](ad::TAdSetupDialog& dialog) {
        Choose(dialog, TAdSetupControlRole::ResolutionList, "800x600x32");
        Click(dialog, TAdSetupControlRole::Fullscreen, true);
        Click(dialog, TAdSetupControlRole::PluginOption, true, "smooth");
        before = Captions(dialog);
        const int generation = dialog.Generation();
        Choose(dialog, TAdSetupControlRole::PluginList, "OptionsFakeAdPlugin");
        EXPECT_GT(dialog.Generation(), generation);
        after = Captions(dialog);
        fullscreenKept = ControlOf(dialog, TAdSetupControlRole::Fullscreen).Checked;
        EXPECT_TRUE(dialog.Control(dialog.Find(TAdSetupControlRole::PluginOption, "smooth").value()).Checked);
        Choose(dialog, TAdSetupControlRole::ResolutionList, "1280x1024x32");
        return false;
    }));
    EXPECT_EQ(before, (std::vector<std::string>{"Resolution", "Quality", "Plugin"}));
    EXPECT_EQ(after,
              (std::vector<std::string>{"Resolution", "Quality", "Display", "Antialiasing", "Plugin"}));
    EXPECT_TRUE(fullscreenKept);
    EXPECT_EQ(draw_->DllName(), folder_ + "OptionsFakeAdPlugin.so");
    // What was chosen up to the change is on disk; what came after the change is not.
    EXPECT_EQ(Stored("plugin"), folder_ + "OptionsFakeAdPlugin.so");
    EXPECT_EQ(Stored("resolution"), "800x600x32");
    EXPECT_EQ(Stored("fullscreen"), "1");
    EXPECT_EQ(Stored("smooth"), "1");
}

TEST_F(SetupDlgTest, OkSavesEveryChoiceAndCancelKeepsTheFileAsItWas) {
    Install("GoodFakeAdPlugin");
    Install("OptionsFakeAdPlugin");
    Store("[ad2dsetup]\nresolution=1024x768x32\nplugin=" + folder_ + "GoodFakeAdPlugin.so\n");
    ASSERT_FALSE(Execute([](ad::TAdSetupDialog& dialog) {
        Choose(dialog, TAdSetupControlRole::ResolutionList, "640x480x16");
        Click(dialog, TAdSetupControlRole::CurrentResolution, true);
        Click(dialog, TAdSetupControlRole::PluginOption, true, "smooth");
        return false;
    }));
    const std::string kept = StoredText();
    EXPECT_EQ(Stored("resolution"), "1024x768x32");
    EXPECT_EQ(Stored("curres"), "0");
    EXPECT_NE(Stored("smooth"), "1");

    ASSERT_TRUE(Execute([](ad::TAdSetupDialog& dialog) {
        Choose(dialog, TAdSetupControlRole::ResolutionList, "640x480x16");
        Click(dialog, TAdSetupControlRole::CurrentResolution, true);
        Click(dialog, TAdSetupControlRole::PluginOption, true, "smooth");
        return true;
    }));
    EXPECT_NE(StoredText(), kept);
    EXPECT_EQ(Stored("resolution"), "640x480x16");
    EXPECT_EQ(Stored("curres"), "1");
    EXPECT_EQ(Stored("fullscreen"), "1");
    EXPECT_EQ(Stored("plugin"), folder_ + "GoodFakeAdPlugin.so");
    EXPECT_EQ(Stored("smooth"), "1");
    EXPECT_EQ(draw_->DisplayMode, 2);
}

TEST_F(SetupDlgTest, AStoredPluginThatIsGoneGivesWayToTheFirstFound) {
    Install("GoodFakeAdPlugin");
    Install("OptionsFakeAdPlugin");
    Store("[ad2dsetup]\nplugin=" + folder_ + "GoneAdPlugin.so\n");
    ASSERT_TRUE(Execute(ScriptedSetupPresenter::ConfirmAsLoaded));
    EXPECT_EQ(draw_->DllName(), folder_ + "GoodFakeAdPlugin.so");
    EXPECT_EQ(setup_->SelectedPlugin(), 0);
    EXPECT_EQ(Stored("plugin"), folder_ + "GoodFakeAdPlugin.so");
}

TEST_F(SetupDlgTest, WithoutACompatiblePluginTheDialogNeverAppears) {
    Install("OldFakeAdPlugin");
    Install("NoInfoFakeAdPlugin");
    try {
        Execute(ScriptedSetupPresenter::ConfirmAsLoaded);
        FAIL() << "no error without a compatible plugin";
    } catch (const ad::ESetupDlgNoPluginsFound& e) {
        EXPECT_STREQ(e.what(), "No compatible graphic plugin library found.");
    }
    EXPECT_EQ(presenter_.Shown(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ + "adsettings.ini"));

    // Without the plugin choice nothing is searched, and the dialog still works.
    presenter_.SetScript(ScriptedSetupPresenter::ConfirmAsLoaded);
    setup_ = MakeSetup();
    setup_->Parts = ad::kAdSetupResolution;
    EXPECT_TRUE(setup_->Execute());
    EXPECT_EQ(draw_->DisplayWidth, 1024);
}

TEST_F(SetupDlgTest, ASettingsFileThatCannotBeWrittenIsLoggedOnceAndTheChoicesStillApply) {
    Install("GoodFakeAdPlugin");
    Install("OptionsFakeAdPlugin");
    // A folder in the way of the file stops even a privileged user from writing it.
    std::filesystem::create_directory(folder_ + "adsettings.ini");
    presenter_.SetScript([](ad::TAdSetupDialog& dialog) {
        Choose(dialog, TAdSetupControlRole::ResolutionList, "800x600x32");
        Choose(dialog, TAdSetupControlRole::PluginList, "OptionsFakeAdPlugin");
        Click(dialog, TAdSetupControlRole::PluginOption, true, "vsync");
        return true;
    });
    auto setup = MakeSetup();
    ASSERT_TRUE(setup->Execute());
    ASSERT_TRUE(setup->Execute());
    EXPECT_EQ(draw_->DllName(), folder_ + "OptionsFakeAdPlugin.so");
    // The choice made before the plugin change survives the rebuild without the file.
    EXPECT_EQ(draw_->DisplayWidth, 800);
    // Once each: the folder where the file should be, and the choices not kept.
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("adsettings.ini\" cannot be used as settings: it is a folder"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find("adsettings.ini"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("could not be saved"), std::string::npos) << lines[1];
    EXPECT_EQ(draw_->Log.Entries()[1].Type, ad::TAdLogType::Warning);
}

} // namespace
