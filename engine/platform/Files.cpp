// The program's folder and shell-pattern file search, on the POSIX directory and pattern calls.
#include "engine/platform/Files.hpp"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace ad::platform {

std::string ProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return "./";
    path.resize(static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string WithSlash(const std::string& folder) {
    if (folder.empty())
        return "./";
    return folder.back() == '/' ? folder : folder + '/';
}

} // namespace

std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    const std::string base = WithSlash(folder);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(base.c_str()), closedir);
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (fnmatch(pattern.c_str(), name.c_str(), 0) != 0)
            continue;
        // d_type is not filled on every file system, and links to files should count as files.
        if (IsRegularFile(base + name))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool FileExists(const std::string& path) {
    return IsRegularFile(path);
}

bool FolderWritable(const std::string& folder) {
    return access(WithSlash(folder).c_str(), W_OK) == 0;
}

namespace {

// $<variable>/<name>/ when the variable holds an absolute path, else ~/<fallback>/<name>/; made if
// missing.
std::string UserFolder(const char* variable, const char* fallback, const std::string& name,
                       std::string* problem) {
    const char* chosen = std::getenv(variable);
    const char* home = std::getenv("HOME");
    std::string base;
    if (chosen != nullptr && *chosen == '/')
        base = chosen;
    else if (home != nullptr && *home == '/')
        base = WithSlash(home) + fallback;
    if (base.empty()) {
        if (problem != nullptr)
            *problem = std::string("neither ") + variable + " nor HOME names a folder";
        return {};
    }
    const std::string folder = WithSlash(base) + name + "/";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (std::filesystem::is_directory(folder, error))
        return folder;
    if (problem != nullptr)
        *problem = "\"" + folder + "\" cannot be made: " +
                   (error ? error.message() : std::string("something else has its name"));
    return {};
}

} // namespace

std::string UserConfigFolder(const std::string& name, std::string* problem) {
    return UserFolder("XDG_CONFIG_HOME", ".config", name, problem);
}

std::string UserDataFolder(const std::string& name, std::string* problem) {
    return UserFolder("XDG_DATA_HOME", ".local/share", name, problem);
}

} // namespace ad::platform
