// The short soaks: two runs of seeded random play through every screen must repeat frame for frame,
// end in the same state and dump, and hold no more sprites and particles than the game has room for;
// and play keeps its rules at every frame time, under the wandering and the chasing player. The runs
// draw every frame in software, on a small screen.
#include <algorithm>
#include <set>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "game/MazeGrid.hpp"
#include "game/Tail.hpp"
#include "tests/support/SoakRun.hpp"

namespace {

using vimbo::test::RunSoak;
using vimbo::test::SoakOptions;
using vimbo::test::SoakRecord;

constexpr int kFrames = 2000;

// Everything a level holds at once (its blocks, the tail, the actors, the display, the menus and
// the effects) stays well under this; a scene that is built again without the old one freed does not.
constexpr int kMostSprites = vimbo::kMazeCells + vimbo::kTailSegments + 100;
// The four effects' bursts are a few dozen particles each, living a second or two.
constexpr size_t kMostParticles = 2000;

TEST(Soak, TwoRunsOfTheSameSeedRepeatFrameForFrameThroughEveryScreen) {
    SoakOptions options{.seed = 1, .frames = kFrames};
    // A small screen the setup offers: the software renderer fills less than half the pixels of the
    // usual 1024 x 768, and the game plays the same.
    options.game.settingsText = "[ad2dsetup]\nresolution=640x480x32\n";
    const SoakRecord first = RunSoak(options);
    const SoakRecord second = RunSoak(options);

    ASSERT_TRUE(first.stillRunning) << "the script never lets an exit close the game";
    ASSERT_EQ(first.checksums.size(), static_cast<size_t>(kFrames));
    ASSERT_EQ(second.checksums.size(), first.checksums.size());
    const auto parted =
        std::mismatch(first.checksums.begin(), first.checksums.end(), second.checksums.begin());
    EXPECT_EQ(parted.first, first.checksums.end())
        << "the runs part after frame " << (parted.first - first.checksums.begin()) + 1;
    EXPECT_FALSE(first.finalDump.empty());
    EXPECT_EQ(first.finalDump, second.finalDump);
    EXPECT_TRUE(first.messages.empty()) << first.messages.front();

    // A checksum that missed the state would repeat whatever happened.
    const std::set<uint64_t> distinct(first.checksums.begin(), first.checksums.end());
    EXPECT_GT(distinct.size(), first.checksums.size() / 2);

    const vimbo::test::SoakTally& tally = first.tally;
    EXPECT_GT(tally.framesInMainMenu, 0);
    EXPECT_GT(tally.framesInOptions, 0);
    EXPECT_GT(tally.framesInPlay, 0);
    EXPECT_GT(tally.framesPaused, 0);
    EXPECT_GE(tally.gamesBuilt, 2) << "a game was left and another one started";
    EXPECT_GT(tally.livesLost, 0);
    EXPECT_GT(tally.wallsDropped, 0);
    EXPECT_GT(tally.clicks, 0);
    EXPECT_GT(tally.exitsCancelled, 0);
    EXPECT_EQ(first.play.Report(), "") << "play broke its rules";

    // Every run is a soak of its own: the first one's samples show what the game holds as it goes.
    ASSERT_FALSE(first.samples.empty());
    for (const vimbo::test::MemorySample& sample : first.samples) {
        EXPECT_LE(sample.sprites, kMostSprites) << "frame " << sample.frame;
        EXPECT_LE(sample.particles, kMostParticles) << "frame " << sample.frame;
    }
}

// Short runs at fixed frame times from the frame rate's cap to the timer's longest frame, and at
// random ones; scripts/soak runs the long version over many seeds.
using InvariantSoakParam = std::tuple<uint32_t, vimbo::test::PlayStyle>;
class InvariantSoak : public ::testing::TestWithParam<InvariantSoakParam> {};

TEST_P(InvariantSoak, PlayKeepsItsRules) {
    const auto [frameMs, style] = GetParam();
    // At least ten seconds of game at short frames: the menu and the fade-in take a few.
    const int frames = frameMs > 0 ? std::max(900, static_cast<int>(10000 / frameMs)) : 900;
    SoakOptions options{.seed = 7, .frames = frames, .frameMs = frameMs, .style = style, .sampleEvery = 0};
    options.game.settingsText = "[ad2dsetup]\nresolution=640x480x32\n";
    const SoakRecord record = RunSoak(options);
    EXPECT_EQ(record.play.Report(), "");
    EXPECT_TRUE(record.messages.empty()) << record.messages.front();
    EXPECT_GT(record.play.FramesInPlay(), 200) << "too little play to judge";
}

INSTANTIATE_TEST_SUITE_P(
    FrameTimes, InvariantSoak,
    ::testing::Combine(::testing::Values(4u, 16u, 33u, 50u, 0u),
                       ::testing::Values(vimbo::test::PlayStyle::Wander, vimbo::test::PlayStyle::Chase)),
    [](const ::testing::TestParamInfo<InvariantSoakParam>& info) {
        const uint32_t ms = std::get<0>(info.param);
        return (ms == 0 ? std::string("RandomFrames") : std::to_string(ms) + "ms") +
               (std::get<1>(info.param) == vimbo::test::PlayStyle::Chase ? "Chase" : "Wander");
    });

} // namespace
