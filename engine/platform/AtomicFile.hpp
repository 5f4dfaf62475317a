// Writing a file whole or not at all: the text goes to a temporary file that then replaces the target.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace ad::platform {

// Writes `content` to `path` through a temporary file in the same folder and a rename, so readers
// see either the old file or the new one, never a half-written one; the folder is synced after the
// rename, so a power cut afterwards cannot bring the old file back. False when any step before the
// rename fails (the old file is then left as it was). Temporary files of the same target that a
// crashed write left behind are removed first; those of a write still in progress are left alone.
// The file is always made new, so a link at `path` is replaced, never written through. A rewritten
// file keeps its permissions (and, where the system lets it, its owner); a new one takes the usual
// permissions less the process's creation mask. A folder, named pipe or device at `path` is never
// replaced: the write fails.
bool WriteFileAtomically(const std::string& path, const std::string& content);

// Copies the regular file `from` to `to` in the same way, a piece at a time however large it is; a
// new copy takes the permissions of the file it copies. False when `from` is not a readable regular
// file or the write fails.
bool CopyFileAtomically(const std::string& from, const std::string& to);

// Moves the regular file `from` (or a link to one) to `to` without reading it, for a file too large
// to copy. `to` is replaced as WriteFileAtomically replaces it: a file or a link, never a folder, a
// named pipe or a device. False when either is not so or the move fails (`from` then stays).
bool MoveFileAside(const std::string& from, const std::string& to);

// The name of a temporary file of `path` is this marker plus six characters appended to the path.
inline constexpr const char* kAtomicPartMarker = ".partial-";

// For tests that interrupt a write part-way: the content reaches the temporary file in pieces of
// at most `pieceSize` bytes (0: at once), and `afterPiece` runs after each with the temporary
// file's path and the bytes written so far. The default hook writes normally.
struct AtomicWriteTestHook {
    size_t pieceSize = 0;
    std::function<void(const std::string& temporaryPath, size_t written)> afterPiece;
};
void SetAtomicWriteTestHook(AtomicWriteTestHook hook);

} // namespace ad::platform
