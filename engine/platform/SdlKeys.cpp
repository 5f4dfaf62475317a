// Maps SDL key codes onto the desktop virtual-key codes that the game's input handler compares.
#include "engine/platform/SdlKeys.hpp"

#include "engine/platform/VirtualKeys.hpp"

namespace ad::platform {

namespace {

int NamedKey(SDL_Keycode key) {
    switch (key) {
    case SDLK_LEFT:
        return vk::Left;
    case SDLK_UP:
        return vk::Up;
    case SDLK_RIGHT:
        return vk::Right;
    case SDLK_DOWN:
        return vk::Down;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER:
        return vk::Return;
    case SDLK_ESCAPE:
        return vk::Escape;
    case SDLK_PAUSE:
        return vk::Pause;
    case SDLK_SPACE:
        return vk::Space;
    case SDLK_BACKSPACE:
        return vk::Back;
    case SDLK_TAB:
        return vk::Tab;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return vk::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return vk::Control;
    case SDLK_LALT:
    case SDLK_RALT:
        return vk::Menu;
    case SDLK_HOME:
        return vk::Home;
    case SDLK_END:
        return vk::End;
    case SDLK_PAGEUP:
        return vk::Prior;
    case SDLK_PAGEDOWN:
        return vk::Next;
    case SDLK_INSERT:
        return vk::Insert;
    case SDLK_DELETE:
        return vk::Delete;
    default:
        return 0;
    }
}

} // namespace

int VirtualKeyFromSdl(SDL_Keycode key) {
    // SDL reports letters as lower-case characters; the virtual-key table uses the upper-case ones.
    if (key >= SDLK_a && key <= SDLK_z)
        return vk::KeyA + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return vk::Key0 + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return vk::F1 + (key - SDLK_F1);
    return NamedKey(key);
}

} // namespace ad::platform
