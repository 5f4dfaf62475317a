// Building blocks of the sound and music generators: seeded noise, band-limited oscillators,
// envelopes, filters and level tools.
#include "tools/soundgen/Dsp.hpp"

#include <algorithm>

namespace vimbo::synth {

uint64_t Noise::NextBits() {
    // splitmix64: tiny, fast and identical everywhere.
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double PolyBlep(double t, double dt) {
    if (dt <= 0.0)
        return 0.0;
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Oscillator::Advance(double hz, double rate) {
    const double now = phase_;
    phase_ += hz / rate;
    phase_ -= std::floor(phase_);
    return now;
}

float Oscillator::Sine(double hz, double rate) {
    return static_cast<float>(std::sin(kTwoPi * Advance(hz, rate)));
}

float Oscillator::Triangle(double hz, double rate) {
    // Triangle harmonics fall with 1/n^2, so the plain waveform aliases too little to hear.
    const double t = Advance(hz, rate);
    return static_cast<float>(t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t);
}

float Oscillator::Saw(double hz, double rate) {
    const double dt = std::min(hz / rate, 0.5);
    const double t = Advance(hz, rate);
    return static_cast<float>(2.0 * t - 1.0 - PolyBlep(t, dt));
}

float Oscillator::Pulse(double hz, double rate, double duty) {
    const double dt = std::min(hz / rate, 0.5);
    const double t = Advance(hz, rate);
    double value = t < duty ? 1.0 : -1.0;
    value += PolyBlep(t, dt);
    double fall = t - duty;
    fall -= std::floor(fall);
    value -= PolyBlep(fall, dt);
    // Keeps narrow pulses centred so they do not push the mix off zero.
    return static_cast<float>(value - (2.0 * duty - 1.0));
}

double Adsr::Level(double t, double held) const {
    if (t < 0.0)
        return 0.0;
    auto heldLevel = [this](double time) {
        if (time < attack)
            return time / attack;
        if (time < attack + decay)
            return 1.0 - (1.0 - sustain) * (time - attack) / decay;
        return sustain;
    };
    if (t < held)
        return heldLevel(t);
    if (release <= 0.0 || t >= held + release)
        return 0.0;
    const double x = (t - held) / release;
    return heldLevel(held) * (1.0 - x) * (1.0 - x);
}

double PercussiveLevel(double t, double attack, double decayTime) {
    if (t < 0.0)
        return 0.0;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decayTime);
}

Svf::Out Svf::Process(float in, double cutoffHz, double resonance, double rate) {
    if (cutoffHz != cutoff_ || resonance != resonance_ || rate != rate_) {
        cutoff_ = cutoffHz;
        resonance_ = resonance;
        rate_ = rate;
        const double g = std::tan(std::numbers::pi * std::clamp(cutoffHz, 10.0, rate * 0.45) / rate);
        k_ = 2.0 - 2.0 * std::clamp(resonance, 0.0, 0.98);
        a1_ = 1.0 / (1.0 + g * (g + k_));
        a2_ = g * a1_;
        a3_ = g * a2_;
    }
    const double v3 = in - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(in - k_ * v1 - v2)};
}

float OnePole::Low(float in, double cutoffHz, double rate) {
    const double a = 1.0 - std::exp(-kTwoPi * cutoffHz / rate);
    state_ += a * (in - state_);
    return static_cast<float>(state_);
}

float Peak(const Samples& samples) {
    float peak = 0.0f;
    for (float s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

double Rms(const Samples& samples) {
    if (samples.empty())
        return 0.0;
    double sum = 0.0;
    for (float s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

double LoudestWindowRms(const Samples& samples, int windowSamples) {
    if (samples.empty() || windowSamples <= 0)
        return 0.0;
    const size_t window = std::min(samples.size(), static_cast<size_t>(windowSamples));
    double sum = 0.0;
    for (size_t i = 0; i < window; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    double best = sum;
    for (size_t i = window; i < samples.size(); ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
        sum -= static_cast<double>(samples[i - window]) * samples[i - window];
        best = std::max(best, sum);
    }
    return std::sqrt(std::max(best, 0.0) / static_cast<double>(window));
}

Samples HearingWeighted(const Samples& samples, double rate) {
    constexpr float kPresenceBoost = 0.585f; // +4 dB
    OnePole presence, rumble;
    Samples out;
    out.reserve(samples.size());
    for (float s : samples) {
        const float shelved = s + kPresenceBoost * presence.High(s, 1700.0, rate);
        out.push_back(rumble.High(shelved, 60.0, rate));
    }
    return out;
}

void Scale(Samples& samples, float gain) {
    for (float& s : samples)
        s *= gain;
}

void FadeEdges(Samples& samples, int fadeInSamples, int fadeOutSamples) {
    const int count = static_cast<int>(samples.size());
    fadeInSamples = std::min(fadeInSamples, count);
    fadeOutSamples = std::min(fadeOutSamples, count);
    for (int i = 0; i < fadeInSamples; ++i)
        samples[i] *= static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * i / fadeInSamples));
    for (int i = 0; i < fadeOutSamples; ++i)
        samples[count - 1 - i] *=
            static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * i / fadeOutSamples));
}

void RemoveDc(Samples& samples) {
    if (samples.empty())
        return;
    double sum = 0.0;
    for (float s : samples)
        sum += s;
    const auto mean = static_cast<float>(sum / static_cast<double>(samples.size()));
    for (float& s : samples)
        s -= mean;
}

} // namespace vimbo::synth
