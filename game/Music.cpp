// The background music: the media player over the audio device, and the game's rules for starting,
// restarting and changing tracks.
#include "game/Music.hpp"

#include <array>

#include "game/Sound.hpp"
#include "game/GameState.hpp"
#include "game/World.hpp"

namespace vimbo {

namespace {

constexpr const char* kFirstTrack = "./music/muz0.mp3";
// Track 0 belongs to start-up alone: after the last track the sequence goes back to track 1.
constexpr std::array<const char*, 7> kTrackOrder = {
    "./music/muz0.mp3", "./music/muz1.mp3", "./music/muz2.mp3", "./music/muz3.mp3",
    "./music/muz4.mp3", "./music/muz5.mp3", "./music/muz6.mp3"};
// Just past the start: the position every (re)start of a track seeks to.
constexpr uint32_t kTrackStartMs = 1;
constexpr int32_t kTicksBeforeRestart = 3;

ad::platform::AudioDevice* ReadyDevice() {
    ad::platform::AudioDevice* device = world.Audio;
    return device != nullptr && device->Ready() ? device : nullptr;
}

void PlayFromStart(TMediaPlayer& player) {
    player.Seek(kTrackStartMs);
    player.Play();
}

} // namespace

TMediaPlayer MediaPlayer1;

void TMediaPlayer::Open() {
    loaded_ = false;
    position_ = 0;
    ad::platform::AudioDevice* device = ReadyDevice();
    if (device == nullptr)
        return;
    if (device->LoadMusic(FileName))
        loaded_ = true;
    else
        ReportAudioProblem("music file \"" + FileName + "\" cannot be opened: " + device->LastError());
}

void TMediaPlayer::Play() {
    ad::platform::AudioDevice* device = ReadyDevice();
    if (!loaded_ || device == nullptr || Mode() == mpPlaying)
        return;
    if (!device->PlayMusic(position_))
        ReportAudioProblem("music file \"" + FileName + "\" cannot be played: " + device->LastError());
}

void TMediaPlayer::Stop() {
    if (ad::platform::AudioDevice* device = ReadyDevice(); loaded_ && device != nullptr)
        device->StopMusic();
}

void TMediaPlayer::Seek(uint32_t ms) {
    position_ = ms;
    if (Mode() == mpPlaying)
        ReadyDevice()->SeekMusic(ms);
}

// A player without a track counts as stopped rather than not ready: the track sequence then moves on
// past a missing file at the next level load instead of sticking on it for the rest of the run.
int TMediaPlayer::Mode() const {
    const ad::platform::AudioDevice* device = ReadyDevice();
    return loaded_ && device != nullptr && device->MusicPlaying() ? mpPlaying : mpStopped;
}

std::string NextTrack(const std::string& current) {
    for (size_t i = 0; i < kTrackOrder.size(); ++i)
        if (current == kTrackOrder[i])
            return kTrackOrder[i + 1 < kTrackOrder.size() ? i + 1 : 1];
    return {};
}

void StartMusic(TMediaPlayer& player) {
    player.FileName = kFirstTrack;
    player.Open();
    ApplyMusicSwitch(player);
}

void WatchMusic(TMediaPlayer& player, MusicTimer& timer) {
    if (musicOn && player.Mode() == mpStopped && !timer.Enabled()) {
        trackEnded = true;
        timer.SetEnabled(true);
    }
}

void MusicTimerTick(TMediaPlayer& player, MusicTimer& timer) {
    if (musicTicks++ != kTicksBeforeRestart)
        return;
    timer.SetEnabled(false);
    musicTicks = 0;
    // The countdown may outlive its cause: music switched off in the options, or a level load that
    // already started the next track. Neither is to be restarted (or rewound) here.
    if (musicOn && player.Mode() == mpStopped)
        PlayFromStart(player);
}

void ChangeTrack(TMediaPlayer& player) {
    if (!musicOn || !trackEnded)
        return;
    const std::string next = NextTrack(player.FileName);
    if (next.empty())
        return;
    trackEnded = false;
    player.FileName = next;
    player.Open();
    PlayFromStart(player);
}

void ApplyMusicSwitch(TMediaPlayer& player) {
    if (musicOn && player.Mode() == mpStopped)
        PlayFromStart(player);
    else if (!musicOn && player.Mode() == mpPlaying)
        player.Stop();
}

} // namespace vimbo
