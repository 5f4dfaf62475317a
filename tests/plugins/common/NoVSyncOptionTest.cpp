// The "NoVSync" option of each renderer plugin as a player meets it: shown in the setup dialog in a
// section of its own, kept in "adsettings.ini", read back at the next start, and reaching the plugin,
// whose frames then stop waiting for the display.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <ostream>
#include <string>

#include "engine/platform/Window.hpp"
#include "plugins/common/PluginLibrary.hpp"
#include "tests/support/DisplayTests.hpp"
#include "tests/support/HeadlessSurface.hpp"
#include "tests/support/PluginSetupRig.hpp"

namespace {

using vimbo::test::PluginSetupRig;

constexpr int kFrames = 7;

struct PluginCase {
    const char* name;
    bool openGL;
};

void PrintTo(const PluginCase& plugin, std::ostream* out) {
    *out << plugin.name;
}

class NoVSyncOption : public ::testing::TestWithParam<PluginCase> {
protected:
    void SetUp() override {
        if (GetParam().openGL) {
            std::string error;
            window_ = ad::platform::CreateSdlWindow(64, 48, "test", error);
            if (!window_)
                GTEST_SKIP() << "no display: " << error;
            rig_ = std::make_unique<PluginSetupRig>(vimbo::test::OpenGLPluginPath(), *window_);
        } else {
            // A virtual display that reports no refresh rate and has no vertical sync.
            auto memory = std::make_unique<ad::platform::HeadlessWindow>(64, 48);
            memory->SetRefreshRate(0);
            window_ = std::move(memory);
            rig_ = std::make_unique<PluginSetupRig>(vimbo::test::SoftwarePluginPath(), *window_);
        }
    }
    void TearDown() override {
        if (GetParam().openGL)
            vimbo::test::KeepLoadedLibrariesResident();
        rig_.reset();
        window_.reset();
    }
    bool Logged(const std::string& text) const {
        const std::vector<std::string> messages = rig_->LogMessages();
        return std::any_of(messages.begin(), messages.end(),
                           [&](const std::string& m) { return m.find(text) != std::string::npos; });
    }
    // Frames wait for the display: the window system's vertical sync holds them, or the plugin holds
    // each to the 60 Hz of a display that reports no rate (16 or 17 ms on the rig's clock).
    ::testing::AssertionResult WaitedForTheDisplay() const {
        if (Logged("frames wait for the display's vertical sync"))
            return ::testing::AssertionSuccess() << "the window system's vertical sync";
        const std::vector<uint32_t>& sleeps = rig_->Ticks().Sleeps();
        const uint32_t total = std::accumulate(sleeps.begin(), sleeps.end(), 0u);
        if (sleeps.size() == kFrames - 1 && total == 100)
            return ::testing::AssertionSuccess() << "paced to 60 Hz";
        return ::testing::AssertionFailure() << sleeps.size() << " waits of " << total << " ms in all";
    }

    std::unique_ptr<ad::platform::Window> window_;
    std::unique_ptr<PluginSetupRig> rig_;
};

TEST_P(NoVSyncOption, ShownAloneInItsSectionStoredReadBackAndHeededByThePlugin) {
    const std::string name = ad::plugin::kNoVSyncProperty;
    // First start: nothing in the settings file, and frames wait for the display.
    const auto first = rig_->Setup(name, std::nullopt);
    ASSERT_TRUE(first) << "the dialog shows no " << name;
    EXPECT_EQ(first->section, ad::plugin::kNoVSyncGroup);
    EXPECT_EQ(first->sectionCheckBoxes, std::vector<std::string>{ad::plugin::kNoVSyncCaption});
    EXPECT_FALSE(first->checked);
    EXPECT_EQ(rig_->Stored(name), "0");
    ASSERT_TRUE(rig_->StartAndPresent(kFrames)) << rig_->Draw().LastError;
    EXPECT_TRUE(WaitedForTheDisplay());
    EXPECT_FALSE(Logged("(NoVSync)"));

    // The player checks it; the next start reads it back and the plugin draws without waiting.
    const auto checking = rig_->Setup(name, true);
    ASSERT_TRUE(checking);
    EXPECT_FALSE(checking->checked) << "as the first start stored it";
    EXPECT_EQ(rig_->Stored(name), "1");
    const auto next = rig_->Setup(name, std::nullopt);
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->checked);
    ASSERT_TRUE(rig_->StartAndPresent(kFrames)) << rig_->Draw().LastError;
    EXPECT_TRUE(rig_->Ticks().Sleeps().empty());
    EXPECT_TRUE(Logged("frames go out as soon as they are drawn (NoVSync)"));
}

INSTANTIATE_TEST_SUITE_P(Renderers, NoVSyncOption,
                         ::testing::Values(PluginCase{"Software", false}, PluginCase{"OpenGL", true}),
                         [](const ::testing::TestParamInfo<PluginCase>& info) { return info.param.name; });

} // namespace
