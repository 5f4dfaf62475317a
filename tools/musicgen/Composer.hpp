// Writes a whole track from its style: song form, chord progression, a melody of repeating and
// varied phrases, arpeggios, pads, a bass line and drums. Seeded by the style, so deterministic.
#pragma once

#include "tools/musicgen/Score.hpp"
#include "tools/musicgen/TrackStyles.hpp"
#include "tools/soundgen/Dsp.hpp"

#include <array>
#include <vector>

namespace vimbo::musicgen {

inline constexpr int kBeatsPerBar = 4;

// The pitch of a scale degree counted from the tonic (negative or beyond 6 reach other octaves).
int DegreeToMidi(const TrackStyle& style, int degree);
// The three degrees of the triad on a scale degree, stacked in thirds within the mode.
std::array<int, 3> TriadDegrees(int rootDegree);

// One melody note within a phrase: start and length in beats from the phrase start.
struct MelodyNote {
    double beat;
    double length;
    int degree;
};
using Phrase = std::vector<MelodyNote>;

// Melody phrases over a four-bar progression. Bar 3 echoes bar 1's rhythm and contour, moved to its own
// chord, so every phrase carries a motif; Vary keeps the opening and rewrites the close.
class MelodyWriter {
public:
    MelodyWriter(const TrackStyle& style, synth::Noise& noise) : style_(style), noise_(noise) {}
    // density 0..1: the share of busy (eighth and sixteenth) rhythm cells.
    Phrase Write(const std::vector<int>& chords, double density, bool endOnTonic);
    Phrase Vary(const Phrase& phrase, const std::vector<int>& chords, double density, int keepBars);

private:
    struct Slot {
        double beat, length;
    };
    std::vector<Slot> BarRhythm(double density, bool closing);
    int NextDegree(int current, int chordRoot, bool strong);
    int NearestChordTone(int current, int chordRoot) const;
    void FillBar(Phrase& phrase, int bar, const std::vector<Slot>& rhythm, int chordRoot, int& current);

    const TrackStyle& style_;
    synth::Noise& noise_;
    int direction_ = 1;
};

Score Compose(const TrackStyle& style);

} // namespace vimbo::musicgen
