// The enemy's route choice: a distance flood over the maze grid from the cells beside the enemy, then
// a walk back from beside its target to the first step. Pure; the game's state calls it on junctions.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/MazeGrid.hpp"

namespace vimbo {

struct MazeCell {
    int column = 0;
    int row = 0;
};

// Everything the search looks at besides the maze. With vitMode 0 (the big collectible in play) the
// collectible's cell is the target; otherwise the player's cell is, and the collectible's cell is
// closed for the route.
struct PathSearchQuery {
    MazeCell enemy;
    MazeCell player;
    int vitMode = 1;
    MazeCell vit;
};

// One entry of the working grid ("wave"): a distance from 1 (beside the enemy) up to 101, or one of
// the values below. A cell that holds anything other than kWaveEmpty is never written again.
using WaveValue = std::int16_t;
inline constexpr WaveValue kWaveEmpty = -1;
inline constexpr WaveValue kWaveEnemy = -2;  // "X"
inline constexpr WaveValue kWaveVit = -3;    // "#"
inline constexpr WaveValue kWavePlayer = -4; // "P"
inline constexpr WaveValue kWaveClosed = -5; // "*": a neighbour of the enemy that is not plain floor

// Column-major like MazeGrid: cell (c, r) at MazeIndex(c, r).
using PathWave = std::array<WaveValue, kMazeCells>;

struct PathSearchResult {
    // False: no route was found and the caller keeps its previous pathDir.
    bool found = false;
    std::string pathDir;
    // The distances below were read beside the target; true also when no route was found, since the
    // game records them before it learns that.
    bool distancesRead = false;
    int pathLen = 0;
    int dUp = 0;
    int dRight = 0;
    int dDown = 0;
    int dLeft = 0;
};

// The working grid after the marks, the seeds beside the enemy and 100 passes of the flood. Cells
// outside the grid are neither written nor spread into.
PathWave FloodPathWave(const MazeGrid& maze, const PathSearchQuery& query);

// The first step from the enemy's cell towards the target. No result when the player's cell lies
// outside 0..100, when the enemy or the target lies outside the grid, or when no neighbour of the
// target carries the smallest distance read beside it (in practice: the target lies more than 101
// steps away, or is cut off).
PathSearchResult PathSearch(const MazeGrid& maze, const PathSearchQuery& query);

} // namespace vimbo
