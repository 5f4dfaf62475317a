// Reading the command line and starting the game, the playback or the check.
#include "app/CommandLine.hpp"

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/Program.hpp"
#include "app/ReplayPlayback.hpp"
#include "app/ReplayWindow.hpp"
#include "engine/platform/Files.hpp"

namespace vimbo {

namespace {

constexpr const char* kUsage = "usage: vimbo2 [--replay FILE [--check]]\n";

} // namespace

int RunCommandLine(int argc, char** argv) {
    if (argc <= 1)
        return RunProgram();
    std::string replay;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--replay" && i + 1 < argc && replay.empty()) {
            // The installed game moves into the player's data folder before the file is needed.
            std::error_code error;
            const std::filesystem::path absolute = std::filesystem::absolute(argv[++i], error);
            replay = error ? argv[i] : absolute.string();
        } else if (argument == "--check") {
            check = true;
        } else {
            std::fprintf(stderr, "vimbo2: unknown argument \"%s\"\n%s", argument.c_str(), kUsage);
            return 2;
        }
    }
    if (replay.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    if (check)
        return CheckReplay(replay, ad::platform::ProgramFolder());
    return RunReplayWindow(replay);
}

} // namespace vimbo
