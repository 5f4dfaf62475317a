// Fonts of the canvas: a face embedded in the program, rasterised once into a glyph texture and
// drawn as textured quads; and the factory that makes and keeps them for a surface.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/render/AdBitmap.hpp"
#include "engine/render/AdDraws.hpp"
#include "engine/render/AdPluginApi.hpp"

namespace ad {

// The face every surface's canvas writes with: the raw data resource of that name.
inline constexpr const char* kAdDefaultFontFace = "DejaVuSans";
inline constexpr int kAdDefaultFontSize = 10; // points

// Pixel height of a face of that many points on a 96-dpi screen, rounded as the desktop does.
constexpr int AdFontPixelSize(int points) {
    return (points * 96 + 36) / 72;
}

struct TAdFontShadow {
    uint32_t Color = 0; // desktop colour
    uint8_t Alpha = 128;
    int32_t OffsetX = 0;
    int32_t OffsetY = 0;
    int32_t Blur = 0;
};

class TAdFont {
public:
    // Rasterises the face (a font file in memory) at pixelSize; a face that cannot be read gives
    // a font that draws nothing and measures 0.
    TAdFont(TAdDraw* surface, std::span<const uint8_t> face, int pixelSize, const TAdFontShadow& shadow);
    ~TAdFont();
    TAdFont(const TAdFont&) = delete;
    TAdFont& operator=(const TAdFont&) = delete;

    // Draws one line of UTF-8 text with its top-left corner at (x, y) in surface pixels. Characters
    // the glyph texture lacks are drawn as "?". The shadow is drawn only when it is offset.
    void TextOut(TAdRenderingSurface* dest, int32_t x, int32_t y, std::string_view text, AdColor color);
    int32_t TextWidth(std::string_view text) const;
    int32_t TextHeight() const { return lineHeight_; }
    int PixelSize() const { return pixelSize_; }
    bool Valid() const { return valid_; }

    TAdFontShadow Shadow;

    // The rasterised glyphs: white with the coverage as alpha.
    const TAd2DBitmap& GlyphBitmap() const { return atlas_; }

private:
    struct Glyph {
        bool present = false;
        int16_t atlasX = 0, atlasY = 0, width = 0, height = 0;
        int16_t left = 0, top = 0; // offset of the bitmap from the pen on the baseline
        int16_t advance = 0;
    };
    static constexpr char32_t kFirstChar = 32;
    static constexpr char32_t kLastChar = 255;

    void Rasterise(std::span<const uint8_t> face);
    const Glyph& GlyphFor(char32_t code) const;
    void BuildQuads(int32_t x, int32_t y, std::string_view text, AdColor color);

    TAdDraw* surface_;
    int pixelSize_;
    bool valid_ = false;
    int32_t ascender_ = 0;
    int32_t lineHeight_ = 0;
    std::array<Glyph, kLastChar + 1> glyphs_{};
    TAd2DBitmap atlas_;
    std::unique_ptr<AdBitmapTexture> texture_;
    std::unique_ptr<AdMesh> mesh_;
    std::vector<AdVertex> vertices_;
    std::vector<uint16_t> indices_;
};

// Makes fonts for a surface and keeps them until it is freed (before the plugin goes down).
class TAdFontFactory {
public:
    explicit TAdFontFactory(TAdDraw* surface) : surface_(surface) {}

    // The font of that face and size in points; the same settings give the same font. A face the
    // program does not carry falls back to the default face.
    TAdFont* GenerateFont(const std::string& face, int size, const TAdFontShadow& shadow = {});

private:
    struct Entry {
        std::string face;
        int size;
        TAdFontShadow shadow;
        std::unique_ptr<TAdFont> font;
    };
    TAdDraw* surface_;
    std::vector<Entry> fonts_;
};

} // namespace ad
