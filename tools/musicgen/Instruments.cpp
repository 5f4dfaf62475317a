// The track's instruments: pulse, saw, FM and flute leads; pulse arpeggio; saw pad; triangle bass;
// sine kick, noise snare, hats and crash.
#include "tools/musicgen/Instruments.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vimbo::musicgen {

using synth::Adsr;
using synth::MidiToHz;
using synth::Noise;
using synth::Oscillator;
using synth::PercussiveLevel;
using synth::Svf;

namespace {

struct Voice {
    float gain;
    float pan;
};

// Per-part balance of the mix; pans spread the parts so the centre stays clear for lead and bass.
Voice Balance(Part part) {
    switch (part) {
    case Part::Lead:
        return {0.30f, 0.0f};
    case Part::Arp:
        return {0.085f, 0.0f};
    case Part::Pad:
        return {0.075f, 0.0f};
    case Part::Bass:
        return {0.28f, 0.0f};
    case Part::Kick:
        return {0.45f, 0.0f};
    case Part::Snare:
        return {0.55f, 0.05f};
    case Part::Hat:
        return {0.16f, 0.3f};
    case Part::OpenHat:
        return {0.11f, 0.3f};
    case Part::Crash:
        return {0.14f, -0.35f};
    }
    return {0.0f, 0.0f};
}

// Equal-power pan gains.
void PanGains(float pan, float& left, float& right) {
    const double angle = (static_cast<double>(pan) + 1.0) * std::numbers::pi / 4.0;
    left = static_cast<float>(std::cos(angle));
    right = static_cast<float>(std::sin(angle));
}

class LeadVoice {
public:
    LeadVoice(LeadTimbre timbre, double hz, Noise& noise) : timbre_(timbre), hz_(hz), noise_(noise) {}

    double Sample(double t, double rate) {
        // Vibrato creeps in on held notes only, so quick runs stay clean.
        double hz = hz_;
        if (t > 0.18)
            hz *= std::exp2(0.015 * std::min((t - 0.18) / 0.25, 1.0) * lfo_.Sine(5.6, rate));
        switch (timbre_) {
        case LeadTimbre::Square:
            return filter_.Low(osc_.Pulse(hz, rate, 0.5), 4200.0, 0.1, rate) * 0.8;
        case LeadTimbre::ThinPulse:
            return filter_.Low(osc_.Pulse(hz, rate, 0.22 + 0.06 * std::sin(5.0 * t)), 5000.0, 0.1, rate) *
                   0.9;
        case LeadTimbre::FilteredSaw: {
            const double saw = 0.5 * (osc_.Saw(hz * 1.004, rate) + second_.Saw(hz * 0.996, rate));
            return 1.4 * filter_.Low(static_cast<float>(saw),
                                     hz * (1.5 + 7.0 * PercussiveLevel(t, 0.01, 0.18)) + 300.0, 0.55, rate);
        }
        case LeadTimbre::FmBrass: {
            const double index = 0.8 + 2.5 * PercussiveLevel(t, 0.03, 0.2);
            const double modulator = second_.Sine(hz, rate) * index;
            const double value = std::sin(synth::kTwoPi * osc_.Phase() + modulator);
            osc_.Sine(hz, rate);
            return value * 0.9;
        }
        case LeadTimbre::Flute: {
            const double breath = filter_.Process(noise_.White(), hz * 2.0, 0.7, rate).band;
            return 0.8 * osc_.Sine(hz, rate) + 0.25 * second_.Triangle(hz * 2.0, rate) +
                   0.35 * breath * PercussiveLevel(t, 0.01, 0.08) + 0.06 * breath;
        }
        case LeadTimbre::SyncLead: {
            // Hard sync: a slave saw restarted by the master's cycle, its ratio sweeping down for a
            // vowel-like bite.
            osc_.Sine(hz, rate);
            const double ratio = 1.6 + 1.8 * PercussiveLevel(t, 0.005, 0.15);
            double slave = osc_.Phase() * ratio;
            slave -= std::floor(slave);
            return filter_.Low(static_cast<float>(2.0 * slave - 1.0), 5500.0, 0.2, rate) * 0.6 +
                   0.3 * second_.Pulse(hz * 0.5, rate, 0.5);
        }
        case LeadTimbre::Chip: {
            // A slide into the note, like the sound chips of old arcade boards.
            const double slide = std::pow(2.0, -std::max(0.0, 1.0 - t / 0.03) / 12.0);
            return filter_.Low(osc_.Pulse(hz * slide, rate, 0.125), 6000.0, 0.1, rate) * 1.1;
        }
        }
        return 0.0;
    }

private:
    LeadTimbre timbre_;
    double hz_;
    Noise& noise_;
    Oscillator osc_, second_, lfo_;
    Svf filter_;
};

Adsr LeadEnvelope(LeadTimbre timbre) {
    switch (timbre) {
    case LeadTimbre::FmBrass:
        return {0.02, 0.15, 0.7, 0.08};
    case LeadTimbre::Flute:
        return {0.03, 0.1, 0.85, 0.1};
    case LeadTimbre::FilteredSaw:
        return {0.006, 0.2, 0.7, 0.08};
    default:
        return {0.004, 0.12, 0.65, 0.05};
    }
}

} // namespace

double SoundingSeconds(Part part, double heldSeconds) {
    // Drums ring for their own decay whatever their written length; pitched parts release after it.
    switch (part) {
    case Part::Kick:
        return 1.0;
    case Part::Snare:
        return 0.5;
    case Part::Hat:
        return 0.15;
    case Part::OpenHat:
        return 0.7;
    case Part::Crash:
        return 5.0;
    case Part::Pad:
        return heldSeconds + 0.4;
    default:
        return heldSeconds + 0.15;
    }
}

void RenderNote(StereoMix& mix, const NoteEvent& note, double secondsPerBeat, LeadTimbre lead, Noise& noise) {
    const double rate = kMusicRate;
    const auto first = static_cast<size_t>(std::lround(note.startBeat * secondsPerBeat * rate));
    const double held = note.lengthBeats * secondsPerBeat;
    const size_t count = static_cast<size_t>(SoundingSeconds(note.part, held) * rate);
    const double endRamp = 0.003 * rate;
    if (first >= mix.Frames())
        return;
    const size_t end = std::min(mix.Frames(), first + count);
    Voice voice = Balance(note.part);
    if (note.part == Part::Arp)
        voice.pan = static_cast<int>(note.startBeat * 4.0) % 2 == 0 ? -0.4f : 0.4f;
    if (note.part == Part::Pad)
        voice.pan = static_cast<float>(note.midi % 3 - 1) * 0.5f;
    float panLeft, panRight;
    PanGains(voice.pan, panLeft, panRight);
    const double hz = MidiToHz(note.midi);
    const float gain = voice.gain * note.velocity;

    LeadVoice leadVoice(lead, hz, noise);
    const Adsr leadEnvelope = LeadEnvelope(lead);
    Oscillator osc, second;
    Svf filter;
    const Adsr arpEnvelope{0.003, 0.08, 0.35, 0.04};
    const Adsr padEnvelope{0.08, 0.3, 0.8, 0.35};
    const Adsr bassEnvelope{0.004, 0.15, 0.75, 0.04};
    for (size_t i = first; i < end; ++i) {
        const double t = static_cast<double>(i - first) / rate;
        double value = 0.0;
        switch (note.part) {
        case Part::Lead:
            value = leadVoice.Sample(t, rate) * leadEnvelope.Level(t, held);
            break;
        case Part::Arp:
            value = filter.Low(osc.Pulse(hz, rate, 0.25), 3200.0, 0.2, rate) * arpEnvelope.Level(t, held);
            break;
        case Part::Pad: {
            const double saws = 0.5 * (osc.Saw(hz * 1.003, rate) + second.Saw(hz * 0.997, rate));
            value = filter.Low(static_cast<float>(saws), 1400.0, 0.15, rate) * padEnvelope.Level(t, held);
            break;
        }
        case Part::Bass: {
            const double body = osc.Triangle(hz, rate) + 0.25 * second.Pulse(hz, rate, 0.5);
            value = filter.Low(static_cast<float>(body), 1100.0, 0.1, rate) * bassEnvelope.Level(t, held);
            break;
        }
        case Part::Kick: {
            const double pitch = 45.0 + 110.0 * std::exp(-t / 0.035);
            value = osc.Sine(pitch, rate) * PercussiveLevel(t, 0.001, 0.18) +
                    0.3 * filter.Low(noise.White(), 2500.0, 0.0, rate) * PercussiveLevel(t, 0.0005, 0.004);
            break;
        }
        case Part::Snare: {
            const double rattle = filter.Process(noise.White(), 1800.0, 0.2, rate).high;
            value = 0.8 * rattle * PercussiveLevel(t, 0.001, 0.09) +
                    0.5 * osc.Sine(185.0, rate) * PercussiveLevel(t, 0.001, 0.05);
            break;
        }
        case Part::Hat:
        case Part::OpenHat:
        case Part::Crash: {
            const double cutoff = note.part == Part::Crash ? 4500.0 : 7500.0;
            const double decay = note.part == Part::Hat ? 0.025 : note.part == Part::OpenHat ? 0.12 : 0.9;
            value = filter.Process(noise.White(), cutoff, 0.3, rate).high * PercussiveLevel(t, 0.0008, decay);
            break;
        }
        }
        // Whatever is left of the decay at the note's end fades out rather than stopping with a click.
        const double fromEnd = static_cast<double>(first + count - i);
        const double ramp = fromEnd < endRamp ? fromEnd / endRamp : 1.0;
        const auto sample = static_cast<float>(value * ramp) * gain;
        mix.left[i] += sample * panLeft;
        mix.right[i] += sample * panRight;
    }
}

} // namespace vimbo::musicgen
