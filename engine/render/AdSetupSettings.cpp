// The start-up choices kept in "adsettings.ini", read into the drawing surface's display settings.
#include "engine/render/AdSetupSettings.hpp"

#include <cstdio>

#include "engine/render/AdDraws.hpp"
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

void WriteSetupChoice(TAdIniFile& ini, const TAdSetupChoice& choice) {
    ini.WriteString(kAdSetupSection, "resolution", choice.Resolution);
    ini.WriteBool(kAdSetupSection, "curres", choice.CurrentResolution);
    ini.WriteBool(kAdSetupSection, "fullscreen", choice.Fullscreen);
    ini.WriteString(kAdSetupSection, "plugin", choice.Plugin);
}

bool ParseResolution(const std::string& text, int& width, int& height, int& depth) {
    char tail = 0;
    return std::sscanf(text.c_str(), "%dx%dx%d%c", &width, &height, &depth, &tail) == 3 && width > 0 &&
           height > 0;
}

void ApplySetupChoice(TAdDraw& draw, const TAdSetupChoice& choice) {
    draw.DisplayMode = 1;
    int width = 0, height = 0, depth = 0;
    if (!ParseResolution(choice.Resolution, width, height, depth)) ParseResolution("1024x768x32", width, height, depth);
    draw.DisplayWidth = width;
    draw.DisplayHeight = height;
    if (depth == 16 || depth == 32) draw.DisplayBitDepth = depth;
    if (choice.Fullscreen) draw.DisplayMode = 3;
    if (choice.CurrentResolution) draw.DisplayMode = 2;
}

std::string ChoosePluginPath(const std::vector<std::string>& plugins, const std::string& stored) {
    std::string first;
    for (const std::string& entry : plugins) {
        const size_t equals = entry.find('=');
        const std::string path = equals == std::string::npos ? entry : entry.substr(equals + 1);
        if (!stored.empty() && path == stored) return path;
        if (first.empty()) first = path;
    }
    return first;
}

} // namespace ad
