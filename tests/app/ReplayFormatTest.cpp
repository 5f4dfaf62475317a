// The recording format: what is written reads back the same, a long game stays small, and foreign,
// newer, cut-short and damaged bytes are refused with their reasons.
#include "app/ReplayFormat.hpp"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/platform/Random.hpp"
#include "engine/platform/VirtualKeys.hpp"

namespace vimbo {
namespace {

ReplayStart SomeStart() {
    return {.generatorState = 0x1234'5678'9ABC'DEF0ull,
            .startTick = 4'294'967'000u, // the counter wraps during the recording
            .score = 1250,
            .lives = 2,
            .topscore = 4400,
            .difficulty = "hard",
            .soundOn = true,
            .musicOn = false,
            .saveExisted = true,
            .width = 1024,
            .height = 768};
}

std::vector<ReplayStep> Walk(const Replay& replay) {
    std::vector<ReplayStep> steps;
    Replay::Cursor cursor(replay);
    ReplayStep step;
    while (cursor.Next(step))
        steps.push_back(step);
    return steps;
}

bool operator==(const ReplayStep& a, const ReplayStep& b) {
    return a.events == b.events && a.frameMs == b.frameMs && a.checkpoint == b.checkpoint;
}

// A short recording with every kind of record: runs of equal frames, each kind of input, input
// after the last frame, checkpoints after a run and after a single frame.
struct Sample {
    std::string bytes;
    std::vector<ReplayStep> steps;
    ReplaySummary summary{.score = 870, .level = 5, .lives = 0, .checksum = 0xFEED'FACE'0000'0001ull};
};

Sample MakeSample() {
    Sample sample;
    ReplayWriter writer(SomeStart());
    const auto frame = [&](std::vector<ReplayEvent> events, uint32_t ms, std::optional<uint64_t> check = {}) {
        for (const ReplayEvent& event : events)
            writer.Event(event);
        writer.Frame(ms);
        if (check)
            writer.Checkpoint(*check);
        sample.steps.push_back({events, ms, check});
    };
    frame({}, 1);
    frame({}, 0);
    for (int i = 0; i < 40; ++i)
        frame({}, 16);
    frame({}, 16, 0xAAAA'BBBB'CCCC'DDDDull);
    frame({{.kind = ReplayEventKind::Key, .key = ad::platform::vk::Return}}, 16);
    frame({{.kind = ReplayEventKind::PointerMove, .x = 400, .y = 300},
           {.kind = ReplayEventKind::PointerMove, .x = 12, .y = 700},
           {.kind = ReplayEventKind::PointerPress},
           {.kind = ReplayEventKind::PadUnplugged},
           {.kind = ReplayEventKind::Key, .key = 0x7FFF'FFFF}},
          50, 7);
    frame({}, 50);
    frame({{.kind = ReplayEventKind::PointerMove, .x = -5, .y = 0}}, 3'000'000);
    frame({}, 3'000'000);
    writer.Event({.kind = ReplayEventKind::Key, .key = ad::platform::vk::Escape});
    sample.steps.push_back({{{.kind = ReplayEventKind::Key, .key = ad::platform::vk::Escape}}, {}, {}});
    sample.bytes = writer.Bytes(sample.summary);
    sample.summary.frames = writer.Frames();
    return sample;
}

TEST(ReplayFormat, WhatIsWrittenReadsBackStepByStep) {
    const Sample sample = MakeSample();
    const ReplayReadResult read = ReadReplay(sample.bytes);
    ASSERT_TRUE(read.replay) << read.error;
    EXPECT_EQ(read.replay->Start(), SomeStart());
    EXPECT_EQ(read.replay->Summary(), sample.summary);
    EXPECT_EQ(read.replay->Summary().frames, 48u);
    const std::vector<ReplayStep> steps = Walk(*read.replay);
    ASSERT_EQ(steps.size(), sample.steps.size());
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_TRUE(steps[i] == sample.steps[i]) << "step " << i;
    const std::vector<std::pair<uint32_t, uint64_t>> checkpoints{{43, 0xAAAA'BBBB'CCCC'DDDDull}, {45, 7}};
    EXPECT_EQ(read.replay->Checkpoints(), checkpoints);
}

TEST(ReplayFormat, ARecordingInProgressReadsAsWholeAtEveryMoment) {
    // The form writes the play so far when a game ends and goes on recording afterwards.
    ReplayWriter writer(SomeStart());
    for (uint32_t frame = 1; frame <= 300; ++frame) {
        if (frame % 7 == 0)
            writer.Event({.kind = ReplayEventKind::Key, .key = static_cast<int32_t>(frame)});
        writer.Frame(frame % 3 == 0 ? 2 : 3);
        if (frame % 50 == 0) {
            const ReplayReadResult read = ReadReplay(writer.Bytes({}));
            ASSERT_TRUE(read.replay) << "after frame " << frame << ": " << read.error;
            EXPECT_EQ(read.replay->Summary().frames, frame);
            EXPECT_EQ(Walk(*read.replay).size(), frame);
        }
    }
}

TEST(ReplayFormat, ATenMinuteGameStaysWellUnderAMegabyte) {
    // The frame timer caps the game at 500 frames a second: ten minutes of the fastest frames, their
    // times jittering between 2 and 3 ms so that no two runs repeat, a key every half second and the
    // pointer moving every tenth frame, with the usual checkpoints.
    ad::platform::RandomGenerator random(7);
    ReplayWriter writer(SomeStart());
    uint32_t elapsed = 0;
    while (elapsed < 10 * 60 * 1000) {
        const uint32_t ms = 2 + static_cast<uint32_t>(random.Random(2));
        if (writer.Frames() % 200 == 0)
            writer.Event({.kind = ReplayEventKind::Key, .key = ad::platform::vk::Left + random.Random(4)});
        if (writer.Frames() % 10 == 0)
            writer.Event(
                {.kind = ReplayEventKind::PointerMove, .x = random.Random(1024), .y = random.Random(768)});
        writer.Frame(ms);
        if (writer.Frames() % kReplayCheckpointInterval == 0)
            writer.Checkpoint((uint64_t{random.Next()} << 32) | random.Next());
        elapsed += ms;
    }
    const std::string bytes = writer.Bytes({});
    EXPECT_LT(bytes.size(), 1'000'000u) << writer.Frames() << " frames";
    std::printf("ten minutes at the frame cap: %zu bytes for %u frames\n", bytes.size(), writer.Frames());
    ASSERT_TRUE(ReadReplay(bytes).replay);
}

TEST(ReplayFormat, ForeignBytesAreRefused) {
    for (const std::string& foreign : {std::string("450\r\n3\r\n1250\r\n1\r\n1\r\n2\r\n"),
                                       std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
                                       std::string("[ad2dsetup]\nplugin=x\n"), std::string(64, '\0')}) {
        const ReplayReadResult read = ReadReplay(foreign);
        EXPECT_FALSE(read.replay);
        EXPECT_EQ(read.error, "is not a vimbo 2 replay") << foreign;
    }
}

TEST(ReplayFormat, ARecordingOfANewerFormatIsRefusedByName) {
    std::string bytes = MakeSample().bytes;
    bytes[8] = static_cast<char>(kReplayFormatVersion + 1);
    const ReplayReadResult read = ReadReplay(bytes);
    EXPECT_FALSE(read.replay);
    EXPECT_EQ(read.error,
              "was recorded by a newer version of the game (replay format 2; this game reads format 1 "
              "and older)");
}

TEST(ReplayFormat, EveryCutIsRefusedAsCutShort) {
    const std::string bytes = MakeSample().bytes;
    for (size_t length = 0; length < bytes.size(); ++length) {
        const ReplayReadResult read = ReadReplay(std::string_view(bytes).substr(0, length));
        EXPECT_FALSE(read.replay) << length;
        EXPECT_EQ(read.error.rfind("is cut short", 0), 0u) << length << ": " << read.error;
    }
}

TEST(ReplayFormat, EveryChangedByteIsRefused) {
    const std::string bytes = MakeSample().bytes;
    for (size_t at = 0; at < bytes.size(); ++at) {
        for (const uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::string damaged = bytes;
            damaged[at] = static_cast<char>(static_cast<uint8_t>(damaged[at]) ^ flip);
            const ReplayReadResult read = ReadReplay(damaged);
            EXPECT_FALSE(read.replay) << "byte " << at << " ^ " << int{flip};
            EXPECT_FALSE(read.error.empty());
        }
    }
    std::string appended = bytes + '\0';
    EXPECT_EQ(ReadReplay(appended).error, "is damaged: bytes follow its end");
    std::string changed = bytes;
    changed[bytes.size() - 5] ^= 0x04; // the final state's checksum
    EXPECT_EQ(ReadReplay(changed).error, "is damaged: its bytes do not match their CRC");
}

TEST(ReplayFormat, ATextTransferIsNamedAsTheDamage) {
    std::string bytes = MakeSample().bytes;
    bytes.erase(4, 1); // "\r\n" to "\n", as a line-end conversion does
    EXPECT_EQ(ReadReplay(bytes).error,
              "is damaged: its first bytes were changed, as a text transfer would change them");
}

} // namespace
} // namespace vimbo
