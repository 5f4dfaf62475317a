// Writing a file whole or not at all: the text goes to a temporary file that then replaces the target.
#include "engine/platform/AtomicFile.hpp"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ad::platform {

namespace {

constexpr size_t kRandomSuffixLength = 6;

AtomicWriteTestHook& TestHook() {
    static AtomicWriteTestHook hook;
    return hook;
}

std::string FolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// A writer holds an exclusive lock on its temporary file until it has renamed it; the system drops
// the lock when the writer dies. A temporary file that can be locked was therefore left by a
// crashed write, and one that cannot belongs to a write still running (in this or another process).
void RemoveAbandonedParts(const std::string& path) {
    const std::string prefix = std::filesystem::path(path).filename().string() + kAtomicPartMarker;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(path), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + kRandomSuffixLength || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(entry.path().c_str());
        ::close(fd);
    }
}

bool WriteAll(int fd, const std::string& temp, const std::string& content) {
    const AtomicWriteTestHook& hook = TestHook();
    size_t written = 0;
    while (written < content.size()) {
        size_t piece = content.size() - written;
        if (hook.pieceSize > 0 && piece > hook.pieceSize)
            piece = hook.pieceSize;
        const ssize_t n = ::write(fd, content.data() + written, piece);
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
        if (hook.afterPiece)
            hook.afterPiece(temp, written);
    }
    return true;
}

// The rename lives in the folder's own data: until the folder reaches the disk, a power cut may
// undo it. A folder that cannot be synced (some file systems refuse) changes nothing for the
// caller: the new file is in place either way.
void SyncFolder(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool WriteFileAtomically(const std::string& path, const std::string& content) {
    RemoveAbandonedParts(path);
    std::string temp = path + kAtomicPartMarker + std::string(kRandomSuffixLength, 'X');
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // Another writer's clean-up could take the file between its creation and this lock; the rename
    // below then fails and this write reports it.
    ::flock(fd, LOCK_EX);
    const bool ok = WriteAll(fd, temp, content) && ::fsync(fd) == 0;
    // mkstemp makes the file private; give it the usual permissions of a user's file.
    ::fchmod(fd, 0644);
    // The lock is held through the rename, so no clean-up takes the finished file from under it.
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        ::close(fd);
        return false;
    }
    ::close(fd);
    SyncFolder(path);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return false;
    content = buffer.str();
    return true;
}

void SetAtomicWriteTestHook(AtomicWriteTestHook hook) {
    TestHook() = std::move(hook);
}

} // namespace ad::platform
