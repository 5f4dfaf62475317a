// The program's command line: no arguments plays the game; "--replay FILE" watches a recording in
// the window, and "--replay FILE --check" checks it headless.
#pragma once

namespace vimbo {

// Runs what the arguments ask for; returns the process exit code.
int RunCommandLine(int argc, char** argv);

} // namespace vimbo
