// The program entry's work: the application title, the main window, the form and the message loop.
#pragma once

namespace vimbo {

// Runs the game until its window is closed; returns the process exit code.
int RunProgram();

} // namespace vimbo
