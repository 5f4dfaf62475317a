// One PNG that shows every picture with its name and frame grid, for review by eye.
#pragma once

#include <string>
#include <vector>

#include "Pictures.hpp"

namespace artgen {

struct NamedPicture {
    const ArtItem* item;
    Picture picture;
};

// Lays the pictures out on a sheet; keyed pixels show a checkerboard.
Picture MakeContactSheet(const std::vector<NamedPicture>& pictures);
// One picture enlarged by an integer factor, with its frame grid.
Picture Enlarge(const NamedPicture& picture, int factor);

} // namespace artgen
