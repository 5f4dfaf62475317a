// A setup dialog presenter for tests: a fixed list of screen modes and a script in place of the user,
// so the form and the dialog's rules run without a display.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "engine/render/AdSetupDlg.hpp"

namespace vimbo::test {

class ScriptedSetupPresenter : public ad::TAdSetupPresenter {
public:
    // Plays the user: acts on the dialog and answers OK (true) or Cancel (false).
    using Script = std::function<bool(ad::TAdSetupDialog&)>;

    // Confirms the stored choices as they were loaded.
    static bool ConfirmAsLoaded(ad::TAdSetupDialog&) { return true; }
    static bool CancelAtOnce(ad::TAdSetupDialog&) { return false; }

    // A screen offering the usual modes from 640 x 480 up, at 16 and 32 bits; the desktop runs at
    // 1280 x 1024 x 32.
    static std::vector<ad::platform::ScreenMode> UsualModes() {
        std::vector<ad::platform::ScreenMode> modes;
        for (const auto& [w, h] : {std::pair{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}})
            for (int depth : {16, 32})
                modes.push_back({w, h, depth, 60});
        return modes;
    }

    explicit ScriptedSetupPresenter(Script script = ConfirmAsLoaded,
                                    std::vector<ad::platform::ScreenMode> modes = UsualModes(),
                                    ad::platform::ScreenMode desktop = {1280, 1024, 32, 60})
        : script_(std::move(script)), modes_(std::move(modes)), desktop_(desktop) {}

    std::vector<ad::platform::ScreenMode> ScreenModes() override { return modes_; }
    ad::platform::ScreenMode DesktopMode() override { return desktop_; }
    bool ShowModal(ad::TAdSetupDialog& dialog) override {
        ++shown_;
        return script_(dialog);
    }

    void SetScript(Script script) { script_ = std::move(script); }
    // How often the dialog was shown.
    int Shown() const { return shown_; }

private:
    Script script_;
    std::vector<ad::platform::ScreenMode> modes_;
    ad::platform::ScreenMode desktop_;
    int shown_ = 0;
};

} // namespace vimbo::test
