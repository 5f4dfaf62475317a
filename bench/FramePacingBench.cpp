// Frame pacing of a recorded game: the soak's seeded play replayed for 3,000 frames on each renderer,
// timing every frame by the wall clock. Reports the median, the 99th percentile, the worst frame and
// the share of frames that took over twice the median of their neighbourhood (a hitch the eye sees).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/SoakRun.hpp"

namespace {

// Neighbourhood of a frame for its local median: about a second of play either side at 60 Hz.
constexpr int kLocalHalfWidth = 30;

struct Arguments {
    int frames = 3000;
    uint32_t seed = 1;
    std::string renderer = "both";
};

Arguments Parse(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--frames")
            arguments.frames = std::atoi(argv[i + 1]);
        else if (name == "--seed")
            arguments.seed = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        else if (name == "--renderer")
            arguments.renderer = argv[i + 1];
    }
    return arguments;
}

double Median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

struct Pacing {
    double median = 0, p99 = 0, worst = 0, overTwiceLocal = 0;
};

Pacing Measure(const std::vector<double>& ms) {
    Pacing pacing;
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    pacing.median = sorted[sorted.size() / 2];
    pacing.p99 = sorted[std::min(sorted.size() - 1, (sorted.size() * 99 + 99) / 100 - 1)];
    pacing.worst = sorted.back();
    int over = 0;
    for (size_t i = 0; i < ms.size(); ++i) {
        const size_t from = i >= kLocalHalfWidth ? i - kLocalHalfWidth : 0;
        const size_t to = std::min(ms.size(), i + kLocalHalfWidth + 1);
        const std::vector<double> around(ms.begin() + static_cast<std::ptrdiff_t>(from),
                                         ms.begin() + static_cast<std::ptrdiff_t>(to));
        if (ms[i] > 2 * Median(around))
            ++over;
    }
    pacing.overTwiceLocal = 100.0 * over / static_cast<double>(ms.size());
    return pacing;
}

// The wall time of every frame of the replay, in milliseconds.
std::vector<double> Replay(const Arguments& arguments, bool openGL) {
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(arguments.frames));
    vimbo::test::SoakOptions options{.seed = arguments.seed, .frames = arguments.frames, .sampleEvery = 0};
    options.game.openGL = openGL;
    options.runFrame = [&ms](vimbo::test::GameDriver& game, uint32_t frameMs) {
        const auto start = std::chrono::steady_clock::now();
        game.Frame(frameMs);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    };
    vimbo::test::RunSoak(options);
    return ms;
}

void Report(const char* name, const Arguments& arguments, bool openGL) {
    std::vector<double> ms;
    try {
        ms = Replay(arguments, openGL);
    } catch (const std::runtime_error& e) {
        std::printf("%-9s  skipped: %s\n", name, e.what());
        return;
    }
    if (ms.empty()) {
        std::printf("%-9s  skipped: the game did not start\n", name);
        return;
    }
    const Pacing p = Measure(ms);
    std::printf("%-9s  %6zu  %9.2f  %9.2f  %9.2f  %19.2f %%  %9.2f  %s\n", name, ms.size(), p.median, p.p99,
                p.worst, p.overTwiceLocal, p.p99 / p.median, p.p99 <= 2 * p.median ? "yes" : "no");
}

} // namespace

int main(int argc, char** argv) {
    const Arguments arguments = Parse(argc, argv);
    std::printf("frame pacing: the seeded game (seed %u) replayed, wall time of each frame in ms\n",
                arguments.seed);
    std::printf(
        "renderer   frames     median        p99      worst  over 2x local median  p99/median  p99<=2x\n");
    if (arguments.renderer == "both" || arguments.renderer == "software")
        Report("software", arguments, false);
    if (arguments.renderer == "both" || arguments.renderer == "opengl")
        Report("opengl", arguments, true);
    return 0;
}
