// The start-up choices kept in "adsettings.ini" and the resolution entries' form.
#include "engine/render/AdSetupSettings.hpp"

#include <cstdio>

#include "engine/render/AdIniFile.hpp"

namespace ad {

TAdSetupChoice ReadSetupChoice(const TAdIniFile& ini) {
    TAdSetupChoice choice;
    choice.Resolution = ini.ReadString(kAdSetupSection, "resolution", choice.Resolution);
    choice.CurrentResolution = ini.ReadBool(kAdSetupSection, "curres", false);
    choice.Fullscreen = ini.ReadBool(kAdSetupSection, "fullscreen", false);
    choice.Plugin = ini.ReadString(kAdSetupSection, "plugin", "");
    return choice;
}

bool ParseResolution(const std::string& text, int& width, int& height, int& depth) {
    char tail = 0;
    return std::sscanf(text.c_str(), "%dx%dx%d%c", &width, &height, &depth, &tail) == 3 && width > 0 &&
           height > 0;
}

} // namespace ad
