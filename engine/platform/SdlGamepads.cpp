// Game controllers' events in the game's terms.
#include "engine/platform/SdlGamepads.hpp"

namespace ad::platform {

namespace {

bool PadButtonOf(Uint8 button, PadButton& pad) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        pad = PadButton::A;
        return true;
    case SDL_CONTROLLER_BUTTON_B:
        pad = PadButton::B;
        return true;
    case SDL_CONTROLLER_BUTTON_START:
        pad = PadButton::Start;
        return true;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        pad = PadButton::Up;
        return true;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        pad = PadButton::Down;
        return true;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        pad = PadButton::Left;
        return true;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        pad = PadButton::Right;
        return true;
    default:
        return false;
    }
}

} // namespace

SdlGamepads::SdlGamepads() : started_(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {}

SdlGamepads::~SdlGamepads() {
    for (auto& [id, pad] : pads_)
        SDL_GameControllerClose(pad);
    pads_.clear();
    if (started_)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlGamepads::Translate(const SDL_Event& sdl, WindowEvent& event) {
    switch (sdl.type) {
    case SDL_CONTROLLERDEVICEADDED: {
        SDL_GameController* pad = SDL_GameControllerOpen(sdl.cdevice.which);
        if (pad != nullptr) {
            const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
            if (!pads_.emplace(id, pad).second)
                SDL_GameControllerClose(pad); // already open: SDL counts the second open
        }
        return false;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
        const auto found = pads_.find(sdl.cdevice.which);
        if (found == pads_.end())
            return false;
        SDL_GameControllerClose(found->second);
        pads_.erase(found);
        event = WindowEvent{};
        event.kind = EventKind::PadRemoved;
        return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
        event = WindowEvent{};
        if (!PadButtonOf(sdl.cbutton.button, event.pad))
            return false;
        event.kind = EventKind::PadButton;
        return true;
    case SDL_CONTROLLERAXISMOTION: {
        if (sdl.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX && sdl.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY)
            return false;
        const auto found = pads_.find(sdl.caxis.which);
        if (found == pads_.end())
            return false;
        event = WindowEvent{};
        event.kind = EventKind::PadStick;
        event.x = SDL_GameControllerGetAxis(found->second, SDL_CONTROLLER_AXIS_LEFTX);
        event.y = SDL_GameControllerGetAxis(found->second, SDL_CONTROLLER_AXIS_LEFTY);
        return true;
    }
    default:
        return false;
    }
}

} // namespace ad::platform
