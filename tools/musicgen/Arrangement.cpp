// The song form every track follows (intro, verses, choruses, a break, outro) and the parts played in
// each section: lead phrases, arpeggios, pads, bass line and drums.
#include "tools/musicgen/Composer.hpp"

#include <algorithm>

namespace vimbo::musicgen {

namespace {

enum class Drums { None, HatsOnly, Full };

struct Section {
    const std::vector<int>* chords;
    int bars;
    Drums drums;
    bool pad;
    bool fill; // a snare fill closes the section
};

class Arranger {
public:
    Arranger(const TrackStyle& style, Score& score) : style_(style), score_(score) {}

    void Play(const Section& section, int firstBar) {
        for (int bar = 0; bar < section.bars; ++bar) {
            const int chord = (*section.chords)[bar % section.chords->size()];
            const double start = (firstBar + bar) * kBeatsPerBar;
            const bool fillBar = section.fill && bar == section.bars - 1;
            Bass(start, chord);
            Arp(start, chord);
            if (section.pad)
                Pad(start, chord, kBeatsPerBar, 0.5f);
            if (section.drums == Drums::HatsOnly)
                Hats(start, false);
            if (section.drums == Drums::Full)
                Groove(start, fillBar);
        }
    }

    // degreeShift moves the line within the scale: -2 gives a harmony a third below the tune.
    void Lead(const Phrase& phrase, int firstBar, int octave, float velocity, int degreeShift = 0) {
        for (const MelodyNote& note : phrase) {
            const double beat = firstBar * kBeatsPerBar + note.beat;
            const bool accent =
                note.beat == static_cast<int>(note.beat) && static_cast<int>(note.beat) % 2 == 0;
            // Slightly detached notes keep an arcade lead crisp.
            Add(Part::Lead, beat, note.length * 0.9,
                DegreeToMidi(style_, note.degree + degreeShift) + 12 * octave,
                velocity * (accent ? 1.0f : 0.85f));
        }
    }

    void Add(Part part, double beat, double length, int midi, float velocity) {
        score_.events.push_back({part, beat, length, midi, velocity});
    }

    void Pad(double start, int chord, double length, float velocity) {
        for (int degree : TriadDegrees(chord))
            Add(Part::Pad, start, length, DegreeToMidi(style_, degree - 7), velocity);
    }

    int BassRoot(int chord) const {
        int midi = DegreeToMidi(style_, chord);
        while (midi >= 48)
            midi -= 12;
        while (midi < 36)
            midi += 12;
        return midi;
    }

private:
    void Bass(double start, int chord) {
        const int root = BassRoot(chord);
        const int fifth = root + DegreeToMidi(style_, chord + 4) - DegreeToMidi(style_, chord);
        struct Hit {
            double beat, length;
            int midi;
        };
        std::vector<Hit> hits;
        switch (style_.bass) {
        case BassPattern::Eighths:
            for (int i = 0; i < 8; ++i)
                hits.push_back({i * 0.5, 0.5, i == 6 ? fifth : root});
            break;
        case BassPattern::Octaves:
            for (int i = 0; i < 8; ++i)
                hits.push_back({i * 0.5, 0.5, i % 2 == 0 ? root : root + 12});
            break;
        case BassPattern::RootFifth:
            hits = {{0, 1, root},      {1, 0.5, fifth}, {1.5, 0.5, root},
                    {2, 1, root + 12}, {3, 0.5, fifth}, {3.5, 0.5, root}};
            break;
        case BassPattern::Syncopated:
            hits = {{0, 0.75, root},       {0.75, 0.75, root}, {1.5, 1, fifth},
                    {2.5, 0.5, root + 12}, {3, 0.5, root},     {3.5, 0.5, fifth}};
            break;
        }
        for (const Hit& hit : hits)
            Add(Part::Bass, start + hit.beat, hit.length * 0.85, hit.midi, hit.beat == 0 ? 1.0f : 0.85f);
    }

    void Arp(double start, int chord) {
        const std::array<int, 3> triad = TriadDegrees(chord);
        const int tones[4] = {DegreeToMidi(style_, triad[0] - 7), DegreeToMidi(style_, triad[1] - 7),
                              DegreeToMidi(style_, triad[2] - 7), DegreeToMidi(style_, triad[0])};
        static const std::vector<int> kUp = {0, 1, 2, 3};
        static const std::vector<int> kUpDown = {0, 1, 2, 3, 2, 1};
        static const std::vector<int> kBroken = {0, 2, 1, 3};
        static const std::vector<int> kPedal = {0, 3, 1, 3, 2, 3};
        const std::vector<int>& order = style_.arp == ArpPattern::Up       ? kUp
                                        : style_.arp == ArpPattern::UpDown ? kUpDown
                                        : style_.arp == ArpPattern::Broken ? kBroken
                                                                           : kPedal;
        const double step = style_.bpm <= 140.0 ? 0.25 : 0.5;
        const int steps = static_cast<int>(kBeatsPerBar / step);
        for (int i = 0; i < steps; ++i)
            Add(Part::Arp, start + i * step, step * 0.8, tones[order[i % order.size()]],
                i % 4 == 0 ? 1.0f : 0.75f);
    }

    void Hats(double start, bool fillBar) {
        const bool sixteenths = style_.drums == DrumPattern::Breakbeat;
        const double end = fillBar ? 3.0 : 4.0;
        for (double beat = 0.0; beat < end; beat += sixteenths ? 0.25 : 0.5) {
            const bool offBeat = beat - static_cast<int>(beat) == 0.5;
            if (style_.drums == DrumPattern::FourOnFloor && offBeat) {
                Add(Part::OpenHat, start + beat, 0.5, 0, 0.8f);
                continue;
            }
            Add(Part::Hat, start + beat, 0.25, 0, offBeat ? 0.9f : 0.6f);
            if (style_.drums == DrumPattern::Gallop && offBeat)
                Add(Part::Hat, start + beat + 0.25, 0.25, 0, 0.5f);
        }
    }

    void Groove(double start, bool fillBar) {
        std::vector<double> kicks;
        std::vector<double> snares = {1.0, 3.0};
        switch (style_.drums) {
        case DrumPattern::FourOnFloor:
            kicks = {0.0, 1.0, 2.0, 3.0};
            break;
        case DrumPattern::Backbeat:
            kicks = {0.0, 1.5, 2.0};
            break;
        case DrumPattern::Breakbeat:
            kicks = {0.0, 0.75, 2.5};
            snares = {1.0, 3.0, 3.75};
            break;
        case DrumPattern::Gallop:
            kicks = {0.0, 2.0, 2.5};
            break;
        }
        for (double beat : kicks)
            if (!fillBar || beat < 3.0)
                Add(Part::Kick, start + beat, 0.5, 0, 1.0f);
        for (double beat : snares)
            if (!fillBar || beat < 3.0)
                Add(Part::Snare, start + beat, 0.5, 0, beat == 3.75 ? 0.45f : 1.0f);
        Hats(start, fillBar);
        if (fillBar) {
            for (int i = 0; i < 4; ++i)
                Add(Part::Snare, start + 3.0 + 0.25 * i, 0.25, 0, 0.55f + 0.15f * i);
            Add(Part::Kick, start + 3.0, 0.5, 0, 1.0f);
        }
    }

    const TrackStyle& style_;
    Score& score_;
};

} // namespace

Score Compose(const TrackStyle& style) {
    synth::Noise noise(style.seed);
    MelodyWriter writer(style, noise);
    const std::vector<int>& verse = style.verseChords;
    const std::vector<int>& chorus = style.chorusChords;
    const Phrase verseA = writer.Write(verse, 0.35, false);
    const Phrase verseA2 = writer.Vary(verseA, verse, 0.35, 3);
    const Phrase chorusB = writer.Write(chorus, 0.55, false);
    const Phrase chorusB2 = writer.Vary(chorusB, chorus, 0.55, 2);
    const std::vector<int> outroChords = {verse[0], verse[1], verse[2], 0};

    Score score;
    score.bpm = style.bpm;
    Arranger arranger(style, score);
    int bar = 0;
    auto play = [&](const Section& section) {
        arranger.Play(section, bar);
        bar += section.bars;
    };
    auto crash = [&] { arranger.Add(Part::Crash, bar * kBeatsPerBar, 4.0, 0, 1.0f); };

    play({&verse, 4, Drums::HatsOnly, false, true});
    for (int round = 0; round < 2; ++round) {
        arranger.Lead(verseA, bar, 0, 0.9f);
        arranger.Lead(verseA2, bar + 4, 0, 0.9f);
        if (round == 1) {
            // The second verse gains a harmony, so the repeat is heard as a development.
            arranger.Lead(verseA, bar, 0, 0.35f, -2);
            arranger.Lead(verseA2, bar + 4, 0, 0.35f, -2);
        }
        play({&verse, 8, Drums::Full, false, true});
        crash();
        arranger.Lead(chorusB, bar, 0, 1.0f);
        arranger.Lead(chorusB2, bar + 4, 0, 1.0f);
        if (round == 1) {
            arranger.Lead(chorusB, bar, 1, 0.35f);
            arranger.Lead(chorusB2, bar + 4, 1, 0.35f);
        }
        play({&chorus, 8, Drums::Full, true, true});
    }
    // The break drops the drums and lets the pad and arpeggio carry the verse chords.
    play({&verse, 4, Drums::None, true, false});
    crash();
    arranger.Lead(chorusB, bar, 0, 1.0f);
    arranger.Lead(chorusB2, bar + 4, 0, 1.0f);
    arranger.Lead(chorusB, bar, 1, 0.35f);
    arranger.Lead(chorusB2, bar + 4, 1, 0.35f);
    play({&chorus, 8, Drums::Full, true, true});
    play({&outroChords, 3, Drums::Full, true, false});
    // The last bar is one held tonic chord with a crash, ringing out into the tail.
    crash();
    const double last = bar * kBeatsPerBar;
    arranger.Pad(last, 0, 3.0, 0.7f);
    arranger.Add(Part::Bass, last, 3.0, arranger.BassRoot(0), 1.0f);
    arranger.Add(Part::Kick, last, 0.5, 0, 1.0f);
    arranger.Add(Part::Lead, last, 3.0, DegreeToMidi(style, 0), 0.9f);
    score.lengthBeats = (bar + 2) * kBeatsPerBar;
    std::stable_sort(score.events.begin(), score.events.end(),
                     [](const NoteEvent& a, const NoteEvent& b) { return a.startBeat < b.startBeat; });
    return score;
}

} // namespace vimbo::musicgen
