// Writing a file whole or not at all: the text goes to a temporary file that then replaces the target.
#include "engine/platform/AtomicFile.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/platform/RegularFiles.hpp"

namespace ad::platform {

namespace {

constexpr size_t kRandomSuffixLength = 6;
constexpr mode_t kPermissionBits = 0777;
constexpr size_t kCopyPiece = 64 * 1024;

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
// Only regular files can be such parts: anything else under a part's name (a named pipe, a link)
// was put there by someone else and is removed without being opened, as opening a pipe would block.
void RemoveAbandonedParts(const std::string& path) {
    const std::string prefix = std::filesystem::path(path).filename().string() + kAtomicPartMarker;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(path), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + kRandomSuffixLength || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) != 0 || S_ISDIR(info.st_mode))
            continue;
        if (!S_ISREG(info.st_mode)) {
            ::unlink(entry.path().c_str());
            continue;
        }
        const int fd =
            ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd < 0)
            continue;
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
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
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
        if (hook.afterPiece)
            hook.afterPiece(temp, written);
    }
    return true;
}

bool CopyAll(int from, int to, const std::string& temp) {
    std::string piece(kCopyPiece, '\0');
    for (;;) {
        const ssize_t n = ::read(from, piece.data(), piece.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        piece.resize(static_cast<size_t>(n));
        if (!WriteAll(to, temp, piece))
            return false;
        piece.resize(kCopyPiece);
    }
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

// The process's file-creation mask, read without changing it (umask() can only be read by setting
// it, which would race with other threads creating files).
mode_t CreationMask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8)) & kPermissionBits;
    return 022;
}

// What the new file is to look like: a rewritten file keeps the permissions and owner the player
// gave it; a new one is made as any program makes a file. A link is replaced by a file no more open
// than the one it points to (whose owner is not taken: the link may lead anywhere). False when the
// target must not be replaced at all: a folder, a named pipe or a device is not the file this write
// stands for, and taking its place would destroy something not ours.
struct TargetLook {
    mode_t mode = 0;
    bool keepsOwner = false;
    uid_t owner = 0;
    gid_t group = 0;
};

bool LookOfTarget(const std::string& path, mode_t modeWhenNew, TargetLook& look) {
    look.mode = modeWhenNew;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT;
    if (S_ISLNK(info.st_mode)) {
        if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            look.mode &= info.st_mode & kPermissionBits;
        return true;
    }
    if (!S_ISREG(info.st_mode))
        return false;
    look.mode = info.st_mode & kPermissionBits;
    look.keepsOwner = true;
    look.owner = info.st_uid;
    look.group = info.st_gid;
    return true;
}

mode_t NewFileMode() {
    return 0666 & ~CreationMask();
}

// Makes a fresh temporary file beside `path` (never following a link: it is created new), lets
// `fill` write it, and renames it over `path`.
bool ReplaceThroughTemporary(const std::string& path, mode_t modeWhenNew,
                             const std::function<bool(int fd, const std::string&)>& fill) {
    if (path.empty())
        return false; // no file is to be kept (the game has no folder for it)
    RemoveAbandonedParts(path);
    TargetLook look;
    if (!LookOfTarget(path, modeWhenNew, look))
        return false;
    std::string temp = path + kAtomicPartMarker + std::string(kRandomSuffixLength, 'X');
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // Another writer's clean-up could take the file between its creation and this lock; the rename
    // below then fails and this write reports it.
    ::flock(fd, LOCK_EX);
    const bool ok = fill(fd, temp) && ::fsync(fd) == 0;
    if (look.keepsOwner && ::fchown(fd, look.owner, look.group) != 0) {
        // Only root may hand a file to another user; otherwise the new file stays this user's.
    }
    ::fchmod(fd, look.mode);
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

} // namespace

bool WriteFileAtomically(const std::string& path, const std::string& content) {
    return ReplaceThroughTemporary(
        path, NewFileMode(), [&](int fd, const std::string& temp) { return WriteAll(fd, temp, content); });
}

bool CopyFileAtomically(const std::string& from, const std::string& to) {
    FileReadResult opened;
    const int source = OpenRegularFile(from, opened);
    if (source < 0)
        return false;
    // A new copy is as private as what it copies.
    struct stat info {};
    const mode_t mode = ::fstat(source, &info) == 0 ? (info.st_mode & kPermissionBits) : NewFileMode();
    const bool ok = ReplaceThroughTemporary(
        to, mode, [&](int fd, const std::string& temp) { return CopyAll(source, fd, temp); });
    ::close(source);
    return ok;
}

bool MoveFileAside(const std::string& from, const std::string& to) {
    struct stat info {};
    TargetLook look;
    if (from.empty() || to.empty() || ::stat(from.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        !LookOfTarget(to, 0, look) || std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    SyncFolder(to);
    return true;
}

void SetAtomicWriteTestHook(AtomicWriteTestHook hook) {
    TestHook() = std::move(hook);
}

} // namespace ad::platform
