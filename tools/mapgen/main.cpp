// Generates the 20 level maps into a folder (mapgen <folder> [--show] [--trace] [--level N]).
// Deterministic: the same source writes the same bytes.
#include "game/MazeGrid.hpp"
#include "tools/mapgen/LevelDesigns.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    using namespace vimbo;
    if (argc < 2) {
        std::fprintf(stderr, "usage: mapgen <folder> [--show] [--trace] [--level N]\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    bool show = false;
    bool trace = false;
    int onlyLevel = 0;
    for (int arg = 2; arg < argc; ++arg) {
        if (std::string(argv[arg]) == "--show")
            show = true;
        if (std::string(argv[arg]) == "--trace")
            trace = true;
        if (std::string(argv[arg]) == "--level" && arg + 1 < argc)
            onlyLevel = std::atoi(argv[++arg]);
    }
    try {
        for (const mapgen::LevelDesign& design : mapgen::LevelDesigns()) {
            if (onlyLevel != 0 && design.level != onlyLevel)
                continue;
            const mapgen::SearchResult result = mapgen::DesignMap(design, trace);
            const std::string text = mapgen::MapText(result.grid);
            std::ofstream file(folder + "map" + std::to_string(design.level) + ".txt", std::ios::binary);
            file << text;
            if (!file) {
                std::fprintf(stderr, "cannot write the map of level %d\n", design.level);
                return 1;
            }
            MazeGrid loaded = WallGrid();
            LoadMazeFromText(loaded, text);
            // The lattice's own junction count must agree with the loader's pass over the written text.
            if (std::count(loaded.begin(), loaded.end(), kJunctionCell) != result.stats.junctions) {
                std::fprintf(stderr, "level %d: junction counts disagree\n", design.level);
                return 1;
            }
            std::printf(
                "level %d: floor %d junctions %d loops %d branches %d longest path %d open diagonals %d"
                " (attempt %d)\n",
                design.level, result.stats.floorCells, result.stats.junctions, result.stats.loops,
                result.stats.branches, result.quality.longestShortestPath, result.quality.openDiagonalCells,
                result.attempts);
            if (show)
                std::printf("%s\n", MazeToRows(loaded).c_str());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mapgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
