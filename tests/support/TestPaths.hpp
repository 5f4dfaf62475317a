// Where tests find the built program folder (game and plugins) and the source tree.
#pragma once

#include <string>

namespace vimbo::test {

// The program folder of this build, with a trailing '/'.
std::string ProgramFolder();
// The source tree's root, with a trailing '/'.
std::string SourceFolder();
// A fresh empty folder under the system's temporary folder, removed by the caller if wanted.
std::string MakeTempFolder(const std::string& tag);

} // namespace vimbo::test
