// Reading regular files only, never blocking in the open call, with a size limit checked first.
#include "engine/platform/RegularFiles.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ad::platform {

namespace {

constexpr size_t kReadPiece = 64 * 1024;

std::string SizeText(uint64_t bytes) {
    return std::to_string(bytes) + " bytes";
}

void Refuse(FileReadResult& result, FileReadOutcome outcome, std::string reason) {
    result.outcome = outcome;
    result.reason = std::move(reason);
}

// A name that leads nowhere (no such file, or a file where a folder should be) is simply missing.
void RefuseFailedCall(FileReadResult& result, int error) {
    if (error == ENOENT || error == ENOTDIR)
        Refuse(result, FileReadOutcome::Missing, {});
    else
        Refuse(result, FileReadOutcome::Unreadable, std::strerror(error));
}

} // namespace

std::string DescribeFileKind(unsigned mode) {
    switch (mode & S_IFMT) {
    case S_IFREG:
        return "a file";
    case S_IFDIR:
        return "a folder";
    case S_IFIFO:
        return "a named pipe";
    case S_IFSOCK:
        return "a socket";
    case S_IFCHR:
    case S_IFBLK:
        return "a device";
    case S_IFLNK:
        return "a link";
    default:
        return "not a file";
    }
}

std::string ReadProblemText(const FileReadResult& result) {
    switch (result.outcome) {
    case FileReadOutcome::Read:
        return {};
    case FileReadOutcome::Missing:
        return "no such file";
    case FileReadOutcome::NotRegular:
        return "it is " + result.reason + ", not a file";
    case FileReadOutcome::TooLarge:
        return "it is too large (" + result.reason + ")";
    case FileReadOutcome::Unreadable:
        return result.reason;
    }
    return result.reason;
}

int OpenRegularFile(const std::string& path, FileReadResult& result, uint64_t limit) {
    result = {};
    // Looking before opening keeps the open call away from anything but a file; the check after it
    // catches a swap in between, which the non-blocking open makes harmless.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        RefuseFailedCall(result, errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        Refuse(result, FileReadOutcome::NotRegular, DescribeFileKind(info.st_mode));
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        RefuseFailedCall(result, errno);
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        Refuse(result, FileReadOutcome::NotRegular, DescribeFileKind(info.st_mode));
        ::close(fd);
        return -1;
    }
    if (static_cast<uint64_t>(info.st_size) > limit) {
        Refuse(result, FileReadOutcome::TooLarge, SizeText(static_cast<uint64_t>(info.st_size)));
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

FileReadResult ReadRegularFile(const std::string& path, std::string& content, uint64_t limit) {
    FileReadResult result;
    const int fd = OpenRegularFile(path, result, limit);
    if (fd < 0)
        return result;
    // The file may grow after the size check: reading stops one piece past the limit.
    std::string text;
    char piece[kReadPiece];
    for (;;) {
        const ssize_t n = ::read(fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            Refuse(result, FileReadOutcome::Unreadable, std::strerror(errno));
            break;
        }
        if (n == 0)
            break;
        text.append(piece, static_cast<size_t>(n));
        if (text.size() > limit) {
            Refuse(result, FileReadOutcome::TooLarge, "more than " + SizeText(limit));
            break;
        }
    }
    ::close(fd);
    if (result.outcome == FileReadOutcome::Read)
        content = std::move(text);
    return result;
}

} // namespace ad::platform
