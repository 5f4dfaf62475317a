// The composer's output: timed note events for each part of a track, in beats.
#pragma once

#include <cstdint>
#include <vector>

namespace vimbo::musicgen {

enum class Part : uint8_t { Lead, Arp, Pad, Bass, Kick, Snare, Hat, OpenHat, Crash };

struct NoteEvent {
    Part part;
    double startBeat;
    double lengthBeats;
    int midi;       // unused by the drums
    float velocity; // 0..1
};

struct Score {
    double bpm = 120.0;
    double lengthBeats = 0.0;
    std::vector<NoteEvent> events;

    double SecondsPerBeat() const { return 60.0 / bpm; }
    double LengthSeconds() const { return lengthBeats * SecondsPerBeat(); }
};

} // namespace vimbo::musicgen
