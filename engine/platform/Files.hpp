// File-system helpers the engine needs: the program's folder and pattern search within a folder.
#pragma once

#include <string>
#include <vector>

namespace ad::platform {

// The folder of the running executable, with a trailing '/'.
std::string ProgramFolder();

// Names (not paths) of the regular files in `folder` matching a shell pattern such as
// "*AdPlugin*.so", sorted by name so the order does not depend on the directory.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern);

bool FileExists(const std::string& path);

} // namespace ad::platform
