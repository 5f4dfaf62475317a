// Fitting a message box's text to the screen: between words, after a '/' in a long path, or anywhere
// in a word longer than a line, never splitting a character.
#include "engine/platform/MessageText.hpp"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using ad::platform::WrapMessageText;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(MessageText, ShortLinesAndTheLineBreaksOfTheTextStayAsTheyAre) {
    EXPECT_EQ(WrapMessageText("The game goes on.\nAll is well.", 40), "The game goes on.\nAll is well.");
    EXPECT_EQ(WrapMessageText("", 40), "");
    EXPECT_EQ(WrapMessageText("exactly ten", 11), "exactly ten");
}

TEST(MessageText, ALongLineBreaksBetweenWords) {
    EXPECT_EQ(WrapMessageText("The saved settings cannot be read: Permission denied.", 20),
              "The saved settings\n"
              "cannot be read:\n"
              "Permission denied.");
    EXPECT_EQ(WrapMessageText("one    two", 5), "one\ntwo") << "the spaces at a break go";
}

TEST(MessageText, ALongPathBreaksAfterASlashAndAWordLongerThanALineAnywhere) {
    EXPECT_EQ(WrapMessageText("\"/home/player/.local/share/vimbo2/save\" is a folder", 16),
              "\"/home/player/\n"
              ".local/share/\n"
              "vimbo2/save\" is\n"
              "a folder");
    EXPECT_EQ(WrapMessageText("abcdefghij", 4), "abcd\nefgh\nij");
}

TEST(MessageText, ALineHoldsCharactersNotBytes) {
    // Twelve two-byte characters: a break after six, never inside one.
    const std::string text = "ääääääääääää";
    const std::string wrapped = WrapMessageText(text, 6);
    EXPECT_EQ(wrapped, "ääääää\nääääää");
}

TEST(MessageText, EveryLineFitsTheColumnsForAScreen) {
    const size_t columns = ad::platform::MessageColumnsForScreen(640);
    EXPECT_GE(columns, 40u);
    EXPECT_LE(columns * 12 + 60, 640u) << "a wide box font still fits";
    std::string path = "\"";
    for (int i = 0; i < 30; ++i)
        path += "/a-rather-long-folder-name";
    const std::string wrapped = WrapMessageText(path + "/save\" cannot be read: Permission denied.", columns);
    for (const std::string& line : Lines(wrapped))
        EXPECT_LE(line.size(), columns) << line;
    EXPECT_EQ(ad::platform::MessageColumnsForScreen(0), 80u) << "without a screen to measure";
}

} // namespace
