// The diagnostic dump: a snapshot of the sprite population and the main state flags written to a
// text file on a debug key. It changes nothing in the game.
#pragma once

#include <string>

#include "engine/sprites/AdSprites.hpp"

namespace vimbo {

inline constexpr const char* kDumpFileName = "inwards.txt";

// The dump's 32 lines, each "label=value" ended by CR LF: the counts of sprites of exactly each
// class under the engine (none without an engine), then the state.
std::string FormatStateDump(const ad::TSpriteEngine* engine);

// Writes the dump to `path`, whole or not at all. Returns "" on success, else what went wrong.
std::string DumpState(const ad::TSpriteEngine* engine, const std::string& path);

} // namespace vimbo
