// A whole-file write run in a child process that stops part-way, so a test can kill it there (as a
// crash or a power cut would) or let it finish, and then look at what the folder holds.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>

namespace vimbo::test {

class PausedWriter {
public:
    // Forks a child that runs `write` (true when the write succeeded) with every atomic write slowed
    // to one byte a piece; the child stops once `pauseAfter` bytes of a temporary file are written.
    // Returns when the child has stopped there, or has ended without getting that far.
    PausedWriter(const std::function<bool()>& write, size_t pauseAfter);
    // Kills the child if it still runs.
    ~PausedWriter();
    PausedWriter(const PausedWriter&) = delete;
    PausedWriter& operator=(const PausedWriter&) = delete;

    // Whether the child stopped part-way (and has not been killed or resumed since).
    bool Paused() const { return paused_; }
    // The temporary file the child was writing when it stopped.
    const std::string& TemporaryPath() const { return temporaryPath_; }

    // Ends the child at once, as a crash would.
    void Kill();
    // Lets the child finish; true when it exited reporting a successful write.
    bool Resume();

private:
    int Reap();

    pid_t child_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    bool paused_ = false;
    std::string temporaryPath_;
};

} // namespace vimbo::test
