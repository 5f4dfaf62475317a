// The review sheet: every picture scaled for viewing, named, with frame lines, keys as a checkerboard.
#include "ContactSheet.hpp"

#include "Lettering.hpp"

namespace artgen {

namespace {

constexpr int kSheetWidth = 1700;
constexpr uint32_t kSheetColor = 0x30303A;

uint32_t Checker(int x, int y) {
    return ((x / 6 + y / 6) % 2) ? 0x9A9AA4 : 0x70707A;
}

// Draws the picture at scale (a factor above 0, or 1/-scale below 0) with its frames outlined.
void Place(Picture& sheet, const NamedPicture& np, int x0, int y0, int scale) {
    const Picture& p = np.picture;
    auto size = [scale](int v) { return scale > 0 ? v * scale : v / -scale; };
    const int w = size(p.width), h = size(p.height);
    const int step = scale > 0 ? 1 : -scale;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (x0 + x >= sheet.width || y0 + y >= sheet.height)
                continue;
            const int sx = scale > 0 ? x / scale : x * step, sy = scale > 0 ? y / scale : y * step;
            // Reduced pictures show the average of the opaque pixels they cover, so fine motifs stay visible.
            int r = 0, g = 0, b = 0, n = 0;
            for (int j = 0; j < step; ++j)
                for (int i = 0; i < step; ++i)
                    if (!p.Transparent(sx + i, sy + j)) {
                        const uint32_t c = p.At(sx + i, sy + j);
                        r += static_cast<int>(c >> 16);
                        g += static_cast<int>((c >> 8) & 0xFF);
                        b += static_cast<int>(c & 0xFF);
                        ++n;
                    }
            sheet.Set(x0 + x, y0 + y,
                      n == 0 ? Checker(x, y)
                             : (static_cast<uint32_t>(r / n) << 16) | (static_cast<uint32_t>(g / n) << 8) |
                                   static_cast<uint32_t>(b / n));
        }
    const int fw = size(np.item->frameWidth), fh = size(np.item->frameHeight);
    for (int y = 0; y <= h; ++y)
        for (int x = 0; x <= w; ++x)
            if ((x % fw == 0 || y % fh == 0 || x == w || y == h) && x0 + x < sheet.width &&
                y0 + y < sheet.height && x0 + x >= 0 && y0 + y >= 0)
                sheet.Set(x0 + x, y0 + y, 0x40C0FF);
}

void Caption(Picture& sheet, const std::string& text, int x0, int y0) {
    const TextMask m = Font::Default().Render(text, 13.0f, 1);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            const float a = m.At(x, y);
            if (a <= 0 || x0 + x >= sheet.width || y0 + y >= sheet.height)
                continue;
            const uint32_t bg = sheet.At(x0 + x, y0 + y);
            uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const float v = static_cast<float>((bg >> shift) & 0xFF) * (1 - a) + 255.0f * a;
                out |= static_cast<uint32_t>(v) << shift;
            }
            sheet.Set(x0 + x, y0 + y, out);
        }
}

int ScaleFor(const Picture& p) {
    if (p.width >= 1900)
        return -4;
    if (p.width >= 600)
        return 1;
    return p.width * 3 <= 600 ? 3 : 2;
}

} // namespace

Picture MakeContactSheet(const std::vector<NamedPicture>& pictures) {
    struct Slot {
        int x, y, scale;
    };
    std::vector<Slot> slots;
    int x = 12, y = 12, rowHeight = 0;
    for (const NamedPicture& np : pictures) {
        const int scale = ScaleFor(np.picture);
        const int w = scale > 0 ? np.picture.width * scale : np.picture.width / -scale;
        const int h = (scale > 0 ? np.picture.height * scale : np.picture.height / -scale) + 20;
        if (x + w > kSheetWidth - 12 && x > 12) {
            x = 12;
            y += rowHeight + 14;
            rowHeight = 0;
        }
        slots.push_back({x, y, scale});
        x += std::max(w, 120) + 16;
        rowHeight = std::max(rowHeight, h);
    }
    Picture sheet(kSheetWidth, y + rowHeight + 12, false, kSheetColor);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const NamedPicture& np = pictures[i];
        Caption(sheet,
                np.item->name + "  " + std::to_string(np.picture.width) + "x" +
                    std::to_string(np.picture.height),
                slots[i].x, slots[i].y);
        Place(sheet, np, slots[i].x, slots[i].y + 18, slots[i].scale);
    }
    return sheet;
}

Picture Enlarge(const NamedPicture& np, int factor) {
    Picture out(np.picture.width * factor + 1, np.picture.height * factor + 1, false, kSheetColor);
    Place(out, np, 0, 0, factor);
    return out;
}

} // namespace artgen
