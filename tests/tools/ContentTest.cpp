// The generated pictures and the map texts as the game finds them in its resources: sizes, frame
// counts, transparency where the sprites need it, tiles that join, and a generator that makes the
// same bytes every time.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ImageLoading.hpp"
#include "engine/platform/Resources.hpp"
#include "engine/render/AdBitmap.hpp"
#include "tests/support/HeadlessSurface.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

using ad::platform::FindResource;
using ad::platform::ResourceKind;

struct Expected {
    const char* name;
    int width, height, frames;
};

const Expected kCatalogue[] = {
    {"b3", 264, 480, 220},
    {"player", 192, 24, 8},
    {"Enemy", 96, 24, 4},
    {"Hvost", 96, 24, 4},
    {"vit1", 96, 96, 16},
    {"vit2", 96, 24, 4},
    {"wall", 24, 24, 1},
    {"digital", 160, 16, 10},
    {"level", 90, 16, 1},
    {"Score", 90, 16, 1},
    {"TopScore", 56, 14, 1},
    {"lives", 90, 16, 1},
    {"star", 576, 72, 8},
    {"pause", 82, 20, 1},
    {"scoreup", 64, 64, 4},
    {"scoredown", 64, 64, 4},
    {"newgame", 128, 40, 2},
    {"continue", 128, 40, 2},
    {"options", 112, 40, 2},
    {"exit", 64, 40, 2},
    {"menup", 160, 80, 1},
    {"cursor", 18, 18, 1},
    {"kelvoranth", 1020, 84, 1},
    {"gameover", 138, 14, 1},
    {"gameover2", 274, 224, 1},
    {"top", 56, 14, 1},
    {"fon", 1920, 1080, 1},
    {"fon2", 1920, 1080, 1},
    {"music", 80, 40, 2},
    {"back", 64, 40, 2},
    {"easynormalhard", 192, 60, 6},
    {"difficulty", 160, 40, 2},
    {"onoff", 94, 40, 4},
    {"sounds", 96, 40, 2},
};

uint32_t Alpha(uint32_t argb) {
    return argb >> 24;
}
float Luminance(uint32_t argb) {
    return 0.3f * static_cast<float>((argb >> 16) & 0xFF) + 0.59f * static_cast<float>((argb >> 8) & 0xFF) +
           0.11f * static_cast<float>(argb & 0xFF);
}

// The catalogue loaded once for all tests, at a 1920 x 1080 screen, plus the particle images.
class ContentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        surface_ = new vimbo::test::HeadlessSurface(32, 32);
        ASSERT_TRUE(surface_->draw->Initialized()) << surface_->draw->LastError;
        list_ = new ad::TAdImageList(surface_->draw.get());
        vimbo::LoadImageCatalogue(*list_, 1920, 1080);
        vimbo::LoadImageRes(*list_, "particle1", 0, 0, true, vimbo::kKeyBlack);
        vimbo::LoadImageRes(*list_, "particle3", 0, 0, true, vimbo::kKeyBlack);
        vimbo::LoadImageRes(*list_, "particle4", 0, 0, true, vimbo::kKeyBlack);
        vimbo::LoadImageRes(*list_, "particle5", 0, 0, true, vimbo::kKeyMagenta);
        list_->Restore();
    }
    static void TearDownTestSuite() {
        delete list_;
        delete surface_;
        list_ = nullptr;
        surface_ = nullptr;
    }

    // The texture's pixels as the engine keyed them (alpha 0 where transparent).
    static ad::TAd2DBitmap Pixels(const std::string& name) {
        ad::TAd2DBitmap pixels;
        ad::TAdImage* image = list_->Find(name);
        EXPECT_NE(image, nullptr) << name;
        if (image != nullptr) {
            EXPECT_TRUE(image->Texture()->SaveToBitmap(pixels)) << name;
        }
        return pixels;
    }

    static float MeanLuminance(const ad::TAd2DBitmap& p, int x0, int y0, int w, int h, bool opaqueOnly) {
        float sum = 0;
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (!opaqueOnly || Alpha(p.Pixel(x, y)) != 0) {
                    sum += Luminance(p.Pixel(x, y));
                    ++n;
                }
        return n > 0 ? sum / static_cast<float>(n) : 0.0f;
    }

    static inline vimbo::test::HeadlessSurface* surface_ = nullptr;
    static inline ad::TAdImageList* list_ = nullptr;
};

TEST_F(ContentTest, EveryCatalogueImageHasItsSizeAndFrameCount) {
    for (const Expected& e : kCatalogue) {
        ad::TAdImage* image = list_->Find(e.name);
        ASSERT_NE(image, nullptr) << e.name;
        EXPECT_EQ(image->Width(), e.width) << e.name;
        EXPECT_EQ(image->Height(), e.height) << e.name;
        EXPECT_EQ(image->PatternCount(), e.frames) << e.name;
    }
}

TEST_F(ContentTest, ParticleAndUnusedBitmapsAreCarriedAtTheirSizes) {
    for (const char* name : {"particle1", "particle3", "particle4"}) {
        ad::TAdImage* image = list_->Find(name);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->Width(), 32) << name;
        EXPECT_EQ(image->Height(), 32) << name;
    }
    EXPECT_EQ(list_->Find("particle5")->Width(), 18);
    EXPECT_EQ(list_->Find("particle5")->Height(), 18);
    // Never loaded by the game, but carried: found by name whatever its case.
    EXPECT_NE(FindResource(ResourceKind::Bitmap, "PARTICLE2"), nullptr);
    EXPECT_NE(FindResource(ResourceKind::Bitmap, "cursor0"), nullptr);
}

TEST_F(ContentTest, SpriteFramesAreTransparentAtTheirCornersAndSolidInTheMiddle) {
    struct Sheet {
        const char* name;
        int frameW, frameH;
    };
    for (const Sheet& s : {Sheet{"player", 24, 24}, Sheet{"Enemy", 24, 24}, Sheet{"vit1", 24, 24},
                           Sheet{"star", 72, 72}, Sheet{"particle1", 32, 32}, Sheet{"particle5", 18, 18},
                           Sheet{"digital", 16, 16}, Sheet{"vit2", 24, 24}}) {
        const ad::TAd2DBitmap p = Pixels(s.name);
        for (int fy = 0; fy + s.frameH <= p.Height(); fy += s.frameH)
            for (int fx = 0; fx + s.frameW <= p.Width(); fx += s.frameW) {
                EXPECT_EQ(Alpha(p.Pixel(fx, fy)), 0u) << s.name << " frame at " << fx << "," << fy;
                EXPECT_EQ(Alpha(p.Pixel(fx + s.frameW - 1, fy + s.frameH - 1)), 0u) << s.name;
                const int cx = fx + s.frameW / 2, cy = fy + s.frameH / 2;
                // Digits are hollow in the middle (0, 8): their stroke lies a little off centre.
                if (std::string(s.name) != "digital") {
                    EXPECT_EQ(Alpha(p.Pixel(cx, cy)), 255u) << s.name << " frame at " << fx << "," << fy;
                }
            }
    }
}

TEST_F(ContentTest, TailSegmentsReachBothEndsSoTheyJoinIntoOneBody) {
    const ad::TAd2DBitmap p = Pixels("Hvost");
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(Alpha(p.Pixel(f * 24 + 12, 0)), 255u) << f;
        EXPECT_EQ(Alpha(p.Pixel(f * 24 + 12, 23)), 255u) << f;
        EXPECT_EQ(Alpha(p.Pixel(f * 24, 12)), 0u) << f;
    }
}

TEST_F(ContentTest, CursorIsKeyedMagentaWithItsTipAtTheHotSpot) {
    const ad::TAd2DBitmap p = Pixels("cursor");
    EXPECT_EQ(Alpha(p.Pixel(17, 0)), 0u);
    EXPECT_EQ(Alpha(p.Pixel(17, 17)), 0u);
    EXPECT_EQ(Alpha(p.Pixel(1, 1)), 255u);
    EXPECT_EQ(Alpha(p.Pixel(3, 8)), 255u);
}

TEST_F(ContentTest, HighlightedMenuFramesStandOutFromTheirNormalFrames) {
    struct Item {
        const char* name;
        int frameW;
        std::vector<std::pair<int, int>> pairs; // normal and highlighted frame numbers
    };
    const Item items[] = {{"newgame", 128, {{0, 1}}},
                          {"continue", 128, {{0, 1}}},
                          {"options", 112, {{0, 1}}},
                          {"exit", 64, {{0, 1}}},
                          {"back", 64, {{0, 1}}},
                          {"onoff", 47, {{0, 1}, {2, 3}}},
                          {"easynormalhard", 96, {{0, 1}, {2, 3}, {4, 5}}}};
    for (const Item& item : items) {
        const ad::TAd2DBitmap p = Pixels(item.name);
        const int columns = p.Width() / item.frameW;
        for (auto [normal, lit] : item.pairs) {
            auto covered = [&](int frame) {
                int n = 0;
                for (int y = 0; y < 20; ++y)
                    for (int x = 0; x < item.frameW; ++x)
                        n += Alpha(p.Pixel((frame % columns) * item.frameW + x,
                                           (frame / columns) * 20 + y)) != 0;
                return n;
            };
            // A glow and pointers make the highlighted frame visibly larger, not just recoloured.
            EXPECT_GT(covered(lit), covered(normal) * 11 / 10) << item.name << " frame " << lit;
        }
    }
}

TEST_F(ContentTest, BlockTilesJoinOnTheirWallSidesAndRoundOffOpenCorners) {
    enum { L = 1, A = 2, B = 4, R = 8 };
    const int joins[11] = {R | B, L | R | B, L | B,     L | A | B | R, L | A | R, R,
                           L | R, L,         L | A | B, A | B | R,     A | B};
    const ad::TAd2DBitmap p = Pixels("b3");
    for (int level = 0; level < 20; ++level)
        for (int tile = 0; tile < 11; ++tile) {
            const int x0 = tile * 24, y0 = level * 24;
            auto opaque = [&](int x, int y) { return Alpha(p.Pixel(x0 + x, y0 + y)) == 255; };
            for (int i = 0; i < 24; ++i) {
                // Along a joined side every pixel is solid, so two tiles meet without a seam of background.
                if (joins[tile] & L) {
                    EXPECT_TRUE(opaque(0, i)) << "level " << level + 1 << " tile " << tile;
                }
                if (joins[tile] & R) {
                    EXPECT_TRUE(opaque(23, i)) << "level " << level + 1 << " tile " << tile;
                }
                if (joins[tile] & A) {
                    EXPECT_TRUE(opaque(i, 0)) << "level " << level + 1 << " tile " << tile;
                }
                if (joins[tile] & B) {
                    EXPECT_TRUE(opaque(i, 23)) << "level " << level + 1 << " tile " << tile;
                }
            }
            const bool openTopLeft = !(joins[tile] & L) && !(joins[tile] & A);
            EXPECT_EQ(opaque(0, 0), !openTopLeft) << "level " << level + 1 << " tile " << tile;
            EXPECT_TRUE(opaque(12, 12));
        }
}

TEST_F(ContentTest, TintedLevelsHaveLightTilesThatTakeTheirTint) {
    const ad::TAd2DBitmap p = Pixels("b3");
    for (int level : {1, 7, 10, 14, 17, 18, 19, 20})
        EXPECT_GT(MeanLuminance(p, 0, (level - 1) * 24, 264, 24, true), 170.0f) << "level " << level;
}

TEST_F(ContentTest, GameOverBannerHasDarkWellsWhereTheDigitsStand) {
    const ad::TAd2DBitmap p = Pixels("gameover2");
    // The game puts five 16 x 16 score digits at (145, 72) and the top score at (145, 111).
    EXPECT_LT(MeanLuminance(p, 145, 72, 80, 16, false), 50.0f);
    EXPECT_LT(MeanLuminance(p, 145, 111, 80, 16, false), 50.0f);
    // ...while its labels to their left are bright lettering.
    EXPECT_GT(MeanLuminance(p, 40, 72, 95, 16, false), MeanLuminance(p, 145, 72, 80, 16, false) + 20.0f);
}

TEST_F(ContentTest, BackgroundsAreLightPatternsOverTheirKeys) {
    const ad::TAd2DBitmap fon = Pixels("fon");
    const ad::TAd2DBitmap fon2 = Pixels("fon2");
    int fonTransparent = 0, fon2Transparent = 0, samples = 0;
    for (int y = 0; y < 1080; y += 7)
        for (int x = 0; x < 1920; x += 7) {
            fonTransparent += Alpha(fon.Pixel(x, y)) == 0;
            fon2Transparent += Alpha(fon2.Pixel(x, y)) == 0;
            ++samples;
        }
    // The lower layer covers the screen; the upper one is a sparse motif the lower one shows through.
    EXPECT_LT(fonTransparent, samples / 20);
    EXPECT_GT(fon2Transparent, samples / 2);
    EXPECT_LT(fon2Transparent, samples * 99 / 100);
}

TEST(ContentMaps, EveryLevelMapIsEmbeddedAsItsTextFile) {
    for (int n = 1; n <= 20; ++n) {
        const std::string name = "map" + std::to_string(n);
        const auto* resource = FindResource(ResourceKind::RawData, name);
        ASSERT_NE(resource, nullptr) << name;
        std::ifstream file(vimbo::test::SourceFolder() + "resources/maps/" + name + ".txt", std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(text.empty()) << name;
        EXPECT_EQ(std::string(resource->bytes.begin(), resource->bytes.end()), text) << name;
    }
}

TEST(ContentGenerator, DrawsTheSameBytesAsTheEmbeddedPictures) {
    const std::string folder = vimbo::test::MakeTempFolder("artgen");
    const std::vector<std::string> names = {"b3", "player", "vit1", "kelvoranth", "digital"};
    std::string command = std::string(VIMBO_ARTGEN) + " " + folder;
    for (const auto& n : names)
        command += " " + n;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const auto& n : names) {
        std::ifstream file(folder + n + ".bmp", std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const auto* resource = FindResource(ResourceKind::Bitmap, n);
        ASSERT_NE(resource, nullptr) << n;
        EXPECT_TRUE(bytes == std::string(resource->bytes.begin(), resource->bytes.end())) << n << " differs";
    }
    std::filesystem::remove_all(folder);
}

} // namespace
