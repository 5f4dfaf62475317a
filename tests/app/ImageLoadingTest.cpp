// Loading images from the program's bitmap resources: names found whatever their case, pattern
// sizes and keys applied, and the working directory left exactly as it was.
#include "app/ImageLoading.hpp"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "engine/platform/Resources.hpp"
#include "tests/support/HeadlessSurface.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

namespace fs = std::filesystem;

// Every entry of a folder with its size and content.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        entries[entry.path().filename().string()] =
            std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return entries;
}

class LoadImageResTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.draw->Initialized()) << s.draw->LastError;
        previous_ = fs::current_path();
        folder_ = vimbo::test::MakeTempFolder("cwd");
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }

    vimbo::test::HeadlessSurface s{32, 32};
    ad::TAdImageList list{s.draw.get()};
    fs::path previous_;
    std::string folder_;
};

TEST_F(LoadImageResTest, LeavesTheWorkingDirectoryAsItWas) {
    // A player's own file of the very name the old loader wrote and deleted.
    { std::ofstream(folder_ + "Probe.bmp") << "my own file"; }
    { std::ofstream(folder_ + "probe.bmp") << "another"; }
    const auto before = Snapshot(folder_);
    vimbo::LoadImageRes(list, "Probe", 0, 0, true, vimbo::kKeyBlack);
    EXPECT_EQ(Snapshot(folder_), before);
    ASSERT_EQ(list.Count(), 1);
}

TEST_F(LoadImageResTest, AddsTheNamedImageWithItsKeyAndPatternSize) {
    vimbo::LoadImageRes(list, "PROBE", 1, 1, true, vimbo::kKeyMagenta);
    list.Restore();
    ad::TAdImage* image = list.Find("PROBE");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(list.Find("Probe"), nullptr); // the image keeps the name it was asked by
    EXPECT_EQ(image->Width(), 3);
    EXPECT_EQ(image->Height(), 2);
    EXPECT_EQ(image->PatternCount(), 6);
    ad::TAd2DBitmap pixels;
    ASSERT_TRUE(image->Texture()->SaveToBitmap(pixels));
    EXPECT_EQ(pixels.Pixel(0, 0), 0xFFFF0000u); // top row: red, green, blue
    EXPECT_EQ(pixels.Pixel(2, 0), 0xFF0000FFu);
    EXPECT_EQ(pixels.Pixel(0, 1) >> 24, 255u); // black is not the key here
    EXPECT_EQ(pixels.Pixel(2, 1) >> 24, 0u);   // magenta is
}

TEST_F(LoadImageResTest, NegativePatternSizesCountAsNone) {
    vimbo::LoadImageRes(list, "probe", -24, -24, false, 0);
    list.Restore();
    ad::TAdImage* image = list.Find("probe");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->PatternCount(), 1);
    EXPECT_EQ(image->PatternWidth(), 3);
    ad::TAd2DBitmap pixels;
    ASSERT_TRUE(image->Texture()->SaveToBitmap(pixels));
    EXPECT_EQ(pixels.Pixel(2, 1) >> 24, 255u); // not transparent: all opaque
}

TEST_F(LoadImageResTest, AMissingResourceIsAnErrorAndAddsNothing) {
    EXPECT_THROW(vimbo::LoadImageRes(list, "nosuchpicture", 0, 0, true, 0), ad::platform::EResourceNotFound);
    EXPECT_EQ(list.Count(), 0);
}

} // namespace
