// The larger pieces of lettering: title banner, pause label and panel, and the game-over banner
// with wells for the score and top-score digits the game places on it.
#include "Lettering.hpp"
#include "Menus.hpp"
#include "Pictures.hpp"
#include "Style.hpp"

namespace artgen {

namespace {

// An opaque framed plate over the whole canvas, with a bevelled gold frame `frame` pixels wide.
void Plate(Canvas& c, float frame) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.Paint([=](float x, float y) {
        const float t = y / h;
        Color col = Mix(Rgb(40, 36, 96), Rgb(14, 12, 40), t);
        // Faint diagonal hatching gives the plate some grain.
        const float hatch = std::fmod(x + y, 6.0f) < 1.0f ? 0.06f : 0.0f;
        return Lighten(col, hatch);
    });
    c.Draw([=](float x, float y) { return -SdBox(x, y, w / 2, h / 2, w / 2 - frame, h / 2 - frame, 2.0f); },
           [=](float x, float y) {
               const float lit = Clamp01(1.0f - (x / w + y / h));
               return Mix(Rgb(150, 90, 10), Rgb(255, 220, 110), lit);
           });
    c.Fill([=](float x,
               float y) { return std::abs(SdBox(x, y, w / 2, h / 2, w / 2 - 0.5f, h / 2 - 0.5f)) - 0.5f; },
           palette::kInk);
    c.Fill(
        [=](float x, float y) {
            return std::abs(SdBox(x, y, w / 2, h / 2, w / 2 - frame, h / 2 - frame, 2.0f)) - 0.5f;
        },
        Rgb(60, 30, 0));
}

// A recessed slot for a row of digits.
void Well(Canvas& c, float x, float y, float w, float h) {
    Outlined(
        c, [=](float px, float py) { return SdBox(px, py, x + w / 2, y + h / 2, w / 2, h / 2, 3.0f); },
        [=](float, float py) { return Mix(Rgb(4, 4, 14), Rgb(26, 24, 60), Clamp01((py - y) / h)); }, 1.0f,
        Rgb(110, 100, 170));
}

} // namespace

Picture MakePause() {
    Canvas c(82, 20);
    Plate(c, 2.0f);
    TextStyle s = HighlightItemStyle();
    s.glowRadius = 0;
    DrawTextInBox(c, "PAUSE", 4, 2, 74, 16, s, 1.0f);
    return ResolveOpaque(c);
}

Picture MakeMenuPanel() {
    Canvas c(160, 80);
    Plate(c, 3.0f);
    // The two items of the pause menu sit at rows 16 and 48; faint bars mark their places.
    for (float y : {16.0f, 48.0f})
        c.Fill([=](float px, float py) { return SdBox(px, py, 80, y + 10, 66, 10, 5); },
               Rgb(255, 255, 255, 0.06f));
    return ResolveOpaque(c);
}

Picture MakeTitle() {
    Canvas c(1020, 84);
    TextStyle word;
    word.top = Rgb(255, 255, 210);
    word.bottom = Rgb(255, 120, 20);
    word.outline = Rgb(60, 10, 0);
    word.outlineWidth = 3.0f;
    word.shadow = Rgb(20, 0, 40);
    word.shadowX = 3;
    word.shadowY = 3;
    word.glow = Rgb(255, 90, 20, 0.9f);
    word.glowRadius = 5.0f;
    word.shine = 0.55f;
    TextStyle two = word;
    two.top = Rgb(220, 255, 255);
    two.bottom = Rgb(30, 150, 255);
    two.outline = Rgb(0, 20, 60);
    two.glow = Rgb(40, 160, 255, 0.9f);
    const TextMask vimbo = Font::Default().Render("VIMBO", 74.0f, 4, 3.0f);
    const float scale = 60.0f / vimbo.OutHeight();
    const TextMask w1 = Font::Default().Render("VIMBO", 74.0f * scale, 4, 3.0f);
    const TextMask w2 = Font::Default().Render("2", 74.0f * scale, 4);
    const float gap = 22.0f, total = w1.OutWidth() + gap + w2.OutWidth();
    const float x0 = std::round((1020 - total) / 2), y0 = std::round((84 - w1.OutHeight()) / 2) - 1;
    // Tapering streaks with sparkles run out from both sides of the name.
    for (int side = -1; side <= 1; side += 2) {
        const float s = static_cast<float>(side);
        const float inner = side < 0 ? x0 - 24 : x0 + total + 24, outer = side < 0 ? 40.0f : 980.0f;
        for (int k = 0; k < 3; ++k) {
            const float y = 42.0f + static_cast<float>(k - 1) * 12.0f;
            const float reach = (inner - outer) * (k == 1 ? 1.0f : 0.7f);
            const float end = inner - reach;
            const float half = k == 1 ? 3.0f : 2.0f;
            const std::vector<float> streak = {inner, y - half, end, y, inner, y + half};
            Outlined(
                c, [streak](float x, float py) { return SdPolygon(x, py, streak); },
                [=](float x, float) {
                    return Mix(Rgb(255, 230, 120), Rgb(255, 80, 40),
                               Clamp01(std::abs(x - inner) / std::abs(reach)));
                },
                1.0f, Rgb(60, 10, 0));
        }
        const auto star = StarPoints(inner - s * 6, 42, 10, 3, 4, 0);
        Outlined(
            c, [star](float x, float y) { return SdPolygon(x, y, star); },
            [](float, float) { return Rgb(255, 255, 230); }, 1.0f, Rgb(60, 10, 0));
    }
    DrawText(c, w1, x0, y0, word);
    DrawText(c, w2, x0 + w1.OutWidth() + gap, y0 + w1.OutHeight() - w2.OutHeight(), two);
    return ResolveOnBlack(c);
}

Picture MakeGameOverBanner() {
    Canvas c(274, 224);
    Plate(c, 4.0f);
    TextStyle title = HighlightStyle(Rgb(255, 240, 220), Rgb(240, 40, 40));
    title.outlineWidth = 1.5f;
    title.glow = Rgb(255, 40, 40, 0.8f);
    title.glowRadius = 3.0f;
    DrawTextInBox(c, "GAME OVER", 14, 12, 246, 42, title, 1.5f);
    c.Fill([](float x, float y) { return SdSegment(x, y, 30, 59, 244, 59, 0.6f); }, Rgb(255, 200, 90, 0.8f));
    // The game draws the score digits at (145, 72) and the top score at (145, 111), 16 pixels each.
    Well(c, 139, 67, 92, 26);
    Well(c, 139, 106, 92, 26);
    TextStyle label;
    label.top = Rgb(255, 255, 255);
    label.bottom = Rgb(110, 220, 255);
    DrawTextInBox(c, "SCORE", 16, 70, 116, 20, label, 0.5f, 1);
    DrawTextInBox(c, "TOP", 16, 109, 116, 20, label, 0.5f, 1);
    c.Fill([](float x, float y) { return SdSegment(x, y, 30, 148, 244, 148, 0.6f); },
           Rgb(255, 200, 90, 0.8f));
    TextStyle hint = NormalItemStyle();
    DrawTextInBox(c, "PRESS ANY KEY", 40, 164, 194, 18, hint, 0.8f);
    for (float x : {24.0f, 250.0f}) {
        const auto star = StarPoints(x, 173, 7, 2, 4, 0);
        c.Fill([star](float px, float py) { return SdPolygon(px, py, star); }, Rgb(255, 220, 120));
    }
    return ResolveOpaque(c);
}

} // namespace artgen
