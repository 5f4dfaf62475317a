// The search that picks a lattice maze's corridors to meet a level's design: a seeded annealing over
// symmetric groups of corridors, restarted with the next seed until the result passes every check.
#pragma once

#include "tools/mapgen/LatticeMaze.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace vimbo::mapgen {

struct LevelDesign {
    int level = 1;
    std::vector<int> columns;
    std::vector<int> rows;
    Symmetry symmetry = Symmetry::None;
    int floorCells = 0;
    int junctions = 0;
    int loops = 0;
    int tolerance = 0; // allowed weighted miss of the three targets; 0 asks for all exactly
    std::uint64_t seed = 1;
};

// What a finished map measures, beyond what the lattice counts show.
struct MapQuality {
    int longestShortestPath = 0; // largest distance in steps between two floor cells
    int openDiagonalCells = 0;   // floor cells whose four diagonal neighbours are walls
};

MapQuality MeasureMap(const MazeGrid& grid);

struct SearchResult {
    MazeGrid grid{};
    LatticeStats stats;
    MapQuality quality;
    int attempts = 0;
};

// Deterministic for a given design; throws std::runtime_error when no attempt passes. With trace, each
// attempt's outcome goes to stderr (for tuning designs).
SearchResult DesignMap(const LevelDesign& design, bool trace = false);

// The map text the game loads: one character and CR LF per cell, row by row.
std::string MapText(const MazeGrid& grid);

} // namespace vimbo::mapgen
