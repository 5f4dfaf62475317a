// Writing the generator's pictures: 24-bit BMP files for the game, PNG for the contact sheet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Raster.hpp"

namespace artgen {

// Writes a bottom-up 24-bit BMP; throws on a write failure.
void WriteBmp(const Picture& picture, const std::string& path);
// Writes an 8-bit RGB PNG; throws on a write failure.
void WritePng(const Picture& picture, const std::string& path);
// Writes an 8-bit RGBA PNG of straight (not premultiplied) pixels, rows top first.
void WritePngRgba(int width, int height, const std::vector<uint8_t>& rgba, const std::string& path);

} // namespace artgen
