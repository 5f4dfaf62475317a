// Sound effects of the game and the single report of each audio problem. Effects and music sound
// through the audio device the form lends in `world.Audio`.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vimbo {

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
