// Loading a level: the tail length for the difficulty, a fresh tail trail, and the level's map read
// from the program's resources into the maze grid with its junctions marked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vimbo {

// The lines of the map last loaded (one cell each, row by row); collectibles are placed on its
// floor lines.
extern std::vector<std::string> mapLines;

// The tail length of a difficulty ("easy", "normal", "hard"); any other keeps the current one.
int32_t TailLengthFor(const std::string& difficulty, int32_t current);

// Loads the map of `level` (level 0 is taken as level 1) into `maze` and resets the per-level state.
// Each step that fails shows its message and the load goes on with the next one: a level without a
// map shows "error l_l 3" and keeps the previous map's lines, a map with too few usable lines shows
// "error l_l 4" and leaves the cells it could not fill as they were. Last, after a track has ended,
// the music moves on to the next track.
void loading_level();

} // namespace vimbo
