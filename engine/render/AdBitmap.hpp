// 32-bit pixel buffers, the registered graphic formats that fill them from files or memory, and the
// transparency filter that turns a colour key into alpha.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace ad {

// Pixels in B G R A byte order, rows top to bottom.
class TAd2DBitmap {
public:
    TAd2DBitmap() = default;
    TAd2DBitmap(int32_t width, int32_t height) { SetSize(width, height); }
    virtual ~TAd2DBitmap() = default;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint64_t Size() const { return pixels_.size(); }
    bool Empty() const { return pixels_.empty(); }

    // Resizes to width x height (negative counts as 0); the content becomes transparent black.
    void SetSize(int32_t width, int32_t height);
    uint8_t* Scanline(int32_t row) { return pixels_.data() + static_cast<size_t>(row) * RowBytes(); }
    const uint8_t* Scanline(int32_t row) const {
        return pixels_.data() + static_cast<size_t>(row) * RowBytes();
    }
    uint8_t* Data() { return pixels_.data(); }
    const uint8_t* Data() const { return pixels_.data(); }

    // The pixel at (x, y) as 0xAARRGGBB.
    uint32_t Pixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, uint32_t argb);

    // A lossless stream of the bitmap: width and height as 32-bit little-endian, then the pixels.
    void SaveToStream(std::vector<uint8_t>& stream) const;
    // Reads what SaveToStream wrote at offset, advancing it; false (bitmap unchanged) if truncated.
    bool LoadFromStream(std::span<const uint8_t> stream, size_t& offset);

private:
    size_t RowBytes() const { return static_cast<size_t>(width_) * 4; }

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> pixels_;
};

class TAdBitmap;

// A graphic file type the engine can read. Formats are asked in registration order.
class TAdGraphicFormat {
public:
    virtual ~TAdGraphicFormat() = default;
    // Lower-case extensions without the dot.
    virtual std::vector<std::string> Extensions() const = 0;
    // Whether this format takes a file of that extension, given every registered format.
    virtual bool Accepts(const std::string& extension) const;
    // Fills the bitmap from the file's bytes; false if they are not a picture of this format.
    virtual bool Load(std::span<const uint8_t> bytes, TAdBitmap& bitmap) const = 0;
};

// Registers a format after the ones already known (the desktop bitmap format is built in).
void RegisterGraphicFormat(std::unique_ptr<TAdGraphicFormat> format);
const std::vector<std::unique_ptr<TAdGraphicFormat>>& GraphicFormats();

// The desktop's own picture type, read with SDL's BMP reader. It declines extensions that another
// registered format claims.
class TAdDesktopBitmapFormat : public TAdGraphicFormat {
public:
    // The largest picture it takes: the header alone decides how much memory the decoder asks for,
    // so a few bytes claiming a giant picture must be refused before any is taken.
    static constexpr int32_t kMaxSide = 16384;
    static constexpr uint64_t kMaxPixels = 8192ull * 8192ull;

    // The width and height a file's header claims, signs dropped. A file too short to hold both
    // (26 bytes: no real bitmap is shorter) claims nothing that can be checked: the decoder would
    // read the missing bytes as zeros and could still ask for gigabytes, so it is refused.
    struct ClaimedSize {
        bool known = false;
        uint64_t width = 0, height = 0;
        uint64_t Pixels() const { return width * height; }
        bool WithinLimits() const {
            return known && width <= kMaxSide && height <= kMaxSide && Pixels() <= kMaxPixels;
        }
    };
    static ClaimedSize HeaderSize(std::span<const uint8_t> bytes);

    std::vector<std::string> Extensions() const override { return {"bmp", "dib"}; }
    bool Accepts(const std::string& extension) const override;
    // 32-bit pictures keep their alpha; all others become opaque. Pictures wider or taller than
    // kMaxSide, or of more than kMaxPixels, and files too short to tell their size are refused.
    bool Load(std::span<const uint8_t> bytes, TAdBitmap& bitmap) const override;
};

class ENoValidFormat : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TAdBitmap : public TAd2DBitmap {
public:
    using TAd2DBitmap::TAd2DBitmap;

    // Reads a file through the format its extension selects; raises ENoValidFormat (65302) when no
    // format loads it.
    void LoadFromFile(const std::string& fileName);
    // The same for a file already in memory; fileName only selects the format and names the file
    // in the error message.
    void LoadFromMemory(const std::string& fileName, std::span<const uint8_t> bytes);
};

// Turns a colour key into alpha after loading.
class TAdTransparencyFilter {
public:
    // The key value that means "no key": the alpha of the picture stays as loaded.
    static constexpr uint32_t kNoKey = 0x1FFFFFFF;

    bool Transparent = true;
    // Desktop colour (red in the lowest byte).
    uint32_t TransparentColor = kNoKey;

    // Not transparent: all opaque. Keyed: exactly the key colour transparent, all else opaque.
    void Apply(TAd2DBitmap& bitmap) const;
};

// The lower-case extension of a file name without the dot ("" if it has none).
std::string LowerExtension(const std::string& fileName);

} // namespace ad
