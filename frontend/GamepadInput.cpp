// The controller's buttons and stick as the keys of the current screen.
#include "frontend/GamepadInput.hpp"

#include <cstdlib>

#include "engine/platform/VirtualKeys.hpp"
#include "frontend/KeyboardInput.hpp"
#include "frontend/MenuModel.hpp"
#include "game/GameState.hpp"

namespace vimbo {

namespace vk = ad::platform::vk;
using ad::platform::PadButton;

int KeyForPadButton(PadButton button) {
    switch (button) {
    case PadButton::Up:
        return vk::Up;
    case PadButton::Down:
        return vk::Down;
    case PadButton::Left:
        return vk::Left;
    case PadButton::Right:
        return vk::Right;
    case PadButton::A:
        return MainMenuE || paused || gameover2 ? vk::Return : vk::Space;
    case PadButton::B:
        return (MainMenuE && OptionsScreenShown()) || paused ? vk::Escape : 0;
    case PadButton::Start:
        return vk::Escape;
    }
    return 0;
}

int StickKeys::KeyFor(int x, int y) {
    const int ax = std::abs(x), ay = std::abs(y);
    if (ax < kCentre && ay < kCentre) {
        held_ = 0;
        return 0;
    }
    if (ax < kDeadZone && ay < kDeadZone)
        return 0;
    // SDL's stick axes grow to the right and downwards.
    const int key = ax >= ay ? (x > 0 ? vk::Right : vk::Left) : (y > 0 ? vk::Down : vk::Up);
    if (key == held_)
        return 0;
    held_ = key;
    return key;
}

void PadUnplugged() {
    if (GameRunning())
        PauseGame();
}

} // namespace vimbo
