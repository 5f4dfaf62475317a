// Recordings on disk: the last and the best game kept, each written whole or not at all, and files
// that are not recordings refused with the file's name and the reason.
#include "app/ReplayFiles.hpp"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "engine/platform/RegularFiles.hpp"
#include "tests/support/InterruptedWrite.hpp"
#include "tests/support/TestPaths.hpp"

namespace vimbo {
namespace {

std::string RecordingScoring(int32_t score, int frames = 100) {
    ReplayStart start;
    start.generatorState = static_cast<uint64_t>(score);
    start.width = 640;
    start.height = 480;
    ReplayWriter writer(start);
    for (int i = 0; i < frames; ++i)
        writer.Frame(16 + i % 2);
    return writer.Bytes({.score = score, .level = 1 + score / 200, .lives = 2});
}

class ReplayFiles : public ::testing::Test {
protected:
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string Read(const char* name) const {
        std::string bytes;
        ad::platform::ReadRegularFile(replays_ + name, bytes);
        return bytes;
    }
    void Write(const std::string& path, const std::string& bytes) const {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string folder_ = test::MakeTempFolder("replays");
    std::string replays_ = folder_ + kReplayFolder;
};

TEST_F(ReplayFiles, TheLastGameIsAlwaysKeptAndTheBestOnlyWhenBeaten) {
    EXPECT_EQ(StoreGameReplay(replays_, RecordingScoring(300), 300), "") << "the folder is made";
    EXPECT_EQ(Read(kLastReplayName), RecordingScoring(300));
    EXPECT_EQ(Read(kBestReplayName), RecordingScoring(300));

    EXPECT_EQ(StoreGameReplay(replays_, RecordingScoring(120), 120), "");
    EXPECT_EQ(Read(kLastReplayName), RecordingScoring(120));
    EXPECT_EQ(Read(kBestReplayName), RecordingScoring(300)) << "a lower score keeps the best";
    EXPECT_EQ(StoreGameReplay(replays_, RecordingScoring(300, 50), 300), "");
    EXPECT_EQ(Read(kBestReplayName), RecordingScoring(300)) << "an equal score does not beat it";

    EXPECT_EQ(StoreGameReplay(replays_, RecordingScoring(1450), 1450), "");
    EXPECT_EQ(Read(kBestReplayName), RecordingScoring(1450));

    // A best file that no longer reads is no record to keep.
    Write(replays_ + kBestReplayName, "damaged");
    EXPECT_EQ(StoreGameReplay(replays_, RecordingScoring(10), 10), "");
    EXPECT_EQ(Read(kBestReplayName), RecordingScoring(10));
}

TEST_F(ReplayFiles, AWriteCutShortLeavesTheOldRecordingWhole) {
    ASSERT_EQ(StoreGameReplay(replays_, RecordingScoring(300), 300), "");
    {
        test::PausedWriter writer(
            [&] { return StoreGameReplay(replays_, RecordingScoring(900), 900).empty(); }, 20);
        ASSERT_TRUE(writer.Paused());
        writer.Kill();
    }
    EXPECT_EQ(Read(kLastReplayName), RecordingScoring(300)) << "the old recording, whole";
    EXPECT_EQ(Read(kBestReplayName), RecordingScoring(300));
    EXPECT_TRUE(LoadReplayFile(replays_ + kLastReplayName).replay);
    {
        // A lower score than the best: the one write is the last game's, let through to its end.
        test::PausedWriter writer(
            [&] { return StoreGameReplay(replays_, RecordingScoring(200), 200).empty(); }, 20);
        ASSERT_TRUE(writer.Paused());
        EXPECT_TRUE(writer.Resume());
    }
    EXPECT_EQ(Read(kLastReplayName), RecordingScoring(200));
    EXPECT_EQ(Read(kBestReplayName), RecordingScoring(300));
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(replays_))
        ++files;
    EXPECT_EQ(files, 2u) << "no part of a write is left behind";
}

TEST_F(ReplayFiles, ARecordingThatCannotBeKeptIsReported) {
    // A file where the folder should be.
    Write(folder_ + "blocked", "");
    const std::string blocked = folder_ + "blocked/";
    EXPECT_EQ(StoreGameReplay(blocked, RecordingScoring(5), 5),
              "The game's replay could not be saved to \"" + blocked +
                  "last.vrp\". The best game's replay could "
                  "not be saved to \"" +
                  blocked + "best.vrp\".");
}

TEST_F(ReplayFiles, FilesThatAreNoRecordingsAreRefusedByName) {
    const std::string path = folder_ + "x.vrp";
    EXPECT_EQ(LoadReplayFile(path).error, "The replay \"" + path + "\" cannot be read: no such file.");
    Write(path, "450\r\n3\r\n");
    EXPECT_EQ(LoadReplayFile(path).error, "The replay \"" + path + "\" is not a vimbo 2 replay.");
    const std::string whole = RecordingScoring(40);
    Write(path, whole.substr(0, whole.size() / 2));
    EXPECT_EQ(LoadReplayFile(path).error, "The replay \"" + path + "\" is cut short: its end is missing.");
    std::string newer = whole;
    newer[8] = 9;
    Write(path, newer);
    EXPECT_EQ(LoadReplayFile(path).error,
              "The replay \"" + path +
                  "\" was recorded by a newer version of the game (replay format 9; "
                  "this game reads format 1 and older).");
    std::string damaged = whole;
    damaged[14] ^= 0x10;
    Write(path, damaged);
    EXPECT_EQ(LoadReplayFile(path).error,
              "The replay \"" + path + "\" is damaged: its bytes do not match their CRC.");
    Write(path, whole);
    const ReplayReadResult read = LoadReplayFile(path);
    ASSERT_TRUE(read.replay) << read.error;
    EXPECT_EQ(read.replay->Summary().score, 40);
}

} // namespace
} // namespace vimbo
