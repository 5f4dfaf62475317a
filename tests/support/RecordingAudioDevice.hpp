// An audio device that plays nothing and records what it was asked to do, for tests of the game's
// sound and music rules. A track "ends" when the test says so.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "engine/platform/AudioDevice.hpp"

namespace vimbo {

class RecordingAudioDevice final : public ad::platform::AudioDevice {
public:
    bool Ready() const override { return ready; }
    bool PlayEffect(const ad::platform::Resource& wave) override {
        effects.emplace_back(wave.name);
        return true;
    }
    bool LoadMusic(const std::string& path) override {
        musicPlaying = false;
        loadedTrack.clear();
        calls.push_back("load " + path);
        if (missingFiles.contains(path))
            return false;
        loadedTrack = path;
        return true;
    }
    bool PlayMusic(uint32_t fromMs) override {
        calls.push_back("play " + std::to_string(fromMs));
        if (loadedTrack.empty())
            return false;
        musicPlaying = true;
        return true;
    }
    void StopMusic() override {
        calls.emplace_back("stop");
        musicPlaying = false;
    }
    bool SeekMusic(uint32_t ms) override {
        calls.push_back("seek " + std::to_string(ms));
        return !loadedTrack.empty();
    }
    bool MusicPlaying() const override { return musicPlaying; }
    std::string LastError() const override { return "file not found"; }

    // The playing track reaches its end.
    void EndTrack() { musicPlaying = false; }

    bool ready = true;
    std::set<std::string> missingFiles;
    std::vector<std::string> effects; // registered names of the effects played, in order
    std::vector<std::string> calls;   // music operations, e.g. "load ./music/muz1.mp3", "play 1"
    std::string loadedTrack;
    bool musicPlaying = false;
};

} // namespace vimbo
