// Helpers of the sprite tests: scripted probe sprites and images built from pixel pictures.
#include "tests/engine/sprites/SpriteTestSupport.hpp"

#include "engine/render/AdBitmap.hpp"

namespace vimbo::test {

ProbeSprite::ProbeSprite(ad::TSprite* parent, std::string spriteName, double x, double y, double w, double h,
                         std::vector<std::string>* log)
    : ad::TSprite(parent), name(std::move(spriteName)), drawLog(log) {
    SetX(x);
    SetY(y);
    SetWidth(w);
    SetHeight(h);
}

void ProbeSprite::DoMove(double timeGap) {
    ++moves;
    if (onMove)
        onMove(*this);
    ad::TSprite::DoMove(timeGap);
}

void ProbeSprite::DoDraw() {
    if (drawLog != nullptr)
        drawLog->push_back(name);
}

void ProbeSprite::DoCollision(ad::TSprite* sprite, bool& done) {
    hits.push_back(sprite);
    if (onCollision)
        onCollision(*this, sprite, done);
}

namespace {

ad::TAdImage* LoadImage(ad::TAdImageList& list, const ad::TAd2DBitmap& bitmap, int pw, int ph) {
    ad::TAdImage* image = list.Add("picture" + std::to_string(list.Count()));
    image->Texture()->LoadFromBitmap(bitmap, 32);
    image->SetPatternWidth(pw);
    image->SetPatternHeight(ph);
    image->Restore();
    return image;
}

} // namespace

ad::TAdImage* PictureImage(ad::TAdImageList& list, const std::vector<std::string>& rows, int pw, int ph) {
    ad::TAd2DBitmap bitmap(static_cast<int32_t>(rows.at(0).size()), static_cast<int32_t>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            const uint32_t argb = c == '#' ? 0xFFFFFFFF : c == 'r' ? 0xFFFF0000 : c == 'g' ? 0xFF00FF00 : 0;
            bitmap.SetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), argb);
        }
    return LoadImage(list, bitmap, pw, ph);
}

ad::TAdImage* SolidImage(ad::TAdImageList& list, int w, int h, uint32_t argb, int pw, int ph) {
    ad::TAd2DBitmap bitmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap.SetPixel(x, y, argb);
    return LoadImage(list, bitmap, pw, ph);
}

} // namespace vimbo::test
