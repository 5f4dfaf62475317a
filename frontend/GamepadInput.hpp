// A game controller in the game's terms: every button and stick direction stands for the key the
// keyboard would press on the current screen, so each screen's rules and the input gating hold alike.
#pragma once

#include "engine/platform/Window.hpp"

namespace vimbo {

// The key a pressed button stands for on the current screen, or 0 where it has none. The pad's
// arrows are the arrow keys; A is Enter in the menus, the pause and the game-over banner, and Space
// (the wall) in play; B is Escape on the options and pause screens; Start is Escape.
int KeyForPadButton(ad::platform::PadButton button);

// The left stick as the arrow keys: a direction is pressed once as the stick leaves the dead zone
// towards it, and again only after the stick has come back near the centre or turned to another
// direction.
class StickKeys {
public:
    // Beyond this on its stronger axis (of 32767) the stick points somewhere.
    static constexpr int kDeadZone = 16000;
    // Within this on both axes it is back at the centre.
    static constexpr int kCentre = 8000;

    // The arrow key the stick's new position presses, or 0.
    int KeyFor(int x, int y);

private:
    int held_ = 0;
};

// A controller was unplugged: a game being played pauses.
void PadUnplugged();

} // namespace vimbo
