// Checks the sound effects and the music rules against a recording device, and that the game stays
// silent and quiet through a real device that could not open.
#include "game/Sound.hpp"
#include "game/Music.hpp"
#include "tests/support/RecordingAudioDevice.hpp"
#include "engine/platform/SdlAudioDevice.hpp"
#include "game/World.hpp"
#include "game/GameState.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace vimbo {
namespace {

class FakeTimer final : public MusicTimer {
public:
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool on) override { enabled = on; }
    bool enabled = false;
};

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameState();
        soundOn = true;
        musicOn = true;
        ResetAudioProblems();
        SetAudioMessageSink([this](const std::string& message) { messages.push_back(message); });
        world.Audio = &device;
    }
    void TearDown() override {
        world.Audio = nullptr;
        SetAudioMessageSink(nullptr);
        ResetAudioProblems();
    }

    // The watch, then one timer tick per second until the track restarts or `seconds` pass.
    void RunSeconds(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            WatchMusic(player, timer);
            if (timer.enabled)
                MusicTimerTick(player, timer);
        }
    }
    // Ends the playing track and lets the frame notice it.
    void EndTrack() {
        device.EndTrack();
        WatchMusic(player, timer);
    }
    // A track ends, then a level is loaded and the restart countdown runs out.
    void NextLevelAfterTrackEnds() {
        EndTrack();
        ChangeTrack(player);
        RunSeconds(4);
    }
    size_t Count(const std::string& call) const { return std::ranges::count(device.calls, call); }

    RecordingAudioDevice device;
    TMediaPlayer player;
    FakeTimer timer;
    std::vector<std::string> messages;
};

TEST_F(SoundTest, EffectsPlayOnlyWhenSoundIsOnAndTheResourceExists) {
    PlaySoundRes("S4_1");
    PlaySoundRes("Whoosh");
    PlaySoundRes("no-such-effect");
    soundOn = false;
    PlaySoundRes("dead13");
    EXPECT_EQ(device.effects, (std::vector<std::string>{"s4_1", "whoosh"}));

    soundOn = true;
    device.ready = false;
    PlaySoundRes("s5");
    world.Audio = nullptr;
    PlaySoundRes("s5");
    EXPECT_EQ(device.effects.size(), 2u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SoundTest, StartUpOpensTheFirstTrackAndPlaysItOnlyWithMusicOn) {
    StartMusic(player);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"load ./music/muz0.mp3", "play 1"}));
    EXPECT_EQ(player.Mode(), mpPlaying);

    RecordingAudioDevice quiet;
    world.Audio = &quiet;
    musicOn = false;
    TMediaPlayer other;
    StartMusic(other);
    EXPECT_EQ(quiet.calls, (std::vector<std::string>{"load ./music/muz0.mp3"}));
    EXPECT_EQ(other.Mode(), mpStopped);
    EXPECT_EQ(other.FileName, "./music/muz0.mp3");
}

TEST_F(SoundTest, EndedTrackRestartsOnTheFourthTimerTickFromItsStart) {
    StartMusic(player);
    WatchMusic(player, timer);
    EXPECT_FALSE(timer.enabled) << "a playing track needs no countdown";

    EndTrack();
    EXPECT_TRUE(trackEnded);
    EXPECT_TRUE(timer.enabled);
    for (int tick = 1; tick <= 3; ++tick) {
        MusicTimerTick(player, timer);
        WatchMusic(player, timer);
        EXPECT_EQ(player.Mode(), mpStopped) << "tick " << tick;
    }
    MusicTimerTick(player, timer);
    EXPECT_EQ(player.Mode(), mpPlaying);
    EXPECT_FALSE(timer.enabled);
    EXPECT_EQ(musicTicks, 0);
    EXPECT_EQ(Count("play 1"), 2u);
    EXPECT_EQ(device.loadedTrack, "./music/muz0.mp3");
    EXPECT_TRUE(trackEnded) << "only a track change clears it";
}

TEST_F(SoundTest, LevelLoadKeepsAPlayingTrackAndChangesAnEndedOne) {
    StartMusic(player);
    ChangeTrack(player);
    EXPECT_EQ(player.FileName, "./music/muz0.mp3");

    EndTrack();
    ChangeTrack(player);
    ChangeTrack(player);
    EXPECT_EQ(player.FileName, "./music/muz1.mp3") << "one change per ended track";
    EXPECT_FALSE(trackEnded);
    EXPECT_EQ(device.loadedTrack, "./music/muz1.mp3");
    EXPECT_EQ(player.Mode(), mpPlaying);
    EXPECT_EQ(device.calls.back(), "play 1");
}

TEST_F(SoundTest, SequenceRunsThroughAllTracksAndNeverReturnsToTrackZero) {
    StartMusic(player);
    std::vector<std::string> heard{player.FileName};
    for (int i = 0; i < 7; ++i) {
        NextLevelAfterTrackEnds();
        heard.push_back(player.FileName.substr(8));
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"./music/muz0.mp3", "muz1.mp3", "muz2.mp3", "muz3.mp3",
                                               "muz4.mp3", "muz5.mp3", "muz6.mp3", "muz1.mp3"}));
    EXPECT_EQ(NextTrack("music/muz1.mp3"), "") << "only the exact paths are tracks";
}

TEST_F(SoundTest, MusicOffFreezesTheTrackAndTheWatch) {
    musicOn = false;
    StartMusic(player);
    RunSeconds(10);
    EXPECT_FALSE(timer.enabled);
    EXPECT_FALSE(trackEnded);
    EXPECT_EQ(Count("play 1"), 0u);

    trackEnded = true;
    ChangeTrack(player);
    EXPECT_EQ(player.FileName, "./music/muz0.mp3");
    EXPECT_TRUE(trackEnded);
}

TEST_F(SoundTest, OptionsSwitchStopsAndResumesOnTheSameFile) {
    StartMusic(player);
    musicOn = false;
    ApplyMusicSwitch(player);
    EXPECT_EQ(player.Mode(), mpStopped);
    EXPECT_EQ(device.calls.back(), "stop");
    ApplyMusicSwitch(player);
    EXPECT_EQ(Count("stop"), 1u);

    musicOn = true;
    ApplyMusicSwitch(player);
    EXPECT_EQ(player.Mode(), mpPlaying);
    EXPECT_EQ(device.loadedTrack, "./music/muz0.mp3");
    EXPECT_EQ(device.calls.back(), "play 1");
}

TEST_F(SoundTest, CountdownRestartsNothingOnceMusicIsSwitchedOff) {
    StartMusic(player);
    EndTrack();
    musicOn = false;
    ApplyMusicSwitch(player);
    for (int tick = 0; tick < 4; ++tick)
        MusicTimerTick(player, timer);
    EXPECT_EQ(player.Mode(), mpStopped);
    EXPECT_FALSE(timer.enabled);
    EXPECT_EQ(Count("play 1"), 1u);
}

TEST_F(SoundTest, CountdownDoesNotRewindATrackALevelLoadAlreadyStarted) {
    StartMusic(player);
    EndTrack();
    MusicTimerTick(player, timer);
    ChangeTrack(player);
    const size_t callsAfterChange = device.calls.size();
    RunSeconds(3);
    EXPECT_EQ(device.calls.size(), callsAfterChange);
    EXPECT_FALSE(timer.enabled);
    EXPECT_EQ(player.Mode(), mpPlaying);
}

TEST_F(SoundTest, MissingMusicFileIsToldOnceAndTheSequenceMovesPastIt) {
    device.missingFiles = {"./music/muz0.mp3", "./music/muz1.mp3"};
    StartMusic(player);
    RunSeconds(20);
    EXPECT_EQ(player.Mode(), mpStopped);
    ChangeTrack(player);
    RunSeconds(20);
    ChangeTrack(player);
    RunSeconds(20);

    EXPECT_EQ(player.FileName, "./music/muz2.mp3");
    EXPECT_EQ(player.Mode(), mpPlaying);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("./music/muz0.mp3"), std::string::npos);
    EXPECT_NE(messages[0].find("file not found"), std::string::npos);

    // Coming round again the file is still missing, but it was already told.
    for (int i = 0; i < 5; ++i)
        NextLevelAfterTrackEnds();
    EXPECT_EQ(player.FileName, "./music/muz1.mp3");
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(SoundTest, WithoutAnAudioDeviceMusicRulesRunSilently) {
    device.ready = false;
    StartMusic(player);
    RunSeconds(10);
    ChangeTrack(player);
    ApplyMusicSwitch(player);
    EXPECT_TRUE(device.calls.empty());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(player.FileName, "./music/muz1.mp3") << "the rules still run, with nothing to hear";
}

// The real device without an audio output, lent to the game: the rules run and nothing sounds.
class SilentDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        ResetGameState();
        ResetAudioProblems();
        SetAudioMessageSink([this](const std::string& message) { messages.push_back(message); });
    }
    void TearDown() override {
        world.Audio = nullptr;
        SetAudioMessageSink(nullptr);
        ResetAudioProblems();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    std::vector<std::string> messages;
};

TEST_F(SilentDeviceTest, TheGameTellsNothingAndPlaysNothingThroughADeviceThatDidNotOpen) {
    ad::platform::SdlAudioDevice device;
    ASSERT_FALSE(device.Ready());
    world.Audio = &device;
    soundOn = musicOn = true;
    TMediaPlayer player;
    FakeTimer timer;
    StartMusic(player);
    for (int second = 0; second < 8; ++second) {
        PlaySoundRes("s5");
        WatchMusic(player, timer);
        MusicTimerTick(player, timer);
    }
    ChangeTrack(player);
    EXPECT_EQ(player.Mode(), mpStopped);
    EXPECT_TRUE(messages.empty()) << messages.front();
}

} // namespace
} // namespace vimbo
