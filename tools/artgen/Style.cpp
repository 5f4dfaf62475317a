// Shared drawing helpers of the house style.
#include "Style.hpp"

namespace artgen {

std::function<Color(float, float)> BallPaint(float cx, float cy, float r, Color base, float gloss) {
    return [=](float x, float y) {
        const float nx = (x - cx) / r, ny = (y - cy) / r;
        const float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
        const float light = Clamp01(-0.45f * nx - 0.55f * ny + 0.7f * nz);
        // Shadows lean towards a cool purple rather than plain black, which keeps warm colours clean.
        const Color shadow = Mix(Darken(base, 0.5f), Rgb(70, 20, 90, base.a), 0.3f);
        Color col = Mix(shadow, Lighten(base, 0.2f), Smooth(0.0f, 0.75f, light));
        const float spec =
            std::exp(-((nx + 0.38f) * (nx + 0.38f) + (ny + 0.42f) * (ny + 0.42f)) / 0.04f) * gloss;
        // A faint rim of reflected light keeps the dark side from merging with the outline.
        const float rim = Smooth(0.75f, 1.0f, std::hypot(nx, ny)) * Clamp01(nx + ny) * 0.35f;
        col = Lighten(col, Clamp01(spec + rim));
        col.a = base.a;
        return col;
    };
}

void Ball(Canvas& c, float cx, float cy, float r, Color base, float outline) {
    Outlined(
        c, [=](float x, float y) { return SdCircle(x, y, cx, cy, r); }, BallPaint(cx, cy, r, base), outline);
}

Picture Sheet(int frames, int columns, int frameW, int frameH, const std::function<void(Canvas&, int)>& draw,
              Picture (*resolve)(const Canvas&)) {
    const int rows = (frames + columns - 1) / columns;
    Picture sheet;
    for (int i = 0; i < frames; ++i) {
        Canvas canvas(frameW, frameH);
        draw(canvas, i);
        const Picture frame = resolve(canvas);
        if (i == 0)
            sheet = Picture(frameW * columns, frameH * rows, frame.keyed, frame.key);
        sheet.Blit(frame, (i % columns) * frameW, (i / columns) * frameH);
    }
    return sheet;
}

} // namespace artgen
