// Image sprites: `TImageSprite` draws one pattern of an image and animates through the patterns by
// frame time; `TImageSpriteEx` adds tint, alpha, rotation about a centre and bounds that follow it.
#pragma once

#include <cstdint>

#include "engine/render/AdImages.hpp"
#include "engine/sprites/AdSprites.hpp"

namespace ad {

enum TAnimationEvent { aeStart = 0, aeStop = 1, aeRestart = 2 };

class TImageSprite : public TSprite {
public:
    explicit TImageSprite(TSprite* parent);

    void DoMove(double timeGap) override;
    void DoDraw() override;
    // A new image gives the sprite its pattern size; the first one also sets the range to all
    // patterns. nullptr detaches the image and keeps size and range.
    virtual void SetImage(TAdCustomImage* image);
    virtual void DoAnimationEvent(TAnimationEvent event);

    TAdCustomImage* Image() const { return image_; }
    // The image's pattern count, 0 without an image.
    int32_t PatternCount() const { return image_ != nullptr ? image_->PatternCount() : 0; }
    int32_t AnimStart() const { return animStart_; }
    int32_t AnimStop() const { return animStop_; }
    // Values at or past the last pattern take the last pattern.
    void SetAnimStart(int32_t value);
    // Takes the absolute value, then as SetAnimStart.
    void SetAnimStop(int32_t value);
    bool AnimStartPending() const { return animStartPending_; }
    // The pattern drawn: the animation position truncated.
    int32_t PatternIndex() const { return AdTrunc(AnimPos); }

    bool AnimLoop = true;
    double AnimPos = 0;
    // Frames per second; 0 freezes the animation, a negative speed never reaches the end.
    double AnimSpeed = 25.0;
    bool AnimActive = true;

private:
    TAdCustomImage* image_ = nullptr;
    int32_t animStart_ = 0;
    int32_t animStop_ = 0;
    bool animStartPending_ = false;
};

class TImageSpriteEx : public TImageSprite {
public:
    explicit TImageSpriteEx(TSprite* parent);

    // The rotated sprite's box around its absolute position; empty until the first move.
    TSpriteRect GetBoundsRect() const override;
    void DoMove(double timeGap) override;
    void DoDraw() override;
    void SetWidth(double value) override;
    void SetHeight(double value) override;
    virtual void SetAlpha(double value);
    virtual void SetAngle(double value);
    virtual void SetColor(uint32_t value);
    virtual void SetRotationCenterX(double value);
    virtual void SetRotationCenterY(double value);

    // Recomputes BoundsBox from size, angle and rotation centre.
    void UpdateBoundsBox();

    // Degrees; positive turns clockwise on screen.
    double Angle() const { return angle_; }
    // 0..255 as handed to the image; stored unclamped.
    double Alpha() const { return alpha_; }
    double RotationCenterX() const { return rotationCenterX_; }
    double RotationCenterY() const { return rotationCenterY_; }
    const TSpriteRect& BoundsBox() const { return boundsBox_; }
    bool BoundsDirty() const { return boundsDirty_; }

    // Tint in the low three bytes (red lowest); white draws the image as it is.
    uint32_t Color = 0xFFFFFF;

private:
    double angle_ = 0;
    double alpha_ = 255.0;
    double rotationCenterX_ = 0.5;
    double rotationCenterY_ = 0.5;
    TSpriteRect boundsBox_{};
    bool boundsDirty_ = true;
};

} // namespace ad
