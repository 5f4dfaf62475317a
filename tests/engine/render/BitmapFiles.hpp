// Builds small bitmap files in memory for the image tests, pixel by pixel.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vimbo::test {

// A .bmp file of width x height whose pixel (x, y) is pixel(x, y) as 0xAARRGGBB. With 24 bits the
// alpha is dropped; with 32 the file keeps it.
std::vector<uint8_t> MakeBmp(int width, int height, int bits, const std::function<uint32_t(int, int)>& pixel);

// A solid 24-bit picture.
std::vector<uint8_t> SolidBmp(int width, int height, uint32_t rgb);

} // namespace vimbo::test
