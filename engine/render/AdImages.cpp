// Images, their pattern layout and mesh, and the image list.
#include "engine/render/AdImages.hpp"

#include <cmath>
#include <numbers>

namespace ad {

// ---- TAdCustomImage --------------------------------------------------------------------------

TAdCustomImage::TAdCustomImage(TAdDraw* surface) : surface_(surface) {
    handlerId_ = surface_->SurfaceEventList.Add([this](TAdSurfaceEvent event) { OnSurfaceEvent(event); });
    if (surface_->CanDraw())
        CreateMesh();
}

TAdCustomImage::~TAdCustomImage() {
    surface_->SurfaceEventList.Remove(handlerId_);
    FreeMesh();
}

void TAdCustomImage::OnSurfaceEvent(TAdSurfaceEvent event) {
    switch (event) {
    case seFinalize:
        FreeMesh();
        break;
    case seInitialize:
        CreateMesh();
        break;
    case seInitialized:
        Restore();
        break;
    default:
        break;
    }
}

void TAdCustomImage::CreateMesh() {
    mesh_.reset(surface_->CanDraw() ? surface_->AppObject()->CreateMesh() : nullptr);
}

void TAdCustomImage::FreeMesh() {
    mesh_.reset();
}

void TAdCustomImage::SetTexture(TAdCustomTexture* texture) {
    texture_ = texture;
}

void TAdCustomImage::SetColor(uint32_t color) {
    color_ = color & 0xFFFFFF;
    UpdateVertexColor();
}

void TAdCustomImage::SetAlpha(uint8_t alpha) {
    alpha_ = alpha;
    UpdateVertexColor();
}

void TAdCustomImage::UpdateVertexColor() {
    AdColor combined = AdColorFromWin(color_);
    combined.a = alpha_;
    if (combined == vertexColor_)
        return;
    vertexColor_ = combined;
    UpdateMesh();
}

void TAdCustomImage::SetDetail(int32_t detail) {
    detail_ = detail > 0 ? detail : 1;
    UpdateMesh();
}

void TAdCustomImage::Restore() {
    width_ = texture_ != nullptr ? texture_->BaseWidth() : 0;
    height_ = texture_ != nullptr ? texture_->BaseHeight() : 0;
    if (mesh_ != nullptr)
        mesh_->SetTexture(texture_ != nullptr ? texture_->Texture() : nullptr);
    RebuildRects();
    srcRect_ = {};
    AdColor combined = AdColorFromWin(color_);
    combined.a = alpha_;
    vertexColor_ = combined;
    UpdateMesh();
}

void TAdCustomImage::RebuildRects() {
    rects_.clear();
    if (patternWidth_ != 0 && patternHeight_ != 0) {
        const int32_t stepX = patternWidth_ + SkipWidth, stepY = patternHeight_ + SkipHeight;
        if (stepX <= 0 || stepY <= 0)
            return;
        const int32_t rows = (height_ + SkipHeight) / stepY;
        const int32_t columns = (width_ + SkipWidth) / stepX;
        for (int32_t r = 0; r < rows; ++r)
            for (int32_t c = 0; c < columns; ++c) {
                const int32_t left = c * stepX, top = r * stepY;
                rects_.push_back({left, top, left + patternWidth_, top + patternHeight_});
            }
    } else {
        rects_.push_back({0, 0, width_, height_});
    }
}

void TAdCustomImage::UpdateMesh() {
    if (mesh_ == nullptr)
        return;
    const int32_t d = detail_;
    // Texture mapping of the current pattern; without one yet the whole texture is mapped.
    float scaleU = 1.0f, scaleV = 1.0f, offsetU = 0.0f, offsetV = 0.0f;
    const AdBitmapTexture* plugin = texture_ != nullptr ? texture_->Texture() : nullptr;
    const AdRect src = srcRect_;
    if (plugin != nullptr && plugin->Width() > 0 && plugin->Height() > 0 && src != AdRect{}) {
        const auto tw = static_cast<float>(plugin->Width()), th = static_cast<float>(plugin->Height());
        const float texel = surface_->TexelOffset();
        scaleU = static_cast<float>(src.right - src.left) / tw;
        scaleV = static_cast<float>(src.bottom - src.top) / th;
        offsetU = (static_cast<float>(src.left) + texel) / tw;
        offsetV = (static_cast<float>(src.top) + texel) / th;
    }
    std::vector<AdVertex> vertices;
    vertices.reserve(static_cast<size_t>((d + 1) * (d + 1)));
    for (int32_t row = 0; row <= d; ++row)
        for (int32_t col = 0; col <= d; ++col) {
            AdVertex v;
            v.x = static_cast<float>(col) * static_cast<float>(width_) / static_cast<float>(d);
            v.y = static_cast<float>(row) * static_cast<float>(height_) / static_cast<float>(d);
            v.color = vertexColor_;
            v.u = static_cast<float>(col) / static_cast<float>(d) * scaleU + offsetU;
            v.v = static_cast<float>(row) / static_cast<float>(d) * scaleV + offsetV;
            vertices.push_back(v);
        }
    mesh_->SetVertices(vertices.data(), static_cast<int>(vertices.size()));
    std::vector<uint16_t> indices;
    if (d > 1) {
        indices.reserve(static_cast<size_t>(d * d * 6));
        for (int32_t row = 0; row < d; ++row)
            for (int32_t col = 0; col < d; ++col) {
                const auto tl = static_cast<uint16_t>(row * (d + 1) + col);
                const auto tr = static_cast<uint16_t>(tl + 1);
                const auto bl = static_cast<uint16_t>(tl + d + 1);
                const auto br = static_cast<uint16_t>(bl + 1);
                indices.insert(indices.end(), {tl, tr, bl, tr, br, bl});
            }
    }
    mesh_->SetIndices(indices.empty() ? nullptr : indices.data(), static_cast<int>(indices.size()));
    mesh_->SetPrimitiveCount(d * d * 2);
    mesh_->Update();
}

AdRect TAdCustomImage::PatternRect(int32_t patternIndex) const {
    if (patternIndex >= 0 && static_cast<size_t>(patternIndex) < rects_.size())
        return rects_[static_cast<size_t>(patternIndex)];
    return {0, 0, PatternWidth(), PatternHeight()};
}

AdMatrix TAdCustomImage::ModelTransform(const AdRect& destRect, int32_t imageWidth, int32_t imageHeight,
                                        double centerX, double centerY, double angle) {
    const double w = destRect.right - destRect.left, h = destRect.bottom - destRect.top;
    AdMatrix m =
        AdMatrix::Scale(static_cast<float>(w / imageWidth), static_cast<float>(h / imageHeight), 1.0f);
    if (std::abs(angle) >= 0.001) {
        const auto cx = static_cast<float>(centerX * w), cy = static_cast<float>(centerY * h);
        m = m * AdMatrix::Translation(-cx, -cy, 0.0f);
        m = m * AdMatrix::RotationZ(static_cast<float>(angle * std::numbers::pi / 180.0));
        m = m * AdMatrix::Translation(cx, cy, 0.0f);
    }
    return m *
           AdMatrix::Translation(static_cast<float>(destRect.left), static_cast<float>(destRect.top), 0.0f);
}

void TAdCustomImage::DrawCore(TAdRenderingSurface* dest, const AdRect& destRect, double centerX,
                              double centerY, double angle, const AdRect& source) {
    if (dest == nullptr)
        return;
    dest->Activate();
    if (!dest->CanDraw() || mesh_ == nullptr || texture_ == nullptr || !texture_->Loaded())
        return;
    if (width_ <= 0 || height_ <= 0)
        return;
    if (source != srcRect_) {
        srcRect_ = source;
        UpdateMesh();
    }
    mesh_->SetMatrix(ModelTransform(destRect, width_, height_, centerX, centerY, angle));
    mesh_->Draw(kAdBlendAlpha, detail_ > 1 ? kAdPrimitiveTriangles : kAdPrimitiveTriangleStrip);
}

void TAdCustomImage::StretchDraw(TAdRenderingSurface* dest, const AdRect& destRect, int32_t patternIndex) {
    SetAlpha(255);
    DrawCore(dest, destRect, 0.0, 0.0, 0.0, PatternRect(patternIndex));
}

void TAdCustomImage::DrawAlpha(TAdRenderingSurface* dest, const AdRect& destRect, int32_t patternIndex,
                               uint8_t alpha) {
    SetAlpha(alpha);
    DrawCore(dest, destRect, 0.0, 0.0, 0.0, PatternRect(patternIndex));
}

void TAdCustomImage::DrawRotate(TAdRenderingSurface* dest, int32_t x, int32_t y, int32_t width,
                                int32_t height, int32_t patternIndex, double centerX, double centerY,
                                int32_t angle) {
    DrawRotateAlpha(dest, x, y, width, height, patternIndex, centerX, centerY, angle, 255);
}

void TAdCustomImage::DrawRotateAlpha(TAdRenderingSurface* dest, int32_t x, int32_t y, int32_t width,
                                     int32_t height, int32_t patternIndex, double centerX, double centerY,
                                     int32_t angle, uint8_t alpha) {
    SetAlpha(alpha);
    DrawCore(dest, {x, y, x + width, y + height}, centerX, centerY, angle, PatternRect(patternIndex));
}

// ---- TAdImage --------------------------------------------------------------------------------

TAdImage::TAdImage(TAdDraw* surface)
    : TAdCustomImage(surface), ownTexture_(std::make_unique<TAdTexture>(surface)) {
    SetTexture(ownTexture_.get());
}

TAdImage::~TAdImage() {
    // The mesh refers to the plugin texture; let it go first.
    FreeMesh();
}

// ---- TAdImageList ----------------------------------------------------------------------------

TAdImage* TAdImageList::Add(const std::string& name) {
    auto image = std::make_unique<TAdImage>(surface_);
    image->Texture()->SetSettings(TextureSetting);
    image->Name = name;
    image->ImageList = this;
    items_.push_back(std::move(image));
    return items_.back().get();
}

int32_t TAdImageList::IndexOf(const std::string& name) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->Name == name)
            return static_cast<int32_t>(i);
    return -1;
}

TAdImage* TAdImageList::Find(const std::string& name) const {
    const int32_t index = IndexOf(name);
    return index < 0 ? nullptr : items_[static_cast<size_t>(index)].get();
}

void TAdImageList::Restore() {
    for (const auto& image : items_)
        image->Restore();
}

void TAdImageList::Delete(int32_t index) {
    if (index >= 0 && static_cast<size_t>(index) < items_.size())
        items_.erase(items_.begin() + index);
}

} // namespace ad
