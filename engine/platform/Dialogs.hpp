// Modal message boxes; without a display the text goes to standard error. Tests can intercept them.
#pragma once

#include <functional>
#include <string>

namespace ad::platform {

// Shows a modal message box with the application title as caption and waits until it is closed.
void ShowMessage(const std::string& text);

// The caption used by ShowMessage (the application title).
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

// Replaces how messages are shown (nullptr restores the default). For tests and headless runs.
void SetMessageHandler(std::function<void(const std::string& caption, const std::string& text)> handler);

} // namespace ad::platform
