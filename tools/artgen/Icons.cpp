// The desktop icon: a rounded tile in the maze's colours with the runner on it.
#include "Icons.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "Files.hpp"
#include "Pictures.hpp"
#include "Style.hpp"

namespace artgen {

namespace {

// The runner's drawing is laid out on 24 x 24 units; it fills this share of the icon.
constexpr float kRunnerShare = 0.86f;

void DrawTile(Canvas& c, float size) {
    const float half = size / 2, radius = size * 0.18f;
    const auto tile = [=](float x, float y) { return SdBox(x, y, half, half, half - 0.5f, half - 0.5f, radius); };
    // The maze's green rim around a corridor's dark red, as the game's first level shows them.
    c.Fill(tile, Rgb(40, 200, 40));
    c.Draw([=](float x, float y) { return tile(x, y) + size * 0.08f; },
           [=](float, float y) { return Mix(Rgb(120, 24, 30), Rgb(60, 8, 14), Clamp01(y / size)); });
}

uint8_t Byte(float v) {
    return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f));
}

} // namespace

std::vector<uint8_t> MakeIcon(int size) {
    Canvas tile(size, size);
    DrawTile(tile, static_cast<float>(size));
    const int runnerSize = std::max(1, static_cast<int>(std::lround(size * kRunnerShare)));
    Canvas runner(runnerSize, runnerSize, 4, static_cast<float>(runnerSize) / 24.0f);
    DrawPlayerFrame(runner, 0);
    const int offset = (size - runnerSize) / 2;
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Px p = tile.Average(x, y);
            const int rx = x - offset, ry = y - offset;
            if (rx >= 0 && ry >= 0 && rx < runnerSize && ry < runnerSize) {
                const Px top = runner.Average(rx, ry); // premultiplied: top over tile
                p = {top.r + p.r * (1 - top.a), top.g + p.g * (1 - top.a), top.b + p.b * (1 - top.a),
                     top.a + p.a * (1 - top.a)};
            }
            uint8_t* out = &rgba[(static_cast<size_t>(y) * size + x) * 4];
            const float a = p.a > 0 ? p.a : 1.0f;
            out[0] = Byte(p.r / a);
            out[1] = Byte(p.g / a);
            out[2] = Byte(p.b / a);
            out[3] = Byte(p.a);
        }
    return rgba;
}

void WriteIcons(const std::string& folder) {
    for (const int size : kIconSizes) {
        const std::string dir = folder + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::filesystem::create_directories(dir);
        WritePngRgba(size, size, MakeIcon(size), dir + "/vimbo2.png");
    }
}

} // namespace artgen
