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
bool WriteFileAtomically(const std::string& path, const std::string& content);

// The name of a temporary file of `path` is this marker plus six characters appended to the path.
inline constexpr const char* kAtomicPartMarker = ".partial-";

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& content);

// For tests that interrupt a write part-way: the content reaches the temporary file in pieces of
// at most `pieceSize` bytes (0: at once), and `afterPiece` runs after each with the temporary
// file's path and the bytes written so far. The default hook writes normally.
struct AtomicWriteTestHook {
    size_t pieceSize = 0;
    std::function<void(const std::string& temporaryPath, size_t written)> afterPiece;
};
void SetAtomicWriteTestHook(AtomicWriteTestHook hook);

} // namespace ad::platform
