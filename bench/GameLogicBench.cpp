// Speed of the game's own logic: the enemy's path search on every shipped map between its two cells
// farthest apart, and one whole frame of game logic (the sprites' moves with every collision scan,
// and the game flow) with the tail at its longest and the enemy hunting, without rasterising, at
// frame times from the frame rate's cap (2 ms) to the timer's longest frame (50 ms, moved by the
// actors in 25 short steps).
#include <benchmark/benchmark.h>

#include <array>
#include <queue>
#include <string>

#include "engine/platform/Random.hpp"
#include "engine/platform/Resources.hpp"
#include "game/Collectibles.hpp"
#include "game/Enemy.hpp"
#include "frontend/GameFlow.hpp"
#include "game/GameState.hpp"
#include "game/LevelLoading.hpp"
#include "game/PathSearch.hpp"
#include "game/Player.hpp"
#include "game/Tail.hpp"
#include "tests/support/GameWorld.hpp"

namespace {

using vimbo::MazeCell;
using vimbo::MazeGrid;

MazeGrid LoadMap(int level) {
    const auto& map = ad::platform::LoadResource(ad::platform::ResourceKind::RawData, "map" + std::to_string(level));
    MazeGrid grid = vimbo::WallGrid();
    vimbo::LoadMazeFromText(grid, {reinterpret_cast<const char*>(map.bytes.data()), map.bytes.size()});
    return grid;
}

// Breadth-first distances over the floor from one cell (-1 where unreachable).
std::array<int, vimbo::kMazeCells> Distances(const MazeGrid& grid, MazeCell from) {
    std::array<int, vimbo::kMazeCells> distance;
    distance.fill(-1);
    std::queue<MazeCell> open;
    distance[vimbo::MazeIndex(from.column, from.row)] = 0;
    open.push(from);
    while (!open.empty()) {
        const MazeCell cell = open.front();
        open.pop();
        for (const auto& [dc, dr] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
            const int c = cell.column + dc, r = cell.row + dr;
            if (!vimbo::InMaze(c, r) || vimbo::MazeAt(grid, c, r) == vimbo::kWallCell) continue;
            int& d = distance[vimbo::MazeIndex(c, r)];
            if (d >= 0) continue;
            d = distance[vimbo::MazeIndex(cell.column, cell.row)] + 1;
            open.push({c, r});
        }
    }
    return distance;
}

// The two floor cells of the map farthest apart along the corridors: the search's longest flood.
std::pair<MazeCell, MazeCell> FarthestPair(const MazeGrid& grid) {
    std::pair<MazeCell, MazeCell> best{};
    int longest = -1;
    for (int c = 0; c < vimbo::kMazeColumns; ++c)
        for (int r = 0; r < vimbo::kMazeRows; ++r) {
            if (vimbo::MazeAt(grid, c, r) == vimbo::kWallCell) continue;
            const auto distance = Distances(grid, {c, r});
            for (int i = 0; i < vimbo::kMazeCells; ++i)
                if (distance[i] > longest) {
                    longest = distance[i];
                    best = {{c, r}, {i / vimbo::kMazeRows, i % vimbo::kMazeRows}};
                }
        }
    return best;
}

void BM_PathSearchFarthestCells(benchmark::State& state) {
    const MazeGrid grid = LoadMap(static_cast<int>(state.range(0)));
    const auto [enemyCell, playerCell] = FarthestPair(grid);
    const vimbo::PathSearchQuery query{enemyCell, playerCell, 1, {0, 0}};
    for (auto _ : state) benchmark::DoNotOptimize(vimbo::PathSearch(grid, query));
    state.counters["found"] = vimbo::PathSearch(grid, query).found;
}
BENCHMARK(BM_PathSearchFarthestCells)->DenseRange(1, 20)->Unit(benchmark::kMicrosecond);

// Level 1 in play: the runner stands on its start cell, the enemy hunts it with the longest tail.
void StartPlay(vimbo::test::TestGameWorld& world) {
    vimbo::nastarte = false;
    vimbo::tmrRestart = false;
    vimbo::Ireal = 255;
    vimbo::lives = 3;
    vimbo::player.Remove();
    vimbo::PlayerCreate();
    vimbo::PlaceEnemy();
    world.Frame(0.0); // free the runner that was caught
}

void BM_GameLogicFrame(benchmark::State& state) {
    vimbo::test::TestGameWorld world;
    if (!world.Ready()) {
        state.SkipWithError("no software renderer");
        return;
    }
    ad::platform::SetRandSeed(7);
    world.LoadLevel(1);
    vimbo::loading_level();
    vimbo::PlayerCreate();
    vimbo::EnemyCreate();
    vimbo::CreateHvosts();
    vimbo::nastarte = true;
    vimbo::SpawnVit();
    vimbo::enemy->dir = "up";
    vimbo::hvostLen = vimbo::kLongestTail;
    StartPlay(world);
    // Long enough for the trail to fill all 300 of its places.
    for (int i = 0; i < 3000; ++i) {
        world.Frame(0.016);
        if (vimbo::tmrRestart) StartPlay(world);
    }
    const double frame = static_cast<double>(state.range(0)) / 1000.0;
    int64_t restarts = 0;
    for (auto _ : state) {
        world.Engine().Move(frame);
        vimbo::ListenFlags();
        world.Engine().Dead();
        if (vimbo::tmrRestart) {
            state.PauseTiming();
            StartPlay(world);
            ++restarts;
            state.ResumeTiming();
        }
    }
    state.counters["tail"] = vimbo::hvostLen;
    state.counters["restarts"] = static_cast<double>(restarts);
}
BENCHMARK(BM_GameLogicFrame)->ArgName("ms")->Arg(2)->Arg(16)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
