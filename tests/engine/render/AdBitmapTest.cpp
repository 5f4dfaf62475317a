// Reading bitmap files into 32-bit pixels, the colour-key filter and the choice of graphic format.
#include "engine/render/AdBitmap.hpp"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine/render/AdMessages.hpp"
#include "tests/engine/render/BitmapFiles.hpp"

namespace {

using vimbo::test::MakeBmp;

// Four pixels that differ in each channel, so swapped channels or rows show.
uint32_t Quad(int x, int y) {
    static const uint32_t colours[2][2] = {{0xFF102030, 0xFF405060}, {0xFF708090, 0xFFA0B0C0}};
    return colours[y][x];
}

TEST(AdBitmapLoading, A24BitFileGivesItsPixelsOpaqueRowsTopToBottom) {
    ad::TAdBitmap bitmap;
    bitmap.LoadFromMemory("quad.bmp", MakeBmp(2, 2, 24, Quad));
    ASSERT_EQ(bitmap.Width(), 2);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.Size(), 16u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(bitmap.Pixel(x, y), Quad(x, y)) << x << "," << y;
    // B G R A bytes in memory.
    EXPECT_EQ(bitmap.Data()[0], 0x30);
    EXPECT_EQ(bitmap.Data()[2], 0x10);
}

TEST(AdBitmapLoading, A32BitFileKeepsItsAlpha) {
    ad::TAdBitmap bitmap;
    bitmap.LoadFromMemory("alpha.BMP",
                          MakeBmp(3, 1, 32, [](int x, int) { return (x * 100u) << 24 | 0x00336699u; }));
    ASSERT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x00336699u);
    EXPECT_EQ(bitmap.Pixel(1, 0), 0x64336699u);
    EXPECT_EQ(bitmap.Pixel(2, 0), 0xC8336699u);
}

// A bitmap file's header claiming width x height pixels of 24 bits, without the pixels.
std::vector<uint8_t> HeaderClaiming(int32_t width, int32_t height) {
    std::vector<uint8_t> file = MakeBmp(1, 1, 24, Quad);
    for (int i = 0; i < 4; ++i) {
        file[18 + i] = static_cast<uint8_t>(static_cast<uint32_t>(width) >> (8 * i));
        file[22 + i] = static_cast<uint8_t>(static_cast<uint32_t>(height) >> (8 * i));
    }
    return file;
}

TEST(AdBitmapLoading, AGiantPictureIsRefusedBeforeItsPixelsAreAskedFor) {
    ad::TAdBitmap bitmap;
    // Without the limit the decoder asks for the header's 30 GB before it finds the pixels missing.
    for (const auto& [width, height] :
         {std::pair{100000, 100000}, {100000, -100000}, {1, -16385}, {8192, 8193}})
        EXPECT_THROW(bitmap.LoadFromMemory("giant.bmp", HeaderClaiming(width, height)), ad::ENoValidFormat)
            << width << " x " << height;
    EXPECT_THROW(bitmap.LoadFromMemory("wider.bmp", vimbo::test::SolidBmp(16385, 1, 0x123456)),
                 ad::ENoValidFormat)
        << "a whole picture one pixel wider than the limit";
    bitmap.LoadFromMemory("wide.bmp", vimbo::test::SolidBmp(16384, 1, 0x123456));
    EXPECT_EQ(bitmap.Width(), 16384) << "the largest side still loads";
    EXPECT_EQ(bitmap.Pixel(16383, 0), 0xFF123456u);
}

TEST(AdBitmapLoading, TheClaimedSizeIsReadFromEitherHeaderWithoutItsSigns) {
    using Format = ad::TAdDesktopBitmapFormat;
    const auto info = Format::HeaderSize(HeaderClaiming(300, -200));
    EXPECT_EQ(info.width, 300u);
    EXPECT_EQ(info.height, 200u) << "rows top to bottom are still 200 rows";
    EXPECT_EQ(info.Pixels(), 60000u);
    EXPECT_FALSE(Format::HeaderSize(HeaderClaiming(-2147483647 - 1, 1)).WithinLimits())
        << "the most negative width is no small picture";

    // The old core header: a 12-byte header with 16-bit width and height.
    std::vector<uint8_t> core(26, 0);
    core[0] = 'B';
    core[1] = 'M';
    core[14] = 12;
    core[18] = 0x10; // width 0x0210
    core[19] = 0x02;
    core[20] = 0xFF; // height 0xFFFF: unsigned in this header
    core[21] = 0xFF;
    const auto old = Format::HeaderSize(core);
    EXPECT_EQ(old.width, 0x210u);
    EXPECT_EQ(old.height, 0xFFFFu);
    EXPECT_FALSE(old.WithinLimits()) << "65535 rows are more than the tallest side";

    core.pop_back();
    EXPECT_FALSE(Format::HeaderSize(core).known);
    EXPECT_FALSE(Format::HeaderSize(core).WithinLimits()) << "a size that cannot be read is no small size";
}

// The largest single request the decoder makes of SDL's allocator while fn runs. The recording
// functions pass every call on to the allocator that was in place, so memory taken before or after
// is freed alike.
size_t LargestDecoderAllocation(const std::function<void()>& fn) {
    static SDL_malloc_func realMalloc;
    static SDL_calloc_func realCalloc;
    static SDL_realloc_func realRealloc;
    static SDL_free_func realFree;
    static size_t largest;
    SDL_GetMemoryFunctions(&realMalloc, &realCalloc, &realRealloc, &realFree);
    largest = 0;
    SDL_SetMemoryFunctions(
        [](size_t size) {
            largest = std::max(largest, size);
            return realMalloc(size);
        },
        [](size_t count, size_t size) {
            largest = std::max(largest, count * size);
            return realCalloc(count, size);
        },
        [](void* memory, size_t size) {
            largest = std::max(largest, size);
            return realRealloc(memory, size);
        },
        realFree);
    fn();
    SDL_SetMemoryFunctions(realMalloc, realCalloc, realRealloc, realFree);
    return largest;
}

TEST(AdBitmapLoading, AFileTooShortToTellItsSizeIsRefusedBeforeTheDecoderAllocates) {
    // Found by fuzzing: a 25-byte file whose old core header claims 65535 x 65535 pixels, its
    // bits-per-pixel field cut short. The decoder reads the missing byte as zero and asked for 4 GB.
    const std::vector<uint8_t> file{'B',  'M',  0x1e, 0,    0,    0xaa, 0x0d, 0, 0, 0, 0xd8, 0xa0, 0,
                                    0x07, 0x0c, 0,    0,    0,    0xff, 0xff, 0xff, 0xff, 1, 0, 1};
    const std::vector<uint8_t> cut = [&] {
        std::vector<uint8_t> partial = file;
        partial.resize(24);
        return partial;
    }();
    for (const auto& bytes : {file, cut}) {
        ad::TAdBitmap bitmap;
        const size_t largest = LargestDecoderAllocation([&] {
            EXPECT_THROW(bitmap.LoadFromMemory("short.bmp", bytes), ad::ENoValidFormat) << bytes.size();
        });
        EXPECT_LT(largest, 1u << 20) << bytes.size() << " bytes";
    }
    // A whole picture still loads under the recording allocator, and is seen to allocate.
    ad::TAdBitmap bitmap;
    EXPECT_GT(LargestDecoderAllocation([&] { bitmap.LoadFromMemory("quad.bmp", MakeBmp(2, 2, 24, Quad)); }), 0u);
    EXPECT_EQ(bitmap.Pixel(1, 1), Quad(1, 1));
}

TEST(AdBitmapLoading, NoFormatForTheExtensionRaisesENoValidFormatWithTheFileName) {
    const auto bmp = vimbo::test::SolidBmp(2, 2, 0xFFFFFF);
    ad::TAdBitmap bitmap;
    try {
        bitmap.LoadFromMemory("picture.png", bmp);
        FAIL() << "loaded a .png through the bitmap format";
    } catch (const ad::ENoValidFormat& e) {
        EXPECT_EQ(std::string(e.what()), ad::NoValidFormatMessage("picture.png"));
        EXPECT_EQ(std::string(e.what()), "No loader found to load the specified file \"picture.png\".");
    }
    EXPECT_THROW(bitmap.LoadFromMemory("noextension", bmp), ad::ENoValidFormat);
    const std::vector<uint8_t> garbage(64, 0x42);
    EXPECT_THROW(bitmap.LoadFromMemory("broken.bmp", garbage), ad::ENoValidFormat);
    EXPECT_THROW(bitmap.LoadFromFile("/nonexistent/folder/missing.bmp"), ad::ENoValidFormat);
}

// Claims an extension and fills a 1 x 1 bitmap with a marker colour.
class MarkerFormat : public ad::TAdGraphicFormat {
public:
    explicit MarkerFormat(std::string extension) : extension_(std::move(extension)) {}
    std::vector<std::string> Extensions() const override { return {extension_}; }
    bool Load(std::span<const uint8_t>, ad::TAdBitmap& bitmap) const override {
        bitmap.SetSize(1, 1);
        bitmap.SetPixel(0, 0, 0xFF123456);
        return true;
    }

private:
    std::string extension_;
};

TEST(AdBitmapLoading, TheDesktopFormatLeavesAnExtensionToAnotherFormatThatClaimsIt) {
    const auto bmp = MakeBmp(2, 2, 24, Quad);
    ad::TAdBitmap bitmap;
    bitmap.LoadFromMemory("a.dib", bmp);
    EXPECT_EQ(bitmap.Pixel(1, 1), Quad(1, 1));
    ad::RegisterGraphicFormat(std::make_unique<MarkerFormat>("dib"));
    ad::RegisterGraphicFormat(std::make_unique<MarkerFormat>("xyz"));
    bitmap.LoadFromMemory("a.DIB", bmp);
    EXPECT_EQ(bitmap.Width(), 1);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0xFF123456u);
    bitmap.LoadFromMemory("b.xyz", {});
    EXPECT_EQ(bitmap.Pixel(0, 0), 0xFF123456u);
    bitmap.LoadFromMemory("a.bmp", bmp); // still the desktop's own
    EXPECT_EQ(bitmap.Width(), 2);
}

TEST(AdTransparencyFilter, MakesExactlyTheKeyColourTransparent) {
    const uint32_t key = 0xFF00FF; // magenta, as a desktop colour
    // The key, then one step off in each channel, then black and white.
    const uint32_t row[] = {0xFFFF00FF, 0xFFFE00FF, 0xFFFF01FF, 0xFFFF00FE, 0xFF000000, 0xFFFFFFFF};
    ad::TAdBitmap bitmap;
    bitmap.LoadFromMemory("k.bmp", MakeBmp(6, 1, 24, [&](int x, int) { return row[x]; }));
    ad::TAdTransparencyFilter{true, key}.Apply(bitmap);
    EXPECT_EQ(bitmap.Pixel(0, 0) >> 24, 0u);
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(bitmap.Pixel(x, 0) >> 24, 255u) << x;
    EXPECT_EQ(bitmap.Pixel(0, 0) & 0xFFFFFF, 0xFF00FFu); // the colour itself stays
}

TEST(AdTransparencyFilter, ReadsTheKeyWithRedInTheLowestByte) {
    ad::TAdBitmap bitmap;
    bitmap.LoadFromMemory("k.bmp",
                          MakeBmp(2, 1, 24, [](int x, int) { return x == 0 ? 0xFF0000FFu : 0xFFFF0000u; }));
    ad::TAdTransparencyFilter{true, 0x0000FF}.Apply(bitmap); // desktop red
    EXPECT_EQ(bitmap.Pixel(0, 0) >> 24, 255u);               // blue stays
    EXPECT_EQ(bitmap.Pixel(1, 0) >> 24, 0u);                 // red goes
}

TEST(AdTransparencyFilter, NotTransparentMakesAllOpaqueAndNoKeyKeepsTheLoadedAlpha) {
    const auto file = MakeBmp(2, 1, 32, [](int x, int) { return x == 0 ? 0x00000000u : 0x80FFFFFFu; });
    ad::TAdBitmap bitmap;
    bitmap.LoadFromMemory("a.bmp", file);
    ad::TAdTransparencyFilter{false, 0x000000}.Apply(bitmap);
    EXPECT_EQ(bitmap.Pixel(0, 0) >> 24, 255u);
    EXPECT_EQ(bitmap.Pixel(1, 0) >> 24, 255u);

    bitmap.LoadFromMemory("a.bmp", file);
    ad::TAdTransparencyFilter{}.Apply(bitmap);
    EXPECT_EQ(bitmap.Pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(bitmap.Pixel(1, 0) >> 24, 0x80u);
}

TEST(Ad2DBitmapStream, RoundTripsAndRefusesATruncatedStream) {
    ad::TAdBitmap bitmap;
    bitmap.LoadFromMemory("q.bmp", MakeBmp(2, 2, 24, Quad));
    std::vector<uint8_t> stream{7};
    bitmap.SaveToStream(stream);
    ad::TAd2DBitmap copy;
    size_t offset = 1;
    ASSERT_TRUE(copy.LoadFromStream(stream, offset));
    EXPECT_EQ(offset, stream.size());
    EXPECT_EQ(copy.Pixel(1, 0), Quad(1, 0));
    stream.pop_back();
    offset = 1;
    ad::TAd2DBitmap other(1, 1);
    EXPECT_FALSE(other.LoadFromStream(stream, offset));
    EXPECT_EQ(other.Width(), 1);
    EXPECT_EQ(offset, 1u);
}

} // namespace
