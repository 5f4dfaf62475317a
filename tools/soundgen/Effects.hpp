// The game's eight sound effects, each synthesised from its own recipe and seed, and the finishing
// pass that matches their loudness and softens their edges.
#pragma once

#include "tools/soundgen/Dsp.hpp"

#include <string_view>
#include <vector>

namespace vimbo::soundgen {

inline constexpr int kEffectRate = 44100;
// Loudness every effect is brought to (hearing-weighted RMS of its loudest 50 ms), and the peak none
// may pass.
inline constexpr double kTargetLoudness = 0.24;
inline constexpr float kPeakCeiling = 0.89f;
inline constexpr int kLoudnessWindow = kEffectRate / 20;

struct EffectRecipe {
    std::string_view name;
    synth::Samples (*render)(double rate, synth::Noise& noise);
};

// dead13, s1, s4_1, s4_2, s4_3, s5, sfx3_1, whoosh: the names the game plays them by.
const std::vector<EffectRecipe>& EffectRecipes();

// The effect's loudness as the finishing pass measures it.
double EffectLoudness(const synth::Samples& samples, double rate);

// Brings a raw effect to the common loudness under the peak ceiling and fades its ends.
void FinishEffect(synth::Samples& samples, double rate);

// Renders and finishes one effect; deterministic for a given recipe.
synth::Samples RenderEffect(const EffectRecipe& recipe);

} // namespace vimbo::soundgen
