// Sound effects of the game and the single report of each audio problem.
#include "game/Sound.hpp"

#include <iostream>
#include <set>

#include "engine/platform/Resources.hpp"
#include "game/GameState.hpp"
#include "game/World.hpp"

namespace vimbo {

namespace {

std::function<void(const std::string&)> messageSink;
std::set<std::string> toldMessages;

} // namespace

void PlaySoundRes(std::string_view name) {
    if (!soundOn)
        return;
    const ad::platform::Resource* wave = ad::platform::FindResource(ad::platform::ResourceKind::Wave, name);
    ad::platform::AudioDevice* device = world.Audio;
    if (wave == nullptr || device == nullptr || !device->Ready())
        return;
    if (!device->PlayEffect(*wave))
        ReportAudioProblem("sound effect \"" + std::string(wave->name) + "\" cannot be played: " + device->LastError());
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
