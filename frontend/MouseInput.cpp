// Hover and click rules of the menus: the pointer's item is found by the last frame's hot-spot scan;
// what hovering and clicking it do is the menu model's.
#include "frontend/MouseInput.hpp"

#include <optional>

#include "frontend/MenuModel.hpp"
#include "frontend/Menus.hpp"
#include "game/GameState.hpp"

namespace vimbo {

namespace {

// Hovering starts only near the end of a fade-in; clicks wait for full brightness.
constexpr double kHoverBrightness = 253;

} // namespace

void HandleMouseMove(int x, int y) {
    mouseX = x;
    mouseY = y;
    if (Ireal < kHoverBrightness)
        return;
    if (const std::optional<MenuItem> item = ItemForHoverName(hoverName))
        HoverItem(*item);
}

void HandleMouseDown() {
    if (Ireal < 255)
        return;
    // The hover of an item that is gone (the menu of a game that has started) is stale.
    if (ShownItem(hoverName) == nullptr)
        return;
    if (const std::optional<MenuItem> item = ItemForHoverName(hoverName))
        ActivateItem(*item, MenuInput::Mouse);
}

} // namespace vimbo
