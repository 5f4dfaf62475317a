// The designs of the 20 levels: lattice, symmetry and the counts each maze is searched towards.
#pragma once

#include "tools/mapgen/MapSearch.hpp"

#include <vector>

namespace vimbo::mapgen {

std::vector<LevelDesign> LevelDesigns();

} // namespace vimbo::mapgen
