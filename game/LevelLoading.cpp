// Loading a level's map into the maze grid.
#include "game/LevelLoading.hpp"

#include <string_view>

#include "engine/platform/Dialogs.hpp"
#include "engine/platform/Resources.hpp"
#include "game/GameState.hpp"
#include "game/MazeGrid.hpp"
#include "game/Music.hpp"

namespace vimbo {

std::vector<std::string> mapLines;

int32_t TailLengthFor(const std::string& difficulty, int32_t current) {
    if (difficulty == "easy") return 5;
    if (difficulty == "normal") return 15;
    if (difficulty == "hard") return 35;
    return current;
}

void loading_level() {
    hvostLen = TailLengthFor(difficulty, hvostLen);

    trailX.fill(0.0);
    trailY.fill(0.0);
    if (level == 0) level = 1;
    level_c = level;
    const ad::platform::Resource* map =
        ad::platform::FindResource(ad::platform::ResourceKind::RawData, "map" + std::to_string(level));
    if (map != nullptr) {
        mapLines = SplitMapLines({reinterpret_cast<const char*>(map->bytes.data()), map->bytes.size()});
    } else {
        ad::platform::ShowMessage("error l_l 3");
    }

    if (FillMaze(maze, mapLines) != kMazeCells) ad::platform::ShowMessage("error l_l 4");

    MarkJunctions(maze);

    ChangeTrack(MediaPlayer1);
}

} // namespace vimbo
