// The review screen: pictures placed and tinted the way the game shows them.
#include "Preview.hpp"

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "Pictures.hpp"
#include "game/BlockTiles.hpp"
#include "game/MazeGrid.hpp"

namespace artgen {

namespace {

constexpr int kW = 1024, kH = 800;

struct Rgb8 {
    int r, g, b;
};

struct Screen {
    Picture pic{kW, kH, false, 0};
    // Draws frame `frame` of a sheet at (x, y), multiplied by tint and blended with alpha.
    void Draw(const Picture& sheet, int fw, int fh, int frame, int x, int y, Rgb8 tint = {255, 255, 255},
              int alpha = 255, int drawW = 0, int drawH = 0) {
        const int columns = sheet.width / fw;
        const int sx0 = (frame % columns) * fw, sy0 = (frame / columns) * fh;
        drawW = drawW > 0 ? drawW : fw;
        drawH = drawH > 0 ? drawH : fh;
        for (int j = 0; j < drawH; ++j)
            for (int i = 0; i < drawW; ++i) {
                const int px = x + i, py = y + j;
                if (px < 0 || py < 0 || px >= kW || py >= kH)
                    continue;
                const int sx = sx0 + i * fw / drawW, sy = sy0 + j * fh / drawH;
                if (sheet.Transparent(sx, sy))
                    continue;
                const uint32_t s = sheet.At(sx, sy), d = pic.At(px, py);
                auto channel = [&](int shift, int t) {
                    const int src = static_cast<int>((s >> shift) & 0xFF) * t / 255;
                    const int dst = static_cast<int>((d >> shift) & 0xFF);
                    return static_cast<uint32_t>((src * alpha + dst * (255 - alpha)) / 255) << shift;
                };
                pic.Set(px, py, channel(16, tint.r) | channel(8, tint.g) | channel(0, tint.b));
            }
    }
};

// A game colour (red in the lowest byte; bits above the low 24 are ignored).
Rgb8 FromGameColor(uint32_t color) {
    return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
            static_cast<int>((color >> 16) & 0xFF)};
}

std::pair<Rgb8, Rgb8> FonColors(int level, bool menu) {
    std::pair<Rgb8, Rgb8> c = menu ? std::pair<Rgb8, Rgb8>{{135, 206, 250}, {0, 255, 0}}
                                   : std::pair<Rgb8, Rgb8>{{60, 179, 113}, {165, 42, 42}};
    const struct {
        int from;
        Rgb8 fon2, fon;
    } rows[] = {{2, {255, 69, 0}, {60, 179, 113}},     {3, {255, 192, 203}, {0, 255, 0}},
                {4, {135, 206, 250}, {0, 255, 0}},     {5, {255, 69, 0}, {238, 130, 238}},
                {7, {100, 200, 50}, {200, 200, 250}},  {9, {240, 248, 255}, {0, 0, 255}},
                {11, {200, 200, 250}, {250, 250, 50}}, {15, {250, 250, 100}, {150, 150, 250}},
                {18, {0, 80, 0}, {220, 150, 30}}};
    for (const auto& row : rows)
        if (level >= row.from)
            c = {row.fon2, row.fon};
    return c;
}

} // namespace

Picture MakePreview(int level, const std::string& mapsFolder) {
    std::map<std::string, Picture> art;
    for (const ArtItem& item : Catalogue())
        art[item.name] = item.make();
    Screen s;
    const bool menu = level == 0;
    const auto [fon2Color, fonColor] = FonColors(std::max(level, 1), menu);
    for (int k = 0; k < 3; ++k)
        s.Draw(art["fon"], 1920, 1080, 0, -10 + k * (kW - 10), -20, fonColor, 255, kW, kH + 50);
    const int ox = kW / 2 - 360, oy = kH / 2 - 360;
    // The upper layer (Z 1) lies under the blocks (Z 7).
    for (int k = 0; k < 3; ++k)
        s.Draw(art["fon2"], 1920, 1080, 0, -10 + k * (kW - 10), -10, fon2Color, 200, kW, kH + 50);
    if (!menu) {
        std::ifstream file(mapsFolder + "/map" + std::to_string(level) + ".txt");
        if (!file)
            throw std::runtime_error("cannot read the map of level " + std::to_string(level));
        std::stringstream text;
        text << file.rdbuf();
        vimbo::MazeGrid maze = vimbo::WallGrid();
        vimbo::FillMaze(maze, vimbo::SplitMapLines(text.str()));
        const Rgb8 tint = FromGameColor(vimbo::BlockColorForLevel(level));
        for (int col = 0; col < vimbo::kMazeColumns; ++col)
            for (int row = 0; row < vimbo::kMazeRows; ++row)
                if (vimbo::MazeAt(maze, col, row) == vimbo::kWallCell)
                    s.Draw(art["b3"], 24, 24, vimbo::BlockFrame(maze, col, row, level),
                           kW / 2 - 384 + col * 24, kH / 2 - 384 + row * 24, tint);
    }
    if (menu) {
        s.Draw(art["kelvoranth"], 1020, 84, 0, kW / 2 - 510, kH / 2 - 126);
        const char* items[] = {"newgame", "continue", "options", "exit"};
        const int widths[] = {128, 128, 112, 64};
        for (int i = 0; i < 4; ++i)
            s.Draw(art[items[i]], widths[i], 20, i == 0 ? 1 : 0, kW / 2 - widths[i] / 2,
                   kH / 2 + 48 + 32 * i);
        s.Draw(art["cursor"], 18, 18, 0, kW / 2 + 20, kH / 2 + 56);
        s.Draw(art["gameover2"], 274, 224, 0, 40, 40);
        s.Draw(art["menup"], 160, 80, 0, kW - 200, 40);
        s.Draw(art["continue"], 128, 20, 1, kW - 184, 56);
        s.Draw(art["exit"], 64, 20, 0, kW - 152, 88);
        s.Draw(art["pause"], 82, 20, 0, kW - 200, 140);
        return s.pic;
    }
    s.Draw(art["player"], 24, 24, 2, ox, oy);
    s.Draw(art["Enemy"], 24, 24, 1, ox + 24 * 14, oy + 24 * 12);
    for (int k = 1; k <= 4; ++k)
        s.Draw(art["Hvost"], 24, 24, k % 4, ox + 24 * 14, oy + 24 * (12 + k));
    s.Draw(art["vit1"], 24, 24, 12, ox + 24 * 6, oy + 24 * 1);
    s.Draw(art["vit1"], 24, 24, 4, ox + 24 * 10, oy + 24 * 1);
    s.Draw(art["wall"], 24, 24, 0, ox + 24 * 3, oy);
    s.Draw(art["scoreup"], 64, 16, 3, ox + 24 * 6, oy - 14);
    s.Draw(art["star"], 72, 72, 2, ox + 24 * 20, oy + 24 * 5);
    const int hy = oy + 724;
    s.Draw(art["level"], 90, 16, 0, ox - 24, hy);
    s.Draw(art["digital"], 16, 16, level % 10, ox + 82, hy);
    s.Draw(art["Score"], 90, 16, 0, ox + 146, hy);
    for (int i = 0; i < 4; ++i)
        s.Draw(art["digital"], 16, 16, (i * 3 + 1) % 10, ox + 146 + 90 + 16 * (i + 1), hy);
    s.Draw(art["TopScore"], 56, 14, 0, ox + 146 + 180 + 80, hy);
    for (int i = 0; i < 4; ++i)
        s.Draw(art["digital"], 16, 16, (i * 7 + 2) % 10, ox + 146 + 180 + 80 + 56 + 16 * (i + 1), hy);
    s.Draw(art["lives"], 90, 16, 0, ox + 618, hy);
    s.Draw(art["digital"], 16, 16, 3, ox + 618 + 104, hy);
    return s.pic;
}

} // namespace artgen
