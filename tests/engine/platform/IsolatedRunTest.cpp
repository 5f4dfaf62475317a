// Work run in a child process: its answer comes back whole, and a crash or a hang in it costs the
// caller nothing but the answer.
#include "engine/platform/IsolatedRun.hpp"

#include <csignal>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using ad::platform::IsolatedOutcome;
using ad::platform::RunIsolated;

// Far beyond what the work takes, even on a loaded machine; only the hang waits for it.
constexpr uint32_t kLimitMs = 30000;

TEST(IsolatedRun, TheAnswerComesBackWholeAndTheChildsChangesStayInTheChild) {
    int touched = 0;
    const std::string big(200000, 'r');
    const auto result = RunIsolated(
        [&] {
            touched = 1;
            return big + "end";
        },
        kLimitMs);
    EXPECT_EQ(result.outcome, IsolatedOutcome::Finished) << result.failure;
    EXPECT_EQ(result.output, big + "end");
    EXPECT_EQ(touched, 0);
}

TEST(IsolatedRun, ACrashOrAnExitOfItsOwnIsAFailureWithItsCause) {
    auto crashed = RunIsolated(
        []() -> std::string {
            // A signal no sanitizer's handler can take over, unlike a segmentation fault.
            std::raise(SIGKILL);
            return "never";
        },
        kLimitMs);
    EXPECT_EQ(crashed.outcome, IsolatedOutcome::Failed);
    EXPECT_EQ(crashed.failure, "crashed (signal 9)");
    EXPECT_TRUE(crashed.output.empty());
    auto exited = RunIsolated([]() -> std::string { ::_exit(3); }, kLimitMs);
    EXPECT_EQ(exited.outcome, IsolatedOutcome::Failed);
    EXPECT_EQ(exited.failure, "ended with status 3");
}

TEST(IsolatedRun, AChildThatHangsIsKilledAtTheLimit) {
    const pid_t parent = ::getpid();
    const auto result = RunIsolated(
        []() -> std::string {
            for (;;)
                ::pause();
        },
        500);
    EXPECT_EQ(result.outcome, IsolatedOutcome::TimedOut);
    EXPECT_EQ(result.failure, "did not finish within 500 ms");
    EXPECT_EQ(::getpid(), parent);
}

} // namespace
