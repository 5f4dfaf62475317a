// The start-up choices kept in "adsettings.ini" (renderer library, resolution, full screen), read
// into the drawing surface's display settings.
#pragma once

#include <string>
#include <vector>

namespace ad {

class TAdDraw;
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
void WriteSetupChoice(TAdIniFile& ini, const TAdSetupChoice& choice);

// Splits "width x height x depth"; false unless it has three whole numbers.
bool ParseResolution(const std::string& text, int& width, int& height, int& depth);

// Applies the resolution part to the surface: window mode at the resolution, then full screen
// (mode 3) or the desktop's resolution (mode 2) when chosen. A depth other than 16 or 32 leaves the
// surface's depth as it was.
void ApplySetupChoice(TAdDraw& draw, const TAdSetupChoice& choice);

// The library to use from the found "title=path" entries: the stored one if it is among them,
// else the first; empty when none was found.
std::string ChoosePluginPath(const std::vector<std::string>& plugins, const std::string& stored);

} // namespace ad
