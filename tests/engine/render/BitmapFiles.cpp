// Builds small bitmap files in memory with SDL's BMP writer.
#include "tests/engine/render/BitmapFiles.hpp"

#include <SDL.h>

#include <stdexcept>

namespace vimbo::test {

std::vector<uint8_t> MakeBmp(int width, int height, int bits,
                             const std::function<uint32_t(int, int)>& pixel) {
    const Uint32 format = bits == 32 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB24;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, bits, format);
    if (surface == nullptr)
        throw std::runtime_error(SDL_GetError());
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixel(x, y);
            if (bits == 32) {
                reinterpret_cast<uint32_t*>(row)[x] = p;
            } else {
                row[x * 3] = static_cast<uint8_t>(p >> 16);    // R
                row[x * 3 + 1] = static_cast<uint8_t>(p >> 8); // G
                row[x * 3 + 2] = static_cast<uint8_t>(p);      // B
            }
        }
    }
    std::vector<uint8_t> file(static_cast<size_t>(width) * height * 4 + 1024);
    SDL_RWops* rw = SDL_RWFromMem(file.data(), static_cast<int>(file.size()));
    const int saved = SDL_SaveBMP_RW(surface, rw, 0);
    const Sint64 size = SDL_RWtell(rw);
    SDL_RWclose(rw);
    SDL_FreeSurface(surface);
    if (saved != 0 || size <= 0)
        throw std::runtime_error("cannot write a bitmap");
    file.resize(static_cast<size_t>(size));
    return file;
}

std::vector<uint8_t> SolidBmp(int width, int height, uint32_t rgb) {
    return MakeBmp(width, height, 24, [rgb](int, int) { return rgb; });
}

} // namespace vimbo::test
