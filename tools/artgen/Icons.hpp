// The game's desktop icon: the runner on a tile of the maze, drawn sharp at every freedesktop size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon at size x size as straight RGBA rows, top first.
std::vector<uint8_t> MakeIcon(int size);

// Writes <folder>/<N>x<N>/apps/vimbo2.png for every icon size.
void WriteIcons(const std::string& folder);

} // namespace artgen
