// The signals that ask the game to end: each is caught (the process lives on), remembered, and wakes
// a wait on the descriptor; a write to a closed pipe no longer ends the process.
#include "engine/platform/QuitSignals.hpp"

#include <csignal>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using namespace ad::platform;

class QuitSignalsTest : public ::testing::Test {
protected:
    void SetUp() override {
        CatchQuitSignals();
        ResetQuitSignal();
    }
    void TearDown() override { ResetQuitSignal(); }

    static bool Readable(int fd) {
        pollfd wait{fd, POLLIN, 0};
        return ::poll(&wait, 1, 0) == 1;
    }
};

TEST_F(QuitSignalsTest, EachQuitSignalIsCaughtRememberedAndWakesAWait) {
    for (const int signal : {SIGHUP, SIGTERM, SIGINT}) {
        ResetQuitSignal();
        ASSERT_EQ(QuitSignalled(), 0);
        ASSERT_FALSE(Readable(QuitSignalDescriptor()));
        std::raise(signal);
        EXPECT_EQ(QuitSignalled(), signal);
        EXPECT_TRUE(Readable(QuitSignalDescriptor()));
    }
}

TEST_F(QuitSignalsTest, TheFirstSignalIsTheOneRemembered) {
    std::raise(SIGHUP);
    std::raise(SIGTERM);
    EXPECT_EQ(QuitSignalled(), SIGHUP);
}

TEST_F(QuitSignalsTest, AWriteToAClosedPipeFailsInsteadOfEndingTheProcess) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    EXPECT_EQ(::write(ends[1], "x", 1), -1);
    ::close(ends[1]);
}

} // namespace
