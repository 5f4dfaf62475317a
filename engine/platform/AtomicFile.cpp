// Writing a file whole or not at all: the text goes to a temporary file that then replaces the target.
#include "engine/platform/AtomicFile.hpp"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace ad::platform {

bool WriteFileAtomically(const std::string& path, const std::string& content) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    const bool ok = written == content.size() && ::fsync(fd) == 0;
    // mkstemp makes the file private; give it the usual permissions of a user's file.
    ::fchmod(fd, 0644);
    if (::close(fd) != 0 || !ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
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

} // namespace ad::platform
