// Hostile bitmap files: the decoder takes any bytes, the colour key turns exactly the key colour
// transparent, and a picture that decodes loads as an image of the list and is cut into patterns that
// lie inside it.
#include <array>
#include <span>
#include <string>

#include "app/ImageLoading.hpp"
#include "engine/render/AdBitmap.hpp"
#include "engine/render/AdImages.hpp"
#include "tests/fuzz/FuzzTargets.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace vimbo::fuzz {

namespace {

struct ImageLoad {
    int32_t patternWidth, patternHeight;
    bool transparent;
    uint32_t key;
};

// Loads as the catalogue makes them: square and banner patterns, screen-sized ones before the size
// is known, unkeyed pictures, and every key colour.
constexpr std::array<ImageLoad, 5> kLoads{{
    {24, 24, true, kKeyBlack},
    {18, 18, true, kKeyMagenta},
    {0, 0, true, kKeyWhite},
    {160, 80, false, kKeyBlack},
    {1, 3, true, kKeyBlack},
}};

// A run-length picture of thousands of pixels a side fits in a few hundred bytes, and the fuzzer,
// drawn to the header's size fields, makes many: decoding one of millions of pixels takes a second
// under the sanitizers, keying it five times and cutting it into patterns minutes. What a picture's
// size changes in the decoder is how much it allocates, which the decoder's own tests check up to its
// limits; here pictures decode up to a size that keeps hundreds of inputs a second even under the
// sanitizers, and are checked whole up to a smaller one. A claim beyond the decoder's limits, or a
// file too short to make one, still goes to it: it is refused before any allocation, which is worth
// fuzzing.
constexpr uint64_t kMostPixelsDecoded = 512 * 512;
constexpr uint64_t kMostPixelsChecked = 256 * 256;

void CheckKey(const ad::TAd2DBitmap& decoded, bool transparent, uint32_t key) {
    ad::TAd2DBitmap keyed = decoded;
    ad::TAdTransparencyFilter{transparent, key}.Apply(keyed);
    for (int32_t y = 0; y < keyed.Height(); ++y)
        for (int32_t x = 0; x < keyed.Width(); ++x) {
            const uint32_t before = decoded.Pixel(x, y), after = keyed.Pixel(x, y);
            Expect((after & 0xFFFFFF) == (before & 0xFFFFFF), "the key changes no colour");
            // Pixels are 0xAARRGGBB; the key is a desktop colour with red in the lowest byte.
            const uint32_t rgb = (before >> 16 & 0xFF) | (before & 0xFF00) | (before & 0xFF) << 16;
            const bool clear = transparent && rgb == key;
            Expect((after >> 24) == (clear ? 0u : 255u), "exactly the key colour is transparent");
        }
}

ad::TAdDraw& Surface() {
    static test::HeadlessSurface surface(64, 64);
    if (!surface.draw->Initialized())
        Fail("the software renderer did not start");
    return *surface.draw;
}

void LoadAsImage(std::span<const uint8_t> bytes, const ImageLoad& load) {
    ad::TAdImageList list(&Surface());
    try {
        LoadImageBitmap(list, "fuzz", bytes, load.patternWidth, load.patternHeight, load.transparent,
                        load.key);
    } catch (const ad::ENoValidFormat&) {
        Fail("a picture that decoded did not load as an image");
    }
    list.Restore();
    const ad::TAdImage& image = *list.Find("fuzz");
    Expect(image.PatternCount() >= 0, "no negative pattern count");
    for (const ad::AdRect& rect : image.Rects())
        Expect(rect.left >= 0 && rect.top >= 0 && rect.right <= image.Width() &&
                   rect.bottom <= image.Height() && rect.left < rect.right && rect.top < rect.bottom,
               "every pattern lies inside the picture");
}

} // namespace

void Bitmap(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const auto claimed = ad::TAdDesktopBitmapFormat::HeaderSize(bytes);
    if (claimed.WithinLimits() && claimed.Pixels() > kMostPixelsDecoded)
        return;
    ad::TAdBitmap decoded;
    try {
        decoded.LoadFromMemory("fuzz.bmp", bytes);
    } catch (const ad::ENoValidFormat&) {
        return;
    }
    Expect(decoded.Size() ==
               static_cast<uint64_t>(decoded.Width()) * static_cast<uint64_t>(decoded.Height()) * 4,
           "the pixels fill the size");
    if (static_cast<uint64_t>(decoded.Width()) * static_cast<uint64_t>(decoded.Height()) > kMostPixelsChecked)
        return;
    for (const ImageLoad& load : kLoads)
        CheckKey(decoded, load.transparent, load.key);
    LoadAsImage(bytes, kLoads[size % kLoads.size()]);
}

} // namespace vimbo::fuzz
