// Text styles and markers shared by the menu items and the banners.
#pragma once

#include "Lettering.hpp"

namespace artgen {

TextStyle NormalItemStyle();
TextStyle HighlightItemStyle();
TextStyle HighlightStyle(Color top, Color bottom);
// A small pointer triangle centred vertically on cy, its flat side at x.
void Marker(Canvas& c, float x, float cy, float size, bool pointsRight);

} // namespace artgen
