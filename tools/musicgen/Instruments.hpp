// The track's instruments: each renders one note event into a stereo mix, its sound chosen by part
// (and, for the lead, by the track's lead timbre).
#pragma once

#include "tools/musicgen/Score.hpp"
#include "tools/musicgen/TrackStyles.hpp"
#include "tools/soundgen/Dsp.hpp"

namespace vimbo::musicgen {

inline constexpr int kMusicRate = 44100;

struct StereoMix {
    synth::Samples left, right;
    explicit StereoMix(size_t frames) : left(frames), right(frames) {}
    size_t Frames() const { return left.size(); }
};

// Adds the note to mix at its start time; the part sets its level and its place in the stereo field.
void RenderNote(StereoMix& mix, const NoteEvent& note, double secondsPerBeat, LeadTimbre lead,
                synth::Noise& noise);

// How long a note of the part sounds in all, its release or ring included.
double SoundingSeconds(Part part, double heldSeconds);

} // namespace vimbo::musicgen
