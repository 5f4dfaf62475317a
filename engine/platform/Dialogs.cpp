// Modal message boxes through SDL, falling back to standard error when no display is available.
#include "engine/platform/Dialogs.hpp"

#include <SDL2/SDL.h>

#include <cstdio>
#include <utility>

namespace ad::platform {

namespace {

std::string& TitleStorage() {
    static std::string title;
    return title;
}

std::function<void(const std::string&, const std::string&)>& HandlerStorage() {
    static std::function<void(const std::string&, const std::string&)> handler;
    return handler;
}

} // namespace

void SetApplicationTitle(const std::string& title) {
    TitleStorage() = title;
}

const std::string& ApplicationTitle() {
    return TitleStorage();
}

void SetMessageHandler(std::function<void(const std::string& caption, const std::string& text)> handler) {
    HandlerStorage() = std::move(handler);
}

void ShowMessage(const std::string& text) {
    const std::string& caption = ApplicationTitle();
    if (const auto& handler = HandlerStorage()) {
        handler(caption, text);
        return;
    }
    // SDL can show a message box without SDL_Init; it fails cleanly when there is no display.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(), nullptr) == 0) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

} // namespace ad::platform
