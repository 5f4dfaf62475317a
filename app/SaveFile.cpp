// Reading and writing the "save" file.
#include "app/SaveFile.hpp"

#include <array>
#include <charconv>
#include <vector>

#include "engine/platform/AtomicFile.hpp"
#include "engine/platform/Files.hpp"
#include "engine/platform/RegularFiles.hpp"
#include "game/GameState.hpp"

namespace vimbo {

namespace {

constexpr int kSaveLines = 6;
constexpr size_t kShownLineLength = 24;

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool ReadInteger(std::string_view line, int32_t& value) {
    int32_t parsed = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), parsed);
    if (error != std::errc() || end != line.data() + line.size() || line.empty()) return false;
    value = parsed;
    return true;
}

} // namespace

SavedValues FreshInstallValues() {
    SavedValues values;
    values.lives = 3;
    values.soundOn = true;
    values.musicOn = true;
    values.difficulty = "normal";
    return values;
}

std::string ParseSaveText(std::string_view text, SavedValues& into) {
    const std::vector<std::string_view> lines = SplitLines(text);
    // The last group of six lines wins; a short last group reads its missing lines as empty.
    const size_t groups = lines.empty() ? 1 : (lines.size() + kSaveLines - 1) / kSaveLines;
    const size_t first = (groups - 1) * kSaveLines;
    std::array<std::string_view, kSaveLines> group{};
    for (size_t k = 0; k < kSaveLines; ++k)
        if (first + k < lines.size()) group[k] = lines[first + k];
    // A damaged file must not cost the player: whatever does not read takes a first run's value.
    const SavedValues fresh = FreshInstallValues();
    std::string problems;
    const auto number = [&](size_t index, int32_t& value, int32_t freshValue, const char* what) {
        const std::string_view line = group[index];
        if (ReadInteger(line, value)) return;
        value = freshValue;
        if (!problems.empty()) problems += "; ";
        // A binary or runaway line is cut short so the message stays readable.
        const std::string shown = line.size() > kShownLineLength
                                      ? std::string(line.substr(0, kShownLineLength)) + "..."
                                      : std::string(line);
        problems += "line " + std::to_string(first + index + 1) + " (" + what + ") reads \"" + shown +
                    "\", not a whole number";
    };
    number(0, into.score, fresh.score, "score");
    number(1, into.lives, fresh.lives, "lives");
    number(2, into.topscore, fresh.topscore, "top score");
    const bool damaged = !problems.empty();
    const auto toggle = [&](std::string_view line, bool freshValue) {
        if (damaged && line != "0" && line != "1") return freshValue;
        return line == "1";
    };
    into.soundOn = toggle(group[3], fresh.soundOn);
    into.musicOn = toggle(group[4], fresh.musicOn);
    if (group[5] == "1") into.difficulty = "easy";
    else if (group[5] == "2") into.difficulty = "normal";
    else if (group[5] == "3") into.difficulty = "hard";
    else if (damaged) into.difficulty = fresh.difficulty;
    return problems;
}

std::string FormatSaveText(const SavedValues& values) {
    std::string difficultyLine;
    if (values.difficulty == "easy") difficultyLine = "1";
    if (values.difficulty == "normal") difficultyLine = "2";
    if (values.difficulty == "hard") difficultyLine = "3";
    std::string text;
    for (const std::string& line :
         {std::to_string(values.score), std::to_string(values.lives), std::to_string(values.topscore),
          std::string(values.soundOn ? "1" : "0"), std::string(values.musicOn ? "1" : "0"), difficultyLine})
        text += line + "\r\n";
    return text;
}

namespace {

enum class KeptAs { Copy, Moved };

// A damaged file's text is kept beside it, since the end of the run writes the file anew. The copy
// is a new file renamed into place, so a link left under its name is replaced, not written through.
// A file far too large is moved there instead: copying it would cost as much time and disk as
// reading it. Where it cannot be kept, the file itself is kept: the run's end must then leave it
// alone.
void KeepDamaged(const std::string& path, const std::string& problem, KeptAs how, SaveReadResult& result) {
    const std::string kept = path + ".damaged";
    result.message = "The saved settings in \"" + path + "\" are damaged: " + problem + ".\n";
    if (how == KeptAs::Moved ? ad::platform::MoveFileAside(path, kept)
                             : ad::platform::CopyFileAtomically(path, kept)) {
        result.outcome = SaveReadOutcome::Damaged;
        result.message += "They were kept as \"" + kept + "\"; the game goes on with what it could read.";
    } else {
        result.outcome = SaveReadOutcome::Untouchable;
        result.message += "No copy of them could be kept as \"" + kept +
                          "\", so the game leaves the file as it is and goes on with what it could read: "
                          "this run's progress will not be kept in it.";
    }
}

} // namespace

SaveReadResult LoadSaveFile(const std::string& path) {
    SavedValues values{score, lives, topscore, soundOn, musicOn, difficulty};
    SaveReadResult result;
    std::string text;
    const ad::platform::FileReadResult read = ad::platform::ReadRegularFile(path, text, kSaveFileLimit);
    switch (read.outcome) {
    case ad::platform::FileReadOutcome::Read:
        if (const std::string problems = ParseSaveText(text, values); !problems.empty())
            KeepDamaged(path, problems, KeptAs::Copy, result);
        break;
    case ad::platform::FileReadOutcome::Missing:
        values = FreshInstallValues();
        result.outcome = SaveReadOutcome::Missing;
        break;
    case ad::platform::FileReadOutcome::TooLarge:
        values = FreshInstallValues();
        KeepDamaged(path, "the file is far too large (" + read.reason + ") to be a saved game", KeptAs::Moved,
                    result);
        break;
    case ad::platform::FileReadOutcome::NotRegular:
    case ad::platform::FileReadOutcome::Unreadable:
        // What the game cannot read it must not replace: it may be all the player has.
        values = FreshInstallValues();
        result.outcome = SaveReadOutcome::Untouchable;
        result.message =
            (read.outcome == ad::platform::FileReadOutcome::NotRegular
                 ? "\"" + path + "\" is " + read.reason + ", not a file of saved settings."
                 : "The saved settings in \"" + path + "\" cannot be read: " + read.reason + ".") +
            "\nThe game starts with a first run's settings and leaves it as it is: this run's "
            "progress will not be kept in it.";
        break;
    }
    score = values.score;
    lives = values.lives;
    topscore = values.topscore;
    soundOn = values.soundOn;
    musicOn = values.musicOn;
    difficulty = values.difficulty;
    return result;
}

std::string WriteSaveFile(const std::string& path) {
    const std::string text = FormatSaveText({score, lives, topscore, soundOn, musicOn, difficulty});
    if (ad::platform::WriteFileAtomically(path, text)) return {};
    return "The settings could not be saved to \"" + path + "\"; the file there is as it was.";
}

bool SaveFileExists(const std::string& path) {
    return ad::platform::FileExists(path);
}

} // namespace vimbo
