// Image sprites: image assignment, the animation range and its events, bounds of rotated sprites and
// the draw operation chosen by alpha and angle, checked on frames of the software plugin.
#include "engine/sprites/AdImageSprites.hpp"

#include <climits>

#include <gtest/gtest.h>

#include "tests/engine/sprites/SpriteTestSupport.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace {

using vimbo::test::PictureImage;
using vimbo::test::SolidImage;

class EventSprite : public ad::TImageSpriteEx {
public:
    using ad::TImageSpriteEx::TImageSpriteEx;
    void DoAnimationEvent(ad::TAnimationEvent event) override { events.push_back(event); }
    std::vector<ad::TAnimationEvent> events;
};

class ImageSpriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(surface.draw->Initialized()) << surface.draw->LastError;
        engine.SetSurface(surface.draw.get());
        strip = SolidImage(list, 96, 24, 0xFFFFFFFF, 24, 24);
        tall = SolidImage(list, 16, 32, 0xFFFFFFFF);
    }

    // Draws the engine on black and returns the frame's pixel at (x, y) without its alpha byte.
    uint32_t DrawAndRead(int x, int y) {
        surface.draw->ClearSurface(0);
        surface.draw->BeginScene();
        engine.Draw();
        surface.draw->EndScene();
        surface.draw->Flip();
        return surface.FramePixel(x, y) & 0xFFFFFF;
    }

    vimbo::test::HeadlessSurface surface{64, 48};
    ad::TAdImageList list{surface.draw.get()};
    ad::TSpriteEngine engine{nullptr};
    ad::TAdImage* strip = nullptr; // four 24 x 24 patterns
    ad::TAdImage* tall = nullptr;  // one 16 x 32 pattern
    EventSprite* sprite = new EventSprite(&engine);
};

TEST_F(ImageSpriteTest, TheFirstImageSetsSizeAndRangeLaterOnesOnlyTheSize) {
    sprite->SetImage(strip);
    EXPECT_EQ(sprite->Width(), 24);
    EXPECT_EQ(sprite->Height(), 24);
    EXPECT_EQ(sprite->AnimStop(), 3);
    EXPECT_TRUE(sprite->AnimStartPending());
    sprite->SetImage(tall);
    EXPECT_EQ(sprite->Width(), 16);
    EXPECT_EQ(sprite->Height(), 32);
    EXPECT_EQ(sprite->AnimStop(), 3);
    sprite->SetImage(nullptr);
    EXPECT_EQ(sprite->Image(), nullptr);
    EXPECT_EQ(sprite->Width(), 16);
    sprite->SetImage(tall); // no image before: the range is set again
    EXPECT_EQ(sprite->AnimStop(), 0);
}

TEST_F(ImageSpriteTest, AWrapLandsExactlyOnAnimStart) {
    sprite->SetImage(strip);
    sprite->SetAnimStart(1);
    sprite->AnimPos = 1;
    engine.Move(0.5); // 12.5 frames past the start
    EXPECT_EQ(sprite->AnimPos, 1.0);
    EXPECT_EQ(sprite->events, (std::vector<ad::TAnimationEvent>{ad::aeStart, ad::aeRestart}));
    engine.Move(0.04 * 2); // within the range: no event
    EXPECT_EQ(sprite->PatternIndex(), 3);
    EXPECT_EQ(sprite->events.size(), 2u);
}

TEST_F(ImageSpriteTest, WithoutLoopTheAnimationStopsOnceAndKeepsItsPosition) {
    sprite->SetImage(strip);
    sprite->AnimLoop = false;
    sprite->AnimPos = 3;
    engine.Move(0.1);
    EXPECT_FALSE(sprite->AnimActive);
    EXPECT_DOUBLE_EQ(sprite->AnimPos, 5.5);
    engine.Move(0.1);
    EXPECT_EQ(sprite->events, (std::vector<ad::TAnimationEvent>{ad::aeStart, ad::aeStop}));
    sprite->AnimActive = true;
    sprite->AnimSpeed = -25; // never reaches the end test
    engine.Move(1.0);
    EXPECT_TRUE(sprite->AnimActive);
}

TEST_F(ImageSpriteTest, RangeSettersClampToThePatterns) {
    sprite->SetAnimStop(0);
    EXPECT_EQ(sprite->AnimStop(), -1); // no image: no patterns
    sprite->SetAnimStop(-7);
    EXPECT_EQ(sprite->AnimStop(), -1);
    sprite->SetAnimStart(0);
    EXPECT_EQ(sprite->AnimStart(), -1);
    sprite->SetAnimStart(-2);
    EXPECT_EQ(sprite->AnimStart(), -2);
    sprite->SetImage(strip);
    sprite->SetAnimStop(-2);
    EXPECT_EQ(sprite->AnimStop(), 2);
    sprite->SetAnimStop(99);
    EXPECT_EQ(sprite->AnimStop(), 3);
    sprite->SetAnimStop(INT_MIN);
    EXPECT_EQ(sprite->AnimStop(), 3);
    sprite->SetAnimStart(4);
    EXPECT_EQ(sprite->AnimStart(), 3);
}

TEST_F(ImageSpriteTest, BoundsFollowTheRotationAfterTheNextMove) {
    sprite->SetWidth(24);
    sprite->SetHeight(48);
    sprite->SetX(100);
    sprite->SetY(50);
    EXPECT_EQ(sprite->GetBoundsRect(), (ad::TSpriteRect{100, 50, 100, 50})); // empty until moved
    sprite->SetAngle(90);
    engine.Move(0);
    EXPECT_EQ(sprite->BoundsBox(), (ad::TSpriteRect{-12, 12, 36, 36}));
    EXPECT_EQ(sprite->GetBoundsRect(), (ad::TSpriteRect{88, 62, 136, 86})); // 48 x 24 about (112, 74)
    sprite->SetAngle(0.0005);
    engine.Move(0);
    EXPECT_EQ(sprite->BoundsBox(), (ad::TSpriteRect{0, 0, 24, 48}));
    sprite->SetRotationCenterX(0);
    sprite->SetRotationCenterY(0);
    sprite->SetAngle(180);
    engine.Move(0);
    EXPECT_EQ(sprite->BoundsBox(), (ad::TSpriteRect{-24, -48, 0, 0}));
}

TEST_F(ImageSpriteTest, DrawsThePatternOfTheTruncatedPosition) {
    ad::TAdImage* two = PictureImage(list, {"gggrrr", "gggrrr", "gggrrr"}, 3, 3);
    sprite->SetImage(two);
    sprite->SetWidth(12);
    sprite->SetHeight(12);
    sprite->SetX(10);
    sprite->SetY(10);
    sprite->AnimPos = 1.9;
    sprite->AnimActive = false;
    engine.Move(0);
    EXPECT_EQ(DrawAndRead(15, 15), 0xFF0000u);
    EXPECT_EQ(DrawAndRead(9, 15), 0x000000u);
    sprite->Color = 0x00FFFF; // red and green: a red pattern stays red
    EXPECT_EQ(DrawAndRead(15, 15), 0xFF0000u);
    sprite->Color = 0xFFFF00; // green and blue: a red pattern turns black
    EXPECT_EQ(DrawAndRead(15, 15), 0x000000u);
}

TEST_F(ImageSpriteTest, AlphaAndAngleChooseTheDraw) {
    ad::TAdImage* halves = PictureImage(list, {"ggrr", "ggrr", "ggrr", "ggrr"});
    sprite->SetImage(halves);
    sprite->SetWidth(20);
    sprite->SetHeight(20);
    sprite->SetX(10);
    sprite->SetY(10);
    engine.Move(0);
    EXPECT_EQ(DrawAndRead(12, 20), 0x00FF00u);
    sprite->SetAlpha(254.6); // rounds to full opacity
    EXPECT_EQ(DrawAndRead(12, 20), 0x00FF00u);
    sprite->SetAlpha(300); // beyond the byte: drawn opaque, not wrapped round to faint
    EXPECT_EQ(DrawAndRead(12, 20), 0x00FF00u);
    sprite->SetAlpha(127.6);
    const uint32_t faint = DrawAndRead(12, 20);
    EXPECT_NEAR(static_cast<int>((faint >> 8) & 0xFF), 128, 2);
    sprite->SetAlpha(255);
    sprite->SetAngle(180); // turned about the centre: red comes to the left
    engine.Move(0);
    EXPECT_EQ(DrawAndRead(12, 20), 0xFF0000u);
    sprite->SetAlpha(127.6);
    const uint32_t turnedFaint = DrawAndRead(12, 20);
    EXPECT_NEAR(static_cast<int>((turnedFaint >> 16) & 0xFF), 128, 2);
    EXPECT_EQ(turnedFaint & 0xFF00, 0u);
}

} // namespace
