// The soak's seeded random player over 10,000 frames of 1 to 50 ms, through every screen: its
// recording replays with every frame's state equal. Prints the recording's size a minute of play.
#include <cstdio>

#include <gtest/gtest.h>

#include "tests/support/ReplayRun.hpp"
#include "tests/support/SoakRun.hpp"

namespace vimbo::test {
namespace {

TEST(ReplaySoak, TheRandomPlayersTenThousandFramesReplayEqual) {
    const SoakRecord soak = RunSoak({.seed = 1, .frames = 10000, .sampleEvery = 0});
    ASSERT_TRUE(soak.stillRunning);
    ASSERT_EQ(soak.checksums.size(), 10000u);
    const ReplayReadResult read = ReadReplay(soak.replay);
    ASSERT_TRUE(read.replay) << read.error;
    EXPECT_EQ(read.replay->Summary().frames, 10000 + kSoakFramesBefore);

    const ReplayRun played = PlayReplay(*read.replay);
    for (size_t k = 0; k < soak.checksums.size(); ++k) {
        const uint32_t frame = static_cast<uint32_t>(k + 1) + kSoakFramesBefore;
        ASSERT_EQ(played.checksums.at(frame), soak.checksums[k]) << "the state parts at soak frame " << k + 1;
    }
    EXPECT_TRUE(played.outcome.Equal());
    std::printf("soak recording: %zu bytes for %u frames, %.1f s of play: %.0f bytes a minute\n",
                soak.replay.size(), read.replay->Summary().frames, played.recordedMs / 1000.0,
                soak.replay.size() * 60000.0 / static_cast<double>(played.recordedMs));
}

} // namespace
} // namespace vimbo::test
