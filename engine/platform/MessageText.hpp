// Fitting a message box's text to the screen: long lines (a path, say) are wrapped, so that the box
// is never wider than the screen it is shown on.
#pragma once

#include <cstddef>
#include <string>

namespace ad::platform {

// How many characters a line of a message box may hold on a screen `screenWidth` pixels wide. The
// boxes' fonts differ from desktop to desktop; this allows for a wide one.
size_t MessageColumnsForScreen(int screenWidth);

// Wraps each line of `text` to at most `columns` characters (a UTF-8 sequence counts as one):
// between words where it can, after a '/' in a long path, and anywhere in a word longer than a line.
// Line breaks already in the text stay; spaces at a break are dropped.
std::string WrapMessageText(const std::string& text, size_t columns);

} // namespace ad::platform
