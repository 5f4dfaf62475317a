// Where tests find the built program folder (game and plugins) and the source tree.
#include "tests/support/TestPaths.hpp"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace vimbo::test {

std::string ProgramFolder() { return VIMBO_PROGRAM_FOLDER; }

std::string SourceFolder() { return VIMBO_SOURCE_FOLDER; }

std::string MakeTempFolder(const std::string& tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("vimbo-" + tag + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    return pattern + "/";
}

} // namespace vimbo::test
