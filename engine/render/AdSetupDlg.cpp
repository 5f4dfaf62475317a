// The setup dialog's content and rules, and TAdSetup driving it: sections, control events, the
// settings file and what reaches the drawing surface.
#include "engine/render/AdSetupDlg.hpp"

#include <algorithm>
#include <utility>

#include "engine/platform/Dialogs.hpp"
#include "engine/platform/Files.hpp"
#include "engine/render/AdDLLLoader.hpp"
#include "engine/render/AdDraws.hpp"
#include "engine/render/AdSetupSettings.hpp"

namespace ad {

namespace {

constexpr int kControlIndent = 10;
constexpr int kSectionBottomSpace = 30;
constexpr int kSectionGap = 5;
constexpr int kMainPanelSideSpace = 20;
constexpr int kPanelBorder = 5;
constexpr int kButtonGap = 10;
constexpr const char* kResolutionGroup = "Resolution";

std::string ModeText(int width, int height, int depth) {
    return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
}

std::string PluginTitle(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

TAdSetupControl ComboBox(TAdSetupControlRole role, std::vector<std::string> items, int itemIndex) {
    TAdSetupControl control;
    control.Kind = TAdSetupControlKind::ComboBox;
    control.Role = role;
    control.Items = std::move(items);
    control.ItemIndex = itemIndex;
    control.Bounds.Height = TAdSetupDialog::kComboHeight;
    return control;
}

TAdSetupControl CheckBox(TAdSetupControlRole role, std::string caption, std::string optionName = "") {
    TAdSetupControl control;
    control.Kind = TAdSetupControlKind::CheckBox;
    control.Role = role;
    control.Caption = std::move(caption);
    control.OptionName = std::move(optionName);
    control.Bounds.Height = TAdSetupDialog::kCheckBoxHeight;
    return control;
}

} // namespace

std::string TAdSetupControl::Text() const {
    if (ItemIndex < 0 || ItemIndex >= static_cast<int>(Items.size()))
        return {};
    return Items[static_cast<size_t>(ItemIndex)];
}

TAdSetupSection::TAdSetupSection(std::string caption, const TAdSetupBox& bounds)
    : Caption(std::move(caption)), Bounds(bounds) {
    Bounds.Height = kControlIndent + kSectionBottomSpace;
}

TAdSetupControl& TAdSetupSection::Add(TAdSetupControl control) {
    Controls.push_back(std::move(control));
    Arrange();
    return Controls.back();
}

void TAdSetupSection::Arrange() {
    int top = kControlIndent;
    for (TAdSetupControl& control : Controls) {
        control.Bounds.Left = kControlIndent;
        control.Bounds.Top = top;
        control.Bounds.Width = Bounds.Width - 2 * kControlIndent;
        top += control.Bounds.Height;
    }
    Bounds.Height = top + kSectionBottomSpace;
}

// ---- TAdSetupDialog --------------------------------------------------------------------------

TAdSetupDialog::TAdSetupDialog(TAdSetup& setup, std::vector<platform::ScreenMode> screenModes,
                               const platform::ScreenMode& desktopMode)
    : setup_(setup), draw_(setup.Draw()), settings_(setup.UseSettingsFile ? setup.SettingsFileName : "") {
    if (!settings_.ReadProblem().empty())
        setup_.ReportReadProblem(settings_.ReadProblem());
    for (const platform::ScreenMode& mode : screenModes) {
        if (mode.width <= 639 || mode.bitDepth <= 15)
            continue;
        const std::string text = ModeText(mode.width, mode.height, mode.bitDepth);
        if (std::find(resolutions_.begin(), resolutions_.end(), text) == resolutions_.end())
            resolutions_.push_back(text);
    }
    const auto desktop = std::find(resolutions_.begin(), resolutions_.end(),
                                   ModeText(desktopMode.width, desktopMode.height, 32));
    preselectedResolution_ = desktop != resolutions_.end() ? static_cast<int>(desktop - resolutions_.begin())
                                                           : static_cast<int>(resolutions_.size()) - 1;
}

const std::string& TAdSetupDialog::Caption() const {
    return setup_.Caption;
}

const TAdSetupControl& TAdSetupDialog::Control(TAdSetupControlRef ref) const {
    return sections_.at(ref.Section).Controls.at(ref.Control);
}

std::optional<TAdSetupControlRef> TAdSetupDialog::Find(TAdSetupControlRole role,
                                                       const std::string& optionName) const {
    for (size_t s = 0; s < sections_.size(); ++s)
        for (size_t c = 0; c < sections_[s].Controls.size(); ++c) {
            const TAdSetupControl& control = sections_[s].Controls[c];
            if (control.Role == role && (optionName.empty() || control.OptionName == optionName))
                return TAdSetupControlRef{s, c};
        }
    return std::nullopt;
}

TAdSetupControl* TAdSetupDialog::FindControl(TAdSetupControlRole role) {
    const std::optional<TAdSetupControlRef> ref = std::as_const(*this).Find(role);
    return ref ? &sections_[ref->Section].Controls[ref->Control] : nullptr;
}

int TAdSetupDialog::ClientHeight() const {
    int height = kBottomPanelHeight + 2 * kPanelBorder;
    for (const TAdSetupSection& section : sections_)
        height += section.Bounds.Height + kSectionGap;
    return height;
}

TAdSetupBox TAdSetupDialog::CancelButton() const {
    const int top = ClientHeight() - kBottomPanelHeight + kPanelBorder;
    return {kClientWidth - kPanelBorder - kButtonWidth, top, kButtonWidth,
            kBottomPanelHeight - 2 * kPanelBorder};
}

TAdSetupBox TAdSetupDialog::OkButton() const {
    TAdSetupBox box = CancelButton();
    box.Left -= kButtonGap + kButtonWidth;
    return box;
}

TAdSetupSection& TAdSetupDialog::AddSection(const std::string& caption) {
    // The main panel starts at the top: the dialog shows no header image.
    const int top = sections_.empty()
                        ? kPanelBorder
                        : sections_.back().Bounds.Top + sections_.back().Bounds.Height + kSectionGap;
    const int left = kMainPanelSideSpace + kPanelBorder;
    sections_.emplace_back(caption, TAdSetupBox{left, top, kClientWidth - 2 * left, 0});
    return sections_.back();
}

void TAdSetupDialog::BuildSections() {
    sections_.clear();
    if (setup_.Parts & kAdSetupResolution)
        BuildResolutionSection();
    if (setup_.Parts & kAdSetupPluginOptions)
        BuildOptionSections();
    if (setup_.Parts & kAdSetupPluginChoice)
        BuildPluginSection();
    // Sizes the check boxes and stacks the sections, a group's section grown with each of its options.
    FitCaptions();
}

void TAdSetupDialog::SetCaptionLines(CaptionLines lines) {
    captionLines_ = std::move(lines);
    FitCaptions();
}

void TAdSetupDialog::FitCaptions() {
    for (TAdSetupSection& section : sections_) {
        for (TAdSetupControl& control : section.Controls) {
            if (control.Kind != TAdSetupControlKind::CheckBox)
                continue;
            const int lines =
                captionLines_ ? std::max(1, captionLines_(control.Caption, control.Bounds.Width)) : 1;
            control.Bounds.Height = kCheckBoxHeight + (lines - 1) * kCaptionLineHeight;
        }
        section.Arrange();
    }
    StackSections();
}

// A section that grew pushes the sections below it down.
void TAdSetupDialog::StackSections() {
    int top = kPanelBorder;
    for (TAdSetupSection& section : sections_) {
        section.Bounds.Top = top;
        top += section.Bounds.Height + kSectionGap;
    }
}

void TAdSetupDialog::BuildResolutionSection() {
    TAdSetupSection& section = AddSection("Resolution");
    section.Add(ComboBox(TAdSetupControlRole::ResolutionList, resolutions_, preselectedResolution_));
    section.Add(CheckBox(TAdSetupControlRole::Fullscreen, "Fullscreen"));
    section.Add(CheckBox(TAdSetupControlRole::CurrentResolution, "Use current desktop resolution"));
}

void TAdSetupDialog::BuildOptionSections() {
    const size_t first = sections_.size();
    for (const TAdPluginProperty& option : draw_.PluginProperties.Properties()) {
        if (option.Group == kResolutionGroup || option.Type == kAdPropertyHidden)
            continue;
        auto section = std::find_if(sections_.begin() + static_cast<std::ptrdiff_t>(first), sections_.end(),
                                    [&](const TAdSetupSection& s) { return s.Caption == option.Group; });
        if (section == sections_.end()) {
            AddSection(option.Group);
            section = sections_.end() - 1;
        }
        if (option.Type == kAdPropertyBoolean)
            section->Add(CheckBox(TAdSetupControlRole::PluginOption, option.Caption, option.Name));
    }
}

void TAdSetupDialog::BuildPluginSection() {
    std::vector<std::string> titles;
    for (const std::string& entry : setup_.plugins_)
        titles.push_back(PluginTitle(entry));
    const int index = setup_.selectedPlugin_ != -1 ? setup_.selectedPlugin_ : (titles.empty() ? -1 : 0);
    AddSection("Plugin").Add(ComboBox(TAdSetupControlRole::PluginList, std::move(titles), index));
}

void TAdSetupDialog::Select(TAdSetupControlRef ref, int itemIndex) {
    TAdSetupControl& control = sections_.at(ref.Section).Controls.at(ref.Control);
    if (control.Kind != TAdSetupControlKind::ComboBox || !control.Enabled)
        return;
    if (itemIndex < -1 || itemIndex >= static_cast<int>(control.Items.size()))
        return;
    control.ItemIndex = itemIndex;
    if (control.Role == TAdSetupControlRole::ResolutionList)
        ApplyResolution();
    if (control.Role == TAdSetupControlRole::PluginList && itemIndex >= 0 && !rebuilding_)
        ChangePlugin(itemIndex);
}

void TAdSetupDialog::Click(TAdSetupControlRef ref, bool checked) {
    TAdSetupControl& control = sections_.at(ref.Section).Controls.at(ref.Control);
    if (control.Kind != TAdSetupControlKind::CheckBox || !control.Enabled)
        return;
    control.Checked = checked;
    switch (control.Role) {
    case TAdSetupControlRole::Fullscreen:
        ApplyFullscreen();
        break;
    case TAdSetupControlRole::CurrentResolution:
        ApplyCurrentResolution();
        break;
    case TAdSetupControlRole::PluginOption:
        draw_.PluginProperties.SetBoolean(control.OptionName, checked);
        break;
    case TAdSetupControlRole::ResolutionList:
    case TAdSetupControlRole::PluginList:
        break;
    }
}

void TAdSetupDialog::ChangePlugin(int index) {
    draw_.SetDllName(setup_.PluginPath(index));
    setup_.selectedPlugin_ = index;
    Rebuild();
}

// The new plugin may offer other options, so every section is built anew; what was chosen so far
// goes through the settings file to survive that.
void TAdSetupDialog::Rebuild() {
    SaveSettings();
    rebuilding_ = true;
    BuildSections();
    LoadSettings();
    rebuilding_ = false;
    ++generation_;
}

void TAdSetupDialog::ApplyResolution() {
    const TAdSetupControl* list = FindControl(TAdSetupControlRole::ResolutionList);
    int width = 0, height = 0, depth = 0;
    if (list == nullptr || !ParseResolution(list->Text(), width, height, depth))
        return;
    draw_.DisplayWidth = width;
    draw_.DisplayHeight = height;
    if (depth == 16 || depth == 32)
        draw_.DisplayBitDepth = depth;
}

void TAdSetupDialog::ApplyFullscreen() {
    const TAdSetupControl* fullscreen = FindControl(TAdSetupControlRole::Fullscreen);
    draw_.DisplayMode = fullscreen != nullptr && fullscreen->Checked ? 3 : 1;
}

void TAdSetupDialog::ApplyCurrentResolution() {
    TAdSetupControl* current = FindControl(TAdSetupControlRole::CurrentResolution);
    TAdSetupControl* fullscreen = FindControl(TAdSetupControlRole::Fullscreen);
    TAdSetupControl* list = FindControl(TAdSetupControlRole::ResolutionList);
    if (current == nullptr || fullscreen == nullptr || list == nullptr)
        return;
    list->Enabled = !current->Checked;
    fullscreen->Enabled = !current->Checked;
    fullscreen->Checked = true;
    if (current->Checked)
        draw_.DisplayMode = 2;
    else
        ApplyFullscreen();
}

void TAdSetupDialog::LoadSettings() {
    const TAdSetupChoice choice = ReadSetupChoice(settings_);
    if (TAdSetupControl* list = FindControl(TAdSetupControlRole::ResolutionList)) {
        const auto stored = std::find(list->Items.begin(), list->Items.end(), choice.Resolution);
        list->ItemIndex = stored != list->Items.end() ? static_cast<int>(stored - list->Items.begin())
                                                      : (list->Items.empty() ? -1 : 0);
        TAdSetupControl* fullscreen = FindControl(TAdSetupControlRole::Fullscreen);
        TAdSetupControl* current = FindControl(TAdSetupControlRole::CurrentResolution);
        fullscreen->Checked = choice.Fullscreen;
        current->Checked = choice.CurrentResolution;
        draw_.DisplayMode = 1;
        ApplyResolution();
        if (fullscreen->Checked)
            ApplyFullscreen();
        if (current->Checked)
            ApplyCurrentResolution();
    }
    if (TAdSetupControl* plugins = FindControl(TAdSetupControlRole::PluginList);
        plugins != nullptr && !rebuilding_) {
        for (size_t i = 0; i < setup_.plugins_.size(); ++i)
            if (setup_.PluginPath(static_cast<int>(i)) == choice.Plugin)
                plugins->ItemIndex = static_cast<int>(i);
    }
    for (TAdSetupSection& section : sections_)
        for (TAdSetupControl& control : section.Controls)
            if (control.Role == TAdSetupControlRole::PluginOption) {
                control.Checked = settings_.ReadBool(kAdSetupSection, control.OptionName, false);
                draw_.PluginProperties.SetBoolean(control.OptionName, control.Checked);
            }
}

void TAdSetupDialog::ChooseInitialPlugin() {
    const TAdSetupControl* plugins = FindControl(TAdSetupControlRole::PluginList);
    if (setup_.selectedPlugin_ != -1 || plugins == nullptr || plugins->ItemIndex < 0)
        return;
    ChangePlugin(plugins->ItemIndex);
}

void TAdSetupDialog::SaveSettings() {
    if (const TAdSetupControl* list = FindControl(TAdSetupControlRole::ResolutionList)) {
        settings_.WriteString(kAdSetupSection, "resolution", list->Text());
        settings_.WriteBool(kAdSetupSection, "curres",
                            FindControl(TAdSetupControlRole::CurrentResolution)->Checked);
        settings_.WriteBool(kAdSetupSection, "fullscreen",
                            FindControl(TAdSetupControlRole::Fullscreen)->Checked);
    }
    if (setup_.selectedPlugin_ >= 0 && setup_.selectedPlugin_ < static_cast<int>(setup_.plugins_.size()))
        settings_.WriteString(kAdSetupSection, "plugin", setup_.PluginPath(setup_.selectedPlugin_));
    for (const TAdSetupSection& section : sections_)
        for (const TAdSetupControl& control : section.Controls)
            if (control.Role == TAdSetupControlRole::PluginOption)
                settings_.WriteBool(kAdSetupSection, control.OptionName, control.Checked);
    if (setup_.UseSettingsFile && !settings_.UpdateFile())
        setup_.ReportSaveFailure();
}

// ---- TAdSetup --------------------------------------------------------------------------------

TAdSetup::TAdSetup(TAdDraw& draw, TAdSetupPresenter& presenter)
    : Caption(platform::ApplicationTitle()), PluginFolder(platform::ProgramFolder()),
      SettingsFileName(PluginFolder + kAdSetupFileName), draw_(draw), presenter_(presenter) {}

std::string TAdSetup::PluginPath(int index) const {
    if (index < 0 || index >= static_cast<int>(plugins_.size()))
        return {};
    const std::string& entry = plugins_[static_cast<size_t>(index)];
    return entry.substr(entry.find('=') + 1);
}

bool TAdSetup::Execute() {
    if (Parts & kAdSetupPluginChoice) {
        plugins_.clear();
        std::vector<std::string> leftOut;
        TAdDLLExplorer::GetPlugins(plugins_, PluginFolder, PluginExtension, &leftOut);
        for (const std::string& line : leftOut)
            draw_.Log.AddEntry(TAdLogType::Warning, "TAdDLLExplorer", line);
        selectedPlugin_ = -1;
        if (plugins_.empty())
            throw ESetupDlgNoPluginsFound();
    }
    TAdSetupDialog dialog(*this, presenter_.ScreenModes(), presenter_.DesktopMode());
    dialog.BuildSections();
    dialog.LoadSettings();
    dialog.ChooseInitialPlugin();
    if (!presenter_.ShowModal(dialog))
        return false;
    dialog.SaveSettings();
    return true;
}

void TAdSetup::ReportReadProblem(const std::string& problem) {
    if (readProblemReported_)
        return;
    readProblemReported_ = true;
    draw_.Log.AddEntry(TAdLogType::Warning, "TAdSetup", problem + "; the setup starts from its defaults");
}

void TAdSetup::ReportSaveFailure() {
    if (saveFailureReported_)
        return;
    saveFailureReported_ = true;
    draw_.Log.AddEntry(TAdLogType::Warning, "TAdSetup",
                       "\"" + SettingsFileName + "\" could not be saved; the choices apply to this run only");
}

} // namespace ad
