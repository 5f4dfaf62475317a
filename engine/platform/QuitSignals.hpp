// The signals that ask the program to end (the terminal it was started from closing, a shutdown,
// Ctrl+C): caught, they end the game through its normal close, which saves, as closing its window
// does. Anything that waits (the message loop, the setup dialog, a message box) watches for them.
#pragma once

namespace ad::platform {

// Catches SIGHUP, SIGINT and SIGTERM from now on, and ignores SIGPIPE (a write to a closed pipe or
// terminal then fails instead of ending the game before it saves). Safe to call more than once.
void CatchQuitSignals();

// The number of the first quit signal caught, or 0.
int QuitSignalled();

// Becomes readable once a quit signal is caught, for waits that poll; -1 before CatchQuitSignals.
int QuitSignalDescriptor();

// Forgets a caught signal (tests raise them on purpose).
void ResetQuitSignal();

} // namespace ad::platform
