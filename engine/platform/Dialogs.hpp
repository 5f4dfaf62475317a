// Modal message boxes; without a display the text goes to standard error. Tests can intercept them.
// A box is shown by a small program of its own (kMessageBoxProgramName, beside the game): a signal
// that ends the game ends its box too, and a box never outlives the game.
#pragma once

#include <functional>
#include <string>

namespace ad::platform {

inline constexpr const char* kMessageBoxProgramName = "admessagebox";

// Shows a modal message box with the application title as caption and waits until it is closed, or
// until a quit signal arrives (QuitSignals.hpp), which closes it. Long lines are wrapped to fit the
// screen.
void ShowMessage(const std::string& text);

// Where the box program is; by default beside the running program.
void SetMessageBoxProgram(const std::string& path);

// The caption used by ShowMessage (the application title).
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

// Replaces how messages are shown (nullptr restores the default). For tests and headless runs.
void SetMessageHandler(std::function<void(const std::string& caption, const std::string& text)> handler);

} // namespace ad::platform
