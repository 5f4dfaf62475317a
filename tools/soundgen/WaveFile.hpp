// Writes 16-bit PCM mono WAVE files, the format the game plays its effects from.
#pragma once

#include "tools/soundgen/Dsp.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace vimbo::synth {

// The file's bytes: RIFF header, "fmt " chunk, "data" chunk. Samples are clamped to [-1, 1] and
// rounded to the nearest 16-bit step.
std::vector<uint8_t> EncodeWave(const Samples& samples, int rate);

// Throws std::runtime_error when the file cannot be written.
void WriteWave(const std::string& path, const Samples& samples, int rate);

} // namespace vimbo::synth
