// Turns a composed score into finished stereo PCM: instruments, an echo on the lead, and mastering.
#include "tools/musicgen/Renderer.hpp"

#include <algorithm>
#include <cmath>

namespace vimbo::musicgen {

namespace {

constexpr double kTargetRms = 0.16;
constexpr double kKnee = 0.55;

// A ping-pong echo a dotted eighth behind the lead, which makes a thin chip lead sound wide and full.
void AddLeadEcho(StereoMix& mix, const StereoMix& lead, double secondsPerBeat) {
    const auto delay = static_cast<size_t>(0.75 * secondsPerBeat * kMusicRate);
    const size_t frames = mix.Frames();
    synth::Samples echoLeft(frames), echoRight(frames);
    constexpr float kFeedback = 0.35f;
    constexpr float kEchoLevel = 0.3f;
    for (size_t i = 0; i < frames; ++i) {
        mix.left[i] += lead.left[i];
        mix.right[i] += lead.right[i];
        if (i < delay)
            continue;
        const float dry = 0.5f * (lead.left[i - delay] + lead.right[i - delay]);
        echoLeft[i] = dry + kFeedback * echoRight[i - delay];
        echoRight[i] = kFeedback * echoLeft[i - delay];
        mix.left[i] += kEchoLevel * echoLeft[i];
        mix.right[i] += kEchoLevel * echoRight[i];
    }
}

// Identity below the knee, then a tanh curve that approaches but never reaches the ceiling.
float SoftLimit(float x, double ceiling) {
    const double magnitude = std::abs(x);
    if (magnitude <= kKnee)
        return x;
    const double room = ceiling - kKnee;
    const double limited = kKnee + room * std::tanh((magnitude - kKnee) / room);
    return static_cast<float>(x < 0 ? -limited : limited);
}

} // namespace

void Master(StereoMix& mix, double fadeInSeconds, double fadeOutSeconds) {
    synth::OnePole dcLeft, dcRight;
    for (size_t i = 0; i < mix.Frames(); ++i) {
        mix.left[i] = dcLeft.High(mix.left[i], 15.0, kMusicRate);
        mix.right[i] = dcRight.High(mix.right[i], 15.0, kMusicRate);
    }
    const double rms = std::sqrt(
        0.5 * (synth::Rms(mix.left) * synth::Rms(mix.left) + synth::Rms(mix.right) * synth::Rms(mix.right)));
    if (rms <= 0.0)
        return;
    const auto gain = static_cast<float>(kTargetRms / rms);
    for (size_t i = 0; i < mix.Frames(); ++i) {
        mix.left[i] = SoftLimit(mix.left[i] * gain, kMasterPeak);
        mix.right[i] = SoftLimit(mix.right[i] * gain, kMasterPeak);
    }
    const int fadeIn = static_cast<int>(fadeInSeconds * kMusicRate);
    const int fadeOut = static_cast<int>(fadeOutSeconds * kMusicRate);
    synth::FadeEdges(mix.left, fadeIn, fadeOut);
    synth::FadeEdges(mix.right, fadeIn, fadeOut);
}

StereoMix RenderTrack(const Score& score, const TrackStyle& style) {
    const auto frames = static_cast<size_t>(score.LengthSeconds() * kMusicRate);
    StereoMix mix(frames);
    StereoMix lead(frames);
    synth::Noise noise(style.seed * 31 + 7);
    for (const NoteEvent& note : score.events)
        RenderNote(note.part == Part::Lead ? lead : mix, note, score.SecondsPerBeat(), style.lead, noise);
    AddLeadEcho(mix, lead, score.SecondsPerBeat());
    Master(mix, 0.05, 2.5);
    return mix;
}

} // namespace vimbo::musicgen
