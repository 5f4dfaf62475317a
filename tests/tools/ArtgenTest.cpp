// The picture generator's building blocks: the keyed resolve, the BMP layout the game's loader
// reads, and lettering that fits the boxes the menus give it.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TestPaths.hpp"
#include "tools/artgen/Files.hpp"
#include "tools/artgen/Icons.hpp"
#include "tools/artgen/Lettering.hpp"
#include "tools/artgen/Raster.hpp"

namespace {

using namespace artgen;

TEST(ArtgenResolve, UncoveredPixelsAreExactlyTheKeyAndCoveredOnesNeverAre) {
    Canvas c(8, 8);
    // Pure black paint on a black-keyed picture must not vanish into the key.
    c.Fill([](float x, float y) { return SdBox(x, y, 4, 4, 2, 2); }, Rgb(0, 0, 0));
    const Picture p = ResolveOnBlack(c);
    EXPECT_TRUE(p.Transparent(0, 0));
    EXPECT_TRUE(p.Transparent(7, 7));
    EXPECT_FALSE(p.Transparent(3, 3));
    EXPECT_NE(p.At(3, 3), kBlack);
}

TEST(ArtgenResolve, WhiteOnAWhiteKeyIsNudgedOffTheKey) {
    Canvas c(4, 4);
    c.Paint([](float, float) { return Rgb(255, 255, 255); });
    const Picture p = ResolveOnWhite(c);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_FALSE(p.Transparent(x, y)) << x << "," << y;
            EXPECT_EQ(p.At(x, y), 0xFEFEFEu);
        }
}

TEST(ArtgenResolve, PartlyCoveredRimsBlendTowardsTheEdgeColourAndFaintOnesDrop) {
    Canvas c(10, 1);
    // A bar from x = 2 to 7.5: pixel 7 is half covered, pixel 8 not at all.
    c.Fill([](float x, float y) { return std::max(2.0f - x, std::max(x - 7.5f, std::abs(y - 0.5f) - 1.0f)); },
           Rgb(255, 255, 255));
    const Picture p = Resolve(c, true, kBlack, Rgb(0, 0, 100));
    EXPECT_EQ(p.At(4, 0), 0xFFFFFFu);
    const uint32_t rim = p.At(7, 0);
    EXPECT_NEAR(static_cast<int>((rim >> 16) & 0xFF), 128, 3);
    EXPECT_NEAR(static_cast<int>(rim & 0xFF), 178, 3); // half white, half the edge's blue
    EXPECT_TRUE(p.Transparent(8, 0));
    EXPECT_TRUE(p.Transparent(1, 0));
}

TEST(ArtgenResolve, OpaquePicturesHaveNoKeyedPixels) {
    Canvas c(3, 3);
    const Picture p = ResolveOpaque(c);
    EXPECT_FALSE(p.keyed);
    EXPECT_FALSE(p.Transparent(1, 1));
}

TEST(ArtgenBmp, WritesPaddedBottomUpRowsOfBlueGreenRed) {
    Picture p(3, 2, true, kBlack);
    p.Set(0, 0, 0x112233); // top left
    p.Set(2, 1, 0xAABBCC); // bottom right
    const std::string path = vimbo::test::MakeTempFolder("bmp") + "p.bmp";
    WriteBmp(p, path);
    std::ifstream file(path, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    // 3 pixels of 3 bytes make 9, padded to 12 per row.
    ASSERT_EQ(b.size(), 54u + 12u * 2u);
    auto u8 = [&](size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(b[i])); };
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(u8(2) | u8(3) << 8, 54u + 24u);
    EXPECT_EQ(u8(10), 54u);
    EXPECT_EQ(u8(18), 3u);
    EXPECT_EQ(u8(22), 2u);
    EXPECT_EQ(u8(28), 24u);
    // The first stored row is the bottom one: its last pixel is the bottom right.
    EXPECT_EQ(u8(54 + 6), 0xCCu);
    EXPECT_EQ(u8(54 + 7), 0xBBu);
    EXPECT_EQ(u8(54 + 8), 0xAAu);
    EXPECT_EQ(u8(54 + 12), 0x33u);
    EXPECT_EQ(u8(54 + 13), 0x22u);
    EXPECT_EQ(u8(54 + 14), 0x11u);
}

TEST(ArtgenLettering, FittedTextStaysInsideItsBox) {
    struct Box {
        const char* text;
        float w, h;
    };
    for (const Box& box : {Box{"EXIT", 52, 18}, Box{"DIFFICULTY", 148, 18}, Box{"+100", 60, 14},
                           Box{"VIMBO 2", 900, 70}, Box{"TOP", 54, 12}}) {
        const TextMask m = Font::Default().Fit(box.text, box.w, box.h, 4);
        EXPECT_LE(m.OutWidth(), box.w) << box.text;
        EXPECT_LE(m.OutHeight(), box.h) << box.text;
        // ...and uses it: a fitted text fills most of one of its sides.
        EXPECT_TRUE(m.OutWidth() > box.w * 0.8f || m.OutHeight() > box.h * 0.8f) << box.text;
    }
}

TEST(ArtgenLettering, RightAlignedLabelsEndAtTheRightOfTheirBox) {
    Canvas c(90, 16);
    TextStyle s;
    DrawTextInBox(c, "LEVEL", 0, 0, 90, 16, s, 0, 1);
    const Picture p = ResolveOnBlack(c);
    int leftmost = 90, rightmost = -1;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 90; ++x)
            if (!p.Transparent(x, y)) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
    EXPECT_GE(rightmost, 86);
    EXPECT_GT(leftmost, 20);
}

} // namespace

namespace {

uint8_t Alpha(const std::vector<uint8_t>& rgba, int size, int x, int y) {
    return rgba[(static_cast<size_t>(y) * size + x) * 4 + 3];
}

TEST(ArtgenIcon, ARoundedOpaqueTileWithTheRunnerInTheMiddleAtEverySize) {
    for (const int size : artgen::kIconSizes) {
        const std::vector<uint8_t> icon = artgen::MakeIcon(size);
        ASSERT_EQ(icon.size(), static_cast<size_t>(size) * size * 4);
        EXPECT_EQ(Alpha(icon, size, 0, 0), 0) << size << ": rounded corners are clear";
        EXPECT_EQ(Alpha(icon, size, size - 1, size - 1), 0) << size;
        EXPECT_EQ(Alpha(icon, size, size / 2, size / 2), 255) << size;
        EXPECT_EQ(Alpha(icon, size, size / 2, 1), 255) << size << ": the tile reaches the edges";
    }
    // The runner's yellow face fills the middle of a large icon, where the tile alone is dark red.
    const int size = 256;
    const std::vector<uint8_t> icon = artgen::MakeIcon(size);
    const uint8_t* middle = &icon[(static_cast<size_t>(size / 2 + 20) * size + size / 2) * 4];
    EXPECT_GT(middle[0], 180);
    EXPECT_GT(middle[1], 120);
}

} // namespace
