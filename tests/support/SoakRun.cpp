// Running the soak: frames under the random player, checksums, memory samples and the final dump.
#include "tests/support/SoakRun.hpp"

#include <fstream>
#include <iterator>
#include <unistd.h>

#include "app/StateDump.hpp"
#include "engine/platform/VirtualKeys.hpp"
#include "engine/render/AdPerformanceCounter.hpp"
#include "tests/support/GameChecksum.hpp"

namespace vimbo::test {

namespace {

MemorySample Sample(GameDriver& game, int frame) {
    MemorySample sample;
    sample.frame = frame;
    sample.sprites = game.Engine().Children().Count();
    const GameParticles& particles = *game.Form().Particles;
    for (ad::TAdParticleSystem* system : {particles.EatParticles(), particles.EnemyParticles(),
                                          particles.BonusParticles(), particles.GlowParticles()}) {
        // The list and the buffers belong to the worker while it calculates.
        system->CalcThread().WaitForCalculation();
        sample.particles += system->Particles().Count();
        const ad::TAdParticleGeometry& geometry = system->CalcThread().Geometry();
        sample.particleBufferBytes += geometry.Vertices.capacity() * sizeof(ad::AdVertex) +
                                      geometry.Indices.capacity() * sizeof(uint16_t);
    }
    sample.residentKiB = ResidentKiB();
    return sample;
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

} // namespace

size_t ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    size_t total = 0, resident = 0;
    if (!(statm >> total >> resident))
        return 0;
    return resident * static_cast<size_t>(::sysconf(_SC_PAGESIZE)) / 1024;
}

SoakRecord RunSoak(const SoakOptions& options) {
    SoakRecord record;
    GameDriverOptions gameOptions = options.game;
    gameOptions.seed = options.seed;
    GameDriver game(gameOptions);
    SoakScript script(options.seed, options.style);
    record.checksums.reserve(static_cast<size_t>(options.frames));
    for (int frame = 1; frame <= options.frames && game.Running(); ++frame) {
        const uint32_t drawn = script.Next(game);
        const uint32_t ms = options.frameMs > 0 ? options.frameMs : drawn;
        if (options.runFrame)
            options.runFrame(game, ms);
        else
            game.Frame(ms);
        script.Observe();
        record.play.Check(game.Running() ? game.Form().AdPerCounter->TimeGap / 1000.0 : 0.0);
        // The recordings of the stand-in sound device would grow with every sound; they are the
        // test's, not the game's.
        game.Audio().effects.clear();
        game.Audio().calls.clear();
        record.checksums.push_back(GameStateChecksum(game.Running() ? &game.Engine() : nullptr));
        if (options.sampleEvery > 0 && frame % options.sampleEvery == 0 && game.Running())
            record.samples.push_back(Sample(game, frame));
    }
    record.stillRunning = game.Running();
    if (const GameRecorder* recorder = game.Form().Recorder())
        record.replay = recorder->Bytes(record.stillRunning ? &game.Engine() : nullptr);
    if (record.stillRunning) {
        game.Key(ad::platform::vk::F2);
        game.Key(ad::platform::vk::F1);
        record.finalDump = ReadText(game.Folder() + kDumpFileName);
    }
    record.tally = script.Tally();
    record.messages = game.Messages();
    return record;
}

} // namespace vimbo::test
