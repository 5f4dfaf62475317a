// The SDL2_mixer audio device on the dummy driver: nothing is heard, but every call goes through
// the mixer, with the effects and music the program carries.
#include "engine/platform/SdlAudioDevice.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "tests/support/ChildRun.hpp"
#include "tests/support/TestPaths.hpp"

namespace ad::platform {
namespace {

class SdlAudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(SdlAudioDeviceTest, OpensOnTheDummyDriverAndPlaysEmbeddedEffects) {
    SdlAudioDevice device;
    ASSERT_TRUE(device.Ready()) << device.LastError();
    for (const char* name : {"s4_1", "whoosh", "s4_1"}) {
        const Resource* wave = FindResource(ResourceKind::Wave, name);
        ASSERT_NE(wave, nullptr) << name;
        EXPECT_TRUE(device.PlayEffect(*wave)) << name << ": " << device.LastError();
    }
    const Resource notWave{"broken", ResourceKind::Wave, {}};
    EXPECT_FALSE(device.PlayEffect(notWave));
    EXPECT_FALSE(device.LastError().empty());
}

TEST_F(SdlAudioDeviceTest, WithoutAnAudioOutputItIsNotReadyAndSaysWhy) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudioDevice device;
    EXPECT_FALSE(device.Ready());
    EXPECT_NE(device.LastError().find("no audio device"), std::string::npos) << device.LastError();
}

TEST_F(SdlAudioDeviceTest, MissingMusicFileFailsWithATextAndLeavesNothingPlaying) {
    SdlAudioDevice device;
    ASSERT_TRUE(device.Ready());
    EXPECT_FALSE(device.LoadMusic("./no-such-folder/muz0.mp3"));
    EXPECT_NE(device.LastError().find("no-such-folder/muz0.mp3"), std::string::npos);
    EXPECT_FALSE(device.PlayMusic(1));
    EXPECT_FALSE(device.MusicPlaying());
}

TEST_F(SdlAudioDeviceTest, AMusicFileThatIsAPipeOrAFolderIsRefusedWithoutBlocking) {
    const std::string folder = vimbo::test::MakeTempFolder("music");
    ASSERT_EQ(::mkfifo((folder + "muz0.mp3").c_str(), 0644), 0);
    std::filesystem::create_directory(folder + "muz1.mp3");
    // A pipe nobody writes into holds a blocking open for good: the device runs where an alarm ends it.
    EXPECT_EQ(vimbo::test::RunInChild([&]() -> std::string {
                  SdlAudioDevice device;
                  if (!device.Ready())
                      return "no audio device";
                  if (device.LoadMusic(folder + "muz0.mp3") ||
                      device.LastError().find("named pipe") == std::string::npos)
                      return "a pipe was taken for music: " + device.LastError();
                  if (device.LoadMusic(folder + "muz1.mp3") ||
                      device.LastError().find("a folder") == std::string::npos)
                      return "a folder was taken for music: " + device.LastError();
                  return device.PlayMusic(1) ? "something plays" : "";
              }),
              "");
    std::filesystem::remove_all(folder);
}

TEST_F(SdlAudioDeviceTest, PlaysAndStopsAMusicTrackOfTheProgram) {
    const std::string track = std::string(VIMBO_PROGRAM_FOLDER) + "music/muz0.mp3";
    if (!std::filesystem::exists(track))
        GTEST_SKIP() << "the music is not built: " << track;
    SdlAudioDevice device;
    ASSERT_TRUE(device.Ready());
    ASSERT_TRUE(device.LoadMusic(track)) << device.LastError();
    ASSERT_TRUE(device.PlayMusic(1)) << device.LastError();
    EXPECT_TRUE(device.MusicPlaying());
    EXPECT_TRUE(device.SeekMusic(500)) << device.LastError();
    device.StopMusic();
    EXPECT_FALSE(device.MusicPlaying());
}

} // namespace
} // namespace ad::platform
