// The "save" file: the six values kept between runs (score, lives, top score, the sound and music
// switches, the difficulty), read at the start of a run and written at its end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vimbo {

inline constexpr const char* kSaveFileName = "save";
// Six short lines take a few dozen bytes; a file past this is damaged and is not read at all.
inline constexpr uint64_t kSaveFileLimit = 64 * 1024;

struct SavedValues {
    int32_t score = 0;
    int32_t lives = 0;
    int32_t topscore = 0;
    bool soundOn = false;
    bool musicOn = false;
    std::string difficulty;
};

// What a first run starts with, when no "save" file exists yet.
SavedValues FreshInstallValues();

// Reads a file's text: six lines (CR LF or LF), read in groups of six of which the last wins (a
// missing line reads as empty). The switches are on exactly when their line is "1"; a difficulty
// line other than "1", "2", "3" keeps the difficulty. A number line that is not a whole decimal
// integer makes the file damaged and is described in the returned text ("" when every number read
// well); in a damaged file each line that does not read as its kind of value (such a number, a
// switch other than "0" or "1", a difficulty other than "1", "2", "3") takes a first run's value.
std::string ParseSaveText(std::string_view text, SavedValues& into);

// The file's text for the values: six lines ended by CR LF; a difficulty other than "easy", "normal"
// and "hard" is written as an empty line.
std::string FormatSaveText(const SavedValues& values);

// Damaged: the file reads but its text does not (or it is far too large); the run's end rewrites it.
// Untouchable: the file exists but cannot be read, or is no file at all (a folder, a named pipe), or
// is damaged and no copy of it could be kept; the game must then never replace or remove it.
enum class SaveReadOutcome { Read, Missing, Damaged, Untouchable };

struct SaveReadResult {
    SaveReadOutcome outcome = SaveReadOutcome::Read;
    // For a damaged or untouchable file, what was wrong and what the game does about it, for the
    // player to see once.
    std::string message;
};

// Loads the file at `path` into the game state; opening it never blocks, whatever `path` is. Without
// a file the game state takes the fresh install's values. A damaged file gives the values it could
// read (a file over kSaveFileLimit, none); it is first kept beside it as `path` + ".damaged" (copied,
// or moved there unread when over the limit), since the end of the run writes the file anew. An
// unreadable one gives the fresh install's values.
SaveReadResult LoadSaveFile(const std::string& path);

// Writes the game state's six values to `path`, whole or not at all. Returns "" on success, else
// what went wrong; the file on disk is then the one before.
std::string WriteSaveFile(const std::string& path);

// Whether a file of saved settings is there (a regular file; a folder or pipe under the name is not).
bool SaveFileExists(const std::string& path);

} // namespace vimbo
