// Checks the eight sound effects the program carries: found by name whatever the case, valid 16-bit
// PCM WAVE, audible, unclipped, free of edge clicks, matched in loudness and shaped for their events;
// and the synthesiser's building blocks they are made from.
#include "engine/platform/Resources.hpp"
#include "tools/soundgen/Dsp.hpp"
#include "tools/soundgen/Effects.hpp"
#include "tools/soundgen/WaveFile.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace vimbo {
namespace {

using Kind = ad::platform::ResourceKind;

const std::vector<std::string> kEffectNames = {"dead13", "s1", "s4_1",   "s4_2",
                                               "s4_3",   "s5", "sfx3_1", "whoosh"};

struct Wave {
    int rate = 0;
    std::vector<float> samples;
    double Seconds() const { return static_cast<double>(samples.size()) / rate; }
};

uint32_t ReadLe(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// A strict reader of what the game's player accepts: RIFF/WAVE with PCM, 16-bit, mono.
std::optional<Wave> ParsePcm16Mono(std::span<const uint8_t> bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    if (ReadLe(bytes.data() + 4, 4) + 8 != bytes.size())
        return std::nullopt;
    Wave wave;
    bool format = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint8_t* chunk = bytes.data() + at;
        const uint32_t size = ReadLe(chunk + 4, 4);
        if (at + 8 + size > bytes.size())
            return std::nullopt;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || ReadLe(chunk + 8, 2) != 1 || ReadLe(chunk + 10, 2) != 1 ||
                ReadLe(chunk + 22, 2) != 16)
                return std::nullopt;
            wave.rate = static_cast<int>(ReadLe(chunk + 12, 4));
            format =
                ReadLe(chunk + 16, 4) == static_cast<uint32_t>(wave.rate) * 2 && ReadLe(chunk + 20, 2) == 2;
        } else if (std::memcmp(chunk, "data", 4) == 0 && format) {
            for (uint32_t i = 0; i + 1 < size; i += 2)
                wave.samples.push_back(static_cast<int16_t>(ReadLe(chunk + 8 + i, 2)) / 32768.0f);
            return wave;
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

Wave LoadEffect(const std::string& name) {
    const ad::platform::Resource* resource = ad::platform::FindResource(Kind::Wave, name);
    if (resource == nullptr)
        throw std::runtime_error("no WAVE resource " + name);
    std::optional<Wave> wave = ParsePcm16Mono(resource->bytes);
    if (!wave)
        throw std::runtime_error(name + " is not 16-bit PCM mono WAVE");
    return *wave;
}

double Db(double level) {
    return 20.0 * std::log10(level);
}

// Zero crossings per second over a stretch: a rough but robust gauge of how high a sound sits.
double CrossingRate(const Wave& wave, double from, double to) {
    const auto first = static_cast<size_t>(from * wave.rate);
    const auto last = std::min(wave.samples.size(), static_cast<size_t>(to * wave.rate));
    int crossings = 0;
    for (size_t i = first + 1; i < last; ++i)
        crossings += (wave.samples[i - 1] < 0.0f) != (wave.samples[i] < 0.0f);
    return crossings / (static_cast<double>(last - first) / wave.rate);
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

class EmbeddedEffect : public testing::TestWithParam<std::string> {};

TEST_P(EmbeddedEffect, IsFoundWhateverTheCaseOfItsName) {
    const ad::platform::Resource* exact = ad::platform::FindResource(Kind::Wave, GetParam());
    ASSERT_NE(exact, nullptr);
    EXPECT_EQ(ad::platform::FindResource(Kind::Wave, Upper(GetParam())), exact);
    EXPECT_EQ(ad::platform::FindResource(Kind::Bitmap, GetParam()), nullptr);
}

TEST_P(EmbeddedEffect, IsAudibleUnclippedAndStartsAndEndsAtRest) {
    const Wave wave = LoadEffect(GetParam());
    EXPECT_TRUE(wave.rate == 44100 || wave.rate == 22050) << wave.rate;
    EXPECT_GT(wave.Seconds(), 0.05);
    EXPECT_LT(wave.Seconds(), 6.0);
    EXPECT_LT(synth::Peak(wave.samples), 0.95f) << "clipped or too hot";
    EXPECT_GT(Db(synth::LoudestWindowRms(wave.samples, wave.rate / 20)), -20.0) << "too quiet";
    // A jump at either end of a sound is heard as a click: the first and last half millisecond stay quiet.
    const size_t edge = wave.rate / 2000;
    for (size_t i = 0; i < edge; ++i) {
        EXPECT_LT(std::abs(wave.samples[i]), 0.02f) << "sample " << i;
        EXPECT_LT(std::abs(wave.samples[wave.samples.size() - 1 - i]), 0.02f) << "sample from end " << i;
    }
}

TEST_P(EmbeddedEffect, IsTheSynthesisersOutputByteForByte) {
    const std::string name = GetParam();
    const auto& recipes = soundgen::EffectRecipes();
    const auto recipe = std::find_if(recipes.begin(), recipes.end(),
                                     [&name](const soundgen::EffectRecipe& r) { return r.name == name; });
    ASSERT_NE(recipe, recipes.end());
    const std::vector<uint8_t> made =
        synth::EncodeWave(soundgen::RenderEffect(*recipe), soundgen::kEffectRate);
    const auto embedded = ad::platform::FindResource(Kind::Wave, GetParam())->bytes;
    EXPECT_TRUE(std::equal(made.begin(), made.end(), embedded.begin(), embedded.end()));
}

INSTANTIATE_TEST_SUITE_P(AllEight, EmbeddedEffect, testing::ValuesIn(kEffectNames));

TEST(SoundEffects, AreMatchedInLoudness) {
    double quietest = 1.0, loudest = 0.0;
    double quietestHeard = 1.0, loudestHeard = 0.0;
    for (const std::string& name : kEffectNames) {
        const Wave wave = LoadEffect(name);
        const double level = synth::LoudestWindowRms(wave.samples, wave.rate / 20);
        quietest = std::min(quietest, level);
        loudest = std::max(loudest, level);
        // Weighted as the ear hears: a low thud and a high blip of one RMS do not sound equally loud.
        const double heard = soundgen::EffectLoudness(wave.samples, wave.rate);
        quietestHeard = std::min(quietestHeard, heard);
        loudestHeard = std::max(loudestHeard, heard);
    }
    EXPECT_LT(Db(loudest) - Db(quietest), 6.0);
    EXPECT_LT(Db(loudestHeard) - Db(quietestHeard), 1.5);
}

TEST(SoundEffects, FitTheirEvents) {
    // The pickups are short and rise in pitch with the collectible's worth.
    const Wave ten = LoadEffect("s4_1");
    const Wave twenty = LoadEffect("s4_2");
    const Wave thirty = LoadEffect("s4_3");
    for (const Wave* pickup : {&ten, &twenty, &thirty})
        EXPECT_LT(pickup->Seconds(), 0.3);
    EXPECT_LT(CrossingRate(ten, 0.0, ten.Seconds()), CrossingRate(twenty, 0.0, twenty.Seconds()));
    EXPECT_LT(CrossingRate(twenty, 0.0, twenty.Seconds()), CrossingRate(thirty, 0.0, thirty.Seconds()));

    // Being caught is a long fall; the theft is a short dive.
    const Wave caught = LoadEffect("dead13");
    EXPECT_GT(caught.Seconds(), 2.0);
    EXPECT_GT(CrossingRate(caught, 0.0, 0.5), 2.0 * CrossingRate(caught, 1.5, 2.0));
    const Wave steal = LoadEffect("s1");
    EXPECT_LT(steal.Seconds(), 0.6);
    EXPECT_GT(CrossingRate(steal, 0.0, 0.06), CrossingRate(steal, 0.15, 0.25));

    // The chime and the fanfare ring on for seconds; the wall's whoosh is over in a moment.
    EXPECT_GT(LoadEffect("s5").Seconds(), 1.5);
    EXPECT_GT(LoadEffect("sfx3_1").Seconds(), 1.5);
    EXPECT_LT(LoadEffect("whoosh").Seconds(), 1.0);
}

TEST(WaveEncoding, WritesPcmThatReadsBackWithClampedPeaks) {
    const synth::Samples samples = {0.0f, 0.5f, -0.5f, 1.7f, -3.0f};
    const std::vector<uint8_t> bytes = synth::EncodeWave(samples, 22050);
    EXPECT_EQ(bytes.size(), 44u + 2u * samples.size());
    const std::optional<Wave> wave = ParsePcm16Mono(bytes);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->rate, 22050);
    ASSERT_EQ(wave->samples.size(), samples.size());
    EXPECT_NEAR(wave->samples[1], 0.5f, 1e-4f);
    EXPECT_NEAR(wave->samples[2], -0.5f, 1e-4f);
    EXPECT_NEAR(wave->samples[3], 1.0f, 1e-3f);
    EXPECT_NEAR(wave->samples[4], -1.0f, 1e-3f);
}

TEST(SynthNoise, RepeatsForOneSeedAndDiffersBetweenSeeds) {
    synth::Noise a(42), b(42), c(43);
    int differences = 0;
    for (int i = 0; i < 1000; ++i) {
        const double x = a.Uniform();
        EXPECT_EQ(x, b.Uniform());
        differences += x != c.Uniform();
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
    }
    EXPECT_GT(differences, 990);
}

synth::Samples FilteredSine(double hz, double cutoff) {
    synth::Oscillator osc;
    synth::Svf filter;
    synth::Samples out;
    for (int i = 0; i < 44100 / 4; ++i)
        out.push_back(filter.Low(osc.Sine(hz, 44100), cutoff, 0.2, 44100));
    out.erase(out.begin(), out.begin() + 2000); // settling
    return out;
}

TEST(SynthFilter, LowPassKeepsTheBassAndRemovesTheTreble) {
    EXPECT_GT(synth::Rms(FilteredSine(100.0, 1000.0)), 0.6);
    EXPECT_LT(synth::Rms(FilteredSine(10000.0, 500.0)), 0.01);
}

TEST(SynthOscillator, BandLimitedWavesStayInRangeAndCentred) {
    synth::Oscillator saw, pulse;
    synth::Samples saws, pulses;
    for (int i = 0; i < 44100; ++i) {
        saws.push_back(saw.Saw(1234.5, 44100));
        pulses.push_back(pulse.Pulse(1234.5, 44100, 0.25));
    }
    EXPECT_LT(synth::Peak(saws), 1.2f);
    EXPECT_LT(synth::Peak(pulses), 1.7f);
    double sawSum = 0.0, pulseSum = 0.0;
    for (size_t i = 0; i < saws.size(); ++i) {
        sawSum += saws[i];
        pulseSum += pulses[i];
    }
    EXPECT_NEAR(sawSum / saws.size(), 0.0, 0.01);
    EXPECT_NEAR(pulseSum / pulses.size(), 0.0, 0.01);
}

TEST(SynthLevels, LoudestWindowFindsAShortBurstInSilence) {
    synth::Samples samples(44100, 0.0f);
    for (int i = 20000; i < 22205; ++i)
        samples[i] = (i % 2 == 0) ? 0.5f : -0.5f;
    EXPECT_NEAR(synth::LoudestWindowRms(samples, 2205), 0.5, 1e-6);
    EXPECT_LT(synth::Rms(samples), 0.2);
    synth::FadeEdges(samples, 100, 100);
    EXPECT_EQ(samples.front(), 0.0f);
    EXPECT_LT(std::abs(samples.back()), 1e-6f);
}

} // namespace
} // namespace vimbo
