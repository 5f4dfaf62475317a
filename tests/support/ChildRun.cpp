// Checks run in a forked child with a time limit, optionally without root's rights.
#include "tests/support/ChildRun.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <grp.h>
#include <unistd.h>

#include "engine/platform/IsolatedRun.hpp"

namespace vimbo::test {

namespace {

constexpr uid_t kNobody = 65534;

} // namespace

std::string RunInChild(const std::function<std::string()>& check, ChildRunOptions options) {
    const ad::platform::IsolatedResult result = ad::platform::RunIsolated(
        [&]() -> std::string {
            if (options.asPlayer && ::geteuid() == 0 &&
                (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                return std::string("cannot become an ordinary account: ") + std::strerror(errno);
            // "." marks a pass, so that a child that ended before answering is not taken for one.
            const std::string failure = check();
            return failure.empty() ? "." : failure;
        },
        options.limitSeconds * 1000);
    if (result.outcome != ad::platform::IsolatedOutcome::Finished)
        return "the check " + result.failure;
    if (result.output.empty())
        return "the check ended without an answer";
    return result.output == "." ? "" : result.output;
}

void OpenToPlayer(const std::string& folder) {
    std::filesystem::permissions(folder, std::filesystem::perms::all);
}

} // namespace vimbo::test
