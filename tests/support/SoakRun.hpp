// A soak run: the whole game headless under the seeded random player for a number of frames, with a
// checksum of the game state after every frame, the play checker's verdict on every frame, the final
// dump, and samples of what the run holds in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/GameDriver.hpp"
#include "tests/support/PlayInvariants.hpp"
#include "tests/support/SoakScript.hpp"

namespace vimbo::test {

// The save the soak starts from: a game in progress on level 3, so that Continue has a level to
// go back to.
inline constexpr const char* kSoakSaveText = "450\r\n3\r\n1250\r\n1\r\n1\r\n2\r\n";

// The frames the driver's start-up runs before the soak's first.
inline constexpr uint32_t kSoakFramesBefore = 3;

struct SoakOptions {
    uint32_t seed = 1;
    int frames = 2000;
    // Every frame this long; 0 gives each frame a random length of 1 to 50 ms.
    uint32_t frameMs = 0;
    PlayStyle style = PlayStyle::Wander;
    // Memory is sampled after every this many frames (0: never).
    int sampleEvery = 100;
    GameDriverOptions game{.saveText = kSoakSaveText};
    // Runs each frame on the driver; the default is GameDriver::Frame. A benchmark times it here.
    std::function<void(GameDriver&, uint32_t ms)> runFrame{};
};

struct MemorySample {
    int frame = 0;
    int sprites = 0;
    // Particles alive in the four systems, and the bytes their workers' buffers hold.
    size_t particles = 0;
    size_t particleBufferBytes = 0;
    // Resident memory of the process.
    size_t residentKiB = 0;
};

struct SoakRecord {
    std::vector<uint64_t> checksums;
    // The form's recording of the run up to its last frame (before the final dump's keys); the
    // checksum after soak frame k belongs to its frame k + kSoakFramesBefore.
    std::string replay;
    // The state dump taken at the end (F2, then F1), as written.
    std::string finalDump;
    SoakTally tally;
    // What the play checker found, frame by frame.
    PlayInvariants play;
    std::vector<MemorySample> samples;
    std::vector<std::string> messages;
    bool stillRunning = false;
};

SoakRecord RunSoak(const SoakOptions& options);

// The resident memory of this process in KiB (0 where it cannot be read).
size_t ResidentKiB();

} // namespace vimbo::test
