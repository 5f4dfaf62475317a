// A mock game screen built from the generated pictures, to judge them together by eye.
#pragma once

#include <string>

#include "Raster.hpp"

namespace artgen {

// The maze of `level` (read from mapsFolder/map<level>.txt) over the tinted backgrounds, with the
// actors and the heads-up display, on a 1024 x 800 screen; level 0 shows the main menu instead.
Picture MakePreview(int level, const std::string& mapsFolder);

} // namespace artgen
