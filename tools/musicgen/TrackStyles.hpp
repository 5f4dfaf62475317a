// The character of each of the seven music tracks: key, mode, tempo, chords, lead sound, grooves.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vimbo::musicgen {

enum class LeadTimbre : uint8_t { Square, ThinPulse, FilteredSaw, FmBrass, Flute, SyncLead, Chip };
enum class BassPattern : uint8_t { Eighths, Octaves, RootFifth, Syncopated };
enum class DrumPattern : uint8_t { FourOnFloor, Backbeat, Breakbeat, Gallop };
enum class ArpPattern : uint8_t { Up, UpDown, Broken, Pedal };

struct TrackStyle {
    std::string name;
    int tonicMidi;           // the key's tonic in the lead's octave
    std::array<int, 7> mode; // semitones of the seven scale degrees above the tonic
    double bpm;
    std::vector<int> verseChords; // scale degree (0-based) of each bar's chord, four bars
    std::vector<int> chorusChords;
    LeadTimbre lead;
    BassPattern bass;
    DrumPattern drums;
    ArpPattern arp;
    uint64_t seed;
};

inline constexpr std::array<int, 7> kIonian = {0, 2, 4, 5, 7, 9, 11};
inline constexpr std::array<int, 7> kDorian = {0, 2, 3, 5, 7, 9, 10};
inline constexpr std::array<int, 7> kMixolydian = {0, 2, 4, 5, 7, 9, 10};
inline constexpr std::array<int, 7> kAeolian = {0, 2, 3, 5, 7, 8, 10};
inline constexpr std::array<int, 7> kHarmonicMinor = {0, 2, 3, 5, 7, 8, 11};
inline constexpr std::array<int, 7> kMelodicMinor = {0, 2, 3, 5, 7, 9, 11};
inline constexpr std::array<int, 7> kLydian = {0, 2, 4, 6, 7, 9, 11};

// Index 0 is the title theme "muz0", 1 to 6 the level tracks.
const std::vector<TrackStyle>& TrackStyles();

} // namespace vimbo::musicgen
