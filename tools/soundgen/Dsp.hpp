// Building blocks of the sound and music generators: seeded noise, band-limited oscillators,
// envelopes, filters and level tools, all on float samples in [-1, 1].
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace vimbo::synth {

using Samples = std::vector<float>;

inline constexpr double kTwoPi = 2.0 * std::numbers::pi;

// The one random source of a generator run: the same seed gives the same sequence on every machine,
// which std::uniform_real_distribution does not promise.
class Noise {
public:
    explicit Noise(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t NextBits();
    // Uniform in [0, 1).
    double Uniform() { return static_cast<double>(NextBits() >> 11) * 0x1.0p-53; }
    // Uniform in [-1, 1).
    float White() { return static_cast<float>(Uniform() * 2.0 - 1.0); }
    // An integer in [0, count).
    int Below(int count) { return static_cast<int>(Uniform() * count); }

private:
    uint64_t state_;
};

// Correction term that removes most of the aliasing at a waveform's jump (t: phase in [0,1), dt: step).
double PolyBlep(double t, double dt);

// A phase accumulator with the usual waveforms; frequency may change every sample.
class Oscillator {
public:
    void Reset(double phase = 0.0) { phase_ = phase; }
    double Phase() const { return phase_; }
    float Sine(double hz, double rate);
    float Triangle(double hz, double rate);
    float Saw(double hz, double rate);
    // duty: fraction of the period spent high, 0.5 for a square.
    float Pulse(double hz, double rate, double duty);

private:
    double Advance(double hz, double rate);
    double phase_ = 0.0;
};

// Attack, decay, sustain, release in seconds; Level(t, held) gives the gain at time t after the
// note-on for a note held for `held` seconds. Attacks are at least a few samples long, so no click.
struct Adsr {
    double attack = 0.005;
    double decay = 0.1;
    double sustain = 0.7;
    double release = 0.05;
    double Level(double t, double held) const;
    double Length(double held) const { return held + release; }
};

// Exponential fall from 1 towards 0 with the given time constant, after a short linear attack.
double PercussiveLevel(double t, double attack, double decayTime);

// Two-pole state-variable filter (trapezoidal form, stable under fast cutoff sweeps).
class Svf {
public:
    struct Out {
        float low, band, high;
    };
    Out Process(float in, double cutoffHz, double resonance, double rate);
    float Low(float in, double cutoffHz, double resonance, double rate) {
        return Process(in, cutoffHz, resonance, rate).low;
    }
    void Reset() { ic1_ = ic2_ = 0.0; }

private:
    double ic1_ = 0.0;
    double ic2_ = 0.0;
    // The coefficients of the last cutoff and resonance: most filters hold them still, and the tangent
    // would otherwise dominate the cost of rendering.
    double cutoff_ = -1.0, resonance_ = -1.0, rate_ = 0.0;
    double k_ = 0.0, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
};

// One-pole low-pass: cheap smoothing for noise colour and DC blocking.
class OnePole {
public:
    float Low(float in, double cutoffHz, double rate);
    float High(float in, double cutoffHz, double rate) { return in - Low(in, cutoffHz, rate); }

private:
    double state_ = 0.0;
};

inline double MidiToHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

// Level tools.
float Peak(const Samples& samples);
double Rms(const Samples& samples);
// The RMS of the loudest window: closer to the heard loudness of short or decaying sounds than the
// RMS of the whole file, whose silence tail would pull it down.
double LoudestWindowRms(const Samples& samples, int windowSamples);
// The sound as the ear weighs it, roughly: lows below ~60 Hz count less, the presence range above
// ~1.7 kHz counts about 4 dB more. Measure loudness on this, play the original.
Samples HearingWeighted(const Samples& samples, double rate);
void Scale(Samples& samples, float gain);
// Raised-cosine fades so a sound neither starts nor stops with a jump.
void FadeEdges(Samples& samples, int fadeInSamples, int fadeOutSamples);
// Removes the average so the sound starts and ends at rest.
void RemoveDc(Samples& samples);

} // namespace vimbo::synth
