// Sound effects of the game and the audio device they and the music play through.
#include "game/Sound.hpp"

#include <iostream>
#include <set>

#include "game/GameState.hpp"

namespace vimbo {

namespace {

AudioDevice* installedDevice = nullptr;
std::function<void(const std::string&)> messageSink;
std::set<std::string> toldMessages;

} // namespace

void SetAudioDevice(AudioDevice* device) {
    installedDevice = device;
}

AudioDevice* GetAudioDevice() {
    return installedDevice;
}

void PlaySoundRes(std::string_view name) {
    if (!soundOn)
        return;
    const ad::platform::Resource* wave = ad::platform::FindResource(ad::platform::ResourceKind::Wave, name);
    if (wave == nullptr || installedDevice == nullptr || !installedDevice->Ready())
        return;
    if (!installedDevice->PlayEffect(*wave))
        ReportAudioProblem("sound effect \"" + std::string(wave->name) +
                           "\" cannot be played: " + installedDevice->LastError());
}

void SetAudioMessageSink(std::function<void(const std::string&)> sink) {
    messageSink = std::move(sink);
}

void ReportAudioProblem(const std::string& message) {
    if (!toldMessages.insert(message).second)
        return;
    if (messageSink)
        messageSink(message);
    else
        std::cerr << "vimbo2: " << message << " (the game goes on without it)\n";
}

void ResetAudioProblems() {
    toldMessages.clear();
}

} // namespace vimbo
