// Recordings on disk: reading one with a message fit for the player, and keeping the last game's
// and the best game's recordings in the player's data folder.
#pragma once

#include <cstdint>
#include <string>

#include "app/ReplayFormat.hpp"

namespace vimbo {

// Relative to the working folder, which is the player's data folder (the build folder when run from
// there).
inline constexpr const char* kReplayFolder = "replays/";
inline constexpr const char* kLastReplayName = "last.vrp";
inline constexpr const char* kBestReplayName = "best.vrp";

// Reads and checks the recording at `path`. On failure the error is a whole sentence naming the file
// and what is wrong with it.
ReplayReadResult LoadReplayFile(const std::string& path);

// Writes a finished game's recording as `folder` + "last.vrp" (the folder is made if missing), and
// also as "best.vrp" when `score` beats the score of the best one kept (or none is kept, or it cannot
// be read). Each file is written whole or not at all. Returns "" on success, else what went wrong.
std::string StoreGameReplay(const std::string& folder, const std::string& bytes, int32_t score);

} // namespace vimbo
