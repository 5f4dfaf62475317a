// The audio device contract: where effects and music sound. The program opens the real device and
// hands it to the form, which lends it to the game; tests hand in one that records.
#pragma once

#include <cstdint>
#include <string>

#include "engine/platform/Resources.hpp"

namespace ad::platform {

// Calls return at once: decoding and mixing happen on the device's own audio thread, so no call
// waits for sound output.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // False when the device could not be opened (LastError says why); every other call is then a
    // harmless no-op.
    virtual bool Ready() const = 0;
    // Plays a WAVE resource once, cutting off the effect that is still sounding.
    virtual bool PlayEffect(const Resource& wave) = 0;
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

} // namespace ad::platform
