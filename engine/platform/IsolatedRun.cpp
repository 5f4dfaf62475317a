// Work in a forked child with a time limit, its answer back through a pipe.
#include "engine/platform/IsolatedRun.hpp"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ad::platform {

namespace {

int64_t NowMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

[[noreturn]] void RunChild(const std::function<std::string()>& work, int answer, pid_t parent) {
    // The parent's handlers would only set its flags in this copy; the child is to end on them.
    for (const int signal : {SIGHUP, SIGINT, SIGTERM})
        std::signal(signal, SIG_DFL);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(1); // the parent died before the line above took effect
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    WriteAll(answer, work());
    // No exit handlers: they belong to the process the child was copied from.
    ::_exit(0);
}

// Reads the child's answer until it closes the pipe or the deadline passes; false on the deadline.
bool ReadAnswer(int fd, int64_t deadline, std::string& answer) {
    char piece[4096];
    for (;;) {
        const int64_t left = deadline - NowMs();
        if (left <= 0)
            return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue; // the deadline is checked at the top
        const ssize_t n = ::read(fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        answer.append(piece, static_cast<size_t>(n));
    }
}

std::string DurationText(uint32_t ms) {
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

int Reap(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

IsolatedResult RunIsolated(const std::function<std::string()>& work, uint32_t timeoutMs) {
    IsolatedResult result;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        result.outcome = IsolatedOutcome::Failed;
        result.failure = "no pipe for a child process";
        return result;
    }
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        RunChild(work, ends[1], parent);
    }
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        result.outcome = IsolatedOutcome::Failed;
        result.failure = "no child process";
        return result;
    }
    std::string answer;
    const bool answered = ReadAnswer(ends[0], NowMs() + timeoutMs, answer);
    ::close(ends[0]);
    if (!answered)
        ::kill(child, SIGKILL);
    const int status = Reap(child);
    if (!answered) {
        result.outcome = IsolatedOutcome::TimedOut;
        result.failure = "did not finish within " + DurationText(timeoutMs);
    } else if (WIFSIGNALED(status)) {
        result.outcome = IsolatedOutcome::Failed;
        result.failure = "crashed (signal " + std::to_string(WTERMSIG(status)) + ")";
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.outcome = IsolatedOutcome::Failed;
        result.failure = "ended with status " + std::to_string(WEXITSTATUS(status));
    } else {
        result.output = std::move(answer);
    }
    return result;
}

} // namespace ad::platform
