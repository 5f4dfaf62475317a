// The background music: the media player over the audio device, and the game's rules for starting,
// restarting and changing tracks.
#pragma once

#include <cstdint>
#include <string>

#include "engine/platform/MessageLoop.hpp"

namespace vimbo {

// Modes of the media player as the game tests them; only stopped and playing are ever reported.
constexpr int mpStopped = 1;
constexpr int mpPlaying = 2;

// A media player open on one file at a time, playing through the installed audio device.
class TMediaPlayer {
public:
    std::string FileName;

    // Loads FileName, replacing the previous track. A file that cannot be opened is reported once
    // and leaves the player stopped with no track, so the game goes on silently.
    void Open();
    // Plays from the position last sought, unless already playing.
    void Play();
    void Stop();
    // Sets the position in milliseconds: where the next Play starts, or a jump of the playing track.
    void Seek(uint32_t ms);
    int Mode() const;

private:
    bool loaded_ = false;
    uint32_t position_ = 0;
};

// The game's one media player: the form starts it, the frame watches it, level loads and the options
// screen change it.
extern TMediaPlayer MediaPlayer1;

// The window timer the restart countdown runs on.
class MusicTimer {
public:
    virtual ~MusicTimer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
};

// The form's timer `tmr1` on the message loop.
class LoopMusicTimer final : public MusicTimer {
public:
    LoopMusicTimer(ad::platform::MessageLoop& loop, int timerId) : loop_(loop), timerId_(timerId) {}
    bool Enabled() const override { return loop_.TimerEnabled(timerId_); }
    void SetEnabled(bool enabled) override { loop_.SetTimerEnabled(timerId_, enabled); }

private:
    ad::platform::MessageLoop& loop_;
    int timerId_;
};

// End of start-up: opens the first track and plays it if `musicOn`.
void StartMusic(TMediaPlayer& player);
// Every frame: a stopped track (or one never started) while `musicOn` marks `trackEnded` and starts
// the restart countdown.
void WatchMusic(TMediaPlayer& player, MusicTimer& timer);
// Each tick of the window timer: the fourth tick restarts the track from its start.
void MusicTimerTick(TMediaPlayer& player, MusicTimer& timer);
// End of a level load: after a track has ended, moves on to the next track of the sequence.
void ChangeTrack(TMediaPlayer& player);
// Leaving the options screen: plays or stops the music as `musicOn` now says.
void ApplyMusicSwitch(TMediaPlayer& player);

// The track that follows `current` ("" when `current` is not one of the game's tracks).
std::string NextTrack(const std::string& current);

} // namespace vimbo
