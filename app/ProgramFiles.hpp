// Where the game keeps its files, decided once at start from where the program lives: beside
// itself in a build folder, in the player's own folders when installed.
#pragma once

#include <string>

#include "app/Form.hpp"

namespace vimbo {

// Installing the game puts this file into its program folder; a build folder has none.
inline constexpr const char* kInstalledMarkerName = "installed";

struct ProgramPlace {
    FormFiles files;
    // What went wrong making the player's folders ready, for the player to see; empty when nothing.
    std::string problem;
};

// For the program in `programFolder` (with a trailing '/'). A build-folder game keeps the working
// folder as it is, and the setup's choices beside itself where it may write (else in the user's
// settings folder). An installed game never writes into its program folder, whoever runs it: the
// setup's choices go to the user's settings folder ($XDG_CONFIG_HOME/vimbo2/), and the player's data
// folder ($XDG_DATA_HOME/vimbo2/, or ~/.local/share/vimbo2/) is made if missing, given a link to the
// program's music (unless it holds a music folder of its own) and becomes the working folder, where
// "save" and the log live. Anything that needs no change is left alone, so a data folder the player
// cannot write into still starts the game. When the data folder cannot be made or entered, the game
// runs without keeping the player's files, and `problem` says so.
ProgramPlace PrepareProgramFiles(const std::string& programFolder);

} // namespace vimbo
