// Turns the program's bitmap resources into named images of the image list, and the catalogue of
// every image the game loads at start.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "engine/render/AdImages.hpp"

namespace vimbo {

// Transparent colours of the catalogue (desktop colours).
inline constexpr uint32_t kKeyBlack = 0x000000;
inline constexpr uint32_t kKeyWhite = 0xFFFFFF;
inline constexpr uint32_t kKeyMagenta = 0xFF00FF;

// Adds an image called name to the list, loaded from the bitmap resource of that name (found
// whatever its case) with the colour key, and sets its pattern size (negatives count as 0). The
// bitmap is read from memory: nothing is written to or removed from the working directory.
// A missing resource raises ad::platform::EResourceNotFound.
void LoadImageRes(ad::TAdImageList& list, const std::string& name, int32_t patternWidth,
                  int32_t patternHeight, bool transparent, uint32_t transparentColor);

// The same for a bitmap file's bytes at hand; bytes that are no bitmap raise ad::ENoValidFormat.
void LoadImageBitmap(ad::TAdImageList& list, const std::string& name, std::span<const uint8_t> bytes,
                     int32_t patternWidth, int32_t patternHeight, bool transparent, uint32_t transparentColor);

// Loads the whole catalogue in its order; "fon" and "fon2" are cut into screen-sized patterns
// (0 x 0 before the screen size is known gives one pattern).
void LoadImageCatalogue(ad::TAdImageList& list, int32_t screenW, int32_t screenH);

} // namespace vimbo
