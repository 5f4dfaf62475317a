// The audio device on SDL2_mixer: one effect channel and the mixer's music stream.
#pragma once

#include <map>
#include <memory>

#include "engine/platform/AudioDevice.hpp"

struct Mix_Chunk;
struct _Mix_Music;

namespace ad::platform {

class SdlAudioDevice final : public AudioDevice {
public:
    // Opens the default audio output; a failure leaves the device not Ready, LastError saying why.
    SdlAudioDevice();
    ~SdlAudioDevice() override;
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    bool Ready() const override { return ready_; }
    bool PlayEffect(const Resource& wave) override;
    bool LoadMusic(const std::string& path) override;
    bool PlayMusic(uint32_t fromMs) override;
    void StopMusic() override;
    bool SeekMusic(uint32_t ms) override;
    bool MusicPlaying() const override;
    std::string LastError() const override { return lastError_; }

private:
    struct ChunkFree {
        void operator()(Mix_Chunk* chunk) const;
    };
    struct MusicFree {
        void operator()(_Mix_Music* music) const;
    };

    bool Fail(const std::string& what);

    bool ready_ = false;
    bool subsystemStarted_ = false;
    std::string lastError_;
    // Decoded once per resource: resources live for the whole run, so their address is a stable key.
    std::map<const Resource*, std::unique_ptr<Mix_Chunk, ChunkFree>> chunks_;
    std::unique_ptr<_Mix_Music, MusicFree> music_;
};

} // namespace ad::platform
