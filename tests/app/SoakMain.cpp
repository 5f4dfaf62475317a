// The long soak: seeded random play of the whole game headless, run twice with the same seed; prints
// the memory figures as it goes and fails when the runs differ, memory grows after the warm-up or
// play breaks one of its rules. With --invariants it runs many seeds once each at one frame time,
// under both play styles, and reports what the play checker found.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/MazeGrid.hpp"
#include "game/Tail.hpp"
#include "tests/support/SoakRun.hpp"

namespace {

using vimbo::test::MemorySample;
using vimbo::test::SoakRecord;

// What a run may allocate after the warm-up for caches that fill late (a level seen for the first
// time, a longer burst of particles than before); a leak of one scene is far larger.
constexpr size_t kResidentSlackKiB = 2048;
constexpr int kWarmUpFrames = 1000;
constexpr int kMostSprites = vimbo::kMazeCells + vimbo::kTailSegments + 100;

struct Arguments {
    int frames = 10000;
    uint32_t seed = 1;
    // The last seed of an --invariants run, which runs seed to lastSeed.
    uint32_t lastSeed = 0;
    // 0: every frame 1 to 50 ms long, drawn at random.
    uint32_t frameMs = 0;
    bool invariants = false;
    std::string resolution;
    // Where to write the first run's checksums, one a line, to compare runs of two builds.
    std::string checksumFile;
};

Arguments Parse(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--invariants") {
            arguments.invariants = true;
            continue;
        }
        if (i + 1 >= argc)
            break;
        ++i;
        if (name == "--frames")
            arguments.frames = std::atoi(argv[i]);
        else if (name == "--resolution")
            arguments.resolution = argv[i];
        else if (name == "--seed")
            arguments.seed = static_cast<uint32_t>(std::strtoul(argv[i], nullptr, 10));
        else if (name == "--last-seed")
            arguments.lastSeed = static_cast<uint32_t>(std::strtoul(argv[i], nullptr, 10));
        else if (name == "--checksums")
            arguments.checksumFile = argv[i];
        else if (name == "--frame-ms")
            arguments.frameMs = static_cast<uint32_t>(std::strtoul(argv[i], nullptr, 10));
    }
    return arguments;
}

SoakRecord Run(const Arguments& arguments, int number) {
    std::printf("run %d:   frame  sprites  particles  particle buffers KiB  resident KiB\n", number);
    const auto start = std::chrono::steady_clock::now();
    vimbo::test::SoakOptions options{
        .seed = arguments.seed, .frames = arguments.frames, .frameMs = arguments.frameMs, .sampleEvery = 100};
    if (!arguments.resolution.empty())
        options.game.settingsText = "[ad2dsetup]\nresolution=" + arguments.resolution + "\n";
    SoakRecord record = vimbo::test::RunSoak(options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const MemorySample& s : record.samples)
        if (s.frame % 1000 == 0)
            std::printf("        %7d  %7d  %9zu  %20zu  %12zu\n", s.frame, s.sprites, s.particles,
                        s.particleBufferBytes / 1024, s.residentKiB);
    std::printf("run %d: %zu frames in %.1f s%s\n", number, record.checksums.size(), seconds,
                record.stillRunning ? "" : " (the game closed)");
    return record;
}

// The figures after the warm-up against the warm-up's end; true when nothing grew past its slack.
bool ReportMemory(const SoakRecord& record, int number) {
    const auto warm = std::find_if(record.samples.begin(), record.samples.end(),
                                   [](const MemorySample& s) { return s.frame >= kWarmUpFrames; });
    if (warm == record.samples.end() || std::next(warm) == record.samples.end()) {
        std::printf("run %d memory: too few frames to judge\n", number);
        return true;
    }
    MemorySample most = *warm;
    for (auto s = warm; s != record.samples.end(); ++s) {
        most.sprites = std::max(most.sprites, s->sprites);
        most.particles = std::max(most.particles, s->particles);
        most.particleBufferBytes = std::max(most.particleBufferBytes, s->particleBufferBytes);
        most.residentKiB = std::max(most.residentKiB, s->residentKiB);
    }
    const MemorySample& last = record.samples.back();
    const long growth = static_cast<long>(last.residentKiB) - static_cast<long>(warm->residentKiB);
    const long peakGrowth = static_cast<long>(most.residentKiB) - static_cast<long>(warm->residentKiB);
    std::printf(
        "run %d memory from frame %d to %d: sprites at most %d (design room %d); particles at most %zu; "
        "particle buffers %zu KiB at frame %d, at most %zu KiB; resident %zu KiB -> %zu KiB "
        "(%+ld KiB at the end, %+ld KiB at the peak)\n",
        number, warm->frame, last.frame, most.sprites, kMostSprites, most.particles,
        warm->particleBufferBytes / 1024, warm->frame, most.particleBufferBytes / 1024, warm->residentKiB,
        last.residentKiB, growth, peakGrowth);
    return most.sprites <= kMostSprites && peakGrowth <= static_cast<long>(kResidentSlackKiB);
}

void ReportTally(const vimbo::test::SoakTally& t) {
    std::printf("play: %d keys, %d pointer moves, %d clicks, %d exits cancelled\n", t.keys, t.mouseMoves,
                t.clicks, t.exitsCancelled);
    std::printf("frames: %d main menu, %d options, %d play, %d paused, %d game over\n", t.framesInMainMenu,
                t.framesInOptions, t.framesInPlay, t.framesPaused, t.framesGameOver);
    std::printf("games: %d started, %d lives lost, %d games lost, %d level changes (highest level %d), "
                "%d walls dropped\n",
                t.gamesBuilt, t.livesLost, t.gamesLost, t.levelChanges, t.highestLevel, t.wallsDropped);
}

// One run per seed and play style at the arguments' frame time: a line each, and the rules broken.
int RunInvariants(const Arguments& arguments) {
    const uint32_t lastSeed = std::max(arguments.seed, arguments.lastSeed);
    const std::string frames = arguments.frameMs > 0 ? std::to_string(arguments.frameMs) + " ms" : "1-50 ms";
    int broken = 0;
    long inPlay = 0;
    for (uint32_t seed = arguments.seed; seed <= lastSeed; ++seed) {
        for (const auto style : {vimbo::test::PlayStyle::Wander, vimbo::test::PlayStyle::Chase}) {
            vimbo::test::SoakOptions options{.seed = seed,
                                             .frames = arguments.frames,
                                             .frameMs = arguments.frameMs,
                                             .style = style,
                                             .sampleEvery = 0};
            options.game.settingsText = "[ad2dsetup]\nresolution=" +
                                        (arguments.resolution.empty() ? "640x480x32" : arguments.resolution) + "\n";
            const SoakRecord record = vimbo::test::RunSoak(options);
            const vimbo::test::SoakTally& t = record.tally;
            const std::string report = record.play.Report();
            std::printf("frames %s, seed %2u, %-6s: %zu frames, %5d in play, %2d games, %3d lives lost, "
                        "%2d levels, %3d walls: %s\n",
                        frames.c_str(), seed, style == vimbo::test::PlayStyle::Chase ? "chase" : "wander",
                        record.checksums.size(), record.play.FramesInPlay(), t.gamesBuilt, t.livesLost,
                        t.levelChanges, t.wallsDropped, report.empty() ? "no rule broken" : "RULES BROKEN");
            if (!report.empty())
                std::printf("%s", report.c_str());
            std::fflush(stdout);
            inPlay += record.play.FramesInPlay();
            broken += report.empty() && record.messages.empty() ? 0 : 1;
        }
    }
    std::printf("invariants at %s: %ld frames in play checked, %d of %u runs broke a rule\n", frames.c_str(), inPlay,
                broken, 2 * (lastSeed - arguments.seed + 1));
    return broken == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const Arguments arguments = Parse(argc, argv);
    if (arguments.invariants)
        return RunInvariants(arguments);
    std::printf("soak: seed %u, %d frames of 1 to 50 ms, run twice\n", arguments.seed, arguments.frames);
    const SoakRecord first = Run(arguments, 1);
    const SoakRecord second = Run(arguments, 2);
    ReportTally(first.tally);

    const size_t frames = std::min(first.checksums.size(), second.checksums.size());
    const auto parted =
        std::mismatch(first.checksums.begin(), first.checksums.begin() + frames, second.checksums.begin());
    const size_t equal = static_cast<size_t>(parted.first - first.checksums.begin());
    const bool same = equal == frames && first.checksums.size() == second.checksums.size() &&
                      first.finalDump == second.finalDump && !first.finalDump.empty();
    std::printf("checksums: %zu of %zu frames equal; last frame %016llx / %016llx; final dump %s\n", equal,
                first.checksums.size(), static_cast<unsigned long long>(first.checksums.back()),
                static_cast<unsigned long long>(second.checksums.back()),
                first.finalDump == second.finalDump ? "equal" : "different");
    if (!arguments.checksumFile.empty()) {
        if (std::FILE* out = std::fopen(arguments.checksumFile.c_str(), "w")) {
            for (const uint64_t checksum : first.checksums)
                std::fprintf(out, "%016llx\n", static_cast<unsigned long long>(checksum));
            std::fclose(out);
        }
    }
    if (!first.messages.empty())
        std::printf("message boxes: %zu, the first \"%s\"\n", first.messages.size(),
                    first.messages.front().c_str());

    const bool flat = ReportMemory(first, 1) & ReportMemory(second, 2);
    const std::string play = first.play.Report();
    if (!play.empty())
        std::printf("play broke its rules:\n%s", play.c_str());
    const bool pass = same && flat && first.stillRunning && first.messages.empty() &&
                      play.empty();
    std::printf("soak %s\n", pass ? "passed" : "FAILED");
    return pass ? 0 : 1;
}
