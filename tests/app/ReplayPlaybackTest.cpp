// Recordings of whole games played back into a fresh form: scripted games, a game kept on disk at
// its end, and the soak's random player; each frame's state equals the original run's.
#include "app/ReplayPlayback.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "app/ReplayFiles.hpp"
#include "engine/platform/RegularFiles.hpp"
#include "engine/platform/VirtualKeys.hpp"
#include "frontend/Menus.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "tests/support/GameChecksum.hpp"
#include "tests/support/GameDriver.hpp"
#include "tests/support/ReplayRun.hpp"
#include "tests/support/TestPaths.hpp"

namespace vimbo::test {
namespace {

namespace vk = ad::platform::vk;

using Checksums = FrameChecksums;

// The original run's frames as the recorder counts them, with the state after each.
class RecordedGame {
public:
    explicit RecordedGame(GameDriverOptions options = {}) : game(std::move(options)) {}

    void Frame(uint32_t ms = GameDriver::kFrameMs) {
        game.Frame(ms);
        checksums[game.Form().Recorder()->Frames()] =
            GameStateChecksum(game.Running() ? &game.Engine() : nullptr);
    }
    void Frames(int count, uint32_t ms = GameDriver::kFrameMs) {
        for (int i = 0; i < count; ++i)
            Frame(ms);
    }
    void Key(int key, uint32_t ms = GameDriver::kFrameMs) {
        game.QueueKey(key);
        Frame(ms);
    }
    bool FramesUntil(const std::function<bool()>& done, int most) {
        for (int i = 0; i < most && !done(); ++i)
            Frame();
        return done();
    }
    std::string Recording() {
        return game.Form().Recorder()->Bytes(game.Running() ? &game.Engine() : nullptr);
    }

    GameDriver game;
    Checksums checksums;
};

bool InPlay() {
    return !MainMenuE && Ireal >= 255 && !svetleet && !temneet && player.Usable();
}

void ExpectSameFrames(const Checksums& original, const Checksums& replayed) {
    size_t compared = 0;
    for (const auto& [frame, checksum] : original) {
        const auto found = replayed.find(frame);
        ASSERT_NE(found, replayed.end()) << "frame " << frame << " was not replayed";
        ASSERT_EQ(found->second, checksum) << "the state parts at frame " << frame;
        ++compared;
    }
    EXPECT_EQ(replayed.size(), original.rbegin()->first) << "the replay runs the recorded frames, no more";
    EXPECT_GT(compared, 0u);
}

TEST(ReplayPlayback, AScriptedGameReplaysFrameForFrame) {
    std::string recording;
    Checksums original;
    int32_t shownScore = 0;
    {
        RecordedGame run;
        run.game.MoveMouse(300, 200);
        run.Key(vk::Return);
        ASSERT_TRUE(run.FramesUntil(InPlay, 300));
        // Steering, a wall, a pause and its menu worked by the pointer, at uneven frame times.
        run.Key(vk::Right, 17);
        run.Frames(30, 9);
        run.Key(vk::Down, 33);
        run.Frames(40, 21);
        run.Key(vk::Space);
        run.Frames(25, 14);
        run.Key(vk::Escape);
        run.game.HoverOver(*HContinueP.get());
        run.game.Click();
        run.Frames(5);
        run.Key(vk::KeyA, 2);
        run.Frames(120, 3);
        run.Key(vk::Up, 50);
        run.Frames(200, 12);
        ASSERT_GT(run.checksums.size(), 400u);
        recording = run.Recording();
        original = run.checksums;
        shownScore = score;
    }
    const ReplayReadResult read = ReadReplay(recording);
    ASSERT_TRUE(read.replay) << read.error;

    const ReplayRun played = PlayReplay(*read.replay);
    ExpectSameFrames(original, played.checksums);
    EXPECT_TRUE(played.outcome.Equal()) << "diverged at " << played.outcome.firstDivergedFrame.value_or(0);
    EXPECT_EQ(played.outcome.played.score, shownScore);
    EXPECT_TRUE(played.messages.empty());
}

TEST(ReplayPlayback, AnotherSeedDivergesAndSaysWhere) {
    std::string recording;
    Checksums original;
    {
        RecordedGame run;
        run.Key(vk::Return);
        ASSERT_TRUE(run.FramesUntil(InPlay, 300));
        run.Key(vk::Right);
        run.Frames(300);
        recording = run.Recording();
        original = run.checksums;
    }
    const ReplayReadResult read = ReadReplay(recording);
    ASSERT_TRUE(read.replay) << read.error;

    ReplayStart other = read.replay->Start();
    other.generatorState ^= 1;
    const ReplayRun played = PlayReplay(*read.replay, other);
    EXPECT_FALSE(played.outcome.Equal());
    ASSERT_TRUE(played.outcome.firstDivergedFrame);
    // The checkpoints come every 64 frames: the first one after the parting finds it.
    const auto parted = std::find_if(original.begin(), original.end(), [&](const auto& entry) {
        return played.checksums.at(entry.first) != entry.second;
    });
    ASSERT_NE(parted, original.end());
    EXPECT_GE(*played.outcome.firstDivergedFrame, parted->first);
    EXPECT_LT(*played.outcome.firstDivergedFrame, parted->first + kReplayCheckpointInterval);
    EXPECT_EQ(played.outcome.lastMatchedFrame % kReplayCheckpointInterval, 0u);
}

TEST(ReplayPlayback, AGameLeftByClosingIsKeptOnDiskAndReplaysFromThere) {
    std::string lastBytes, bestBytes;
    Checksums original;
    int32_t shownScore = 0;
    {
        RecordedGame run;
        run.Key(vk::Return);
        ASSERT_TRUE(run.FramesUntil(InPlay, 300));
        run.Key(vk::Down);
        run.Frames(150, 16);
        run.Key(vk::Right);
        run.Frames(150, 16);
        shownScore = score;
        EXPECT_FALSE(run.game.FileExists("replays/last.vrp")) << "the game is still on";
        run.game.Form().FormClose();
        const std::string folder = run.game.Folder() + kReplayFolder;
        const ReplayReadResult checked = LoadReplayFile(folder + kLastReplayName);
        EXPECT_TRUE(checked.replay) << checked.error;
        ASSERT_EQ(ad::platform::ReadRegularFile(folder + kLastReplayName, lastBytes).outcome,
                  ad::platform::FileReadOutcome::Read);
        ASSERT_EQ(ad::platform::ReadRegularFile(folder + kBestReplayName, bestBytes).outcome,
                  ad::platform::FileReadOutcome::Read)
            << "the first game is the best yet";
        original = run.checksums;
    }
    EXPECT_EQ(lastBytes, bestBytes);
    const ReplayReadResult last = ReadReplay(lastBytes);
    ASSERT_TRUE(last.replay) << last.error;
    EXPECT_EQ(last.replay->Summary().score, shownScore);

    const ReplayRun played = PlayReplay(*last.replay);
    ExpectSameFrames(original, played.checksums);
    EXPECT_TRUE(played.outcome.Equal());
    EXPECT_EQ(played.outcome.played.score, shownScore);
}

TEST(ReplayPlayback, AGameOverKeepsItsRecordingWithTheScoreItShowed) {
    // One life left, continued from the save: the enemy soon ends the game.
    std::string lastBytes;
    Checksums original;
    int32_t shownScore = 0;
    {
        RecordedGame run({.saveText = "420\r\n1\r\n900\r\n1\r\n1\r\n2\r\n"});
        run.game.HoverOver(*HContinue.get());
        run.game.Click();
        ASSERT_TRUE(run.FramesUntil(InPlay, 300));
        run.Key(vk::Right);
        ASSERT_TRUE(run.FramesUntil([] { return gameover2; }, 20000)) << "the enemy never caught the runner";
        shownScore = score;
        run.Frames(10);
        run.Key(vk::Return);
        EXPECT_FALSE(run.game.FileExists("replays/last.vrp")) << "kept only once back on the menu";
        ASSERT_TRUE(run.FramesUntil([] { return MainMenuE; }, 300));
        ASSERT_EQ(
            ad::platform::ReadRegularFile(run.game.Folder() + kReplayFolder + kLastReplayName, lastBytes)
                .outcome,
            ad::platform::FileReadOutcome::Read);
        original = run.checksums;
    }
    const ReplayReadResult last = ReadReplay(lastBytes);
    ASSERT_TRUE(last.replay) << last.error;
    EXPECT_EQ(last.replay->Summary().score, shownScore);
    EXPECT_EQ(last.replay->Summary().lives, 0);
    EXPECT_TRUE(last.replay->Start().saveExisted);
    EXPECT_EQ(last.replay->Start().lives, 1);
    const ReplayRun played = PlayReplay(*last.replay);
    ExpectSameFrames(original, played.checksums);
    EXPECT_TRUE(played.outcome.Equal());
}

TEST(ReplayCheck, ExitsZeroWhenTheRecordingRunsToItsEndOneWhenItDivergesTwoWhenUnreadable) {
    std::string recording;
    {
        RecordedGame run;
        run.Key(vk::Return);
        ASSERT_TRUE(run.FramesUntil(InPlay, 300));
        run.Key(vk::Right);
        run.Frames(100);
        recording = run.Recording();
    }
    const std::string folder = MakeTempFolder("check");
    const auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder + name, std::ios::binary) << bytes;
        return folder + name;
    };
    EXPECT_EQ(CheckReplay(write("good.vrp", recording), ProgramFolder()), 0);

    // The same play with another final state recorded.
    const ReplayReadResult read = ReadReplay(recording);
    ASSERT_TRUE(read.replay);
    ReplayWriter writer(read.replay->Start());
    Replay::Cursor cursor(*read.replay);
    ReplayStep step;
    while (cursor.Next(step)) {
        for (const ReplayEvent& event : step.events)
            writer.Event(event);
        if (step.frameMs)
            writer.Frame(*step.frameMs);
        if (step.checkpoint)
            writer.Checkpoint(*step.checkpoint);
    }
    ReplaySummary other = read.replay->Summary();
    other.checksum ^= 1;
    EXPECT_EQ(CheckReplay(write("other.vrp", writer.Bytes(other)), ProgramFolder()), 1);

    EXPECT_EQ(CheckReplay(write("cut.vrp", recording.substr(0, recording.size() - 1)), ProgramFolder()), 2);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace vimbo::test
