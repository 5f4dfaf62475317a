// Turns a composed score into finished stereo PCM: instruments, an echo on the lead, and mastering
// (DC removal, level, soft limiting, fades).
#pragma once

#include "tools/musicgen/Instruments.hpp"
#include "tools/musicgen/Score.hpp"
#include "tools/musicgen/TrackStyles.hpp"

namespace vimbo::musicgen {

// Peak the mastered track may reach, below full scale so MP3 decoding does not clip it.
inline constexpr float kMasterPeak = 0.84f;

StereoMix RenderTrack(const Score& score, const TrackStyle& style);

// Brings the mix to a common loudness, rounds off peaks above a knee, and fades both ends.
void Master(StereoMix& mix, double fadeInSeconds, double fadeOutSeconds);

} // namespace vimbo::musicgen
