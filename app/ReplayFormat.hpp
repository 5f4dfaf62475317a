// Recordings of play ("replays"): what a recording holds, the writer that encodes it as it is made,
// and the reader that checks a file's bytes and walks its frames. docs/replay-format.md describes
// the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vimbo {

inline constexpr uint16_t kReplayFormatVersion = 1;
// A checkpoint (the state's checksum) is kept after every this many frames.
inline constexpr uint32_t kReplayCheckpointInterval = 64;

// What shapes play at the start of a recording, which is the start of the program's run.
struct ReplayStart {
    // The one random generator's state: the run's seed, as nothing has drawn from it yet.
    uint64_t generatorState = 0;
    // The tick count the frame timer started from.
    uint32_t startTick = 0;
    // The values read from "save", and whether that file existed (which offers Continue).
    int32_t score = 0;
    int32_t lives = 0;
    int32_t topscore = 0;
    std::string difficulty;
    bool soundOn = false;
    bool musicOn = false;
    bool saveExisted = false;
    // The picture size the game was played at.
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const ReplayStart&) const = default;
};

enum class ReplayEventKind : uint8_t { Key = 0, PointerMove = 1, PointerPress = 2, PadUnplugged = 3 };

// An input the form received between two frames. Controller buttons and the stick arrive as the keys
// they become.
struct ReplayEvent {
    ReplayEventKind kind = ReplayEventKind::Key;
    int32_t key = 0;
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const ReplayEvent&) const = default;
};

// How the recorded play ended: the game's score, level and lives in its last frame of play, and the
// checksum of the whole state at the recording's end.
struct ReplaySummary {
    uint32_t frames = 0;
    int32_t score = 0;
    int32_t level = 0;
    int32_t lives = 0;
    uint64_t checksum = 0;

    bool operator==(const ReplaySummary&) const = default;
};

// Encodes a recording as it is made: events, frames and checkpoints in the order they happen. The
// encoding grows with the play; Bytes() gives the whole file for the play so far.
class ReplayWriter {
public:
    explicit ReplayWriter(const ReplayStart& start);

    void Event(const ReplayEvent& event);
    // A frame `ms` milliseconds after the one before (after the start tick for the first).
    void Frame(uint32_t ms);
    // The state's checksum after the frames written so far.
    void Checkpoint(uint64_t checksum);

    uint32_t Frames() const { return frames_; }
    // The file: the header, everything written so far, and the summary (whose frame count is set here).
    std::string Bytes(ReplaySummary summary) const;

private:
    void FlushRun();
    void FlushEvents();

    ReplayStart start_;
    std::string body_;
    std::vector<ReplayEvent> pendingEvents_;
    int32_t pointerX_ = 0;
    int32_t pointerY_ = 0;
    uint32_t frames_ = 0;
    uint32_t lastMs_ = 0;
    uint32_t pendingRepeats_ = 0;
};

// One step of a recording as its reader walks it: the events that came before a frame and the
// frame's time, or (at the end) the events after the last frame.
struct ReplayStep {
    std::vector<ReplayEvent> events;
    // Absent for the events after the last frame.
    std::optional<uint32_t> frameMs;
    // The checksum recorded after this frame, when there is one.
    std::optional<uint64_t> checkpoint;
};

// A recording read and checked whole: its start, its summary and its frames' encoding.
class Replay {
public:
    const ReplayStart& Start() const { return start_; }
    const ReplaySummary& Summary() const { return summary_; }
    // The checkpoints as (frame number, counted from 1, checksum) in frame order.
    const std::vector<std::pair<uint32_t, uint64_t>>& Checkpoints() const { return checkpoints_; }

    // Walks the frames from the first.
    class Cursor {
    public:
        explicit Cursor(const Replay& replay) : replay_(&replay) {}
        // The next step; false once the recording is done.
        bool Next(ReplayStep& step);
        uint32_t FramesRead() const { return frames_; }

    private:
        const Replay* replay_;
        size_t offset_ = 0;
        uint32_t frames_ = 0;
        uint32_t lastMs_ = 0;
        uint32_t repeatsLeft_ = 0;
        int32_t pointerX_ = 0;
        int32_t pointerY_ = 0;
        bool finished_ = false;
    };

private:
    friend struct ReplayReading;
    ReplayStart start_;
    ReplaySummary summary_;
    std::string body_;
    std::vector<std::pair<uint32_t, uint64_t>> checkpoints_;
};

struct ReplayReadResult {
    std::optional<Replay> replay;
    // What is wrong with the bytes, for the player to read; empty when they read.
    std::string error;
};

// Checks and reads a recording's bytes: refuses foreign bytes, recordings of a newer format, cut-short
// and damaged ones, each with its reason. Allocates no more than the bytes' own size and a small
// entry per checkpoint found in them.
ReplayReadResult ReadReplay(std::string_view bytes);

} // namespace vimbo
