// Watching a recording in the game's window: the recorded play at its own pace, with Escape to
// leave it, Space to pause, Right and Left to double and halve the speed; afterwards the game goes
// on from its main menu.
#pragma once

#include <string>

namespace vimbo {

// Runs the playback of the recording at `path` and the game after it until the window closes;
// returns the process exit code (2 when the recording cannot be read).
int RunReplayWindow(const std::string& path);

} // namespace vimbo
