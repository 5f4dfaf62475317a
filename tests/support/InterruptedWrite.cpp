// The paused writer: a forked child whose atomic writes stop at a hook until the test decides.
#include "tests/support/InterruptedWrite.hpp"

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/platform/AtomicFile.hpp"

namespace vimbo::test {

namespace {

bool ReadExactly(int fd, void* data, size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, bytes, size);
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void WriteExactly(int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n <= 0)
            return;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
}

// The child's side: report the temporary file, then wait for the word to go on.
[[noreturn]] void RunChild(const std::function<bool()>& write, size_t pauseAfter, int toParent,
                           int fromParent) {
    ad::platform::SetAtomicWriteTestHook({1, [=](const std::string& temporaryPath, size_t written) {
                                              if (written != pauseAfter)
                                                  return;
                                              const size_t length = temporaryPath.size();
                                              WriteExactly(toParent, &length, sizeof length);
                                              WriteExactly(toParent, temporaryPath.data(), length);
                                              char go = 0;
                                              ReadExactly(fromParent, &go, 1);
                                          }});
    const bool ok = write();
    // No exit handlers: they belong to the test process the child was copied from.
    ::_exit(ok ? 0 : 1);
}

} // namespace

PausedWriter::PausedWriter(const std::function<bool()>& write, size_t pauseAfter) {
    int down[2], up[2];
    if (::pipe(down) != 0)
        return;
    if (::pipe(up) != 0) {
        ::close(down[0]);
        ::close(down[1]);
        return;
    }
    child_ = ::fork();
    if (child_ == 0) {
        ::close(down[1]);
        ::close(up[0]);
        RunChild(write, pauseAfter, up[1], down[0]);
    }
    ::close(down[0]);
    ::close(up[1]);
    toChild_ = down[1];
    fromChild_ = up[0];
    if (child_ < 0)
        return;
    size_t length = 0;
    if (!ReadExactly(fromChild_, &length, sizeof length))
        return; // the child ended without reaching the pause
    temporaryPath_.resize(length);
    paused_ = ReadExactly(fromChild_, temporaryPath_.data(), length);
}

PausedWriter::~PausedWriter() {
    if (child_ > 0)
        Kill();
    for (const int fd : {toChild_, fromChild_})
        if (fd >= 0)
            ::close(fd);
}

void PausedWriter::Kill() {
    if (child_ <= 0)
        return;
    ::kill(child_, SIGKILL);
    Reap();
}

bool PausedWriter::Resume() {
    if (child_ <= 0)
        return false;
    const char go = 1;
    WriteExactly(toChild_, &go, 1);
    const int status = Reap();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int PausedWriter::Reap() {
    int status = 0;
    while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
    paused_ = false;
    return status;
}

} // namespace vimbo::test
