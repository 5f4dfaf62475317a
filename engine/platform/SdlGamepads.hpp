// Game controllers through SDL's game controller interface: each is opened as it is plugged in (those
// present at start arrive the same way) and its buttons and left stick become window events.
#pragma once

#include <SDL2/SDL.h>

#include <map>

#include "engine/platform/Window.hpp"

namespace ad::platform {

class SdlGamepads {
public:
    // Starts SDL's game controller subsystem (counted, like every SDL subsystem).
    SdlGamepads();
    ~SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Turns a controller event into the window's event; false for every other event, and for
    // controller events the game does not answer (other buttons, releases, the right stick).
    bool Translate(const SDL_Event& sdl, WindowEvent& event);
    size_t Count() const { return pads_.size(); }

private:
    bool started_ = false;
    std::map<SDL_JoystickID, SDL_GameController*> pads_;
};

} // namespace ad::platform
