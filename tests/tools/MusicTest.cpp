// Checks the seven music tracks: the composer's scores (deterministic, in key, of the right length,
// with phrases that repeat and vary, each track its own tune), the mastering and MP3 encoding, and the
// files the build leaves in music/ beside the program, decoded as the game's player would.
#include "tests/support/TestPaths.hpp"
#include "tools/musicgen/Composer.hpp"
#include "tools/musicgen/Mp3Encoder.hpp"
#include "tools/musicgen/Renderer.hpp"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace vimbo {
namespace {

using namespace musicgen;

bool IsPitched(Part part) {
    return part == Part::Lead || part == Part::Arp || part == Part::Pad || part == Part::Bass;
}

std::vector<int> LeadPitches(const Score& score, size_t count) {
    std::vector<int> pitches;
    for (const NoteEvent& note : score.events)
        if (note.part == Part::Lead && pitches.size() < count)
            pitches.push_back(note.midi);
    return pitches;
}

bool SameEvents(const Score& a, const Score& b) {
    return a.events.size() == b.events.size() &&
           std::equal(a.events.begin(), a.events.end(), b.events.begin(),
                      [](const NoteEvent& x, const NoteEvent& y) {
                          return x.part == y.part && x.startBeat == y.startBeat &&
                                 x.lengthBeats == y.lengthBeats && x.midi == y.midi &&
                                 x.velocity == y.velocity;
                      });
}

TEST(Composer, WritesTheSameScoreForTheSameStyle) {
    for (const TrackStyle& style : TrackStyles())
        EXPECT_TRUE(SameEvents(Compose(style), Compose(style))) << style.name;
}

TEST(Composer, KeepsEveryPitchInTheTracksKeyAndEveryTrackWithinItsLength) {
    for (const TrackStyle& style : TrackStyles()) {
        const Score score = Compose(style);
        EXPECT_GE(score.LengthSeconds(), 60.0) << style.name;
        EXPECT_LE(score.LengthSeconds(), 120.0) << style.name;
        std::set<int> scale;
        for (int step : style.mode)
            scale.insert((style.tonicMidi + step) % 12);
        for (const NoteEvent& note : score.events) {
            EXPECT_LT(note.startBeat, score.lengthBeats);
            if (IsPitched(note.part)) {
                ASSERT_TRUE(scale.count(note.midi % 12)) << style.name << " pitch " << note.midi;
            }
        }
    }
}

TEST(Composer, GivesEveryTrackItsOwnTuneKeyModeTempoChordsAndLead) {
    const auto& styles = TrackStyles();
    ASSERT_EQ(styles.size(), 7u);
    for (size_t a = 0; a < styles.size(); ++a) {
        EXPECT_EQ(styles[a].name, "muz" + std::to_string(a));
        for (size_t b = a + 1; b < styles.size(); ++b) {
            const TrackStyle& one = styles[a];
            const TrackStyle& other = styles[b];
            EXPECT_NE(one.tonicMidi % 12, other.tonicMidi % 12) << one.name << " " << other.name;
            EXPECT_NE(one.mode, other.mode) << one.name << " " << other.name;
            EXPECT_NE(one.bpm, other.bpm) << one.name << " " << other.name;
            EXPECT_NE(one.verseChords, other.verseChords) << one.name << " " << other.name;
            EXPECT_FALSE(one.lead == other.lead) << one.name << " " << other.name;
            EXPECT_NE(LeadPitches(Compose(one), 16), LeadPitches(Compose(other), 16));
        }
    }
}

TEST(Composer, DrumsAndBassPlayUnderEveryVerseAndChorus) {
    const Score score = Compose(TrackStyles()[1]);
    const int bars = static_cast<int>(score.lengthBeats) / kBeatsPerBar;
    std::vector<int> kicks(bars), basses(bars), leads(bars);
    for (const NoteEvent& note : score.events) {
        const int bar = static_cast<int>(note.startBeat) / kBeatsPerBar;
        kicks[bar] += note.part == Part::Kick;
        basses[bar] += note.part == Part::Bass;
        leads[bar] += note.part == Part::Lead;
    }
    // After the four-bar intro the melody enters; wherever it plays, bass plays with it.
    for (int bar = 0; bar < 4; ++bar)
        EXPECT_EQ(leads[bar], 0) << bar;
    int groovingBars = 0;
    for (int bar = 4; bar < bars - 2; ++bar) {
        EXPECT_GT(basses[bar], 0) << bar;
        groovingBars += kicks[bar] > 0 && leads[bar] > 0;
    }
    EXPECT_GT(groovingBars, 30);
}

class Melody : public testing::Test {
protected:
    const TrackStyle& style_ = TrackStyles()[2];
    synth::Noise noise_{99};
    MelodyWriter writer_{style_, noise_};
    std::vector<int> chords_ = style_.verseChords;
};

TEST_F(Melody, PhraseFillsFourBarsWithoutOverlapAndBar3EchoesBar1) {
    for (int round = 0; round < 20; ++round) {
        const Phrase phrase = writer_.Write(chords_, 0.5, round % 2 == 0);
        ASSERT_FALSE(phrase.empty());
        for (size_t i = 1; i < phrase.size(); ++i)
            ASSERT_GE(phrase[i].beat, phrase[i - 1].beat + phrase[i - 1].length - 1e-9);
        EXPECT_LE(phrase.back().beat + phrase.back().length, 4.0 * kBeatsPerBar);
        std::vector<double> first, third;
        for (const MelodyNote& note : phrase) {
            if (note.beat < kBeatsPerBar)
                first.push_back(note.beat);
            if (note.beat >= 2 * kBeatsPerBar && note.beat < 3 * kBeatsPerBar)
                third.push_back(note.beat - 2 * kBeatsPerBar);
        }
        EXPECT_EQ(first, third);
        if (round % 2 == 0) {
            EXPECT_EQ(phrase.back().degree % 7, 0) << "a closing phrase comes home to the tonic";
        }
    }
}

TEST_F(Melody, VariationKeepsTheOpeningAndRewritesTheClose) {
    int changedCloses = 0;
    for (int round = 0; round < 10; ++round) {
        const Phrase phrase = writer_.Write(chords_, 0.5, false);
        const Phrase varied = writer_.Vary(phrase, chords_, 0.5, 2);
        std::vector<std::pair<double, int>> openA, openB, closeA, closeB;
        for (const MelodyNote& n : phrase)
            (n.beat < 2 * kBeatsPerBar ? openA : closeA).push_back({n.beat, n.degree});
        for (const MelodyNote& n : varied)
            (n.beat < 2 * kBeatsPerBar ? openB : closeB).push_back({n.beat, n.degree});
        EXPECT_EQ(openA, openB);
        changedCloses += closeA != closeB;
        EXPECT_EQ(varied.back().degree % 7, 0);
    }
    EXPECT_GE(changedCloses, 8);
}

TEST(Instruments, EveryNoteHasDiedAwayBeforeItsSoundIsCut) {
    const Part parts[] = {Part::Lead,  Part::Arp, Part::Pad,     Part::Bass, Part::Kick,
                          Part::Snare, Part::Hat, Part::OpenHat, Part::Crash};
    const LeadTimbre timbres[] = {LeadTimbre::Square,  LeadTimbre::ThinPulse, LeadTimbre::FilteredSaw,
                                  LeadTimbre::FmBrass, LeadTimbre::Flute,     LeadTimbre::SyncLead,
                                  LeadTimbre::Chip};
    const double secondsPerBeat = 0.5;
    for (Part part : parts) {
        for (LeadTimbre timbre : timbres) {
            if (part != Part::Lead && timbre != LeadTimbre::Square)
                continue;
            StereoMix mix(kMusicRate * 7);
            synth::Noise noise(3);
            RenderNote(mix, {part, 0.0, 1.0, 64, 1.0f}, secondsPerBeat, timbre, noise);
            const auto sounding = static_cast<size_t>(SoundingSeconds(part, secondsPerBeat) * kMusicRate);
            ASSERT_LT(sounding, mix.Frames());
            const float peak = std::max(synth::Peak(mix.left), synth::Peak(mix.right));
            ASSERT_GT(peak, 0.0f);
            // The 10 ms before the cut: whatever still sounds there would end in a click.
            float tail = 0.0f;
            for (size_t i = sounding - kMusicRate / 100; i < sounding; ++i)
                tail = std::max({tail, std::abs(mix.left[i]), std::abs(mix.right[i])});
            EXPECT_LT(tail, 0.03f * peak)
                << "part " << static_cast<int>(part) << " timbre " << static_cast<int>(timbre);
            EXPECT_EQ(mix.left[sounding + 10], 0.0f);
        }
    }
}

TEST(Mastering, KeepsAnOverloadedMixUnderThePeakAndFadesTheEnds) {
    StereoMix mix(kMusicRate * 2);
    synth::Noise noise(5);
    for (size_t i = 0; i < mix.Frames(); ++i) {
        mix.left[i] = 3.0f * noise.White();
        mix.right[i] = 0.2f * noise.White();
    }
    Master(mix, 0.05, 0.5);
    EXPECT_LE(synth::Peak(mix.left), kMasterPeak);
    EXPECT_LE(synth::Peak(mix.right), kMasterPeak);
    EXPECT_GT(synth::Rms(mix.left), 0.1);
    EXPECT_LT(std::abs(mix.left.front()) + std::abs(mix.left.back()), 1e-3f);
}

// Opens SDL's audio with the dummy driver, as a headless machine would run the game.
class Mp3Decoding : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_NE(Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3, 0) << Mix_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    }
    static void TearDownTestSuite() {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_Quit();
    }
    // The decoded length in seconds, or a negative value if the bytes do not decode as MP3.
    static double DecodedSeconds(Mix_Music* music) {
        if (music == nullptr)
            return -1.0;
        const double seconds = Mix_GetMusicType(music) == MUS_MP3 ? Mix_MusicDuration(music) : -2.0;
        Mix_FreeMusic(music);
        return seconds;
    }
};

TEST_F(Mp3Decoding, EncoderOutputDecodesToItsLengthAndRepeatsByteForByte) {
    StereoMix mix(kMusicRate * 3 / 2);
    synth::Oscillator osc;
    for (size_t i = 0; i < mix.Frames(); ++i)
        mix.left[i] = mix.right[i] = 0.5f * osc.Sine(440.0, kMusicRate);
    const std::vector<uint8_t> mp3 = EncodeMp3(mix, kMusicRate, kMp3Kbps);
    EXPECT_EQ(mp3, EncodeMp3(mix, kMusicRate, kMp3Kbps));
    ASSERT_GT(mp3.size(), 4u);
    EXPECT_EQ(mp3[0], 0xFF);
    EXPECT_EQ(mp3[1] & 0xE0, 0xE0);
    EXPECT_NEAR(
        DecodedSeconds(Mix_LoadMUS_RW(SDL_RWFromConstMem(mp3.data(), static_cast<int>(mp3.size())), 1)), 1.5,
        0.06);
}

TEST_F(Mp3Decoding, EveryTrackLiesInMusicBesideTheProgramAndLastsOneToTwoMinutes) {
    for (int track = 0; track <= 6; ++track) {
        const std::string path = test::ProgramFolder() + "music/muz" + std::to_string(track) + ".mp3";
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        const double seconds = DecodedSeconds(Mix_LoadMUS(path.c_str()));
        EXPECT_GE(seconds, 60.0) << path;
        EXPECT_LE(seconds, 120.0) << path;
        // The file holds exactly what the composer writes for its style.
        EXPECT_NEAR(seconds, Compose(TrackStyles()[track]).LengthSeconds(), 0.1) << path;
    }
}

struct DecodedTrack {
    long rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;
};

// Decodes a whole MP3 file to 16-bit PCM, as a player's output stage would receive it.
DecodedTrack DecodeMp3File(const std::string& path) {
    DecodedTrack track;
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr)
        return track;
    int encoding = 0;
    if (mpg123_open(handle, path.c_str()) == MPG123_OK &&
        mpg123_getformat(handle, &track.rate, &track.channels, &encoding) == MPG123_OK &&
        encoding == MPG123_ENC_SIGNED_16) {
        std::vector<unsigned char> buffer(1 << 16);
        size_t done = 0;
        int status = MPG123_OK;
        while (status == MPG123_OK || status == MPG123_NEW_FORMAT) {
            status = mpg123_read(handle, buffer.data(), buffer.size(), &done);
            const auto* pcm = reinterpret_cast<const int16_t*>(buffer.data());
            track.samples.insert(track.samples.end(), pcm, pcm + done / 2);
        }
    }
    mpg123_close(handle);
    mpg123_delete(handle);
    return track;
}

TEST(MusicFiles, DecodeUnclippedAtOneLevelAcrossTheTracks) {
    double quietest = 0.0, loudest = -100.0;
    for (int track = 0; track <= 6; ++track) {
        const std::string path = test::ProgramFolder() + "music/muz" + std::to_string(track) + ".mp3";
        const DecodedTrack decoded = DecodeMp3File(path);
        ASSERT_EQ(decoded.rate, 44100) << path;
        ASSERT_EQ(decoded.channels, 2) << path;
        ASSERT_FALSE(decoded.samples.empty()) << path;
        int peak = 0;
        double sum = 0.0;
        for (int16_t s : decoded.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
            sum += static_cast<double>(s) * s;
        }
        // A sample at full scale means the decoder had to clip.
        EXPECT_LT(peak, 32767) << path;
        const double rmsDb =
            10.0 * std::log10(sum / static_cast<double>(decoded.samples.size()) / (32768.0 * 32768.0));
        EXPECT_GT(rmsDb, -24.0) << path;
        quietest = std::min(quietest, rmsDb);
        loudest = std::max(loudest, rmsDb);
    }
    EXPECT_LT(loudest - quietest, 2.0);
}

} // namespace
} // namespace vimbo
