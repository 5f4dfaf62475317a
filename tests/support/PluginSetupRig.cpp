// The setup dialog on a real renderer plugin, its settings file and the surface started from it.
#include "tests/support/PluginSetupRig.hpp"

#include <filesystem>

#include "engine/render/AdIniFile.hpp"
#include "engine/render/AdSetupDlg.hpp"
#include "engine/render/AdSetupSettings.hpp"
#include "tests/support/TestPaths.hpp"

namespace vimbo::test {

namespace {

std::optional<PluginSetupRig::ShownOption> Show(const ad::TAdSetupDialog& dialog, const std::string& option) {
    const auto ref = dialog.Find(ad::TAdSetupControlRole::PluginOption, option);
    if (!ref)
        return std::nullopt;
    PluginSetupRig::ShownOption shown;
    const ad::TAdSetupSection& section = dialog.Sections()[ref->Section];
    shown.section = section.Caption;
    for (const ad::TAdSetupControl& control : section.Controls)
        if (control.Kind == ad::TAdSetupControlKind::CheckBox)
            shown.sectionCheckBoxes.push_back(control.Caption);
    shown.checked = dialog.Control(*ref).Checked;
    return shown;
}

} // namespace

PluginSetupRig::PluginSetupRig(const std::string& pluginPath, ad::platform::Window& window)
    : folder_(MakeTempFolder("plugin-setup")), window_(window) {
    std::filesystem::create_symlink(pluginPath,
                                    folder_ + std::filesystem::path(pluginPath).filename().string());
}

PluginSetupRig::~PluginSetupRig() {
    draw_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::optional<PluginSetupRig::ShownOption> PluginSetupRig::Setup(const std::string& option,
                                                                 std::optional<bool> check) {
    // Each start is a fresh process: nothing chosen in the one before survives but the file.
    draw_.reset();
    draw_ = std::make_unique<ad::TAdDraw>(&window_, folder_ + "adlog.txt", ticks_);
    std::optional<ShownOption> shown;
    presenter_.SetScript([&](ad::TAdSetupDialog& dialog) {
        shown = Show(dialog, option);
        if (shown && check)
            dialog.Click(*dialog.Find(ad::TAdSetupControlRole::PluginOption, option), *check);
        return true;
    });
    ad::TAdSetup setup(*draw_, presenter_);
    setup.PluginFolder = folder_;
    setup.SettingsFileName = folder_ + ad::kAdSetupFileName;
    setup.Execute();
    return shown;
}

std::string PluginSetupRig::Stored(const std::string& option) const {
    return ad::TAdIniFile(folder_ + ad::kAdSetupFileName).ReadString(ad::kAdSetupSection, option, "<none>");
}

bool PluginSetupRig::StartAndPresent(int frames) {
    ticks_.ClearSleeps();
    if (!draw_->Initialize())
        return false;
    for (int frame = 0; frame < frames; ++frame) {
        draw_->ClearSurface(0);
        draw_->BeginScene();
        draw_->EndScene();
        draw_->Flip();
    }
    return true;
}

std::vector<std::string> PluginSetupRig::LogMessages() const {
    std::vector<std::string> messages;
    for (const ad::TAdLogEntry& entry : draw_->Log.Entries())
        messages.push_back(entry.Text);
    return messages;
}

} // namespace vimbo::test
