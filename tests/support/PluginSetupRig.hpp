// A renderer plugin's options as a player meets them: the setup dialog's model run on the real plugin
// library installed alone in a folder, the choices kept in that folder's "adsettings.ini", and the
// drawing surface started with what the dialog chose, pacing its frames on a clock the test drives.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/platform/TickSource.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdDraws.hpp"
#include "tests/support/ScriptedSetup.hpp"

namespace vimbo::test {

class PluginSetupRig {
public:
    PluginSetupRig(const std::string& pluginPath, ad::platform::Window& window);
    ~PluginSetupRig();
    PluginSetupRig(const PluginSetupRig&) = delete;
    PluginSetupRig& operator=(const PluginSetupRig&) = delete;

    // How the dialog shows a boolean option: its section's caption, the captions of every check box
    // in that section, and whether the option's box is checked.
    struct ShownOption {
        std::string section;
        std::vector<std::string> sectionCheckBoxes;
        bool checked = false;
    };

    // A start of the program up to the dialog's OK: the player sets the option's box to `check` (or
    // leaves it as loaded) and confirms. Returns what the dialog showed before the player acted;
    // nothing when the option is not in the dialog.
    std::optional<ShownOption> Setup(const std::string& option, std::optional<bool> check);
    // The option's value in "adsettings.ini"; "<none>" when it is missing.
    std::string Stored(const std::string& option) const;
    // Initialises the surface with the last Setup's choices and presents `frames` empty frames; the
    // plugin paces on Ticks(), which moves only by its sleeps and then holds those of this call
    // alone. False if initialising failed.
    bool StartAndPresent(int frames);

    ad::platform::ManualTicks& Ticks() { return ticks_; }
    ad::TAdDraw& Draw() { return *draw_; }
    // Every message of the engine's log so far, the plugin's included.
    std::vector<std::string> LogMessages() const;

private:
    std::string folder_;
    ad::platform::Window& window_;
    ad::platform::ManualTicks ticks_{1000};
    ScriptedSetupPresenter presenter_;
    std::unique_ptr<ad::TAdDraw> draw_;
};

} // namespace vimbo::test
