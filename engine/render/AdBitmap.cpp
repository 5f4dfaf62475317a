// 32-bit pixel buffers, graphic formats and the colour-key transparency filter.
#include "engine/render/AdBitmap.hpp"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "engine/platform/RegularFiles.hpp"
#include "engine/render/AdMessages.hpp"

namespace ad {

namespace {

void PutInt32(std::vector<uint8_t>& stream, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        stream.push_back(static_cast<uint8_t>(v >> shift));
}

bool GetInt32(std::span<const uint8_t> stream, size_t& offset, int32_t& value) {
    if (stream.size() < 4 || offset > stream.size() - 4)
        return false;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(stream[offset + i]) << (8 * i);
    value = static_cast<int32_t>(v);
    offset += 4;
    return true;
}

uint32_t GetUInt(std::span<const uint8_t> bytes, size_t at, int size) {
    uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v |= static_cast<uint32_t>(bytes[at + static_cast<size_t>(i)]) << (8 * i);
    return v;
}

// A signed 32-bit field's size without its sign (a negative height means rows top to bottom).
uint64_t Magnitude(uint32_t field) {
    const int64_t value = static_cast<int32_t>(field);
    return static_cast<uint64_t>(value < 0 ? -value : value);
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

} // namespace

// ---- TAd2DBitmap -----------------------------------------------------------------------------

void TAd2DBitmap::SetSize(int32_t width, int32_t height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(RowBytes() * static_cast<size_t>(height_), 0);
}

uint32_t TAd2DBitmap::Pixel(int32_t x, int32_t y) const {
    const uint8_t* p = Scanline(y) + static_cast<size_t>(x) * 4;
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void TAd2DBitmap::SetPixel(int32_t x, int32_t y, uint32_t argb) {
    uint8_t* p = Scanline(y) + static_cast<size_t>(x) * 4;
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(argb >> (8 * i));
}

void TAd2DBitmap::SaveToStream(std::vector<uint8_t>& stream) const {
    PutInt32(stream, width_);
    PutInt32(stream, height_);
    stream.insert(stream.end(), pixels_.begin(), pixels_.end());
}

bool TAd2DBitmap::LoadFromStream(std::span<const uint8_t> stream, size_t& offset) {
    size_t at = offset;
    int32_t width = 0, height = 0;
    if (!GetInt32(stream, at, width) || !GetInt32(stream, at, height) || width < 0 || height < 0)
        return false;
    const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
    if (bytes > stream.size() - at)
        return false;
    SetSize(width, height);
    std::memcpy(pixels_.data(), stream.data() + at, static_cast<size_t>(bytes));
    offset = at + static_cast<size_t>(bytes);
    return true;
}

// ---- Formats ---------------------------------------------------------------------------------

std::string LowerExtension(const std::string& fileName) {
    const size_t slash = fileName.find_last_of("/\\");
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = fileName.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return ext;
}

namespace {

std::vector<std::unique_ptr<TAdGraphicFormat>>& FormatRegistry() {
    static std::vector<std::unique_ptr<TAdGraphicFormat>> formats = [] {
        std::vector<std::unique_ptr<TAdGraphicFormat>> builtIn;
        builtIn.push_back(std::make_unique<TAdDesktopBitmapFormat>());
        return builtIn;
    }();
    return formats;
}

bool Lists(const std::vector<std::string>& extensions, const std::string& extension) {
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

} // namespace

void RegisterGraphicFormat(std::unique_ptr<TAdGraphicFormat> format) {
    if (format != nullptr)
        FormatRegistry().push_back(std::move(format));
}

const std::vector<std::unique_ptr<TAdGraphicFormat>>& GraphicFormats() {
    return FormatRegistry();
}

bool TAdGraphicFormat::Accepts(const std::string& extension) const {
    return Lists(Extensions(), extension);
}

bool TAdDesktopBitmapFormat::Accepts(const std::string& extension) const {
    if (!Lists(Extensions(), extension))
        return false;
    for (const auto& other : GraphicFormats())
        if (other.get() != this && Lists(other->Extensions(), extension))
            return false;
    return true;
}

TAdDesktopBitmapFormat::ClaimedSize TAdDesktopBitmapFormat::HeaderSize(std::span<const uint8_t> bytes) {
    constexpr size_t kInfoHeaderAt = 14, kWidthAt = 18;
    if (bytes.size() < kWidthAt + 8)
        return {};
    // The old core header has 16-bit width and height.
    if (GetUInt(bytes, kInfoHeaderAt, 4) == 12)
        return {true, GetUInt(bytes, kWidthAt, 2), GetUInt(bytes, kWidthAt + 2, 2)};
    return {true, Magnitude(GetUInt(bytes, kWidthAt, 4)), Magnitude(GetUInt(bytes, kWidthAt + 4, 4))};
}

bool TAdDesktopBitmapFormat::Load(std::span<const uint8_t> bytes, TAdBitmap& bitmap) const {
    // The header alone decides how much the decoder allocates: a giant claim is refused first.
    if (!HeaderSize(bytes).WithinLimits())
        return false;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr)
        return false;
    SurfacePtr source(SDL_LoadBMP_RW(rw, 1));
    if (source == nullptr)
        return false;
    const bool keepsAlpha = source->format->BitsPerPixel == 32 && source->format->Amask != 0;
    SurfacePtr converted(SDL_ConvertSurfaceFormat(source.get(), SDL_PIXELFORMAT_BGRA32, 0));
    if (converted == nullptr)
        return false;
    bitmap.SetSize(converted->w, converted->h);
    for (int y = 0; y < converted->h; ++y) {
        const auto* row =
            static_cast<const uint8_t*>(converted->pixels) + static_cast<size_t>(y) * converted->pitch;
        uint8_t* dst = bitmap.Scanline(y);
        std::memcpy(dst, row, static_cast<size_t>(converted->w) * 4);
        // A bitmap file carries no transparency mark of its own, so every other source is opaque.
        if (!keepsAlpha)
            for (int x = 0; x < converted->w; ++x)
                dst[x * 4 + 3] = 255;
    }
    return true;
}

// ---- TAdBitmap -------------------------------------------------------------------------------

void TAdBitmap::LoadFromFile(const std::string& fileName) {
    // Only a regular file is read (a pipe under the name would block); anything else reads as no
    // bytes, which no format accepts.
    std::string content;
    platform::ReadRegularFile(fileName, content);
    LoadFromMemory(fileName, std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
}

void TAdBitmap::LoadFromMemory(const std::string& fileName, std::span<const uint8_t> bytes) {
    const std::string extension = LowerExtension(fileName);
    for (const auto& format : GraphicFormats())
        if (format->Accepts(extension) && format->Load(bytes, *this))
            return;
    throw ENoValidFormat(NoValidFormatMessage(fileName));
}

// ---- TAdTransparencyFilter -------------------------------------------------------------------

void TAdTransparencyFilter::Apply(TAd2DBitmap& bitmap) const {
    const bool keyed = TransparentColor != kNoKey;
    if (Transparent && !keyed)
        return;
    const uint8_t r = TransparentColor & 0xFF, g = (TransparentColor >> 8) & 0xFF,
                  b = (TransparentColor >> 16) & 0xFF;
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.Scanline(y);
        for (int32_t x = 0; x < bitmap.Width(); ++x, p += 4) {
            const bool key = Transparent && p[2] == r && p[1] == g && p[0] == b;
            p[3] = key ? 0 : 255;
        }
    }
}

} // namespace ad
