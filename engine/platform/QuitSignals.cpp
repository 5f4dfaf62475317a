// Quit signals through a flag and a self-pipe: the handler does nothing a signal handler may not.
#include "engine/platform/QuitSignals.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace ad::platform {

namespace {

volatile sig_atomic_t caughtSignal = 0;
int pipeEnds[2] = {-1, -1};

void OnQuitSignal(int signal) {
    const int savedErrno = errno;
    if (caughtSignal == 0)
        caughtSignal = signal;
    const char mark = 1;
    // A full pipe already wakes every reader; the write may then fail harmlessly.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &mark, 1);
    errno = savedErrno;
}

} // namespace

void CatchQuitSignals() {
    if (pipeEnds[0] < 0 && ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGHUP, SIGINT, SIGTERM})
        ::sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

int QuitSignalled() {
    return caughtSignal;
}

int QuitSignalDescriptor() {
    return pipeEnds[0];
}

void ResetQuitSignal() {
    caughtSignal = 0;
    char drained[64];
    while (pipeEnds[0] >= 0 && ::read(pipeEnds[0], drained, sizeof drained) > 0) {
    }
}

} // namespace ad::platform
