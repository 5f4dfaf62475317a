// The enemy's path search: marks and seeds, a level-by-level flood, the distances beside the target
// and the walk back to the cell beside the enemy.
#include "game/PathSearch.hpp"

#include <algorithm>
#include <optional>

namespace vimbo {

namespace {

struct Offset {
    int columns;
    int rows;
};

constexpr Offset kLeft{-1, 0};
constexpr Offset kRight{1, 0};
constexpr Offset kUp{0, -1};
constexpr Offset kDown{0, 1};

// The seeds and the flood visit a cell's neighbours in this order; the target's neighbours and the
// walk back use the other. The orders decide which of two equal routes wins, so both stay as they are.
constexpr std::array<Offset, 4> kSpreadOrder{kLeft, kRight, kUp, kDown};
constexpr std::array<Offset, 4> kTargetOrder{kUp, kRight, kDown, kLeft};

constexpr int kFloodLevels = 100;
// What a neighbour of the target counts for when it holds no distance (empty, a mark, a wall).
constexpr int kNoDistance = 100;

MazeCell Beside(MazeCell cell, Offset offset) {
    return {cell.column + offset.columns, cell.row + offset.rows};
}

bool OnGrid(MazeCell cell) {
    return InMaze(cell.column, cell.row);
}

// Outside the grid reads as an empty wave cell in a wall: the storage is one run of cells, so an
// unguarded neighbour of a border cell would be a cell on the far side of the maze.
WaveValue WaveAt(const PathWave& wave, MazeCell cell) {
    return OnGrid(cell) ? wave[MazeIndex(cell.column, cell.row)] : kWaveEmpty;
}

char CodeAt(const MazeGrid& maze, MazeCell cell) {
    return OnGrid(cell) ? MazeAt(maze, cell.column, cell.row) : kWallCell;
}

void FillIfEmpty(PathWave& wave, MazeCell cell, WaveValue value) {
    if (OnGrid(cell) && wave[MazeIndex(cell.column, cell.row)] == kWaveEmpty)
        wave[MazeIndex(cell.column, cell.row)] = value;
}

// A junction beside the enemy is closed rather than seeded, and being non-empty it is never flooded
// later either: the search started on one junction never routes through the next one.
void PlaceMarksAndSeeds(PathWave& wave, const MazeGrid& maze, const PathSearchQuery& query) {
    FillIfEmpty(wave, query.enemy, kWaveEnemy);
    FillIfEmpty(wave, query.vit, kWaveVit);
    if (query.vitMode != 0)
        FillIfEmpty(wave, query.player, kWavePlayer);
    if (!OnGrid(query.enemy))
        return;
    for (const Offset offset : kSpreadOrder) {
        const MazeCell seed = Beside(query.enemy, offset);
        FillIfEmpty(wave, seed, CodeAt(maze, seed) == kFloorCell ? WaveValue{1} : kWaveClosed);
    }
}

bool IsOpen(char code) {
    return code == kFloorCell || code == kJunctionCell;
}

// Each pass spreads only from the cells holding its own level, so cells reached in a pass wait for the
// next one: one ring per pass.
void Flood(PathWave& wave, const MazeGrid& maze) {
    for (int level = 1; level <= kFloodLevels; ++level) {
        for (int row = 0; row < kMazeRows; ++row) {
            for (int column = 0; column < kMazeColumns; ++column) {
                if (wave[MazeIndex(column, row)] != level)
                    continue;
                for (const Offset offset : kSpreadOrder) {
                    const MazeCell next = Beside({column, row}, offset);
                    if (IsOpen(CodeAt(maze, next)))
                        FillIfEmpty(wave, next, static_cast<WaveValue>(level + 1));
                }
            }
        }
    }
}

int DistanceAt(const PathWave& wave, MazeCell cell) {
    const WaveValue value = WaveAt(wave, cell);
    return value >= 1 ? value : kNoDistance;
}

void ReadDistances(const PathWave& wave, MazeCell target, PathSearchResult& result) {
    result.dUp = DistanceAt(wave, Beside(target, kUp));
    result.dRight = DistanceAt(wave, Beside(target, kRight));
    result.dDown = DistanceAt(wave, Beside(target, kDown));
    result.dLeft = DistanceAt(wave, Beside(target, kLeft));
    result.pathLen = std::min({result.dUp, result.dRight, result.dDown, result.dLeft});
    result.distancesRead = true;
}

// The last neighbour in the target order that carries pathLen. A pathLen of 100 that came only from
// empty cells or marks is carried by none.
std::optional<MazeCell> StartCell(const PathWave& wave, MazeCell target, int pathLen) {
    std::optional<MazeCell> start;
    for (const Offset offset : kTargetOrder) {
        if (WaveAt(wave, Beside(target, offset)) == pathLen)
            start = Beside(target, offset);
    }
    return start;
}

// For each level every direction is tried in turn from wherever the previous one led. Level 1 looks
// for a distance of 0, which no cell holds, so the walk stops on a cell beside the enemy.
MazeCell WalkBack(const PathWave& wave, MazeCell cell, int pathLen) {
    for (int level = pathLen; level >= 1; --level) {
        const int wanted = level - 1;
        for (const Offset offset : kTargetOrder) {
            if (WaveAt(wave, Beside(cell, offset)) == wanted)
                cell = Beside(cell, offset);
        }
    }
    return cell;
}

// Where the enemy lies seen from the walk's last cell; the enemy steps the opposite way. Empty when
// the enemy is not beside that cell.
std::string FirstStep(const PathWave& wave, MazeCell cell) {
    struct Heading {
        Offset towardsEnemy;
        const char* pathDir;
    };
    static constexpr std::array<Heading, 4> kHeadings{
        {{kDown, "up"}, {kRight, "left"}, {kUp, "down"}, {kLeft, "right"}}};
    std::string pathDir;
    for (const Heading& heading : kHeadings) {
        if (WaveAt(wave, Beside(cell, heading.towardsEnemy)) == kWaveEnemy)
            pathDir = heading.pathDir;
    }
    return pathDir;
}

bool InSearchRange(MazeCell player) {
    return player.column >= 0 && player.column <= 100 && player.row >= 0 && player.row <= 100;
}

} // namespace

PathWave FloodPathWave(const MazeGrid& maze, const PathSearchQuery& query) {
    PathWave wave;
    wave.fill(kWaveEmpty);
    PlaceMarksAndSeeds(wave, maze, query);
    Flood(wave, maze);
    return wave;
}

PathSearchResult PathSearch(const MazeGrid& maze, const PathSearchQuery& query) {
    PathSearchResult result;
    const MazeCell target = query.vitMode != 0 ? query.player : query.vit;
    // An enemy or target off the grid has no cell to hold its mark: the search could only fail there.
    if (!InSearchRange(query.player) || !OnGrid(query.enemy) || !OnGrid(target))
        return result;
    const PathWave wave = FloodPathWave(maze, query);
    ReadDistances(wave, target, result);
    const std::optional<MazeCell> start = StartCell(wave, target, result.pathLen);
    if (!start)
        return result;
    result.pathDir = FirstStep(wave, WalkBack(wave, *start, result.pathLen));
    result.found = !result.pathDir.empty();
    return result;
}

} // namespace vimbo
