// Frame pacing of a recorded game: the soak's seeded play replayed for 3,000 frames on each renderer.
// The work mode times every frame by the wall clock with frames let out at once ("NoVSync"), and
// reports the median, the 99th percentile, the worst frame and the share of frames that took over
// twice the median of their neighbourhood (a hitch the eye sees). The paced mode plays the same
// seeded game in real time in a window, waiting for the display as a first start does, and reports
// how regularly frames follow one another and the share of them that came late.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/platform/DisplayModes.hpp"
#include "plugins/common/FramePacer.hpp"
#include "tests/support/SoakRun.hpp"

namespace {

// Neighbourhood of a frame for its local median: about a second of play either side at 60 Hz.
constexpr int kLocalHalfWidth = 30;
// Frames let out at once, as the work mode measures the frame's own cost.
constexpr const char* kNoVSyncSettings = "[ad2dsetup]\r\nNoVSync=1\r\n";

struct Arguments {
    int frames = 3000;
    uint32_t seed = 1;
    std::string renderer = "both";
    std::string mode = "work";
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
        else if (name == "--mode")
            arguments.mode = argv[i + 1];
    }
    return arguments;
}

double Median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

struct Spread {
    double median = 0, p99 = 0, worst = 0;
};

Spread SpreadOf(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, (ms.size() * 99 + 99) / 100 - 1)], ms.back()};
}

double ShareOverTwiceLocalMedian(const std::vector<double>& ms) {
    int over = 0;
    for (size_t i = 0; i < ms.size(); ++i) {
        const size_t from = i >= kLocalHalfWidth ? i - kLocalHalfWidth : 0;
        const size_t to = std::min(ms.size(), i + kLocalHalfWidth + 1);
        const std::vector<double> around(ms.begin() + static_cast<std::ptrdiff_t>(from),
                                         ms.begin() + static_cast<std::ptrdiff_t>(to));
        if (ms[i] > 2 * Median(around))
            ++over;
    }
    return 100.0 * over / static_cast<double>(ms.size());
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A replay's per-frame figures in milliseconds and, when paced, the process's CPU time over the
// wall time the frames took (100 = one core busy).
struct Run {
    std::vector<double> ms;
    double cpuPercent = 0;
};

// The work mode: the wall time of every frame, on the replay's own clock.
Run Replay(const Arguments& arguments, bool openGL) {
    Run run;
    run.ms.reserve(static_cast<size_t>(arguments.frames));
    vimbo::test::SoakOptions options{.seed = arguments.seed, .frames = arguments.frames, .sampleEvery = 0};
    options.game.openGL = openGL;
    options.game.settingsText = kNoVSyncSettings;
    options.runFrame = [&run](vimbo::test::GameDriver& game, uint32_t frameMs) {
        const auto start = std::chrono::steady_clock::now();
        game.Frame(frameMs);
        run.ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    };
    vimbo::test::RunSoak(options);
    return run;
}

// The paced mode: the game in real time in a window, first start settings; the time from each frame
// being let go (its present and any wait for the display) to the next one's.
Run ReplayPaced(const Arguments& arguments, bool openGL) {
    Run run;
    run.ms.reserve(static_cast<size_t>(arguments.frames));
    vimbo::test::SoakOptions options{.seed = arguments.seed, .frames = arguments.frames, .sampleEvery = 0};
    options.game.openGL = openGL;
    options.game.onScreen = true;
    options.game.realTime = true;
    double previous = -1;
    double cpuStart = 0, wallStart = 0;
    options.runFrame = [&](vimbo::test::GameDriver& game, uint32_t frameMs) {
        game.Frame(frameMs);
        const double now = WallSeconds();
        if (previous < 0) {
            cpuStart = ProcessCpuSeconds();
            wallStart = now;
        } else {
            run.ms.push_back(1000.0 * (now - previous));
        }
        previous = now;
    };
    vimbo::test::RunSoak(options);
    const double wall = previous - wallStart;
    run.cpuPercent = wall > 0 ? 100.0 * (ProcessCpuSeconds() - cpuStart) / wall : 0;
    return run;
}

bool Wanted(const Arguments& arguments, const char* renderer) {
    return arguments.renderer == "both" || arguments.renderer == renderer;
}

// Runs one replay of the game; when it cannot run, prints why the renderer's row is skipped.
template <typename Replayer> std::optional<Run> RunOrSkip(const char* name, Replayer replay) {
    Run run;
    try {
        run = replay();
    } catch (const std::runtime_error& e) {
        std::printf("%-9s  skipped: %s\n", name, e.what());
        return std::nullopt;
    }
    if (run.ms.empty()) {
        std::printf("%-9s  skipped: the game did not start\n", name);
        return std::nullopt;
    }
    return run;
}

void ReportWork(const char* name, const Arguments& arguments, bool openGL) {
    const std::optional<Run> played = RunOrSkip(name, [&] { return Replay(arguments, openGL); });
    if (!played)
        return;
    const Run& run = *played;
    const Spread s = SpreadOf(run.ms);
    std::printf("%-9s  %6zu  %9.2f  %9.2f  %9.2f  %19.2f %%  %9.2f  %s\n", name, run.ms.size(), s.median,
                s.p99, s.worst, ShareOverTwiceLocalMedian(run.ms), s.p99 / s.median,
                s.p99 <= 2 * s.median ? "yes" : "no");
}

void ReportPaced(const char* name, const Arguments& arguments, bool openGL, double period) {
    const std::optional<Run> played = RunOrSkip(name, [&] { return ReplayPaced(arguments, openGL); });
    if (!played)
        return;
    const Run& run = *played;
    // A frame later than one refresh period after the one before left the display showing the old
    // one for a refresh; half a period of slack takes in the clock's whole milliseconds and a
    // sleep's overshoot, which the display does not see.
    const auto late =
        std::count_if(run.ms.begin(), run.ms.end(), [&](double ms) { return ms > 1.5 * period; });
    const Spread s = SpreadOf(run.ms);
    std::printf("%-9s  %6zu  %9.2f  %9.2f  %9.2f  %9.2f  %12.2f %%  %8.0f %%\n", name, run.ms.size(), period,
                s.median, s.p99, s.worst,
                100.0 * static_cast<double>(late) / static_cast<double>(run.ms.size()), run.cpuPercent);
}

} // namespace

int main(int argc, char** argv) {
    const Arguments arguments = Parse(argc, argv);
    if (arguments.mode == "paced") {
        const int reported = ad::platform::DesktopScreenMode().frequency;
        const int hz = reported > 0 ? reported : ad::plugin::kFallbackRefreshRate;
        std::printf(
            "frame pacing: the seeded game (seed %u) played in real time in a window, waiting for the "
            "display (%d Hz%s); ms from one frame let go to the next; late: over a refresh period "
            "after the frame before (1.5 periods, a refresh shown twice)\n",
            arguments.seed, hz, reported > 0 ? "" : ", the display reports none");
        std::printf(
            "renderer   frames     period     median        p99      worst    late frames       cpu\n");
        if (Wanted(arguments, "software"))
            ReportPaced("software", arguments, false, 1000.0 / hz);
        if (Wanted(arguments, "opengl"))
            ReportPaced("opengl", arguments, true, 1000.0 / hz);
        return 0;
    }
    std::printf("frame pacing: the seeded game (seed %u) replayed, wall time of each frame in ms (NoVSync)\n",
                arguments.seed);
    std::printf(
        "renderer   frames     median        p99      worst  over 2x local median  p99/median  p99<=2x\n");
    if (Wanted(arguments, "software"))
        ReportWork("software", arguments, false);
    if (Wanted(arguments, "opengl"))
        ReportWork("opengl", arguments, true);
    return 0;
}
