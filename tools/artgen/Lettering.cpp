// FreeType text masks and their styled drawing.
#include "Lettering.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <climits>
#include <cmath>
#include <stdexcept>

namespace artgen {

// The FreeType handles, released in reverse order of creation.
struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Impl() {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }
};

Font::Font(const std::string& path) : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library) != 0 ||
        FT_New_Face(impl_->library, path.c_str(), 0, &impl_->face) != 0)
        throw std::runtime_error("cannot open font " + path);
}

Font::~Font() = default;

const Font& Font::Default() {
    static const Font font("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
    return font;
}

TextMask Font::Render(const std::string& text, float pixelSize, int scale, float tracking) const {
    FT_Face face = impl_->face;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(pixelSize * static_cast<float>(scale))));
    struct Placed {
        int x, y, w, h;
        std::vector<uint8_t> bits;
    };
    std::vector<Placed> glyphs;
    long penX = 0; // 26.6
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous != 0 && index != 0) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern);
            penX += kern.x;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0)
            continue;
        const FT_GlyphSlot g = face->glyph;
        Placed p{static_cast<int>(penX >> 6) + g->bitmap_left,
                 -g->bitmap_top,
                 static_cast<int>(g->bitmap.width),
                 static_cast<int>(g->bitmap.rows),
                 {}};
        for (int r = 0; r < p.h; ++r)
            for (int c = 0; c < p.w; ++c)
                p.bits.push_back(g->bitmap.buffer[r * g->bitmap.pitch + c]);
        if (p.w > 0 && p.h > 0) {
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
            maxX = std::max(maxX, p.x + p.w);
            maxY = std::max(maxY, p.y + p.h);
        }
        penX += g->advance.x + std::lround(tracking * static_cast<float>(scale) * 64.0f);
        glyphs.push_back(std::move(p));
        previous = index;
    }
    TextMask mask;
    mask.scale = scale;
    if (minX > maxX)
        return mask;
    mask.width = maxX - minX;
    mask.height = maxY - minY;
    mask.cover.assign(static_cast<size_t>(mask.width) * mask.height, 0.0f);
    for (const Placed& p : glyphs)
        for (int r = 0; r < p.h; ++r)
            for (int c = 0; c < p.w; ++c) {
                float& v = mask.cover[static_cast<size_t>(p.y - minY + r) * mask.width + (p.x - minX + c)];
                v = std::max(v, static_cast<float>(p.bits[static_cast<size_t>(r) * p.w + c]) / 255.0f);
            }
    return mask;
}

TextMask Font::Fit(const std::string& text, float maxWidth, float maxHeight, int scale,
                   float tracking) const {
    float size = maxHeight * 1.6f;
    TextMask mask = Render(text, size, scale, tracking);
    for (int i = 0; i < 40 && (mask.OutWidth() > maxWidth || mask.OutHeight() > maxHeight); ++i) {
        size *= std::min(0.98f, std::min(maxWidth / mask.OutWidth(), maxHeight / mask.OutHeight()));
        mask = Render(text, size, scale, tracking);
    }
    return mask;
}

namespace {

// Distance (in sub-pixels) from every sub-pixel to the nearest inked one, by a two-pass chamfer
// sweep; a margin around the mask is included.
std::vector<float> DistanceToInk(const TextMask& m, int margin, int& w, int& h) {
    w = m.width + 2 * margin;
    h = m.height + 2 * margin;
    constexpr float kFar = 1e6f, kDiag = 1.41421356f;
    std::vector<float> d(static_cast<size_t>(w) * h, kFar);
    auto at = [&](int x, int y) -> float& { return d[static_cast<size_t>(y) * w + x]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (m.At(x - margin, y - margin) >= 0.5f)
                at(x, y) = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float& v = at(x, y);
            if (x > 0)
                v = std::min(v, at(x - 1, y) + 1);
            if (y > 0) {
                v = std::min(v, at(x, y - 1) + 1);
                if (x > 0)
                    v = std::min(v, at(x - 1, y - 1) + kDiag);
                if (x + 1 < w)
                    v = std::min(v, at(x + 1, y - 1) + kDiag);
            }
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            float& v = at(x, y);
            if (x + 1 < w)
                v = std::min(v, at(x + 1, y) + 1);
            if (y + 1 < h) {
                v = std::min(v, at(x, y + 1) + 1);
                if (x + 1 < w)
                    v = std::min(v, at(x + 1, y + 1) + kDiag);
                if (x > 0)
                    v = std::min(v, at(x - 1, y + 1) + kDiag);
            }
        }
    return d;
}

} // namespace

void DrawText(Canvas& canvas, const TextMask& mask, float x, float y, const TextStyle& style) {
    if (mask.width == 0)
        return;
    const int s = canvas.Scale();
    const float fs = static_cast<float>(s);
    const int margin =
        static_cast<int>(std::ceil((style.outlineWidth + style.glowRadius * 2.5f +
                                    std::max(std::abs(style.shadowX), std::abs(style.shadowY)) + 1) *
                                   fs));
    int w = 0, h = 0;
    const std::vector<float> dist = DistanceToInk(mask, margin, w, h);
    const int ox = static_cast<int>(std::lround(x * fs)) - margin;
    const int oy = static_cast<int>(std::lround(y * fs)) - margin;
    auto distAt = [&](int mx, int my) {
        return mx < 0 || my < 0 || mx >= w || my >= h ? 1e6f : dist[static_cast<size_t>(my) * w + mx];
    };
    const float outlineSub = style.outlineWidth * fs;
    const int shX = static_cast<int>(std::lround(style.shadowX * fs)),
              shY = static_cast<int>(std::lround(style.shadowY * fs));
    for (int my = 0; my < h; ++my)
        for (int mx = 0; mx < w; ++mx) {
            const int sx = ox + mx, sy = oy + my;
            if (sx < 0 || sy < 0 || sx >= canvas.Width() * s || sy >= canvas.Height() * s)
                continue;
            const float d = distAt(mx, my);
            if (style.glow.a > 0 && style.glowRadius > 0) {
                const float g = std::exp(-std::pow(d / (style.glowRadius * fs), 2.0f));
                canvas.Blend(sx, sy, style.glow, g);
            }
            if (style.shadow.a > 0) {
                const float ds = distAt(mx - shX, my - shY);
                canvas.Blend(sx, sy, style.shadow, Clamp01(outlineSub + 0.5f - ds));
            }
            if (style.outlineWidth > 0)
                canvas.Blend(sx, sy, style.outline, Clamp01(outlineSub + 0.5f - d));
            const float ink = mask.At(mx - margin, my - margin);
            if (ink > 0) {
                const float t =
                    static_cast<float>(my - margin) / static_cast<float>(std::max(1, mask.height - 1));
                Color c = Mix(style.top, style.bottom, Clamp01(t));
                // A soft band of light over the upper third reads as a polished, rounded letter.
                const float band = std::exp(-std::pow((t - 0.22f) / 0.12f, 2.0f)) * style.shine;
                c = Lighten(c, band);
                canvas.Blend(sx, sy, c, ink);
            }
        }
}

void DrawTextInBox(Canvas& canvas, const std::string& text, float x, float y, float w, float h,
                   const TextStyle& style, float tracking, int align) {
    const float pad = style.outlineWidth + std::max(0.0f, std::max(style.shadowX, style.shadowY));
    const TextMask mask = Font::Default().Fit(text, w - 2 * pad, h - 2 * pad, canvas.Scale(), tracking);
    float tx = x + (w - mask.OutWidth()) / 2;
    if (align < 0)
        tx = x + pad;
    else if (align > 0)
        tx = x + w - pad - mask.OutWidth();
    const float ty = y + (h - mask.OutHeight()) / 2;
    DrawText(canvas, mask, std::round(tx), std::round(ty), style);
}

} // namespace artgen
