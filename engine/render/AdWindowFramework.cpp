// Binds a drawing surface to the main window: sizes and styles the window for the chosen display mode.
#include "engine/render/AdWindowFramework.hpp"

namespace ad {

void TAdWindowFramework::InitDisplay(const platform::DisplaySettings& settings, const std::string& title) {
    window_.SetCaption(title);
    window_.ApplyDisplayMode(settings);
}

} // namespace ad
