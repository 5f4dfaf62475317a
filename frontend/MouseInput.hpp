// The mouse in the menus: hovering highlights the item under the pointer, a click of any button
// activates it.
#pragma once

namespace vimbo {

// Keeps the pointer's position (the cursor sprites follow it) and highlights the hovered item.
void HandleMouseMove(int x, int y);
// Activates the item under the pointer, as the last frame's hot-spot scan found it.
void HandleMouseDown();

} // namespace vimbo
