// Reading recordings from disk and keeping the last and the best one.
#include "app/ReplayFiles.hpp"

#include <filesystem>
#include <system_error>

#include "engine/platform/AtomicFile.hpp"
#include "engine/platform/RegularFiles.hpp"

namespace vimbo {

namespace {

// Far beyond any recording (a ten-minute game takes well under 1 MB): a file this large is not one,
// and reading it whole would only cost memory.
constexpr uint64_t kMostReplayBytes = 256u << 20;

} // namespace

ReplayReadResult LoadReplayFile(const std::string& path) {
    ReplayReadResult result;
    std::string bytes;
    const ad::platform::FileReadResult read = ad::platform::ReadRegularFile(path, bytes, kMostReplayBytes);
    if (read.outcome != ad::platform::FileReadOutcome::Read) {
        result.error =
            "The replay \"" + path + "\" cannot be read: " + ad::platform::ReadProblemText(read) + ".";
        return result;
    }
    result = ReadReplay(bytes);
    if (!result.replay)
        result.error = "The replay \"" + path + "\" " + result.error + ".";
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
