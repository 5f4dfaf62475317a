// Image sprites: pattern animation, bounds of the rotated sprite, and the choice of the image's draw.
#include "engine/sprites/AdImageSprites.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace ad {

namespace {

int64_t Trunc64(double value) {
    if (!(value == value))
        return 0;
    constexpr double kLimit = 9.0e18;
    return static_cast<int64_t>(std::trunc(std::clamp(value, -kLimit, kLimit)));
}

// Alpha is stored unclamped; the image takes a byte, and a wrapped value would turn opaque into clear.
uint8_t AlphaByte(double alpha) {
    return static_cast<uint8_t>(std::clamp(AdRound(alpha), 0, 255));
}

} // namespace

TImageSprite::TImageSprite(TSprite* parent) : TSprite(parent) {}

void TImageSprite::SetImage(TAdCustomImage* image) {
    if (image != nullptr && image != image_) {
        SetWidth(image->PatternWidth());
        SetHeight(image->PatternHeight());
        if (image_ == nullptr) {
            animStart_ = 0;
            animStop_ = image->PatternCount() - 1;
        }
        animStartPending_ = true;
    }
    image_ = image;
}

void TImageSprite::DoAnimationEvent(TAnimationEvent event) {
    (void)event;
}

void TImageSprite::SetAnimStart(int32_t value) {
    const int32_t count = PatternCount();
    animStart_ = value >= count ? count - 1 : value;
}

void TImageSprite::SetAnimStop(int32_t value) {
    const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    const int32_t count = PatternCount();
    animStop_ = magnitude >= count ? count - 1 : static_cast<int32_t>(magnitude);
}

void TImageSprite::DoMove(double timeGap) {
    if (!AnimActive)
        return;
    if (animStartPending_) {
        DoAnimationEvent(aeStart);
        animStartPending_ = false;
    }
    AnimPos += AnimSpeed * timeGap;
    if (Trunc64(AnimPos) <= animStop_)
        return;
    if (AnimLoop) {
        // The overshoot is dropped: a long step still lands on the first frame of the range.
        AnimPos = animStart_;
        DoAnimationEvent(aeRestart);
    } else {
        AnimActive = false;
        DoAnimationEvent(aeStop);
    }
}

void TImageSprite::DoDraw() {
    if (image_ == nullptr || engine_ == nullptr || engine_->Surface() == nullptr)
        return;
    image_->StretchDraw(engine_->Surface(), GetBoundsRect(), PatternIndex());
}

TImageSpriteEx::TImageSpriteEx(TSprite* parent) : TImageSprite(parent) {}

TSpriteRect TImageSpriteEx::GetBoundsRect() const {
    const double x = AbsoluteX(), y = AbsoluteY();
    return {AdRound(x + boundsBox_.left), AdRound(y + boundsBox_.top), AdRound(x + boundsBox_.right),
            AdRound(y + boundsBox_.bottom)};
}

void TImageSpriteEx::DoMove(double timeGap) {
    TImageSprite::DoMove(timeGap);
    if (boundsDirty_) {
        UpdateBoundsBox();
        boundsDirty_ = false;
    }
}

void TImageSpriteEx::UpdateBoundsBox() {
    const int32_t w = AdRound(Width()), h = AdRound(Height());
    if (std::fabs(static_cast<float>(angle_)) < 0.001) {
        boundsBox_ = {0, 0, w, h};
        return;
    }
    const int32_t cx = AdRound(rotationCenterX_ * Width()), cy = AdRound(rotationCenterY_ * Height());
    const double turn = angle_ * std::numbers::pi / 180.0;
    const int32_t corners[4][2] = {{0, 0}, {w, 0}, {0, h}, {w, h}};
    TSpriteRect box{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(),
                    std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()};
    for (const auto& corner : corners) {
        int32_t x = corner[0], y = corner[1];
        const double dx = static_cast<double>(x) - cx, dy = static_cast<double>(y) - cy;
        if (dx != 0 || dy != 0) {
            const double r = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx) + turn;
            x = AdRound(r * std::cos(a)) + cx;
            y = AdRound(r * std::sin(a)) + cy;
        }
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    }
    boundsBox_ = box;
}

void TImageSpriteEx::DoDraw() {
    TAdCustomImage* image = Image();
    if (image == nullptr || engine_ == nullptr || engine_->Surface() == nullptr)
        return;
    TAdRenderingSurface* surface = engine_->Surface();
    image->SetColor(Color);
    const int32_t pattern = PatternIndex();
    if (angle_ == 0) {
        if (alpha_ == 255)
            image->StretchDraw(surface, GetBoundsRect(), pattern);
        else
            image->DrawAlpha(surface, GetBoundsRect(), pattern, AlphaByte(alpha_));
        return;
    }
    const int32_t x = AdRound(AbsoluteX()), y = AdRound(AbsoluteY());
    const int32_t w = AdRound(Width()), h = AdRound(Height()), degrees = AdRound(angle_);
    if (alpha_ == 255)
        image->DrawRotate(surface, x, y, w, h, pattern, rotationCenterX_, rotationCenterY_, degrees);
    else
        image->DrawRotateAlpha(surface, x, y, w, h, pattern, rotationCenterX_, rotationCenterY_, degrees,
                               AlphaByte(alpha_));
}

void TImageSpriteEx::SetWidth(double value) {
    if (value == Width())
        return;
    TSprite::SetWidth(value);
    boundsDirty_ = true;
}

void TImageSpriteEx::SetHeight(double value) {
    if (value == Height())
        return;
    TSprite::SetHeight(value);
    boundsDirty_ = true;
}

void TImageSpriteEx::SetAlpha(double value) {
    alpha_ = value;
}

void TImageSpriteEx::SetAngle(double value) {
    if (value == angle_)
        return;
    angle_ = value;
    boundsDirty_ = true;
}

void TImageSpriteEx::SetColor(uint32_t value) {
    Color = value;
}

void TImageSpriteEx::SetRotationCenterX(double value) {
    if (value == rotationCenterX_)
        return;
    rotationCenterX_ = value;
    boundsDirty_ = true;
}

void TImageSpriteEx::SetRotationCenterY(double value) {
    if (value == rotationCenterY_)
        return;
    rotationCenterY_ = value;
    boundsDirty_ = true;
}

} // namespace ad
