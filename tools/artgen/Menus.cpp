// Lettering pictures of the heads-up display and the menus: labels, digits, menu items with their
// highlighted frames, the switch and the difficulty selector, and the score popups.
#include "Menus.hpp"
#include "Lettering.hpp"
#include "Pictures.hpp"
#include "Style.hpp"

namespace artgen {

TextStyle NormalItemStyle() {
    TextStyle s;
    s.top = Rgb(240, 244, 255);
    s.bottom = Rgb(120, 150, 220);
    s.outline = palette::kInk;
    s.outlineWidth = 1.0f;
    s.shadow = Rgb(0, 0, 0, 0);
    return s;
}

TextStyle HighlightStyle(Color top, Color bottom) {
    TextStyle s;
    s.top = top;
    s.bottom = bottom;
    s.outline = Rgb(70, 24, 0);
    s.outlineWidth = 1.0f;
    s.glow = Rgb(255, 150, 20, 0.95f);
    s.glowRadius = 2.2f;
    s.shine = 0.5f;
    return s;
}

TextStyle HighlightItemStyle() {
    return HighlightStyle(Rgb(255, 255, 210), Rgb(255, 170, 20));
}

void Marker(Canvas& c, float x, float cy, float size, bool pointsRight) {
    const float dir = pointsRight ? 1.0f : -1.0f;
    const std::vector<float> tri = {x, cy - size, x + dir * size * 1.1f, cy, x, cy + size};
    Outlined(
        c, [tri](float px, float py) { return SdPolygon(px, py, tri); },
        [=](float, float py) {
            return Mix(Rgb(255, 250, 190), Rgb(255, 150, 0), Clamp01((py - cy + size) / (2 * size)));
        },
        0.8f, Rgb(70, 24, 0));
}

namespace {

// One item frame: normal text, or highlighted text with glow and pointers at both ends.
void ItemFrame(Canvas& c, const std::string& text, float x, float y, float w, float h, bool highlighted,
               const TextStyle& normal, const TextStyle& lit) {
    if (!highlighted) {
        DrawTextInBox(c, text, x + 6, y, w - 12, h, normal);
        return;
    }
    // A lit plate behind the text: the selected item reads at a glance.
    Outlined(
        c,
        [=](float px, float py) {
            return SdBox(px, py, x + w / 2, y + h / 2, w / 2 - 1.5f, h / 2 - 1.5f, h / 2 - 2);
        },
        [=](float, float py) { return Mix(Rgb(120, 50, 0), Rgb(40, 12, 0), Clamp01((py - y) / h)); }, 1.0f,
        Rgb(255, 170, 40));
    DrawTextInBox(c, text, x + 7, y + 1, w - 14, h - 2, lit);
    Marker(c, x + 1.5f, y + h / 2, 3.2f, true);
    Marker(c, x + w - 1.5f, y + h / 2, 3.2f, false);
}

} // namespace

Picture MakeLabel(const std::string& text, int width, int height) {
    Canvas c(width, height);
    TextStyle s;
    s.top = Rgb(255, 255, 255);
    s.bottom = Rgb(110, 220, 255);
    s.outlineWidth = 1.0f;
    // Labels stand right before their digits, so their text keeps to the right.
    DrawTextInBox(c, text, 0, 0, static_cast<float>(width), static_cast<float>(height), s, 0.3f, 1);
    return ResolveOnBlack(c);
}

Picture MakeDigits() {
    // Every digit at the size that makes the zero 12.5 pixels tall, standing on one baseline.
    const TextMask probe = Font::Default().Render("0", 16.0f, 4);
    const float size = 16.0f * 12.5f / std::max(probe.OutHeight(), 1.0f);
    const TextMask zero = Font::Default().Render("0", size, 4);
    const float bottom = std::round((16 - zero.OutHeight()) / 2) + zero.OutHeight();
    TextStyle s;
    s.top = Rgb(255, 255, 220);
    s.bottom = Rgb(255, 190, 40);
    s.outline = Rgb(50, 20, 0);
    return Sheet(
        10, 10, 16, 16,
        [&](Canvas& c, int i) {
            const TextMask m = Font::Default().Render(std::string(1, static_cast<char>('0' + i)), size, 4);
            DrawText(c, m, std::round((16 - m.OutWidth()) / 2), bottom - m.OutHeight(), s);
        },
        ResolveOnBlack);
}

Picture MakeMenuItem(const std::string& text, int width) {
    return Sheet(
        2, 1, width, 20,
        [&](Canvas& c, int i) {
            ItemFrame(c, text, 0, 0, static_cast<float>(width), 20, i == 1, NormalItemStyle(),
                      HighlightItemStyle());
        },
        ResolveOnBlack);
}

Picture MakeOnOff() {
    return Sheet(
        4, 2, 47, 20,
        [](Canvas& c, int i) {
            const bool on = i < 2;
            TextStyle normal = NormalItemStyle();
            normal.top = on ? Rgb(220, 255, 220) : Rgb(255, 220, 220);
            normal.bottom = on ? Rgb(60, 200, 80) : Rgb(220, 70, 70);
            TextStyle lit = on ? HighlightStyle(Rgb(240, 255, 220), Rgb(120, 255, 60))
                               : HighlightStyle(Rgb(255, 240, 220), Rgb(255, 90, 60));
            ItemFrame(c, on ? "ON" : "OFF", 0, 0, 47, 20, i % 2 == 1, normal, lit);
        },
        ResolveOnBlack);
}

Picture MakeEasyNormalHard() {
    static const char* const kNames[3] = {"EASY", "NORMAL", "HARD"};
    static const Color kTint[3] = {Rgb(80, 220, 90), Rgb(255, 200, 50), Rgb(240, 70, 60)};
    return Sheet(
        6, 2, 96, 20,
        [](Canvas& c, int i) {
            const int kind = i / 2;
            TextStyle normal = NormalItemStyle();
            normal.bottom = Mix(kTint[kind], Rgb(255, 255, 255), 0.15f);
            normal.top = Mix(kTint[kind], Rgb(255, 255, 255), 0.75f);
            TextStyle lit = HighlightStyle(Rgb(255, 255, 230), Lighten(kTint[kind], 0.2f));
            ItemFrame(c, kNames[kind], 0, 0, 96, 20, i % 2 == 1, normal, lit);
        },
        ResolveOnBlack);
}

Picture MakeScorePopups(bool up) {
    static const char* const kUp[4] = {"+10", "+20", "+30", "+100"};
    static const char* const kDown[4] = {"-10", "-20", "-30", "-100"};
    return Sheet(
        4, 1, 64, 16,
        [up](Canvas& c, int i) {
            TextStyle s;
            if (up) {
                s.top = i == 3 ? Rgb(255, 255, 200) : Rgb(230, 255, 230);
                s.bottom = i == 3 ? Rgb(255, 180, 0) : Rgb(70, 230, 90);
            } else {
                // Light greys: the game multiplies this popup with red.
                s.top = Rgb(255, 250, 250);
                s.bottom = Rgb(200, 196, 196);
                s.outline = Rgb(40, 30, 30);
            }
            DrawTextInBox(c, up ? kUp[i] : kDown[i], 0, 0, 64, 16, s, 0.5f);
        },
        ResolveOnBlack);
}

} // namespace artgen
