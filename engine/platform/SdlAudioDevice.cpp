// The audio device on SDL2_mixer: one effect channel and the mixer's music stream.
#include "engine/platform/SdlAudioDevice.hpp"

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <cstdio>

#include "engine/platform/RegularFiles.hpp"

namespace ad::platform {

namespace {

constexpr int kEffectChannel = 0;
constexpr int kSampleRate = 44100;
constexpr int kStereo = 2;
// Small enough that an effect starts within a frame or two of its event.
constexpr int kChunkSamples = 1024;
constexpr int kPlayOnce = 1;

} // namespace

void SdlAudioDevice::ChunkFree::operator()(Mix_Chunk* chunk) const {
    Mix_FreeChunk(chunk);
}

void SdlAudioDevice::MusicFree::operator()(_Mix_Music* music) const {
    Mix_FreeMusic(music);
}

SdlAudioDevice::SdlAudioDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        lastError_ = std::string("no audio device: ") + SDL_GetError();
        return;
    }
    subsystemStarted_ = true;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(kSampleRate, MIX_DEFAULT_FORMAT, kStereo, kChunkSamples) != 0) {
        lastError_ = std::string("no audio device: ") + Mix_GetError();
        return;
    }
    // A single channel is what makes a new effect cut off the one still sounding.
    Mix_AllocateChannels(1);
    ready_ = true;
}

SdlAudioDevice::~SdlAudioDevice() {
    if (ready_) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
    }
    chunks_.clear();
    music_.reset();
    if (ready_)
        Mix_CloseAudio();
    if (subsystemStarted_) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool SdlAudioDevice::Fail(const std::string& what) {
    lastError_ = what + ": " + Mix_GetError();
    return false;
}

bool SdlAudioDevice::PlayEffect(const Resource& wave) {
    if (!ready_)
        return false;
    auto found = chunks_.find(&wave);
    if (found == chunks_.end()) {
        SDL_RWops* bytes = SDL_RWFromConstMem(wave.bytes.data(), static_cast<int>(wave.bytes.size()));
        Mix_Chunk* chunk = bytes == nullptr ? nullptr : Mix_LoadWAV_RW(bytes, 1);
        if (chunk == nullptr)
            return Fail("not a playable WAVE");
        found = chunks_.emplace(&wave, std::unique_ptr<Mix_Chunk, ChunkFree>(chunk)).first;
    }
    Mix_HaltChannel(kEffectChannel);
    if (Mix_PlayChannel(kEffectChannel, found->second.get(), 0) < 0)
        return Fail("effect not played");
    return true;
}

bool SdlAudioDevice::LoadMusic(const std::string& path) {
    if (!ready_)
        return false;
    // The old track goes first, so a failed open leaves no track rather than a stale one.
    Mix_HaltMusic();
    music_.reset();
    // The mixer's own open would block on a named pipe under the track's name: the file is opened
    // here, only when it is a file, and handed over.
    FileReadResult opened;
    const int fd = OpenRegularFile(path, opened);
    if (fd < 0) {
        lastError_ = "cannot open \"" + path + "\": " + ReadProblemText(opened);
        return false;
    }
    FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return Fail("cannot open \"" + path + "\"");
    }
    SDL_RWops* bytes = SDL_RWFromFP(file, SDL_TRUE);
    if (bytes == nullptr) {
        std::fclose(file);
        return Fail("cannot open \"" + path + "\"");
    }
    Mix_Music* music = Mix_LoadMUS_RW(bytes, 1);
    if (music == nullptr)
        return Fail("cannot open \"" + path + "\"");
    music_.reset(music);
    return true;
}

bool SdlAudioDevice::PlayMusic(uint32_t fromMs) {
    if (!ready_ || !music_)
        return false;
    if (Mix_FadeInMusicPos(music_.get(), kPlayOnce, 0, fromMs / 1000.0) != 0)
        return Fail("music not played");
    return true;
}

void SdlAudioDevice::StopMusic() {
    if (ready_)
        Mix_HaltMusic();
}

bool SdlAudioDevice::SeekMusic(uint32_t ms) {
    if (!ready_ || !music_)
        return false;
    if (Mix_SetMusicPosition(ms / 1000.0) != 0)
        return Fail("music position not set");
    return true;
}

bool SdlAudioDevice::MusicPlaying() const {
    return ready_ && music_ && Mix_PlayingMusic() != 0;
}

} // namespace ad::platform
