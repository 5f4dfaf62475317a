// Runs a check in a forked child: for code that could block for good (the child is killed at a time
// limit instead of hanging the test) and for code that must meet the player's own file permissions
// (root reads and writes through any file mode, so the child gives up root's rights first).
#pragma once

#include <functional>
#include <string>

namespace vimbo::test {

struct ChildRunOptions {
    // The child is ended after this long; far beyond what the check takes on a loaded machine.
    unsigned limitSeconds = 60;
    // Run as an ordinary account ("nobody") when the test runs as root.
    bool asPlayer = false;
};

// Runs `check` in a child and returns what it returned ("" for a pass, else what failed), or a
// description of how the child ended when it did not return (killed at the limit, crashed).
std::string RunInChild(const std::function<std::string()>& check, ChildRunOptions options = {});

// Lets an ordinary account make and remove files in `folder` (the check of a child run as the
// player works in it).
void OpenToPlayer(const std::string& folder);

} // namespace vimbo::test
