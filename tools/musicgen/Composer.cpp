// Writes a whole track from its style: song form, chords, melody phrases, arpeggios, pads, bass, drums.
#include "tools/musicgen/Composer.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vimbo::musicgen {

namespace {

constexpr int kLowestDegree = -3;
constexpr int kHighestDegree = 9;

int FloorDiv(int value, int divisor) {
    return static_cast<int>(std::floor(static_cast<double>(value) / divisor));
}

bool IsChordTone(int degree, int chordRoot) {
    const int interval = ((degree - chordRoot) % 7 + 7) % 7;
    return interval == 0 || interval == 2 || interval == 4;
}

// The interval between two chord roots folded to the nearest direction, in degrees.
int FoldedShift(int from, int to) {
    int shift = ((to - from) % 7 + 7) % 7;
    return shift > 3 ? shift - 7 : shift;
}

} // namespace

int DegreeToMidi(const TrackStyle& style, int degree) {
    const int octave = FloorDiv(degree, 7);
    return style.tonicMidi + 12 * octave + style.mode[degree - 7 * octave];
}

std::array<int, 3> TriadDegrees(int rootDegree) {
    return {rootDegree, rootDegree + 2, rootDegree + 4};
}

std::vector<MelodyWriter::Slot> MelodyWriter::BarRhythm(double density, bool closing) {
    std::vector<Slot> slots;
    if (closing) {
        // A cadence: a short pickup on the downbeat, then a long note to rest on.
        if (noise_.Uniform() < 0.5) {
            slots = {{0.0, 0.5}, {0.5, 0.5}, {1.0, 2.5}};
        } else {
            slots = {{0.0, 1.0}, {1.0, 0.5}, {1.5, 0.5}, {2.0, 1.5}};
        }
        return slots;
    }
    double beat = 0.0;
    while (beat < kBeatsPerBar) {
        const double pick = noise_.Uniform();
        if (noise_.Uniform() < density) {
            if (pick < 0.45) {
                slots.push_back({beat, 0.5});
                slots.push_back({beat + 0.5, 0.5});
            } else if (pick < 0.75) {
                slots.push_back({beat, 0.75});
                slots.push_back({beat + 0.75, 0.25});
            } else {
                slots.push_back({beat, 0.25});
                slots.push_back({beat + 0.25, 0.25});
                slots.push_back({beat + 0.5, 0.5});
            }
            beat += 1.0;
        } else if (pick < 0.2 && beat <= 2.0) {
            slots.push_back({beat, 2.0});
            beat += 2.0;
        } else if (pick < 0.35 && beat > 0.0) {
            slots.push_back({beat + 0.5, 0.5}); // syncopation: rest on the beat
            beat += 1.0;
        } else if (pick < 0.45) {
            slots.push_back({beat, 0.5});
            beat += 1.0;
        } else {
            slots.push_back({beat, 1.0});
            beat += 1.0;
        }
    }
    return slots;
}

int MelodyWriter::NearestChordTone(int current, int chordRoot) const {
    int best = current;
    int bestDistance = 100;
    for (int d = kLowestDegree; d <= kHighestDegree; ++d) {
        if (IsChordTone(d, chordRoot) && std::abs(d - current) < bestDistance) {
            best = d;
            bestDistance = std::abs(d - current);
        }
    }
    return best;
}

int MelodyWriter::NextDegree(int current, int chordRoot, bool strong) {
    if (strong) {
        // A chord tone near the last note; the same note again is less likely, leaps of a fifth rare.
        std::vector<std::pair<int, double>> candidates;
        double total = 0.0;
        for (int d = std::max(kLowestDegree, current - 4); d <= std::min(kHighestDegree, current + 4); ++d) {
            if (!IsChordTone(d, chordRoot))
                continue;
            const double weight = d == current ? 0.4 : 1.0 / (1.0 + 0.5 * std::abs(d - current));
            candidates.push_back({d, weight});
            total += weight;
        }
        if (candidates.empty())
            return NearestChordTone(current, chordRoot);
        double pick = noise_.Uniform() * total;
        for (const auto& [degree, weight] : candidates) {
            pick -= weight;
            if (pick <= 0.0)
                return degree;
        }
        return candidates.back().first;
    }
    if (noise_.Uniform() < 0.3)
        direction_ = -direction_;
    const int step = noise_.Uniform() < 0.8 ? 1 : 2;
    int next = current + direction_ * step;
    if (next < kLowestDegree || next > kHighestDegree) {
        direction_ = -direction_;
        next = current + direction_ * step;
    }
    return next;
}

void MelodyWriter::FillBar(Phrase& phrase, int bar, const std::vector<Slot>& rhythm, int chordRoot,
                           int& current) {
    for (const Slot& slot : rhythm) {
        const bool onBeat = slot.beat == std::floor(slot.beat);
        const bool strong = (onBeat && (static_cast<int>(slot.beat) % 2 == 0)) || slot.length >= 1.0;
        current = NextDegree(current, chordRoot, strong);
        phrase.push_back({bar * kBeatsPerBar + slot.beat, slot.length, current});
    }
}

Phrase MelodyWriter::Write(const std::vector<int>& chords, double density, bool endOnTonic) {
    Phrase phrase;
    int current = NearestChordTone(2 + noise_.Below(3), chords[0]);
    const std::vector<Slot> motif = BarRhythm(density, false);
    FillBar(phrase, 0, motif, chords[0], current);
    FillBar(phrase, 1, BarRhythm(density, false), chords[1], current);
    // Bar 3 is bar 1 again, moved by the step between their chords: the motif the ear holds on to.
    const int shift = FoldedShift(chords[0], chords[2]);
    const size_t motifNotes = motif.size();
    for (size_t i = 0; i < motifNotes; ++i) {
        MelodyNote note = phrase[i];
        note.beat += 2 * kBeatsPerBar;
        note.degree += shift;
        if (note.degree > kHighestDegree)
            note.degree -= 7;
        if (note.degree < kLowestDegree)
            note.degree += 7;
        phrase.push_back(note);
        current = note.degree;
    }
    FillBar(phrase, 3, BarRhythm(density, true), chords[3], current);
    MelodyNote& last = phrase.back();
    last.degree = endOnTonic ? 7 * FloorDiv(last.degree + 3, 7) : NearestChordTone(last.degree, chords[3]);
    return phrase;
}

Phrase MelodyWriter::Vary(const Phrase& phrase, const std::vector<int>& chords, double density,
                          int keepBars) {
    Phrase varied;
    int current = 2;
    for (const MelodyNote& note : phrase) {
        if (note.beat < keepBars * kBeatsPerBar) {
            varied.push_back(note);
            current = note.degree;
        }
    }
    for (int bar = keepBars; bar < 4; ++bar)
        FillBar(varied, bar, BarRhythm(density, bar == 3), chords[bar], current);
    MelodyNote& last = varied.back();
    last.degree = 7 * FloorDiv(last.degree + 3, 7);
    return varied;
}

} // namespace vimbo::musicgen
