// Encodes stereo PCM to a constant-bit-rate MP3 with the LAME library.
#pragma once

#include "tools/musicgen/Instruments.hpp"

#include <cstdint>
#include <vector>

namespace vimbo::musicgen {

inline constexpr int kMp3Kbps = 160;

// The whole file: MPEG frames, the first carrying the encoder's info tag so players know the exact
// length. No ID3 tags, nothing time-dependent: the same input gives the same bytes.
// Throws std::runtime_error if the encoder refuses the settings or the input.
std::vector<uint8_t> EncodeMp3(const StereoMix& mix, int rate, int kbps);

} // namespace vimbo::musicgen
