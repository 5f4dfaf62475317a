// Annealing over a lattice maze's corridors towards a level's counts, with the checks every map passes.
#include "tools/mapgen/MapSearch.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace vimbo::mapgen {

namespace {

// The maps must come out byte for byte the same on every machine, so the generator carries its own
// small generator instead of relying on the library's distributions.
class SplitMix {
public:
    explicit SplitMix(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t state_;
};

constexpr int kPlayerColumn = 1, kPlayerRow = 1;
constexpr int kEnemyColumn = 30, kEnemyRow = 29;
constexpr int kLongestAllowedPath = 90;
constexpr int kMinimumOpenDiagonalCells = 30;
// Broken structure (dead ends, a split network, a missing start) costs little early in the search, so
// it can pass through such mazes on its way between good ones, and more and more as it cools.
constexpr int kEarlyStructurePenalty = 5;
constexpr int kLateStructurePenalty = 40;
// Aim a little below the limit: the sweep estimate can miss the true longest path by a few steps.
constexpr int kLongestWantedPath = 86;

bool IsOpen(const MazeGrid& grid, int column, int row) {
    return InMaze(column, row) && MazeAt(grid, column, row) != kWallCell;
}

// Distances in steps from one cell to every other (-1 where unreachable).
std::vector<int> Flood(const MazeGrid& grid, int start) {
    std::vector<int> distance(kMazeCells, -1);
    std::vector<int> open;
    open.reserve(kMazeCells);
    distance[start] = 0;
    open.push_back(start);
    for (std::size_t next = 0; next < open.size(); ++next) {
        const int cell = open[next];
        const int column = cell / kMazeRows, row = cell % kMazeRows;
        const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto& step : steps) {
            const int c = column + step[0], r = row + step[1];
            if (!IsOpen(grid, c, r) || distance[MazeIndex(c, r)] >= 0)
                continue;
            distance[MazeIndex(c, r)] = distance[cell] + 1;
            open.push_back(MazeIndex(c, r));
        }
    }
    return distance;
}

// Two sweeps: the cell farthest from the start, then the distance to the cell farthest from that one.
// A lower bound of the longest path that is nearly always exact in corridor mazes.
int LongestPathEstimate(const MazeGrid& grid) {
    const std::vector<int> first = Flood(grid, MazeIndex(kPlayerColumn, kPlayerRow));
    const int far = static_cast<int>(std::max_element(first.begin(), first.end()) - first.begin());
    const std::vector<int> second = Flood(grid, far);
    return *std::max_element(second.begin(), second.end());
}

struct Scored {
    int hard = 0; // count of structural faults
    int soft = 0;
    int Total(int structurePenalty) const { return structurePenalty * hard + soft; }
};

Scored Score(const LatticeMaze& lattice, const LevelDesign& design, const std::vector<bool>& edgeOn,
             int playerNode, int enemyNode) {
    const LatticeStats stats = lattice.Measure(edgeOn);
    const std::vector<int> links = lattice.NodeLinks(edgeOn);
    Scored scored;
    scored.hard += stats.deadEnds + std::abs(stats.components - 1);
    if (links[playerNode] == 0)
        ++scored.hard;
    if (links[enemyNode] == 0)
        ++scored.hard;
    scored.soft += 2 * std::abs(stats.floorCells - design.floorCells);
    scored.soft += 3 * std::abs(stats.junctions - design.junctions);
    scored.soft += 4 * std::abs(stats.loops - design.loops);
    scored.soft += 3 * lattice.TightLoops(edgeOn, 2);
    // The longest path costs two breadth-first floods, so it is only weighed once the rest is close.
    if (scored.hard == 0 && scored.soft <= design.tolerance + 8) {
        const int longest = LongestPathEstimate(lattice.Draw(edgeOn));
        scored.soft += 2 * std::max(0, longest - kLongestWantedPath);
    }
    return scored;
}

std::vector<bool> Anneal(const LatticeMaze& lattice, const LevelDesign& design, std::uint64_t seed) {
    SplitMix random(seed);
    const auto& orbits = lattice.Orbits();
    const int playerNode = lattice.NodeAt(kPlayerColumn, kPlayerRow);
    const int enemyNode = lattice.NodeAt(kEnemyColumn, kEnemyRow);
    if (playerNode < 0 || enemyNode < 0)
        throw std::invalid_argument("the lattice misses a start cell");

    std::vector<bool> edgeOn(lattice.Edges().size(), false);
    for (const auto& orbit : orbits) {
        const bool on = random.Below(2) == 0;
        for (int e : orbit)
            edgeOn[e] = on;
    }
    // The best maze is judged structure first, then by how near it comes to the design.
    auto rank = [](const Scored& scored) { return scored.hard * 100000 + scored.soft; };
    Scored scored = Score(lattice, design, edgeOn, playerNode, enemyNode);
    std::vector<bool> best = edgeOn;
    int bestRank = rank(scored);

    constexpr int kPhases = 20, kStepsPerPhase = 10000;
    constexpr double kHot = 6.0, kCold = 0.05;
    for (int phase = 0; phase < kPhases && bestRank > 0; ++phase) {
        const int penalty =
            kEarlyStructurePenalty + (kLateStructurePenalty - kEarlyStructurePenalty) * phase / (kPhases - 1);
        int cost = scored.Total(penalty);
        for (int step = 0; step < kStepsPerPhase && bestRank > 0; ++step) {
            const double progress =
                static_cast<double>(phase * kStepsPerPhase + step) / (kPhases * kStepsPerPhase);
            const double temperature = kHot * std::pow(kCold / kHot, progress);
            const auto& orbit = orbits[random.Below(static_cast<int>(orbits.size()))];
            for (int e : orbit)
                edgeOn[e] = !edgeOn[e];
            const Scored next = Score(lattice, design, edgeOn, playerNode, enemyNode);
            const int nextCost = next.Total(penalty);
            if (nextCost <= cost || random.Unit() < std::exp((cost - nextCost) / temperature)) {
                cost = nextCost;
                scored = next;
                if (rank(scored) < bestRank) {
                    bestRank = rank(scored);
                    best = edgeOn;
                }
            } else {
                for (int e : orbit)
                    edgeOn[e] = !edgeOn[e];
            }
        }
    }
    return best;
}

} // namespace

MapQuality MeasureMap(const MazeGrid& grid) {
    MapQuality quality;
    for (int start = 0; start < kMazeCells; ++start) {
        if (grid[start] == kWallCell)
            continue;
        const std::vector<int> distance = Flood(grid, start);
        quality.longestShortestPath =
            std::max(quality.longestShortestPath, *std::max_element(distance.begin(), distance.end()));
        const int column = start / kMazeRows, row = start % kMazeRows;
        if (!IsOpen(grid, column - 1, row - 1) && !IsOpen(grid, column + 1, row - 1) &&
            !IsOpen(grid, column - 1, row + 1) && !IsOpen(grid, column + 1, row + 1))
            ++quality.openDiagonalCells;
    }
    return quality;
}

SearchResult DesignMap(const LevelDesign& design, bool trace) {
    const LatticeMaze lattice(design.columns, design.rows, design.symmetry);
    const int playerNode = lattice.NodeAt(kPlayerColumn, kPlayerRow);
    const int enemyNode = lattice.NodeAt(kEnemyColumn, kEnemyRow);
    constexpr int kAttempts = 60;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::vector<bool> edgeOn = Anneal(lattice, design, design.seed * 1000 + attempt);
        const Scored scored = Score(lattice, design, edgeOn, playerNode, enemyNode);
        SearchResult result;
        result.grid = lattice.Draw(edgeOn);
        result.quality = MeasureMap(result.grid);
        if (trace)
            std::fprintf(stderr, "level %d attempt %d: hard %d soft %d longest %d\n", design.level, attempt,
                         scored.hard, scored.soft, result.quality.longestShortestPath);
        if (scored.hard > 0 || scored.soft > design.tolerance)
            continue;
        if (result.quality.longestShortestPath > kLongestAllowedPath)
            continue;
        if (result.quality.openDiagonalCells < kMinimumOpenDiagonalCells)
            continue;
        result.stats = lattice.Measure(edgeOn);
        result.attempts = attempt + 1;
        return result;
    }
    throw std::runtime_error("no acceptable map for level " + std::to_string(design.level));
}

std::string MapText(const MazeGrid& grid) {
    std::string text;
    text.reserve(kMazeCells * 3);
    for (int row = 0; row < kMazeRows; ++row) {
        for (int column = 0; column < kMazeColumns; ++column) {
            text += MazeAt(grid, column, row) == kWallCell ? '*' : kMapFloor;
            text += "\r\n";
        }
    }
    return text;
}

} // namespace vimbo::mapgen
