// Wrapping a message box's text to the screen's width.
#include "engine/platform/MessageText.hpp"

#include <algorithm>
#include <string_view>
#include <vector>

namespace ad::platform {

namespace {

// The box's border and padding, and the width of a wide character of a large box font: the boxes
// of one desktop draw a seven-pixel fixed font, those of another a proportional one near twelve.
constexpr int kBoxMarginPixels = 60;
constexpr int kWideCharacterPixels = 12;
constexpr size_t kFewestColumns = 20;
constexpr size_t kColumnsWithoutScreen = 80;

// The line's characters, each one UTF-8 sequence, so that a break never splits one.
std::vector<std::string_view> Characters(std::string_view line) {
    std::vector<std::string_view> characters;
    size_t i = 0;
    while (i < line.size()) {
        size_t length = 1;
        while (i + length < line.size() && (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80)
            ++length;
        characters.push_back(line.substr(i, length));
        i += length;
    }
    return characters;
}

void Append(std::string& out, const std::vector<std::string_view>& characters, size_t from, size_t to) {
    while (to > from && characters[to - 1] == " ")
        --to;
    for (size_t i = from; i < to; ++i)
        out += characters[i];
}

// Where the next line starts: after the last space that fits, else after the last '/' that fits,
// else where the line is full.
size_t BreakPoint(const std::vector<std::string_view>& characters, size_t from, size_t columns,
                  size_t& resume) {
    for (size_t i = from + columns; i > from; --i)
        if (characters[i] == " ") {
            resume = i;
            while (resume < characters.size() && characters[resume] == " ")
                ++resume;
            return i;
        }
    for (size_t i = from + columns; i > from + 1; --i)
        if (characters[i - 1] == "/") {
            resume = i;
            return i;
        }
    resume = from + columns;
    return resume;
}

void WrapLine(std::string_view line, size_t columns, std::string& out) {
    const std::vector<std::string_view> characters = Characters(line);
    size_t from = 0;
    while (characters.size() - from > columns) {
        size_t resume = 0;
        const size_t end = BreakPoint(characters, from, columns, resume);
        Append(out, characters, from, end);
        out += '\n';
        from = resume;
    }
    Append(out, characters, from, characters.size());
}

} // namespace

size_t MessageColumnsForScreen(int screenWidth) {
    if (screenWidth <= 0)
        return kColumnsWithoutScreen;
    return std::max(kFewestColumns, static_cast<size_t>(std::max(0, screenWidth - kBoxMarginPixels)) /
                                        static_cast<size_t>(kWideCharacterPixels));
}

std::string WrapMessageText(const std::string& text, size_t columns) {
    columns = std::max<size_t>(columns, 1);
    std::string out;
    std::string_view rest = text;
    for (;;) {
        const size_t end = rest.find('\n');
        WrapLine(rest.substr(0, end), columns, out);
        if (end == std::string_view::npos)
            return out;
        out += '\n';
        rest.remove_prefix(end + 1);
    }
}

} // namespace ad::platform
