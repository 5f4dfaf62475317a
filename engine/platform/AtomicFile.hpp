// Writing a file whole or not at all: the text goes to a temporary file that then replaces the target.
#pragma once

#include <string>

namespace ad::platform {

// Writes `content` to `path` through a temporary file in the same folder and a rename, so readers
// see either the old file or the new one, never a half-written one. False when any step fails
// (the old file is then left as it was).
bool WriteFileAtomically(const std::string& path, const std::string& content);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& content);

} // namespace ad::platform
