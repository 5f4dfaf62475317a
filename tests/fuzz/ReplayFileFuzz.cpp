// Hostile replay files: any bytes are read without harm; a file that reads walks to its end through
// the frames its summary counts, and written again from what was walked it reads the same.
#include <string>
#include <string_view>

#include "app/ReplayFormat.hpp"
#include "tests/fuzz/FuzzTargets.hpp"

namespace vimbo::fuzz {

namespace {

// A file of a few bytes can declare billions of frames in one repeat; walking those proves nothing
// more than walking a million.
constexpr uint32_t kMostFramesWalked = 1'000'000;

} // namespace

void ReplayFile(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ReplayReadResult read = ReadReplay(bytes);
    Expect(read.replay.has_value() == read.error.empty(), "a reason exactly when the file is refused");
    if (!read.replay) {
        Expect(read.error.size() < 200, "the reason stays short");
        return;
    }
    const Replay& replay = *read.replay;
    Expect(replay.Checkpoints().size() <= size / 9, "no more checkpoints than the bytes hold");
    if (replay.Summary().frames > kMostFramesWalked)
        return;

    ReplayWriter writer(replay.Start());
    Replay::Cursor cursor(replay);
    ReplayStep step;
    size_t checkpoints = 0;
    while (cursor.Next(step)) {
        for (const ReplayEvent& event : step.events)
            writer.Event(event);
        if (step.frameMs)
            writer.Frame(*step.frameMs);
        if (step.checkpoint) {
            writer.Checkpoint(*step.checkpoint);
            ++checkpoints;
        }
    }
    Expect(cursor.FramesRead() == replay.Summary().frames, "the walk meets the summary's frame count");
    Expect(checkpoints == replay.Checkpoints().size(), "the walk meets every checkpoint");

    const ReplayReadResult again = ReadReplay(writer.Bytes(replay.Summary()));
    Expect(again.replay.has_value(), "a recording written from a walk reads");
    Expect(again.replay->Start() == replay.Start(), "the start reads back");
    Expect(again.replay->Summary() == replay.Summary(), "the summary reads back");
    Expect(again.replay->Checkpoints() == replay.Checkpoints(), "the checkpoints read back");
}

} // namespace vimbo::fuzz
