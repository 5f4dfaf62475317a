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

// Whether files can be made in the folder (a system-wide install's program folder cannot).
bool FolderWritable(const std::string& folder);

// The user's settings folder for the program, made if missing: $XDG_CONFIG_HOME/<name>/, or
// ~/.config/<name>/ without it (a relative value counts as none, as the XDG rules say); with a
// trailing '/'. Empty when no such folder can be made, with the reason in `problem` when given.
std::string UserConfigFolder(const std::string& name, std::string* problem = nullptr);

// The user's data folder for the program, in the same way: $XDG_DATA_HOME/<name>/, or
// ~/.local/share/<name>/.
std::string UserDataFolder(const std::string& name, std::string* problem = nullptr);

} // namespace ad::platform
