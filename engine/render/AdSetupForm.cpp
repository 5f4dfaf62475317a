// The setup dialog's window: draws the dialog's sections, lists, check boxes and buttons with Dear ImGui
// on SDL2's renderer and hands what the user does back to the dialog.
#include "engine/render/AdSetupForm.hpp"

#include <SDL2/SDL.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>

#include "engine/platform/QuitSignals.hpp"
#include "engine/platform/Resources.hpp"
#include "engine/platform/SdlVideo.hpp"

namespace ad {

namespace {

constexpr float kFontSize = 15.0f;
// Room for a section's title above its controls (the frame runs through the title's middle), taken
// from the space the section leaves under its last control, part of which also parts the frames.
constexpr float kTitleShift = 8.0f;
constexpr float kFrameBottomInset = 8.0f;
constexpr float kTitleIndent = 8.0f;
constexpr uint32_t kIdleWaitMs = 50;

enum class Answer { None, Ok, Cancel };

struct WindowDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};

// The ImGui context and both backends, torn down in reverse order whatever way the dialog ends.
class ImGuiSession {
public:
    ImGuiSession(SDL_Window* window, SDL_Renderer* renderer) {
        IMGUI_CHECKVERSION();
        ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        // The dialog remembers nothing of its own: the choices go to "adsettings.ini".
        io.IniFilename = nullptr;
        io.LogFilename = nullptr;
        io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
        ImGui_ImplSDL2_InitForSDLRenderer(window);
        ImGui_ImplSDLRenderer_Init(renderer);
        ApplyStyle();
        LoadFont(io);
        // Captions are measured before the first frame would build the glyphs.
        io.Fonts->Build();
    }
    ~ImGuiSession() {
        ImGui_ImplSDLRenderer_Shutdown();
        ImGui_ImplSDL2_Shutdown();
        ImGui::DestroyContext();
    }
    ImGuiSession(const ImGuiSession&) = delete;
    ImGuiSession& operator=(const ImGuiSession&) = delete;

private:
    static void ApplyStyle() {
        ImGui::StyleColorsLight();
        ImGuiStyle& style = ImGui::GetStyle();
        style.WindowRounding = 0.0f;
        style.WindowBorderSize = 0.0f;
        style.WindowPadding = ImVec2(0.0f, 0.0f);
        style.FrameRounding = 3.0f;
        style.FrameBorderSize = 1.0f;
        style.PopupRounding = 3.0f;
        style.PopupBorderSize = 1.0f;
        style.FramePadding = ImVec2(6.0f, 3.0f);
        style.Colors[ImGuiCol_WindowBg] = ImVec4(0.94f, 0.94f, 0.94f, 1.0f);
        style.Colors[ImGuiCol_FrameBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
        style.Colors[ImGuiCol_Button] = ImVec4(0.90f, 0.90f, 0.90f, 1.0f);
        style.Colors[ImGuiCol_Border] = ImVec4(0.68f, 0.68f, 0.68f, 1.0f);
    }
    // The face the engine's canvas writes with, carried inside the program; ImGui's own font
    // otherwise.
    static void LoadFont(ImGuiIO& io) {
        const platform::Resource* face =
            platform::FindResource(platform::ResourceKind::RawData, "DejaVuSans");
        if (face == nullptr)
            return;
        ImFontConfig config;
        config.FontDataOwnedByAtlas = false; // the bytes belong to the program image
        // ImGui takes the bytes as writable but only reads them when they are not its own.
        void* bytes = const_cast<uint8_t*>(face->bytes.data());
        io.Fonts->AddFontFromMemoryTTF(bytes, static_cast<int>(face->bytes.size()), kFontSize, &config);
    }
};

ImVec2 At(const TAdSetupBox& box) {
    return ImVec2(static_cast<float>(box.Left), static_cast<float>(box.Top));
}

ImVec2 SizeOf(const TAdSetupBox& box) {
    return ImVec2(static_cast<float>(box.Width), static_cast<float>(box.Height));
}

// A titled frame as desktop dialogs group their controls.
void DrawSectionFrame(const TAdSetupSection& section) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 origin = ImGui::GetWindowPos();
    const ImVec2 title = ImGui::CalcTextSize(section.Caption.c_str());
    const float left = origin.x + static_cast<float>(section.Bounds.Left);
    const float top = origin.y + static_cast<float>(section.Bounds.Top);
    const float lineY = top + title.y / 2.0f;
    draw->AddRect(ImVec2(left, lineY),
                  ImVec2(left + static_cast<float>(section.Bounds.Width),
                         top + static_cast<float>(section.Bounds.Height)),
                  ImGui::GetColorU32(ImGuiCol_Border), 3.0f);
    const ImVec2 textAt(left + kTitleIndent, top);
    draw->AddRectFilled(ImVec2(textAt.x - 3.0f, top), ImVec2(textAt.x + title.x + 3.0f, top + title.y),
                        ImGui::GetColorU32(ImGuiCol_WindowBg));
    draw->AddText(textAt, ImGui::GetColorU32(ImGuiCol_Text), section.Caption.c_str());
}

// Draws one control; what the user did to it comes back as an action to run after the frame, as it
// may rebuild every section.
void DrawControl(const TAdSetupSection& section, const TAdSetupControl& control, TAdSetupControlRef ref,
                 TAdSetupDialog& dialog, std::function<void()>& action) {
    ImGui::SetCursorPos(ImVec2(static_cast<float>(section.Bounds.Left + control.Bounds.Left),
                               static_cast<float>(section.Bounds.Top + control.Bounds.Top) + kTitleShift));
    ImGui::PushID(static_cast<int>(ref.Section * 1000 + ref.Control));
    ImGui::BeginDisabled(!control.Enabled);
    if (control.Kind == TAdSetupControlKind::ComboBox) {
        ImGui::SetNextItemWidth(static_cast<float>(control.Bounds.Width));
        if (ImGui::BeginCombo("##list", control.Text().c_str())) {
            for (size_t i = 0; i < control.Items.size(); ++i) {
                const bool selected = static_cast<int>(i) == control.ItemIndex;
                if (ImGui::Selectable(control.Items[i].c_str(), selected) && !selected)
                    action = [&dialog, ref, i] { dialog.Select(ref, static_cast<int>(i)); };
                if (selected)
                    ImGui::SetItemDefaultFocus();
            }
            ImGui::EndCombo();
        }
    } else {
        bool checked = control.Checked;
        bool clicked = ImGui::Checkbox("##box", &checked);
        // The caption wraps within the control, which the dialog made tall enough for its lines.
        ImGui::SameLine(0.0f, ImGui::GetStyle().ItemInnerSpacing.x);
        ImGui::PushTextWrapPos(
            static_cast<float>(section.Bounds.Left + control.Bounds.Left + control.Bounds.Width));
        ImGui::AlignTextToFramePadding();
        ImGui::TextUnformatted(control.Caption.c_str());
        ImGui::PopTextWrapPos();
        if (ImGui::IsItemClicked() && control.Enabled) {
            checked = !checked;
            clicked = true;
        }
        if (clicked)
            action = [&dialog, ref, checked] { dialog.Click(ref, checked); };
    }
    ImGui::EndDisabled();
    ImGui::PopID();
}

// The lines a check box's caption takes when wrapped as DrawControl draws it: beside the box, within
// the control's width.
int CaptionLines(const std::string& caption, int width) {
    const ImFont* font = ImGui::GetIO().Fonts->Fonts[0];
    const ImGuiStyle& style = ImGui::GetStyle();
    const float box = font->FontSize + style.FramePadding.y * 2.0f + style.ItemInnerSpacing.x;
    const float wrap = std::max(1.0f, static_cast<float>(width) - box);
    const ImVec2 size = font->CalcTextSizeA(font->FontSize, FLT_MAX, wrap, caption.c_str());
    return std::max(1, static_cast<int>(std::lround(size.y / font->FontSize)));
}

Answer DrawButtons(const TAdSetupDialog& dialog) {
    Answer answer = Answer::None;
    ImGui::SetCursorPos(At(dialog.OkButton()));
    // The default button, answering to Enter, stands out by its frame.
    ImGui::PushStyleColor(ImGuiCol_Border, ImVec4(0.26f, 0.52f, 0.88f, 1.0f));
    if (ImGui::Button("OK", SizeOf(dialog.OkButton())))
        answer = Answer::Ok;
    ImGui::PopStyleColor();
    ImGui::SetCursorPos(At(dialog.CancelButton()));
    if (ImGui::Button("Cancel", SizeOf(dialog.CancelButton())))
        answer = Answer::Cancel;
    return answer;
}

Answer DrawDialog(TAdSetupDialog& dialog, std::function<void()>& action) {
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
    ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
    constexpr ImGuiWindowFlags kFlags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                        ImGuiWindowFlags_NoSavedSettings |
                                        ImGuiWindowFlags_NoBringToFrontOnFocus;
    ImGui::Begin("##setup", nullptr, kFlags);
    const std::vector<TAdSetupSection>& sections = dialog.Sections();
    for (size_t s = 0; s < sections.size(); ++s) {
        DrawSectionFrame(sections[s]);
        for (size_t c = 0; c < sections[s].Controls.size(); ++c)
            DrawControl(sections[s], sections[s].Controls[c], TAdSetupControlRef{s, c}, dialog, action);
    }
    const Answer answer = DrawButtons(dialog);
    ImGui::End();
    return answer;
}

bool IsAnswerKey(SDL_Keycode key) {
    return key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE;
}

// Enter and Escape answer the dialog unless a list is open: then they belong to the list. They answer
// when let go after being pressed here, so that neither the key's release nor its repeats reach the
// game's window, and a key held down when the dialog opened answers nothing.
class KeyAnswers {
public:
    explicit KeyAnswers(uint32_t windowId) : windowId_(windowId) {}

    Answer FromEvent(const SDL_Event& event) {
        if (event.type == SDL_QUIT)
            return Answer::Cancel;
        if (event.type == SDL_WINDOWEVENT && event.window.windowID == windowId_ &&
            event.window.event == SDL_WINDOWEVENT_CLOSE)
            return Answer::Cancel;
        if ((event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) || event.key.windowID != windowId_) {
            return Answer::None;
        }
        const SDL_Keycode key = event.key.keysym.sym;
        if (event.type == SDL_KEYDOWN) {
            if (event.key.repeat == 0)
                pressed_ = IsAnswerKey(key) && !ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId) ? key : 0;
            return Answer::None;
        }
        if (key != pressed_ || ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId))
            return Answer::None;
        return key == SDLK_ESCAPE ? Answer::Cancel : Answer::Ok;
    }
    // The key pressed to answer is the dialog's own: ImGui must not act on it as well.
    bool Holds(const SDL_Event& event) const {
        return (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && pressed_ != 0 &&
               event.key.keysym.sym == pressed_;
    }

private:
    uint32_t windowId_;
    SDL_Keycode pressed_ = 0;
};

} // namespace

std::vector<platform::ScreenMode> TAdSetupForm::ScreenModes() {
    return platform::EnumerateScreenModes();
}

platform::ScreenMode TAdSetupForm::DesktopMode() {
    return platform::DesktopScreenMode();
}

bool TAdSetupForm::ShowModal(TAdSetupDialog& dialog) {
    platform::SdlVideoReference video;
    std::string error;
    if (!video.Acquire(error))
        throw std::runtime_error("The setup dialog could not be opened: " + error);
    std::unique_ptr<SDL_Window, WindowDeleter> window(
        SDL_CreateWindow(dialog.Caption().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         dialog.ClientWidth(), dialog.ClientHeight(), SDL_WINDOW_HIDDEN));
    if (!window)
        throw std::runtime_error(std::string("The setup dialog could not be opened: ") + SDL_GetError());
    std::unique_ptr<SDL_Renderer, WindowDeleter> renderer(SDL_CreateRenderer(window.get(), -1, 0));
    if (!renderer)
        renderer.reset(SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE));
    if (!renderer)
        throw std::runtime_error(std::string("The setup dialog could not be opened: ") + SDL_GetError());
    KeyAnswers keys(SDL_GetWindowID(window.get()));

    ImGuiSession session(window.get(), renderer.get());
    // Measured with the session's font, so the dialog must not keep measuring once it is gone.
    dialog.SetCaptionLines(CaptionLines);
    struct ForgetMeasure {
        TAdSetupDialog& dialog;
        ~ForgetMeasure() { dialog.SetCaptionLines(nullptr); }
    } forgetMeasure{dialog};
    int height = dialog.ClientHeight();
    SDL_SetWindowSize(window.get(), dialog.ClientWidth(), height);
    SDL_SetWindowPosition(window.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    SDL_ShowWindow(window.get());
    SDL_RaiseWindow(window.get());
    Answer answer = Answer::None;
    while (answer == Answer::None) {
        SDL_Event event;
        bool got = SDL_WaitEventTimeout(&event, kIdleWaitMs) != 0;
        // A signal asking the game to end answers as closing the dialog does.
        if (platform::QuitSignalled() != 0)
            answer = Answer::Cancel;
        while (got && answer == Answer::None) {
            answer = keys.FromEvent(event);
            if (answer == Answer::None && !keys.Holds(event))
                ImGui_ImplSDL2_ProcessEvent(&event);
            got = SDL_PollEvent(&event) != 0;
        }
        if (answer != Answer::None)
            break;

        ImGui_ImplSDLRenderer_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        ImGui::NewFrame();
        std::function<void()> action;
        answer = DrawDialog(dialog, action);
        ImGui::Render();
        SDL_SetRenderDrawColor(renderer.get(), 240, 240, 240, 255);
        SDL_RenderClear(renderer.get());
        ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
        SDL_RenderPresent(renderer.get());

        if (action)
            action();
        // A plugin with other options makes the dialog taller or shorter; it stays centred.
        if (dialog.ClientHeight() != height) {
            height = dialog.ClientHeight();
            SDL_SetWindowSize(window.get(), dialog.ClientWidth(), height);
            SDL_SetWindowPosition(window.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
    }
    return answer == Answer::Ok;
}

} // namespace ad
