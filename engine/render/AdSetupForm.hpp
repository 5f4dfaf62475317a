// The setup dialog's window: a modal desktop window drawing the dialog with Dear ImGui on SDL2's
// renderer and feeding the user's clicks and keys back to it.
#pragma once

#include <vector>

#include "engine/render/AdSetupDlg.hpp"

namespace ad {

class TAdSetupForm : public TAdSetupPresenter {
public:
    // The main screen's modes and current mode; the dialog opens centred on that screen.
    std::vector<platform::ScreenMode> ScreenModes() override;
    platform::ScreenMode DesktopMode() override;

    // A fixed-size window, centred, captioned with the dialog's caption. OK or Enter confirms;
    // Cancel, Escape or closing the window cancels. Raises std::runtime_error when no window can be
    // opened (there is no display).
    bool ShowModal(TAdSetupDialog& dialog) override;
};

} // namespace ad
