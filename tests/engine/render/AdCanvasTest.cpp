// The canvas: ellipse geometry, gradient fill, text in the pen's colour and drawing order at the
// end of the scene, and the font it writes with.
#include "engine/render/AdCanvas.hpp"

#include <cmath>

#include <gtest/gtest.h>

#include "engine/render/AdImages.hpp"
#include "tests/engine/render/BitmapFiles.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace {

using vimbo::test::HeadlessSurface;

int Channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

TEST(AdCanvasEllipse, CirclesOfEverySizeHave63RimSteps) {
    for (int r : {30, 300}) {
        const ad::AdRect rect{100 - r, 50 - r, 100 + r, 50 + r};
        const auto fan = ad::TAdCanvasEllipseObject::BuildFan(rect, ad::TAdBrush{});
        ASSERT_EQ(fan.size(), 64u) << r; // the centre and n = 63 rim vertices, the last closing
        EXPECT_FLOAT_EQ(fan[0].x, 100.0f);
        EXPECT_FLOAT_EQ(fan[0].y, 50.0f);
        for (size_t i = 1; i < fan.size(); ++i)
            EXPECT_NEAR(std::hypot(fan[i].x - 100.0f, fan[i].y - 50.0f), r, r * 1e-5) << r << " " << i;
        EXPECT_EQ(fan.back().x, fan[1].x);
        EXPECT_EQ(fan.back().y, fan[1].y);
        // 62 equal steps of the angle.
        const double step = std::atan2(fan[2].y - 50.0f, fan[2].x - 100.0f);
        EXPECT_NEAR(step, 2 * 3.14159265358979 / 62, 1e-5);
    }
}

TEST(AdCanvasEllipse, AnEllipseUsesBothRadiiAndAFlatOneStaysFinite) {
    const auto fan = ad::TAdCanvasEllipseObject::BuildFan({0, 0, 40, 20}, ad::TAdBrush{});
    EXPECT_FLOAT_EQ(fan[1].x, 40.0f); // angle 0: right end
    EXPECT_NEAR(fan[1 + 62 / 4].y, 20.0f, 0.1f);
    for (const auto& v : ad::TAdCanvasEllipseObject::BuildFan({5, 0, 5, 20}, ad::TAdBrush{}))
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
}

TEST(AdCanvasEllipse, TheBrushColoursCentreAndRim) {
    ad::TAdBrush brush;
    brush.SetGradientColor(ad::Ad_ARGB(0, 1, 2, 3));
    EXPECT_EQ(brush.Style, 2);
    brush.SetColor(ad::Ad_ARGB(100, 9, 8, 7));
    EXPECT_EQ(brush.Style, 1);
    auto fan = ad::TAdCanvasEllipseObject::BuildFan({0, 0, 10, 10}, brush);
    EXPECT_EQ(fan[0].color, (ad::AdColor{9, 8, 7, 100}));
    EXPECT_EQ(fan[5].color, (ad::AdColor{9, 8, 7, 100})); // solid: the rim too
    brush.Style = 2;
    fan = ad::TAdCanvasEllipseObject::BuildFan({0, 0, 10, 10}, brush);
    EXPECT_EQ(fan[5].color, (ad::AdColor{1, 2, 3, 0}));
}

TEST(AdCanvasEllipse, TheOutlineIsClosedAndSkipsRepeatedPoints) {
    const auto small = ad::TAdCanvasEllipseObject::BuildOutline({0, 0, 4, 4}, ad::AdColor{1, 2, 3, 4});
    for (size_t i = 1; i < small.size(); ++i)
        EXPECT_FALSE(small[i].x == small[i - 1].x && small[i].y == small[i - 1].y) << i;
    EXPECT_LT(small.size(), 63u);
    const auto big = ad::TAdCanvasEllipseObject::BuildOutline({0, 0, 200, 200}, ad::AdColor{});
    ASSERT_EQ(big.size(), 63u);
    EXPECT_EQ(big.front().x, big.back().x);
    EXPECT_EQ(big.front().y, big.back().y);
}

class AdCanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.draw->Initialized()) << s.draw->LastError;
        canvas = s.draw->Canvas();
        ASSERT_NE(canvas, nullptr);
    }
    void Frame(uint32_t clear, const std::function<void()>& draw) {
        s.draw->ClearSurface(clear);
        s.draw->BeginScene();
        draw();
        s.draw->EndScene();
        s.draw->Flip();
    }

    HeadlessSurface s{128, 96};
    ad::TAdCanvas* canvas = nullptr;
};

TEST_F(AdCanvasTest, AGradientCircleFadesToNothingAtTheRim) {
    Frame(0x000000, [&] {
        canvas->Pen.Style = 0;
        canvas->Brush.SetColor(ad::Ad_ARGB(100, 255, 255, 255));
        canvas->Brush.SetGradientColor(ad::Ad_ARGB(0, 255, 255, 255));
        canvas->Circle(64, 48, 40);
    });
    EXPECT_NEAR(Channel(s.FramePixel(64, 48), 8), 100, 3);
    EXPECT_NEAR(Channel(s.FramePixel(84, 48), 8), 50, 4);
    EXPECT_LE(Channel(s.FramePixel(102, 48), 8), 6);
    EXPECT_EQ(s.FramePixel(110, 48), 0xFF000000u);
    int previous = 256;
    for (int x = 64; x < 104; x += 4) {
        const int level = Channel(s.FramePixel(x, 48), 8);
        EXPECT_LE(level, previous) << x;
        previous = level;
    }
}

TEST_F(AdCanvasTest, TheOutlineIsDrawnInThePensColour) {
    Frame(0x000000, [&] {
        canvas->Brush.Style = 0;
        canvas->Pen.Color = ad::Ad_ARGB(255, 255, 0, 0);
        canvas->Circle(64, 48, 30);
    });
    EXPECT_EQ(s.FramePixel(64, 48), 0xFF000000u); // no fill
    int red = 0;
    for (int x = 90; x < 100; ++x)
        red += s.FramePixel(x, 48) == 0xFFFF0000u;
    EXPECT_GE(red, 1);
}

TEST_F(AdCanvasTest, TextOutsAreDrawnInCallOrderOverEverythingElseOfTheFrame) {
    ad::TAdImageList list(s.draw.get());
    ad::TAdImage* block = list.Add("block");
    block->Texture()->LoadGraphicFromMemory("block.bmp", vimbo::test::SolidBmp(4, 4, 0x0000FF), false, 0);
    block->Restore();
    Frame(0x000000, [&] {
        canvas->Pen.Color = ad::Ad_ARGB(255, 255, 0, 0);
        canvas->TextOut(10, 10, "HHHH");
        canvas->Pen.Color = ad::Ad_ARGB(255, 0, 255, 0);
        canvas->TextOut(10, 10, "HHHH");
        EXPECT_EQ(canvas->PendingObjects(), 2u);
        block->StretchDraw(s.draw.get(), {0, 0, 128, 96}, 0); // blue, after the calls
    });
    EXPECT_EQ(canvas->PendingObjects(), 0u);
    int strongGreen = 0, blue = 0;
    for (int y = 8; y < 30; ++y)
        for (int x = 8; x < 60; ++x) {
            const uint32_t p = s.FramePixel(x, y);
            strongGreen += Channel(p, 8) >= 128 && Channel(p, 0) < 128;
            blue += p == 0xFF0000FFu;
            // Green went on last with the same coverage, so red can never exceed it.
            EXPECT_GE(Channel(p, 8), Channel(p, 16)) << x << "," << y;
        }
    EXPECT_GT(strongGreen, 20);
    EXPECT_GT(blue, 100);
}

TEST_F(AdCanvasTest, QueuedObjectsKeepThePenTheyWereMadeWith) {
    Frame(0x000000, [&] {
        canvas->Pen.Color = ad::Ad_ARGB(255, 0, 0, 255);
        canvas->TextOut(4, 4, "HH");
        canvas->Pen.Color = ad::Ad_ARGB(255, 255, 0, 0);
    });
    int blue = 0, red = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            blue += Channel(s.FramePixel(x, y), 0) >= 128;
            red += Channel(s.FramePixel(x, y), 16) > 0;
        }
    EXPECT_GT(blue, 10);
    EXPECT_EQ(red, 0);
}

TEST_F(AdCanvasTest, ReleaseDrawsAtOnceAndTheSceneEndHasNothingLeft) {
    s.draw->ClearSurface(0x000000);
    s.draw->BeginScene();
    canvas->Pen.Style = 0;
    canvas->Brush.SetColor(ad::Ad_ARGB(255, 255, 255, 255));
    canvas->Circle(20, 20, 10);
    canvas->Release();
    EXPECT_EQ(canvas->PendingObjects(), 0u);
    s.draw->ClearSurface(0x000000); // wipes what Release drew; the scene end must not draw it again
    s.draw->EndScene();
    s.draw->Flip();
    EXPECT_EQ(s.FramePixel(20, 20), 0xFF000000u);
}

TEST_F(AdCanvasTest, TheCanvasFollowsThePluginDownAndUp) {
    canvas->TextOut(0, 0, "lost");
    s.draw->Finalize();
    EXPECT_EQ(s.draw->Canvas(), nullptr);
    ASSERT_TRUE(s.draw->Initialize());
    ASSERT_NE(s.draw->Canvas(), nullptr);
    EXPECT_EQ(s.draw->Canvas()->PendingObjects(), 0u);
    EXPECT_NE(s.draw->Canvas()->Font, nullptr);
}

TEST_F(AdCanvasTest, TheDefaultFontIsA13PixelFaceWithAnUnoffsetShadow) {
    ad::TAdFont* font = canvas->Font;
    ASSERT_NE(font, nullptr);
    ASSERT_TRUE(font->Valid());
    EXPECT_EQ(font->PixelSize(), 13);
    EXPECT_EQ(ad::AdFontPixelSize(10), 13);
    EXPECT_GE(font->TextHeight(), 13);
    EXPECT_LE(font->TextHeight(), 17);
    EXPECT_EQ(font->Shadow.Color, 0u);
    EXPECT_EQ(font->Shadow.Alpha, 128);
    EXPECT_EQ(font->Shadow.OffsetX, 0);
    EXPECT_EQ(font->Shadow.OffsetY, 0);
    EXPECT_EQ(font->Shadow.Blur, 0);
    EXPECT_GT(font->TextWidth("W"), font->TextWidth("i"));
    EXPECT_EQ(font->TextWidth("Wi"), font->TextWidth("W") + font->TextWidth("i"));
    EXPECT_EQ(font->TextWidth("\xE4\xB8\xAD"), font->TextWidth("?")); // a character it lacks
    EXPECT_EQ(font->TextWidth(""), 0);
    // The same request gives the same font.
    EXPECT_EQ(s.draw->FontFactory()->GenerateFont("DejaVuSans", 10), font);
}

TEST_F(AdCanvasTest, AnOffsetShadowFallsBesideTheText) {
    ad::TAdFontShadow shadow;
    shadow.Color = 0x0000FF; // desktop red
    shadow.Alpha = 255;
    shadow.OffsetX = 30;
    ad::TAdFont* font = s.draw->FontFactory()->GenerateFont("DejaVu Sans", 10, shadow);
    ASSERT_NE(font, canvas->Font);
    canvas->Font = font;
    Frame(0x000000, [&] {
        canvas->Pen.Color = ad::Ad_ARGB(255, 0, 255, 0);
        canvas->TextOut(0, 0, "H");
    });
    int green = 0, red = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 50; ++x) {
            EXPECT_EQ(Channel(s.FramePixel(x, y), 8) > 0 && Channel(s.FramePixel(x, y), 16) > 0, false) << x;
            green += Channel(s.FramePixel(x, y), 8) >= 128 && x < 10;
            red += Channel(s.FramePixel(x, y), 16) >= 128 && x >= 30;
        }
    EXPECT_GT(green, 5);
    EXPECT_EQ(red, green);
}

} // namespace
