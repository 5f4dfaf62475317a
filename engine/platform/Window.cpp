// What every window shares: fitting the game's picture into the window and mapping the mouse back.
#include "engine/platform/Window.hpp"

#include <algorithm>
#include <cstdint>

namespace ad::platform {

FitRect FitInto(int contentWidth, int contentHeight, int areaWidth, int areaHeight) {
    if (contentWidth <= 0 || contentHeight <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return {0, 0, std::max(areaWidth, 0), std::max(areaHeight, 0)};
    // Compare the aspects in whole numbers: the wider one decides which side gets the bars.
    const int64_t byWidth = static_cast<int64_t>(areaWidth) * contentHeight;
    const int64_t byHeight = static_cast<int64_t>(areaHeight) * contentWidth;
    FitRect fit;
    if (byWidth > byHeight) {
        fit.height = areaHeight;
        fit.width = static_cast<int>(byHeight / contentHeight);
    } else {
        fit.width = areaWidth;
        fit.height = static_cast<int>(byWidth / contentWidth);
    }
    fit.x = (areaWidth - fit.width) / 2;
    fit.y = (areaHeight - fit.height) / 2;
    return fit;
}

void Window::MapToPicture(int& x, int& y) const {
    const int areaWidth = ClientWidth(), areaHeight = ClientHeight();
    if (logicalWidth_ <= 0 || logicalHeight_ <= 0 ||
        (logicalWidth_ == areaWidth && logicalHeight_ == areaHeight))
        return;
    const FitRect fit = FitInto(logicalWidth_, logicalHeight_, areaWidth, areaHeight);
    if (fit.width <= 0 || fit.height <= 0)
        return;
    x = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(x - fit.x) * logicalWidth_ / fit.width, 0,
                                             logicalWidth_ - 1));
    y = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(y - fit.y) * logicalHeight_ / fit.height, 0,
                                             logicalHeight_ - 1));
}

} // namespace ad::platform
