// Plays a recording into a fresh headless game, as the scenario driver runs it, and keeps the state's
// checksum after every frame, to hold against the original run's.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/ReplayFormat.hpp"
#include "app/ReplayPlayback.hpp"

namespace vimbo::test {

// The state's checksum (music included) by frame number, counted from 1 as the recorder counts.
using FrameChecksums = std::map<uint32_t, uint64_t>;

struct ReplayRun {
    FrameChecksums checksums;
    PlaybackOutcome outcome;
    // The recorded time played, in milliseconds.
    uint64_t recordedMs = 0;
    std::vector<std::string> messages;
};

// Plays `replay` from `start` (the recording's own by default). The original run's driver must have
// ended first: a driver puts every global back as it ends.
ReplayRun PlayReplay(const Replay& replay, std::optional<ReplayStart> start = {});

} // namespace vimbo::test
