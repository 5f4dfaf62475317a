// Hostile "save" texts: any bytes parse without harm, and whatever they give survives the end of
// the run's write and the next start's read unchanged.
#include <string>
#include <string_view>

#include "app/SaveFile.hpp"
#include "tests/fuzz/FuzzTargets.hpp"

namespace vimbo::fuzz {

void SaveText(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SavedValues values = FreshInstallValues();
    const std::string problems = ParseSaveText(text, values);
    // A damaged file is named in a message box: a runaway or binary line must not flood it.
    Expect(problems.size() < 3 * 120, "the damage report stays short");
    Expect(values.difficulty == "easy" || values.difficulty == "normal" || values.difficulty == "hard",
           "a difficulty the game knows");

    SavedValues again;
    Expect(ParseSaveText(FormatSaveText(values), again).empty(), "a written save reads without damage");
    Expect(again.score == values.score && again.lives == values.lives && again.topscore == values.topscore,
           "the numbers read back");
    Expect(again.soundOn == values.soundOn && again.musicOn == values.musicOn, "the switches read back");
    Expect(again.difficulty == values.difficulty, "the difficulty reads back");
}

} // namespace vimbo::fuzz
