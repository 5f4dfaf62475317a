// The house style shared by every picture: palette, outlined shapes, glossy balls, and the loop
// that draws a sheet of frames.
#pragma once

#include <functional>

#include "Raster.hpp"

namespace artgen {

namespace palette {
inline const Color kInk = Rgb(14, 10, 28);      // outlines
inline const Color kShine = Rgb(255, 255, 248); // speculars
inline const Color kGold = Rgb(255, 196, 40);
inline const Color kRed = Rgb(226, 34, 52);
inline const Color kCyan = Rgb(60, 210, 255);
} // namespace palette

// Fills dist with a dark outline `outline` pixels wide around it, then paints the inside.
template <class Dist, class Paint>
void Outlined(Canvas& c, Dist&& dist, Paint&& paint, float outline = 1.0f, Color ink = palette::kInk) {
    c.Draw([&](float x, float y) { return dist(x, y) - outline; }, [&](float, float) { return ink; });
    c.Draw(dist, paint);
}

// Paint of a ball lit from the upper left: shaded base colour with a specular spot.
std::function<Color(float, float)> BallPaint(float cx, float cy, float r, Color base, float gloss = 1.0f);

// An outlined glossy ball.
void Ball(Canvas& c, float cx, float cy, float r, Color base, float outline = 1.0f);

// Draws `frames` frames of frameW x frameH, `columns` per row, each on its own canvas resolved by
// `resolve`, into one sheet.
Picture Sheet(int frames, int columns, int frameW, int frameH, const std::function<void(Canvas&, int)>& draw,
              Picture (*resolve)(const Canvas&));

} // namespace artgen
