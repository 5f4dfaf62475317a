// Translation of SDL key codes into the virtual-key codes the game compares.
#pragma once

#include <SDL2/SDL_keycode.h>

namespace ad::platform {

// The virtual-key code of an SDL key, or 0 for keys the game has no code for.
int VirtualKeyFromSdl(SDL_Keycode key);

} // namespace ad::platform
