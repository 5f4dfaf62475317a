// Reading recordings from disk and keeping the last and the best one.
#include "app/ReplayFiles.hpp"

#include <filesystem>
#include <system_error>

#include "engine/platform/AtomicFile.hpp"

namespace vimbo {

namespace {

// Far beyond any recording (a ten-minute game takes well under 1 MB): a file this large is not one,
// and reading it whole would only cost memory.
constexpr std::uintmax_t kMostReplayBytes = 256u << 20;

} // namespace

ReplayReadResult LoadReplayFile(const std::string& path) {
    ReplayReadResult result;
    const std::string named = "The replay \"" + path + "\" ";
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        result.error = named + "cannot be read: " + error.message() + ".";
        return result;
    }
    if (size > kMostReplayBytes) {
        result.error = named + "is too large to be a replay.";
        return result;
    }
    std::string bytes;
    if (!ad::platform::ReadWholeFile(path, bytes)) {
        result.error = named + "cannot be read.";
        return result;
    }
    result = ReadReplay(bytes);
    if (!result.replay)
        result.error = named + result.error + ".";
    return result;
}

std::string StoreGameReplay(const std::string& folder, const std::string& bytes, int32_t score) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string last = folder + kLastReplayName;
    const std::string best = folder + kBestReplayName;
    std::string failure;
    if (!ad::platform::WriteFileAtomically(last, bytes))
        failure = "The game's replay could not be saved to \"" + last + "\".";
    const ReplayReadResult kept = LoadReplayFile(best);
    if (kept.replay && kept.replay->Summary().score >= score)
        return failure;
    if (!ad::platform::WriteFileAtomically(best, bytes))
        failure += std::string(failure.empty() ? "" : " ") +
                   "The best game's replay could not be saved to \"" + best + "\".";
    return failure;
}

} // namespace vimbo
