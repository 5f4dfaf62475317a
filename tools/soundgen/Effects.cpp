// The game's eight sound effects: recipes of oscillators, noise, filters and envelopes.
#include "tools/soundgen/Effects.hpp"

#include <algorithm>
#include <cmath>

namespace vimbo::soundgen {

using synth::Adsr;
using synth::kTwoPi;
using synth::MidiToHz;
using synth::Noise;
using synth::Oscillator;
using synth::PercussiveLevel;
using synth::Samples;
using synth::Svf;

namespace {

int SampleCount(double seconds, double rate) {
    return static_cast<int>(std::lround(seconds * rate));
}

// A pickup: two quick FM notes a fifth apart, each gliding up a little; higher worth, higher base.
Samples Pickup(double rate, double baseHz, double length) {
    Samples out(SampleCount(length, rate));
    Oscillator carrier, modulator, body;
    const double split = length * 0.38;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const bool second = t >= split;
        const double local = second ? t - split : t;
        const double hz = baseHz * (second ? 1.5 : 1.0) * (1.0 + 0.06 * (1.0 - std::exp(-local / 0.012)));
        const double index = 2.2 * std::exp(-local / 0.025) + 0.4;
        const double mod = modulator.Sine(hz * 2.0, rate) * index;
        const double fm = std::sin(kTwoPi * carrier.Phase() + mod);
        carrier.Sine(hz, rate);
        const double tone = 0.75 * fm + 0.25 * body.Pulse(hz * 0.5, rate, 0.25);
        const double env = PercussiveLevel(local, 0.002, second ? length * 0.3 : split * 0.9);
        out[i] = static_cast<float>(tone * env);
    }
    return out;
}

Samples PickupSmall(double rate, Noise&) {
    return Pickup(rate, MidiToHz(79), 0.14);
}
Samples PickupMedium(double rate, Noise&) {
    return Pickup(rate, MidiToHz(84), 0.095);
}
Samples PickupLarge(double rate, Noise&) {
    return Pickup(rate, MidiToHz(88), 0.09);
}

// The enemy steals points: two clashing buzzy squares diving down, dulled as they fall.
Samples Steal(double rate, Noise&) {
    const double length = 0.28;
    Samples out(SampleCount(length, rate));
    Oscillator a, b, wobble;
    Svf filter;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double hz = 110.0 + 620.0 * std::exp(-t / 0.07);
        const double buzz = 0.6 + 0.4 * wobble.Sine(32.0, rate);
        const double tone = a.Pulse(hz, rate, 0.5) + 0.8 * b.Pulse(hz * 1.059, rate, 0.3);
        const double cutoff = 600.0 + 4000.0 * std::exp(-t / 0.09);
        const Adsr env{0.003, 0.05, 0.8, 0.09};
        out[i] = static_cast<float>(filter.Low(static_cast<float>(tone * buzz), cutoff, 0.4, rate) * 0.5 *
                                    env.Level(t, length - 0.09));
    }
    return out;
}

// The player is caught: a wavering tone falling four octaves, then a low thud and a rumble dying away.
Samples Caught(double rate, Noise& noise) {
    const double length = 4.1;
    const double fallEnd = 2.7;
    Samples out(SampleCount(length, rate));
    Oscillator tone, sub, vibrato, thud;
    Svf toneFilter, rumbleFilter;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double fall = std::min(t / fallEnd, 1.0);
        const double depth = 0.15 + 0.6 * fall;
        const double semis = -48.0 * fall + depth * vibrato.Sine(6.5 + 2.0 * fall, rate);
        const double hz = 880.0 * std::pow(2.0, semis / 12.0);
        double voice = tone.Pulse(hz, rate, 0.3 + 0.2 * fall) + 0.6 * sub.Sine(hz * 0.5, rate);
        voice = toneFilter.Low(static_cast<float>(voice), hz * 6.0 + 200.0, 0.3, rate);
        const double voiceLevel = std::min(t / 0.01, 1.0) * (t < fallEnd ? 1.0 - 0.3 * fall : 0.0);
        const double hit = t - (fallEnd - 0.05);
        double ending = 0.0;
        if (hit >= 0.0) {
            const double thudHz = 35.0 + 60.0 * std::exp(-hit / 0.08);
            ending += 1.1 * thud.Sine(thudHz, rate) * PercussiveLevel(hit, 0.004, 0.35);
            const float rumble =
                rumbleFilter.Low(noise.White(), 180.0 + 400.0 * std::exp(-hit / 0.2), 0.2, rate);
            ending += 1.4 * rumble * PercussiveLevel(hit, 0.01, 0.45);
        }
        // A short crossfade at the end of the fall keeps the cut of the tone from clicking.
        const double cut = std::clamp((fallEnd - t) / 0.03, 0.0, 1.0);
        out[i] = static_cast<float>(0.5 * voice * voiceLevel * cut + ending);
    }
    return out;
}

// A glockenspiel-like strike: a few partials, the higher ones dying sooner.
void AddBell(Samples& out, double rate, double start, double hz, double gain) {
    static constexpr double kRatios[] = {1.0, 2.0, 3.01, 4.16, 5.43};
    static constexpr double kLevels[] = {1.0, 0.45, 0.25, 0.18, 0.1};
    // Every partial has died away (below -40 dB) before the effect ends, so nothing is cut off.
    static constexpr double kDecays[] = {0.55, 0.45, 0.35, 0.25, 0.18};
    const int first = SampleCount(start, rate);
    const int count = static_cast<int>(out.size()) - first;
    for (int p = 0; p < 5; ++p) {
        const double partialHz = hz * kRatios[p];
        if (partialHz > rate * 0.45)
            continue;
        for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
            const double t = i / rate;
            out[first + i] += static_cast<float>(gain * kLevels[p] * std::sin(kTwoPi * partialHz * t) *
                                                 PercussiveLevel(t, 0.0015, kDecays[p]));
        }
    }
}

// The big collectible: a rising major arpeggio of bells under a spray of high sparkles.
Samples Chime(double rate, Noise& noise) {
    Samples out(SampleCount(2.8, rate));
    static constexpr int kNotes[] = {84, 88, 91, 96, 100};
    for (int n = 0; n < 5; ++n)
        AddBell(out, rate, 0.07 * n, MidiToHz(kNotes[n]), n == 4 ? 0.5 : 0.35);
    for (int s = 0; s < 36; ++s) {
        const double start = 0.05 + noise.Uniform() * 1.6;
        const double hz = 3500.0 + noise.Uniform() * 5000.0;
        const double decay = 0.03 + noise.Uniform() * 0.06;
        const double gain = 0.12 * (1.0 - start / 2.0);
        const int first = SampleCount(start, rate);
        for (int i = 0; i < SampleCount(decay * 6.0, rate) && first + i < static_cast<int>(out.size()); ++i) {
            const double t = i / rate;
            out[first + i] +=
                static_cast<float>(gain * std::sin(kTwoPi * hz * t) * PercussiveLevel(t, 0.001, decay));
        }
    }
    return out;
}

// One brass note: detuned saws through a low-pass that opens on the attack, vibrato once held.
void AddBrass(Samples& out, double rate, double start, double held, int midi, double gain) {
    const Adsr env{0.015, 0.12, 0.75, 0.12};
    const int first = SampleCount(start, rate);
    const int count = SampleCount(env.Length(held), rate);
    Oscillator saws[3], vibrato;
    static constexpr double kDetune[] = {0.0, 0.07, -0.07};
    Svf filter;
    const double hz = MidiToHz(midi);
    for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
        const double t = i / rate;
        const double wobble =
            t > 0.25 ? 0.12 * std::min((t - 0.25) / 0.3, 1.0) * vibrato.Sine(5.5, rate) : 0.0;
        double sum = 0.0;
        for (int v = 0; v < 3; ++v)
            sum += saws[v].Saw(hz * std::pow(2.0, (kDetune[v] + wobble) / 12.0), rate);
        const double cutoff = hz * (2.0 + 8.0 * PercussiveLevel(t, 0.03, 0.25)) + 600.0;
        out[first + i] += static_cast<float>(filter.Low(static_cast<float>(sum / 3.0), cutoff, 0.25, rate) *
                                             gain * env.Level(t, held));
    }
}

// Extra life: a bright rising fanfare that settles on a held major chord.
Samples Fanfare(double rate, Noise&) {
    Samples out(SampleCount(3.0, rate));
    struct Note {
        double start, held;
        int midi;
    };
    static constexpr Note kMelody[] = {{0.0, 0.1, 67},   {0.13, 0.1, 72}, {0.26, 0.1, 76},
                                       {0.39, 0.35, 79}, {0.8, 0.1, 76},  {0.93, 1.85, 84}};
    for (const Note& note : kMelody)
        AddBrass(out, rate, note.start, note.held, note.midi, 0.6);
    for (int midi : {60, 64, 67, 72})
        AddBrass(out, rate, 0.93, 1.85, midi, 0.22);
    return out;
}

// A wall drops: a swelling band of noise sweeping up and down, landing on a thud.
Samples Whoosh(double rate, Noise& noise) {
    const double length = 0.5;
    const double land = 0.3;
    Samples out(SampleCount(length, rate));
    Svf band, clickFilter;
    Oscillator thud;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double sweep = std::sin(std::numbers::pi * std::min(t / (land + 0.05), 1.0));
        const double centre = 300.0 + 2600.0 * sweep * sweep;
        const float swept = band.Process(noise.White(), centre, 0.55, rate).band;
        const double swell = std::pow(std::sin(std::numbers::pi * std::min(t / (land + 0.08), 1.0)), 1.5);
        double value = 1.2 * swept * swell;
        const double hit = t - land;
        if (hit >= 0.0) {
            value += 0.9 * thud.Sine(40.0 + 80.0 * std::exp(-hit / 0.03), rate) *
                     PercussiveLevel(hit, 0.002, 0.07);
            value +=
                0.5 * clickFilter.Low(noise.White(), 1200.0, 0.1, rate) * PercussiveLevel(hit, 0.001, 0.02);
        }
        out[i] = static_cast<float>(value);
    }
    return out;
}

} // namespace

const std::vector<EffectRecipe>& EffectRecipes() {
    static const std::vector<EffectRecipe> recipes = {
        {"dead13", Caught},    {"s1", Steal}, {"s4_1", PickupSmall}, {"s4_2", PickupMedium},
        {"s4_3", PickupLarge}, {"s5", Chime}, {"sfx3_1", Fanfare},   {"whoosh", Whoosh},
    };
    return recipes;
}

double EffectLoudness(const Samples& samples, double rate) {
    return synth::LoudestWindowRms(synth::HearingWeighted(samples, rate), SampleCount(0.05, rate));
}

void FinishEffect(Samples& samples, double rate) {
    const double loudness = EffectLoudness(samples, rate);
    const float peak = synth::Peak(samples);
    if (loudness <= 0.0 || peak <= 0.0f)
        return;
    const double gain = std::min(kTargetLoudness / loudness, static_cast<double>(kPeakCeiling / peak));
    synth::Scale(samples, static_cast<float>(gain));
    synth::FadeEdges(samples, SampleCount(0.005, rate), SampleCount(0.01, rate));
}

Samples RenderEffect(const EffectRecipe& recipe) {
    // Each effect seeds its own noise from its name, so adding or reordering effects changes no other.
    uint64_t seed = 1469598103934665603ull;
    for (char c : recipe.name)
        seed = (seed ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    Noise noise(seed);
    Samples samples = recipe.render(kEffectRate, noise);
    FinishEffect(samples, kEffectRate);
    return samples;
}

} // namespace vimbo::soundgen
