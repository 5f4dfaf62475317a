// Images: a texture cut into equally sized patterns and drawn through a small plugin mesh,
// stretched, tinted, faded or rotated; and the list that owns the game's images by name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/render/AdDraws.hpp"
#include "engine/render/AdPluginApi.hpp"
#include "engine/render/AdTextures.hpp"

namespace ad {

class TAdImageList;

class TAdCustomImage {
public:
    explicit TAdCustomImage(TAdDraw* surface);
    virtual ~TAdCustomImage();
    TAdCustomImage(const TAdCustomImage&) = delete;
    TAdCustomImage& operator=(const TAdCustomImage&) = delete;

    TAdDraw* Surface() const { return surface_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    // The set size if above 0, otherwise the image size. Setters take effect at the next Restore.
    int32_t PatternWidth() const { return patternWidth_ > 0 ? patternWidth_ : width_; }
    int32_t PatternHeight() const { return patternHeight_ > 0 ? patternHeight_ : height_; }
    void SetPatternWidth(int32_t width) { patternWidth_ = width > 0 ? width : 0; }
    void SetPatternHeight(int32_t height) { patternHeight_ = height > 0 ? height : 0; }
    int32_t PatternCount() const { return static_cast<int32_t>(rects_.size()) - SkipPatterns; }

    // Trailing patterns not counted, and the gaps between neighbouring patterns.
    int32_t SkipPatterns = 0;
    int32_t SkipWidth = 0;
    int32_t SkipHeight = 0;

    // Tint as a desktop colour (red in the lowest byte); white draws the texture as it is.
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t color);
    uint8_t Alpha() const { return alpha_; }
    void SetAlpha(uint8_t alpha);
    // Color with Alpha, as written into the mesh.
    AdColor VertexColor() const { return vertexColor_; }
    int32_t Detail() const { return detail_; }
    // The mesh is a detail x detail grid of cells (at least 1); rebuilt at once.
    void SetDetail(int32_t detail);

    TAdCustomTexture* Texture() const { return texture_; }
    const std::vector<AdRect>& Rects() const { return rects_; }
    const AdRect& SrcRect() const { return srcRect_; }
    AdMesh* Mesh() const { return mesh_.get(); }

    // Takes the size from the texture, binds it to the mesh and rebuilds the pattern layout.
    void Restore();

    // Draws a pattern into the rectangle at full opacity.
    void StretchDraw(TAdRenderingSurface* dest, const AdRect& destRect, int32_t patternIndex);
    void DrawAlpha(TAdRenderingSurface* dest, const AdRect& destRect, int32_t patternIndex, uint8_t alpha);
    // Draws into (x, y, x + width, y + height) turned by angle degrees about the point at
    // (centerX, centerY) of the rectangle, given as fractions of its size.
    void DrawRotate(TAdRenderingSurface* dest, int32_t x, int32_t y, int32_t width, int32_t height,
                    int32_t patternIndex, double centerX, double centerY, int32_t angle);
    void DrawRotateAlpha(TAdRenderingSurface* dest, int32_t x, int32_t y, int32_t width, int32_t height,
                         int32_t patternIndex, double centerX, double centerY, int32_t angle, uint8_t alpha);

    // The model matrix of a draw of an image of imageWidth x imageHeight into destRect: scale,
    // then (for |angle| >= 0.001) turn about the centre point, then move to the rectangle.
    static AdMatrix ModelTransform(const AdRect& destRect, int32_t imageWidth, int32_t imageHeight,
                                   double centerX, double centerY, double angle);

protected:
    // Draws through a texture owned elsewhere (or the image's own, set by a derived class).
    void SetTexture(TAdCustomTexture* texture);
    void FreeMesh();

private:
    void OnSurfaceEvent(TAdSurfaceEvent event);
    void CreateMesh();
    void RebuildRects();
    void UpdateVertexColor();
    void UpdateMesh();
    AdRect PatternRect(int32_t patternIndex) const;
    void DrawCore(TAdRenderingSurface* dest, const AdRect& destRect, double centerX, double centerY,
                  double angle, const AdRect& source);

    TAdDraw* surface_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t patternWidth_ = 0;
    int32_t patternHeight_ = 0;
    uint32_t color_ = 0xFFFFFF;
    AdColor vertexColor_{255, 255, 255, 255};
    uint8_t alpha_ = 255;
    int32_t detail_ = 1;
    AdRect srcRect_{};
    TAdCustomTexture* texture_ = nullptr;
    std::vector<AdRect> rects_;
    std::unique_ptr<AdMesh> mesh_;
    int handlerId_ = 0;
};

// An image with its own texture, a name and the list that owns it.
class TAdImage : public TAdCustomImage {
public:
    explicit TAdImage(TAdDraw* surface);
    ~TAdImage() override;

    TAdTexture* Texture() const { return ownTexture_.get(); }

    std::string Name;
    TAdImageList* ImageList = nullptr;

private:
    std::unique_ptr<TAdTexture> ownTexture_;
};

// The images of the game in the order they were added; the list owns them.
class TAdImageList {
public:
    explicit TAdImageList(TAdDraw* surface) : surface_(surface) {}
    TAdImageList(const TAdImageList&) = delete;
    TAdImageList& operator=(const TAdImageList&) = delete;

    TAdDraw* Surface() const { return surface_; }
    // Copied into the texture of every image added afterwards.
    uint8_t TextureSetting = 0;

    // Appends a new image of that name, even if the name is already present.
    TAdImage* Add(const std::string& name);
    // The first image whose name equals name exactly (case matters), or -1 / nullptr.
    int32_t IndexOf(const std::string& name) const;
    TAdImage* Find(const std::string& name) const;
    // Restores every image in list order.
    void Restore();

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    TAdImage* Items(int32_t index) const { return items_.at(static_cast<size_t>(index)).get(); }
    // Removes and frees the image at index.
    void Delete(int32_t index);
    void Clear() { items_.clear(); }

private:
    TAdDraw* surface_;
    std::vector<std::unique_ptr<TAdImage>> items_;
};

} // namespace ad
