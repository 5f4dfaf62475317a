// Reading files that anyone may have replaced with something else: only regular files are opened,
// opening never blocks (a named pipe or a device would hold the game in its open call), and a file
// larger than its reader expects is refused without being read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace ad::platform {

enum class FileReadOutcome { Read, Missing, NotRegular, TooLarge, Unreadable };

struct FileReadResult {
    FileReadOutcome outcome = FileReadOutcome::Read;
    // For the player: what stands there instead ("a folder", "a named pipe"), the size of a file too
    // large, or the system's reason it cannot be read. Empty when read or missing.
    std::string reason;
};

// Opens `path` for reading when it is a regular file (a link to one counts), without blocking
// whatever it is. Returns the descriptor (close-on-exec, in blocking mode again), or -1 with
// `result` saying why not; `limit` refuses larger files before anything is read.
int OpenRegularFile(const std::string& path, FileReadResult& result,
                    uint64_t limit = std::numeric_limits<uint64_t>::max());

// Reads a regular file whole when it holds at most `limit` bytes; `content` is left as it was
// unless the outcome is Read.
FileReadResult ReadRegularFile(const std::string& path, std::string& content,
                               uint64_t limit = std::numeric_limits<uint64_t>::max());

// Why a file was not read, as a phrase for messages: "no such file", "it is a named pipe, not a
// file", "it is too large (70000 bytes)", or the system's reason.
std::string ReadProblemText(const FileReadResult& result);

// What the file-type bits of a mode name, for messages: "a folder", "a named pipe", ...
std::string DescribeFileKind(unsigned mode);

} // namespace ad::platform
