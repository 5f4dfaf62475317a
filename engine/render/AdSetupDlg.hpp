// The setup dialog shown before the drawing surface starts: renderer library, resolution, full screen
// and the renderer's own switches, remembered in "adsettings.ini" beside the program.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/platform/DisplayModes.hpp"
#include "engine/render/AdIniFile.hpp"

namespace ad {

class TAdDraw;
class TAdSetup;

class ESetupDlgNoPluginsFound : public std::runtime_error {
public:
    ESetupDlgNoPluginsFound() : std::runtime_error("No compatible graphic plugin library found.") {}
};

// The parts of the dialog that TAdSetup shows (a bit set).
inline constexpr uint32_t kAdSetupResolution = 1;
inline constexpr uint32_t kAdSetupPluginOptions = 2;
inline constexpr uint32_t kAdSetupPluginChoice = 4;
inline constexpr uint32_t kAdSetupAllParts =
    kAdSetupResolution | kAdSetupPluginOptions | kAdSetupPluginChoice;

// A rectangle in the dialog's client pixels.
struct TAdSetupBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

enum class TAdSetupControlKind { ComboBox, CheckBox };

// What a control is for; the event rules depend on it.
enum class TAdSetupControlRole { ResolutionList, Fullscreen, CurrentResolution, PluginOption, PluginList };

struct TAdSetupControl {
    TAdSetupControlKind Kind = TAdSetupControlKind::CheckBox;
    TAdSetupControlRole Role = TAdSetupControlRole::PluginOption;
    std::string Caption;            // a check box's text
    std::string OptionName;         // the plugin option a check box switches
    std::vector<std::string> Items; // a drop-down list's entries
    int ItemIndex = -1;
    bool Checked = false;
    bool Enabled = true;
    TAdSetupBox Bounds; // within its section

    // The selected entry's text; empty when nothing is selected.
    std::string Text() const;
};

// One titled group of controls, stacked top-down without gaps.
class TAdSetupSection {
public:
    TAdSetupSection(std::string caption, const TAdSetupBox& bounds);

    // Places the control under the ones before it, as wide as the section less 20, and grows the
    // section to 30 pixels below its bottom.
    TAdSetupControl& Add(TAdSetupControl control);
    // Stacks the controls again from their heights and sizes the section to hold them.
    void Arrange();

    std::string Caption;
    std::vector<TAdSetupControl> Controls;
    TAdSetupBox Bounds; // within the dialog's client area
};

// Addresses a control as the view sees it: section, then control within it.
struct TAdSetupControlRef {
    size_t Section = 0;
    size_t Control = 0;
};

// The dialog's content and rules without any drawing: the sections and their controls, what each
// control event does to the surface, and the settings file. A view draws it and feeds the user's
// actions back through Select and Click; a rebuild after a plugin change happens inside Select, so a
// view must not hold on to sections or controls across those calls.
class TAdSetupDialog {
public:
    static constexpr int kClientWidth = 320;
    static constexpr int kComboHeight = 25;
    static constexpr int kCheckBoxHeight = 24;
    // What each further line of a check box's caption adds to the box's height.
    static constexpr int kCaptionLineHeight = 18;

    // How many lines the view needs to draw a check box's caption within a control of the given
    // width.
    using CaptionLines = std::function<int(const std::string& caption, int width)>;
    static constexpr int kBottomPanelHeight = 35;
    static constexpr int kButtonWidth = 75;

    // Opens the settings file (when used) and keeps the display modes for the resolution list.
    TAdSetupDialog(TAdSetup& setup, std::vector<platform::ScreenMode> screenModes,
                   const platform::ScreenMode& desktopMode);

    const std::string& Caption() const;
    const std::vector<TAdSetupSection>& Sections() const { return sections_; }
    const TAdSetupControl& Control(TAdSetupControlRef ref) const;
    // The first control in the given role (for plugin options, the one of that option's name).
    std::optional<TAdSetupControlRef> Find(TAdSetupControlRole role,
                                           const std::string& optionName = "") const;

    // Lets the view say how long captions wrap; the sections are laid out again, a check box with a
    // caption of several lines growing by kCaptionLineHeight for each line past the first. Without
    // it (nullptr) every caption takes one line.
    void SetCaptionLines(CaptionLines lines);

    int ClientWidth() const { return kClientWidth; }
    // Top and bottom panels, the main panel's border twice, and every section with its gap.
    int ClientHeight() const;
    TAdSetupBox OkButton() const;
    TAdSetupBox CancelButton() const;
    // Counts the rebuilds, so that a view can tell that the layout changed.
    int Generation() const { return generation_; }

    // The user picked an entry of a drop-down list, or clicked a check box (to the given state).
    // Disabled controls take no input.
    void Select(TAdSetupControlRef ref, int itemIndex);
    void Click(TAdSetupControlRef ref, bool checked);

    // The steps of showing the dialog, in TAdSetup::Execute's order.
    void BuildSections();
    void LoadSettings();
    // Makes sure a plugin is chosen: the list's current entry when none was chosen yet.
    void ChooseInitialPlugin();
    // Writes the choices into the settings file and, when it is used, to disk.
    void SaveSettings();

private:
    TAdSetupControl* FindControl(TAdSetupControlRole role);
    void BuildResolutionSection();
    void BuildOptionSections();
    void BuildPluginSection();
    TAdSetupSection& AddSection(const std::string& caption);
    void FitCaptions();
    void StackSections();
    void ChangePlugin(int index);
    void Rebuild();
    void ApplyResolution();
    void ApplyFullscreen();
    void ApplyCurrentResolution();

    TAdSetup& setup_;
    TAdDraw& draw_;
    std::vector<std::string> resolutions_;
    int preselectedResolution_ = -1;
    TAdIniFile settings_;
    std::vector<TAdSetupSection> sections_;
    CaptionLines captionLines_;
    bool rebuilding_ = false;
    int generation_ = 0;
};

// Shows the dialog on a screen: the screen's display modes, and a modal window drawing the dialog.
class TAdSetupPresenter {
public:
    virtual ~TAdSetupPresenter() = default;
    // The display modes of the screen the dialog shows on, in the order the system lists them.
    virtual std::vector<platform::ScreenMode> ScreenModes() = 0;
    // That screen's current mode.
    virtual platform::ScreenMode DesktopMode() = 0;
    // Shows the dialog until the user confirms (true) or cancels (false).
    virtual bool ShowModal(TAdSetupDialog& dialog) = 0;
};

// Drives the setup dialog for a drawing surface; the choices are written straight into the
// surface's display settings and plugin options.
class TAdSetup {
public:
    TAdSetup(TAdDraw& draw, TAdSetupPresenter& presenter);

    // Finds the plugins, builds and loads the dialog and shows it; on OK saves the choices and
    // returns true. Raises ESetupDlgNoPluginsFound when the plugin choice is shown and no compatible
    // library is in the plugin folder (the dialog never appears then).
    bool Execute();

    TAdDraw& Draw() const { return draw_; }
    // "title=path" per compatible library found by the last Execute.
    const std::vector<std::string>& Plugins() const { return plugins_; }
    std::string PluginPath(int index) const;
    int SelectedPlugin() const { return selectedPlugin_; }

    // The dialog's caption: the application title at creation.
    std::string Caption;
    uint32_t Parts = kAdSetupAllParts;
    bool UseSettingsFile = true;
    // The folder searched for plugins (with a trailing separator) and the plugins' file extension.
    std::string PluginFolder;
    std::string PluginExtension = ".so";
    // "adsettings.ini" in the program's folder.
    std::string SettingsFileName;

private:
    friend class TAdSetupDialog;
    // The program folder may be read-only (a system-wide install): the game then starts on the
    // choices made, and the log says once per run that they were not kept.
    void ReportSaveFailure();
    // A settings file that is there but cannot be used (unreadable, far too large, a folder) is
    // logged once per run; the dialog then starts from the defaults.
    void ReportReadProblem(const std::string& problem);

    TAdDraw& draw_;
    TAdSetupPresenter& presenter_;
    std::vector<std::string> plugins_;
    int selectedPlugin_ = -1;
    bool saveFailureReported_ = false;
    bool readProblemReported_ = false;
};

} // namespace ad
