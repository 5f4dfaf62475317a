// Glyph rasterisation with FreeType into one texture, and text drawn from it as textured quads.
#include "engine/render/AdFont.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <limits>

#include "engine/platform/Resources.hpp"

namespace ad {

namespace {

constexpr int kAtlasWidth = 256;
constexpr int kGlyphPadding = 1; // keeps neighbours out of the filtered edge texels
constexpr size_t kMaxQuadsPerDraw = std::numeric_limits<uint16_t>::max() / 4;

// Decodes one UTF-8 sequence at pos; malformed bytes come back as U+FFFD one byte at a time.
char32_t NextCodePoint(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        code = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    size_t at = pos;
    for (int i = 0; i < extra; ++i, ++at) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            return 0xFFFD;
        code = (code << 6) | (static_cast<unsigned char>(text[at]) & 0x3F);
    }
    pos = at;
    return code;
}

struct FreeTypeFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeFace() {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }
};

} // namespace

TAdFont::TAdFont(TAdDraw* surface, std::span<const uint8_t> face, int pixelSize, const TAdFontShadow& shadow)
    : Shadow(shadow), surface_(surface), pixelSize_(pixelSize) {
    Rasterise(face);
    if (!valid_ || surface_ == nullptr || !surface_->CanDraw())
        return;
    AdApplication* app = surface_->AppObject();
    texture_.reset(app->CreateBitmapTexture());
    if (texture_ != nullptr)
        texture_->LoadFromBitmap(atlas_.Data(), atlas_.Width(), atlas_.Height(), 32);
    mesh_.reset(app->CreateMesh());
    if (mesh_ != nullptr)
        mesh_->SetTexture(texture_.get());
}

TAdFont::~TAdFont() {
    mesh_.reset();
    texture_.reset();
}

void TAdFont::Rasterise(std::span<const uint8_t> faceData) {
    FreeTypeFace ft;
    if (faceData.empty() || pixelSize_ <= 0 || FT_Init_FreeType(&ft.library) != 0)
        return;
    if (FT_New_Memory_Face(ft.library, faceData.data(), static_cast<FT_Long>(faceData.size()), 0, &ft.face) !=
        0)
        return;
    if (FT_Set_Pixel_Sizes(ft.face, 0, static_cast<FT_UInt>(pixelSize_)) != 0)
        return;
    ascender_ = static_cast<int32_t>(ft.face->size->metrics.ascender >> 6);
    lineHeight_ = static_cast<int32_t>(ft.face->size->metrics.height >> 6);

    // First pass: render each glyph and place it on a shelf; second pass copies the coverage.
    std::vector<std::vector<uint8_t>> coverage(kLastChar + 1);
    int shelfX = kGlyphPadding, shelfY = kGlyphPadding, shelfHeight = 0;
    for (char32_t code = kFirstChar; code <= kLastChar; ++code) {
        if (code > 126 && code < 160)
            continue; // control characters
        if (FT_Load_Char(ft.face, code, FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot slot = ft.face->glyph;
        const int w = static_cast<int>(slot->bitmap.width), h = static_cast<int>(slot->bitmap.rows);
        Glyph& g = glyphs_[code];
        g.present = true;
        g.width = static_cast<int16_t>(w);
        g.height = static_cast<int16_t>(h);
        g.left = static_cast<int16_t>(slot->bitmap_left);
        g.top = static_cast<int16_t>(slot->bitmap_top);
        g.advance = static_cast<int16_t>(slot->advance.x >> 6);
        if (shelfX + w + kGlyphPadding > kAtlasWidth) {
            shelfX = kGlyphPadding;
            shelfY += shelfHeight + kGlyphPadding;
            shelfHeight = 0;
        }
        g.atlasX = static_cast<int16_t>(shelfX);
        g.atlasY = static_cast<int16_t>(shelfY);
        shelfX += w + kGlyphPadding;
        shelfHeight = std::max(shelfHeight, h);
        auto& cells = coverage[code];
        cells.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                cells[static_cast<size_t>(y * w + x)] = slot->bitmap.buffer[y * slot->bitmap.pitch + x];
    }
    atlas_.SetSize(kAtlasWidth, shelfY + shelfHeight + kGlyphPadding);
    for (int y = 0; y < atlas_.Height(); ++y) {
        uint8_t* p = atlas_.Scanline(y);
        for (int x = 0; x < kAtlasWidth * 4; x += 4)
            p[x] = p[x + 1] = p[x + 2] = 255;
    }
    for (char32_t code = kFirstChar; code <= kLastChar; ++code) {
        const Glyph& g = glyphs_[code];
        if (!g.present)
            continue;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                atlas_.Scanline(g.atlasY + y)[(g.atlasX + x) * 4 + 3] =
                    coverage[code][static_cast<size_t>(y * g.width + x)];
    }
    valid_ = glyphs_['?'].present;
}

const TAdFont::Glyph& TAdFont::GlyphFor(char32_t code) const {
    if (code >= kFirstChar && code <= kLastChar && glyphs_[code].present)
        return glyphs_[code];
    return glyphs_['?'];
}

int32_t TAdFont::TextWidth(std::string_view text) const {
    if (!valid_)
        return 0;
    int32_t width = 0;
    for (size_t pos = 0; pos < text.size();)
        width += GlyphFor(NextCodePoint(text, pos)).advance;
    return width;
}

void TAdFont::BuildQuads(int32_t x, int32_t y, std::string_view text, AdColor color) {
    vertices_.clear();
    indices_.clear();
    const auto aw = static_cast<float>(atlas_.Width()), ah = static_cast<float>(atlas_.Height());
    const float texel = surface_->TexelOffset();
    int32_t penX = x;
    const int32_t baseline = y + ascender_;
    for (size_t pos = 0; pos < text.size() && vertices_.size() / 4 < kMaxQuadsPerDraw;) {
        const Glyph& g = GlyphFor(NextCodePoint(text, pos));
        if (g.width > 0 && g.height > 0) {
            const auto left = static_cast<float>(penX + g.left), top = static_cast<float>(baseline - g.top);
            const float right = left + g.width, bottom = top + g.height;
            const float u0 = (g.atlasX + texel) / aw, v0 = (g.atlasY + texel) / ah;
            const float u1 = (g.atlasX + g.width + texel) / aw, v1 = (g.atlasY + g.height + texel) / ah;
            const auto base = static_cast<uint16_t>(vertices_.size());
            for (const auto& [px, py, u, v] :
                 {std::array{left, top, u0, v0}, std::array{right, top, u1, v0},
                  std::array{left, bottom, u0, v1}, std::array{right, bottom, u1, v1}}) {
                AdVertex vertex;
                vertex.x = px;
                vertex.y = py;
                vertex.color = color;
                vertex.u = u;
                vertex.v = v;
                vertices_.push_back(vertex);
            }
            for (uint16_t i : {0, 1, 2, 1, 3, 2})
                indices_.push_back(static_cast<uint16_t>(base + i));
        }
        penX += g.advance;
    }
}

void TAdFont::TextOut(TAdRenderingSurface* dest, int32_t x, int32_t y, std::string_view text, AdColor color) {
    if (dest == nullptr || !valid_ || mesh_ == nullptr || text.empty())
        return;
    dest->Activate();
    if (!dest->CanDraw())
        return;
    auto drawAt = [&](int32_t atX, int32_t atY, AdColor c) {
        BuildQuads(atX, atY, text, c);
        if (indices_.empty())
            return;
        mesh_->SetVertices(vertices_.data(), static_cast<int>(vertices_.size()));
        mesh_->SetIndices(indices_.data(), static_cast<int>(indices_.size()));
        mesh_->SetPrimitiveCount(static_cast<int>(indices_.size() / 3));
        mesh_->SetMatrix(AdMatrix::Identity());
        mesh_->Update();
        mesh_->Draw(kAdBlendAlpha, kAdPrimitiveTriangles);
    };
    // A shadow right under the glyphs would only darken their edges.
    if (Shadow.Alpha > 0 && (Shadow.OffsetX != 0 || Shadow.OffsetY != 0)) {
        AdColor shadow = AdColorFromWin(Shadow.Color);
        shadow.a = static_cast<uint8_t>(Shadow.Alpha * color.a / 255);
        drawAt(x + Shadow.OffsetX, y + Shadow.OffsetY, shadow);
    }
    drawAt(x, y, color);
}

// ---- TAdFontFactory --------------------------------------------------------------------------

TAdFont* TAdFontFactory::GenerateFont(const std::string& face, int size, const TAdFontShadow& shadow) {
    for (const Entry& e : fonts_)
        if (e.face == face && e.size == size && e.shadow.Color == shadow.Color &&
            e.shadow.Alpha == shadow.Alpha && e.shadow.OffsetX == shadow.OffsetX &&
            e.shadow.OffsetY == shadow.OffsetY && e.shadow.Blur == shadow.Blur)
            return e.font.get();
    std::string resourceName = face;
    std::erase(resourceName, ' ');
    const platform::Resource* data = platform::FindResource(platform::ResourceKind::RawData, resourceName);
    if (data == nullptr)
        data = platform::FindResource(platform::ResourceKind::RawData, kAdDefaultFontFace);
    std::span<const uint8_t> bytes = data != nullptr ? data->bytes : std::span<const uint8_t>{};
    fonts_.push_back(
        {face, size, shadow, std::make_unique<TAdFont>(surface_, bytes, AdFontPixelSize(size), shadow)});
    return fonts_.back().font.get();
}

} // namespace ad
