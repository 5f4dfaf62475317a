// Writes the game's eight sound effects as WAVE files into a folder (soundgen <folder>).
// Deterministic: the same source writes the same bytes.
#include "tools/soundgen/Effects.hpp"
#include "tools/soundgen/WaveFile.hpp"

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    using namespace vimbo;
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen <folder>\n");
        return 2;
    }
    try {
        for (const soundgen::EffectRecipe& recipe : soundgen::EffectRecipes()) {
            const synth::Samples samples = soundgen::RenderEffect(recipe);
            synth::WriteWave(std::string(argv[1]) + "/" + std::string(recipe.name) + ".wav", samples,
                             soundgen::kEffectRate);
            std::printf("%-7s %5.2f s  peak %6.1f dB  loudness %6.1f dB  loudest 50 ms %6.1f dB\n",
                        std::string(recipe.name).c_str(),
                        static_cast<double>(samples.size()) / soundgen::kEffectRate,
                        20.0 * std::log10(synth::Peak(samples)),
                        20.0 * std::log10(soundgen::EffectLoudness(samples, soundgen::kEffectRate)),
                        20.0 * std::log10(synth::LoudestWindowRms(samples, soundgen::kLoudnessWindow)));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "soundgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
