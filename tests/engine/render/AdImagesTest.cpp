// Images and image lists drawn through the software plugin: pattern layout, lookup by name, pixels
// that survive a plugin restart, and where the model transform puts a pattern.
#include "engine/render/AdImages.hpp"

#include <cmath>

#include <gtest/gtest.h>

#include "tests/engine/render/BitmapFiles.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace {

using vimbo::test::HeadlessSurface;
using vimbo::test::MakeBmp;
using vimbo::test::SolidBmp;

constexpr uint32_t kGreen = 0xFF00FF00, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

// Two 24 x 24 patterns side by side: green, then red with a white top-left quadrant.
uint32_t TwoPatterns(int x, int y) {
    if (x < 24)
        return kGreen;
    return (x < 36 && y < 12) ? 0xFFFFFFFF : kRed;
}

ad::TAdImage* AddImage(ad::TAdImageList& list, const std::string& name, const std::vector<uint8_t>& bmp,
                       int pw, int ph) {
    ad::TAdImage* image = list.Add(name);
    image->Texture()->LoadGraphicFromMemory(name + ".bmp", bmp, false, 0);
    image->SetPatternWidth(pw);
    image->SetPatternHeight(ph);
    image->Restore();
    return image;
}

class AdImageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(s.draw->Initialized()) << s.draw->LastError; }

    // Clears to blue, runs draw inside a scene and presents the frame.
    template <typename Draw> void Frame(Draw draw) {
        s.draw->ClearSurface(0xFF0000); // desktop blue
        s.draw->BeginScene();
        draw();
        s.draw->EndScene();
        s.draw->Flip();
    }

    HeadlessSurface s{128, 96};
    ad::TAdImageList list{s.draw.get()};
};

TEST_F(AdImageTest, PatternCountsFollowTheLayout) {
    EXPECT_EQ(AddImage(list, "a", SolidBmp(96, 24, 0), 24, 24)->PatternCount(), 4);
    EXPECT_EQ(AddImage(list, "b", SolidBmp(100, 24, 0), 24, 24)->PatternCount(), 4); // the rest is ignored
    ad::TAdImage* grid = AddImage(list, "c", SolidBmp(96, 96, 0), 24, 24);
    ASSERT_EQ(grid->PatternCount(), 16);
    EXPECT_EQ(grid->Rects()[13], (ad::AdRect{24, 72, 48, 96})); // row by row
    grid->SkipPatterns = 3;
    EXPECT_EQ(grid->PatternCount(), 13);

    ad::TAdImage* whole = AddImage(list, "d", SolidBmp(96, 24, 0), 0, 0);
    EXPECT_EQ(whole->PatternCount(), 1);
    EXPECT_EQ(whole->PatternWidth(), 96);
    EXPECT_EQ(whole->PatternHeight(), 24);
    EXPECT_EQ(whole->Rects()[0], (ad::AdRect{0, 0, 96, 24}));

    ad::TAdImage* oneSet = AddImage(list, "e", SolidBmp(96, 24, 0), 24, -5); // negative counts as 0
    EXPECT_EQ(oneSet->PatternHeight(), 24);
    EXPECT_EQ(oneSet->PatternCount(), 1);
}

TEST_F(AdImageTest, SkipsLeaveGapsBetweenPatterns) {
    ad::TAdImage* image = list.Add("gaps");
    image->Texture()->LoadGraphicFromMemory("gaps.bmp", SolidBmp(100, 50, 0), false, 0);
    image->SetPatternWidth(24);
    image->SetPatternHeight(24);
    image->SkipWidth = 2;
    image->SkipHeight = 2;
    image->Restore();
    // (100 + 2) div 26 = 3 columns, (50 + 2) div 26 = 2 rows.
    ASSERT_EQ(image->PatternCount(), 6);
    EXPECT_EQ(image->Rects()[1], (ad::AdRect{26, 0, 50, 24}));
    EXPECT_EQ(image->Rects()[4], (ad::AdRect{26, 26, 50, 50}));
}

TEST_F(AdImageTest, FindReturnsTheFirstOfTwoImagesOfOneNameAndMatchesCase) {
    ad::TAdImage* first = list.Add("player");
    ad::TAdImage* second = list.Add("player");
    EXPECT_NE(first, second);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Find("player"), first);
    EXPECT_EQ(list.IndexOf("player"), 0);
    EXPECT_EQ(list.IndexOf("Player"), -1);
    EXPECT_EQ(list.Find("Player"), nullptr);
    EXPECT_EQ(second->ImageList, &list);
    list.Delete(0);
    EXPECT_EQ(list.Find("player"), second);
}

TEST_F(AdImageTest, ImagesTakeTheListsTextureSetting) {
    list.TextureSetting = 3;
    ad::TAdImage* image = list.Add("set");
    ASSERT_NE(image->Texture()->Texture(), nullptr);
    EXPECT_EQ(image->Texture()->Texture()->Settings(), 3);
}

TEST_F(AdImageTest, StretchDrawPutsAPatternIntoTheRectangle) {
    ad::TAdImage* image = AddImage(list, "two", MakeBmp(48, 24, 24, TwoPatterns), 24, 24);
    Frame([&] { image->StretchDraw(s.draw.get(), {10, 10, 58, 34}, 1); }); // twice as wide
    EXPECT_EQ(s.FramePixel(12, 12), 0xFFFFFFFFu); // white quadrant, stretched to 24 x 12
    EXPECT_EQ(s.FramePixel(32, 12), 0xFFFFFFFFu);
    EXPECT_EQ(s.FramePixel(36, 12), kRed);
    EXPECT_EQ(s.FramePixel(12, 30), kRed);
    EXPECT_EQ(s.FramePixel(57, 33), kRed);
    EXPECT_EQ(s.FramePixel(58, 33), kBlue);
    EXPECT_EQ(s.FramePixel(9, 9), kBlue);
}

TEST_F(AdImageTest, AnOutOfRangePatternDrawsTheFirstPatternsArea) {
    ad::TAdImage* image = AddImage(list, "two", MakeBmp(48, 24, 24, TwoPatterns), 24, 24);
    for (int index : {2, 99, -1}) {
        Frame([&] { image->StretchDraw(s.draw.get(), {0, 0, 24, 24}, index); });
        // Only the 24 x 24 of the first pattern: no red of the second is squeezed in.
        for (int x : {0, 11, 12, 23})
            EXPECT_EQ(s.FramePixel(x, 5), kGreen) << index << " at " << x;
    }
}

TEST_F(AdImageTest, ATintedRotatedFadedPatternLandsWhereTheModelTransformSays) {
    ad::TAdImage* image = AddImage(list, "two", MakeBmp(48, 24, 24, TwoPatterns), 24, 24);
    image->SetColor(0x00FFFF); // yellow tint: red and green kept, blue dropped
    // 48 x 24 at (40, 40), turned 90 degrees clockwise about its centre (64, 52): it covers
    // x 52..76, y 28..76, and the white (here yellow) quadrant moves from top-left to top-right.
    Frame([&] { image->DrawRotateAlpha(s.draw.get(), 40, 40, 48, 24, 1, 0.5, 0.5, 90, 128); });
    auto near = [](uint32_t pixel, int r, int g, int b) {
        auto ch = [&](int shift) { return static_cast<int>((pixel >> shift) & 0xFF); };
        return std::abs(ch(16) - r) <= 2 && std::abs(ch(8) - g) <= 2 && std::abs(ch(0) - b) <= 2;
    };
    const uint32_t yellowOverBlue = s.FramePixel(70, 34), redOverBlue = s.FramePixel(58, 40);
    EXPECT_TRUE(near(yellowOverBlue, 128, 128, 127)) << std::hex << yellowOverBlue;
    EXPECT_TRUE(near(redOverBlue, 128, 0, 127)) << std::hex << redOverBlue;
    EXPECT_TRUE(near(s.FramePixel(70, 70), 128, 0, 127)) << std::hex << s.FramePixel(70, 70);
    EXPECT_TRUE(near(s.FramePixel(58, 70), 128, 0, 127));
    // Inside the unturned rectangle but outside the turned one, and beyond the turned one.
    EXPECT_EQ(s.FramePixel(44, 50), kBlue);
    EXPECT_EQ(s.FramePixel(84, 50), kBlue);
    EXPECT_EQ(s.FramePixel(64, 24), kBlue);
    EXPECT_EQ(image->VertexColor(), (ad::AdColor{255, 255, 0, 128}));
}

TEST_F(AdImageTest, ModelTransformScalesThenTurnsAboutTheCentreThenMoves) {
    const ad::AdMatrix m = ad::TAdCustomImage::ModelTransform({10, 20, 58, 44}, 24, 24, 0.5, 0.5, 90);
    auto apply = [&](float x, float y) {
        return std::pair{x * m.m[0][0] + y * m.m[1][0] + m.m[3][0],
                         x * m.m[0][1] + y * m.m[1][1] + m.m[3][1]};
    };
    // The image's top-left corner is scaled to (0, 0), turned about (24, 12) to (36, -12), moved.
    auto [x0, y0] = apply(0, 0);
    EXPECT_NEAR(x0, 46.0f, 1e-4);
    EXPECT_NEAR(y0, 8.0f, 1e-4);
    // Below 0.001 degrees nothing turns.
    const ad::AdMatrix flat = ad::TAdCustomImage::ModelTransform({10, 20, 58, 44}, 24, 24, 0.5, 0.5, 0.0009);
    EXPECT_FLOAT_EQ(flat.m[0][1], 0.0f);
    EXPECT_FLOAT_EQ(flat.m[3][0], 10.0f);
}

TEST_F(AdImageTest, AFinerMeshDrawsTheSamePicture) {
    ad::TAdImage* image = AddImage(list, "two", MakeBmp(48, 24, 24, TwoPatterns), 24, 24);
    std::vector<uint32_t> coarse, fine;
    for (int detail : {1, 4}) {
        image->SetDetail(detail);
        Frame([&] { image->DrawRotate(s.draw.get(), 30, 30, 48, 48, 1, 0.5, 0.5, 30); });
        auto& out = detail == 1 ? coarse : fine;
        for (int y = 20; y < 90; y += 3)
            for (int x = 20; x < 90; x += 3)
                out.push_back(s.FramePixel(x, y));
    }
    size_t differing = 0;
    for (size_t i = 0; i < coarse.size(); ++i)
        differing += coarse[i] != fine[i];
    EXPECT_LE(differing, coarse.size() / 50) << "edge pixels may round differently, the picture may not";
    EXPECT_EQ(image->Detail(), 4);
}

TEST_F(AdImageTest, KeyedPixelsLetTheBackgroundThrough) {
    ad::TAdImage* image = list.Add("keyed");
    image->Texture()->LoadGraphicFromMemory(
        "keyed.bmp", MakeBmp(2, 1, 24, [](int x, int) { return x == 0 ? 0xFF000000u : 0xFF010000u; }), true,
        0);
    image->Restore();
    Frame([&] { image->StretchDraw(s.draw.get(), {0, 0, 20, 10}, 0); });
    EXPECT_EQ(s.FramePixel(3, 5), kBlue);        // exact black: transparent
    EXPECT_EQ(s.FramePixel(16, 5), 0xFF010000u); // one step off: opaque
}

TEST_F(AdImageTest, SurvivesAFinaliseAndInitialiseWithItsPixels) {
    ad::TAdImage* image = AddImage(list, "two", MakeBmp(48, 24, 24, TwoPatterns), 24, 24);
    s.draw->Finalize();
    EXPECT_EQ(image->Mesh(), nullptr);
    EXPECT_EQ(image->Texture()->Texture(), nullptr);
    EXPECT_TRUE(image->Texture()->HoldsStream());
    ASSERT_TRUE(s.draw->Initialize());
    EXPECT_FALSE(image->Texture()->HoldsStream());
    ASSERT_TRUE(image->Texture()->Loaded());
    EXPECT_EQ(image->Width(), 48);
    EXPECT_EQ(image->PatternCount(), 2);
    Frame([&] { image->StretchDraw(s.draw.get(), {0, 0, 24, 24}, 1); });
    EXPECT_EQ(s.FramePixel(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(s.FramePixel(20, 20), kRed);
}

TEST_F(AdImageTest, LoadedWhileThePluginIsDownArrivesWhenItComesUp) {
    s.draw->Finalize();
    ad::TAdImage* image = list.Add("late");
    image->Texture()->LoadGraphicFromMemory("late.bmp", SolidBmp(4, 4, 0x00FF00), false, 0);
    image->StretchDraw(s.draw.get(), {0, 0, 4, 4}, 0); // nothing to draw with: does nothing
    ASSERT_TRUE(s.draw->Initialize());
    EXPECT_EQ(image->Width(), 4);
    Frame([&] { image->StretchDraw(s.draw.get(), {0, 0, 8, 8}, 0); });
    EXPECT_EQ(s.FramePixel(7, 7), kGreen);
}

TEST_F(AdImageTest, AnUnloadedImageDrawsNothing) {
    ad::TAdImage* image = list.Add("empty");
    image->Restore();
    EXPECT_EQ(image->Width(), 0);
    Frame([&] { image->StretchDraw(s.draw.get(), {0, 0, 50, 50}, 0); });
    EXPECT_EQ(s.FramePixel(10, 10), kBlue);
}

} // namespace
