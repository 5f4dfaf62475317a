// Running a piece of work in a child process, so that a crash or a hang in it (in a library from
// outside, say) costs the caller nothing but the answer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ad::platform {

enum class IsolatedOutcome { Finished, Failed, TimedOut };

struct IsolatedResult {
    IsolatedOutcome outcome = IsolatedOutcome::Finished;
    // What the work returned; only when it finished.
    std::string output;
    // How the child ended otherwise, for the log: "crashed (signal 11)", "ended with status 1", ...
    std::string failure;
};

// Runs `work` in a forked child and returns what it returned, passed back through a pipe. A child
// still running after `timeoutMs` is killed. The child ends without running exit handlers, dies with
// its parent, leaves no core file, and takes the default action on the signals that ask the game to
// end. `work` must not touch what the child shares with its parent (the display connection, say).
IsolatedResult RunIsolated(const std::function<std::string()>& work, uint32_t timeoutMs);

} // namespace ad::platform
