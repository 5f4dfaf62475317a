// Sound effects of the game and the audio device they and the music play through: the device
// contract, the one installed device, and the single report of each audio problem.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/platform/Resources.hpp"

namespace vimbo {

// Where effects and music sound. Calls return at once: decoding and mixing happen on the device's
// own audio thread, so no call waits for sound output.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // False when the device could not be opened; every other call is then a harmless no-op.
    virtual bool Ready() const = 0;
    // Plays a WAVE resource once, cutting off the effect that is still sounding.
    virtual bool PlayEffect(const ad::platform::Resource& wave) = 0;
    // Replaces the loaded music track with the file at `path`; false (and LastError) when it cannot.
    virtual bool LoadMusic(const std::string& path) = 0;
    // Plays the loaded track once from `fromMs`.
    virtual bool PlayMusic(uint32_t fromMs) = 0;
    virtual void StopMusic() = 0;
    // Moves the playing track to `ms`.
    virtual bool SeekMusic(uint32_t ms) = 0;
    virtual bool MusicPlaying() const = 0;
    virtual std::string LastError() const = 0;
};

// The device effects and music use; nullptr (the start value) keeps the game silent. Not owned.
void SetAudioDevice(AudioDevice* device);
AudioDevice* GetAudioDevice();

// Plays the WAVE resource `name` (any case) if `soundOn`; a missing resource is skipped.
void PlaySoundRes(std::string_view name);

// Audio problems go to stderr unless a sink is set (tests capture them; nullptr restores stderr).
void SetAudioMessageSink(std::function<void(const std::string&)> sink);
// Passes `message` to the sink the first time it is reported, so a fault met every frame or at
// every level load is told once and the game goes on silently.
void ReportAudioProblem(const std::string& message);
// Forgets which messages were told (a new device, or a new test).
void ResetAudioProblems();

} // namespace vimbo
