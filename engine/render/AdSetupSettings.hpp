// The start-up choices kept in "adsettings.ini" (renderer library, resolution, full screen) and the
// resolution entries' "width x height x depth" form.
#pragma once

#include <string>

namespace ad {

class TAdIniFile;

inline constexpr const char* kAdSetupSection = "ad2dsetup";
inline constexpr const char* kAdSetupFileName = "adsettings.ini";

struct TAdSetupChoice {
    std::string Resolution = "1024x768x32";
    bool CurrentResolution = false;
    bool Fullscreen = false;
    std::string Plugin;
};

// Reads the choices (defaults for whatever is missing or unreadable).
TAdSetupChoice ReadSetupChoice(const TAdIniFile& ini);

// Splits "width x height x depth"; false unless it has three whole numbers.
bool ParseResolution(const std::string& text, int& width, int& height, int& depth);

} // namespace ad
