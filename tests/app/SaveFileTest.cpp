// Tests of the "save" file: its text both ways, a missing, damaged, oversized, unreadable or special
// file at start, and writing it whole or not at all, even when the writer dies part-way.
#include "app/SaveFile.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>

#include "game/GameState.hpp"
#include "tests/support/ChildRun.hpp"
#include "tests/support/InterruptedWrite.hpp"
#include "tests/support/TestPaths.hpp"

namespace vimbo {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(SaveText, ReadsTheSixLinesAndWritesThemBackTheSame) {
    const std::string text = "0\r\n3\r\n1250\r\n1\r\n0\r\n2\r\n";
    SavedValues values;
    EXPECT_EQ(ParseSaveText(text, values), "");
    EXPECT_EQ(values.score, 0);
    EXPECT_EQ(values.lives, 3);
    EXPECT_EQ(values.topscore, 1250);
    EXPECT_TRUE(values.soundOn);
    EXPECT_FALSE(values.musicOn);
    EXPECT_EQ(values.difficulty, "normal");
    EXPECT_EQ(FormatSaveText(values), text);
}

TEST(SaveText, OnlyOneSwitchesOnAndAnUnknownDifficultyIsKept) {
    SavedValues values;
    values.difficulty = "hard";
    EXPECT_EQ(ParseSaveText("-40\n2\n7\n1\n2\n4\n", values), "") << "line feeds alone end lines too";
    EXPECT_EQ(values.score, -40);
    EXPECT_TRUE(values.soundOn);
    EXPECT_FALSE(values.musicOn);
    EXPECT_EQ(values.difficulty, "hard");
    values.difficulty.clear();
    EXPECT_EQ(FormatSaveText(values), "-40\r\n2\r\n7\r\n1\r\n0\r\n\r\n");
}

TEST(SaveText, TheLastGroupOfSixLinesWins) {
    SavedValues values;
    EXPECT_EQ(ParseSaveText("1\r\n1\r\n1\r\n0\r\n0\r\n1\r\n900\r\n5\r\n4000\r\n1\r\n1\r\n3\r\n", values), "");
    EXPECT_EQ(values.score, 900);
    EXPECT_EQ(values.lives, 5);
    EXPECT_EQ(values.topscore, 4000);
    EXPECT_EQ(values.difficulty, "hard");
}

TEST(SaveText, ANumberLineThatDoesNotReadTakesAFirstRunsValueAndIsNamed) {
    SavedValues values;
    values.lives = 7;
    values.topscore = 77;
    // Seven lines: the second group is line 7 and five missing (empty) lines.
    const std::string problems = ParseSaveText("1\r\n2\r\n3\r\n1\r\n1\r\n1\r\n50\r\n", values);
    EXPECT_EQ(values.score, 50);
    EXPECT_EQ(values.lives, 3) << "a first run's lives, so the game can be played";
    EXPECT_EQ(values.topscore, 0);
    EXPECT_TRUE(values.soundOn) << "an empty switch line in a damaged file";
    EXPECT_TRUE(values.musicOn);
    EXPECT_EQ(values.difficulty, "normal") << "an empty difficulty line in a damaged file";
    EXPECT_NE(problems.find("line 8 (lives)"), std::string::npos) << problems;
    EXPECT_NE(problems.find("line 9 (top score)"), std::string::npos) << problems;
    SavedValues other;
    EXPECT_NE(ParseSaveText("12x\r\n3\r\n 5\r\n1\r\n1\r\n2\r\n", other), "");
    EXPECT_EQ(other.score, 0);
    EXPECT_EQ(other.topscore, 0) << "a number with a space in front does not read";
    EXPECT_NE(ParseSaveText("99999999999\r\n3\r\n5\r\n1\r\n1\r\n2\r\n", other), "") << "past 32 bits";
    EXPECT_NE(ParseSaveText("", other), "") << "an empty file";
    const std::string runaway = ParseSaveText(std::string(5000, 'z') + "\r\n3\r\n5\r\n1\r\n1\r\n2\r\n", other);
    EXPECT_LT(runaway.size(), 200u) << "a runaway line is cut short in the message";
}

class SaveFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameState();
        folder_ = test::MakeTempFolder("save");
        path_ = folder_ + "save";
    }
    void TearDown() override {
        ResetGameState();
        std::filesystem::remove_all(folder_);
    }

    std::string folder_;
    std::string path_;
};

TEST_F(SaveFileTest, AFirstRunWithoutAFileStartsWithTheFreshInstallsValues) {
    score = 12;
    const SaveReadResult result = LoadSaveFile(path_);
    EXPECT_EQ(result.outcome, SaveReadOutcome::Missing);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(lives, 3);
    EXPECT_TRUE(soundOn);
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(difficulty, "normal");
    EXPECT_FALSE(SaveFileExists(path_)) << "reading makes no file";
}

TEST_F(SaveFileTest, ADamagedFileIsKeptAsItWasAndTheGoodLinesCount) {
    const std::string text = "300\r\n5\r\n12x\r\n0\r\n1\r\n3\r\n";
    WriteFile(path_, text);
    const SaveReadResult result = LoadSaveFile(path_);
    EXPECT_EQ(result.outcome, SaveReadOutcome::Damaged);
    EXPECT_NE(result.message.find("12x"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("save.damaged"), std::string::npos) << result.message;
    EXPECT_EQ(ReadFile(path_ + ".damaged"), text);
    EXPECT_EQ(score, 300);
    EXPECT_EQ(lives, 5);
    EXPECT_EQ(topscore, 0);
    EXPECT_FALSE(soundOn) << "a switch that reads keeps its value";
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(difficulty, "hard");
}

TEST_F(SaveFileTest, TheDamagedFilesCopyIsANewFileNeverWrittenThroughALinkAndAsPrivateAsTheSave) {
    const std::string text = "300\r\n5\r\n12x\r\n0\r\n1\r\n3\r\n";
    WriteFile(path_, text);
    ::chmod(path_.c_str(), 0600);
    const std::string victim = folder_ + "notes";
    WriteFile(victim, "the player's own notes");
    std::filesystem::create_symlink(victim, path_ + ".damaged");
    const SaveReadResult result = LoadSaveFile(path_);
    EXPECT_EQ(result.outcome, SaveReadOutcome::Damaged);
    EXPECT_EQ(ReadFile(victim), "the player's own notes");
    EXPECT_FALSE(std::filesystem::is_symlink(path_ + ".damaged"));
    EXPECT_EQ(ReadFile(path_ + ".damaged"), text);
    EXPECT_EQ(std::filesystem::status(path_ + ".damaged").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(SaveFileTest, ADamagedFileOfWhichNoCopyCanBeKeptIsLeftAlone) {
    const std::string text = "300\r\n5\r\n12x\r\n0\r\n1\r\n3\r\n";
    WriteFile(path_, text);
    // A folder under the copy's name: no copy can take its place.
    std::filesystem::create_directory(path_ + ".damaged");
    const SaveReadResult result = LoadSaveFile(path_);
    EXPECT_EQ(result.outcome, SaveReadOutcome::Untouchable) << "the run's end must not write over it";
    EXPECT_NE(result.message.find("will not be kept"), std::string::npos) << result.message;
    EXPECT_EQ(score, 300) << "the values that read still count";
    EXPECT_EQ(ReadFile(path_), text);
}

ino_t Inode(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST_F(SaveFileTest, AFileFarTooLargeIsDamagedAndMovedAsideWithoutBeingReadOrCopied) {
    WriteFile(path_, "0\r\n9\r\n4000\r\n0\r\n0\r\n3\r\n");
    // The size alone decides: its first lines read well, and a reader reading it whole would agree.
    // Sparse, it takes no room on the disk; a copy would write a whole gigabyte.
    std::filesystem::resize_file(path_, 1ull << 30);
    const ino_t file = Inode(path_);
    const SaveReadResult result = LoadSaveFile(path_);
    EXPECT_EQ(result.outcome, SaveReadOutcome::Damaged);
    EXPECT_NE(result.message.find("too large"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("kept as"), std::string::npos) << result.message;
    EXPECT_EQ(lives, 3) << "a first run's values";
    EXPECT_EQ(topscore, 0);
    EXPECT_TRUE(soundOn);
    EXPECT_EQ(Inode(path_ + ".damaged"), file) << "the file itself, kept whole";
    std::string start(10, '\0');
    std::ifstream(path_ + ".damaged", std::ios::binary).read(start.data(), 10);
    EXPECT_EQ(start, "0\r\n9\r\n4000");
    EXPECT_EQ(WriteSaveFile(path_), "");
    EXPECT_EQ(ReadFile(path_), "0\r\n3\r\n0\r\n1\r\n1\r\n2\r\n") << "the run's end writes it anew";
}

TEST_F(SaveFileTest, AFileFarTooLargeThatCannotBeMovedAsideIsLeftAlone) {
    WriteFile(path_, std::string(kSaveFileLimit + 1, '7'));
    std::filesystem::create_directory(path_ + ".damaged");
    const SaveReadResult result = LoadSaveFile(path_);
    EXPECT_EQ(result.outcome, SaveReadOutcome::Untouchable) << "the run's end must not write over it";
    EXPECT_EQ(std::filesystem::file_size(path_), kSaveFileLimit + 1);
    EXPECT_TRUE(std::filesystem::is_empty(path_ + ".damaged"));
}

// The file stays exactly as it was, and nothing is made beside it.
void ExpectUntouched(const std::string& folder, const std::string& path) {
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(path)));
}

TEST_F(SaveFileTest, AFileThePlayerMayNotReadStartsAFirstRunAndIsLeftAlone) {
    WriteFile(path_, "0\r\n9\r\n4000\r\n0\r\n0\r\n3\r\n");
    ::chmod(path_.c_str(), 0);
    test::OpenToPlayer(folder_);
    // Root reads through any file mode: the player's own account is what meets the refusal.
    EXPECT_EQ(test::RunInChild(
                  [&]() -> std::string {
                      const SaveReadResult result = LoadSaveFile(path_);
                      if (result.outcome != SaveReadOutcome::Untouchable)
                          return "not untouchable: " + result.message;
                      if (result.message.find("Permission denied") == std::string::npos ||
                          result.message.find("will not be kept") == std::string::npos)
                          return "the message does not say why and what follows: " + result.message;
                      if (lives != 3 || topscore != 0 || !soundOn || !musicOn || difficulty != "normal")
                          return "not a first run's values";
                      return "";
                  },
                  {.asPlayer = true}),
              "");
    ExpectUntouched(folder_, path_);
    ::chmod(path_.c_str(), 0600);
    EXPECT_EQ(ReadFile(path_), "0\r\n9\r\n4000\r\n0\r\n0\r\n3\r\n");
}

TEST_F(SaveFileTest, AFolderOrAPipeUnderTheNameIsNoSaveAndStaysWithoutBlockingTheGame) {
    std::filesystem::create_directory(path_);
    SaveReadResult result = LoadSaveFile(path_);
    EXPECT_EQ(result.outcome, SaveReadOutcome::Untouchable);
    EXPECT_NE(result.message.find("is a folder"), std::string::npos) << result.message;
    EXPECT_EQ(lives, 3);
    EXPECT_FALSE(SaveFileExists(path_)) << "no Continue for a folder";
    ExpectUntouched(folder_, path_);
    std::filesystem::remove(path_);

    ASSERT_EQ(::mkfifo(path_.c_str(), 0644), 0);
    // A pipe nobody writes into holds a blocking open for good: the game's side runs where an alarm
    // ends it.
    EXPECT_EQ(test::RunInChild([&]() -> std::string {
                  const SaveReadResult piped = LoadSaveFile(path_);
                  if (piped.outcome != SaveReadOutcome::Untouchable ||
                      piped.message.find("named pipe") == std::string::npos)
                      return "not refused as a pipe: " + piped.message;
                  return WriteSaveFile(path_).empty() ? "a pipe was replaced by the save" : "";
              }),
              "");
    ExpectUntouched(folder_, path_);
}

TEST_F(SaveFileTest, InADamagedFileOddSwitchesAndDifficultyTakeFirstRunValues) {
    WriteFile(path_, "x\r\n\r\n10\r\n2\r\n0\r\n7\r\n");
    const SaveReadResult result = LoadSaveFile(path_);
    EXPECT_EQ(result.outcome, SaveReadOutcome::Damaged);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(topscore, 10);
    EXPECT_TRUE(soundOn) << "\"2\" is no switch";
    EXPECT_FALSE(musicOn);
    EXPECT_EQ(difficulty, "normal");
}

TEST_F(SaveFileTest, AFileThatReadsWellIsTakenAsItStands) {
    WriteFile(path_, "0\r\n0\r\n10\r\n2\r\n0\r\n7\r\n");
    const SaveReadResult result = LoadSaveFile(path_);
    EXPECT_EQ(result.outcome, SaveReadOutcome::Read);
    EXPECT_EQ(lives, 0);
    EXPECT_FALSE(soundOn) << "only \"1\" switches on";
    EXPECT_EQ(difficulty, "") << "an unknown difficulty keeps the start value";
}

TEST_F(SaveFileTest, EachWriteKeepsThePermissionsThePlayerGaveTheFile) {
    ASSERT_EQ(WriteSaveFile(path_), "");
    ::chmod(path_.c_str(), 0600);
    score = 10;
    ASSERT_EQ(WriteSaveFile(path_), "");
    ASSERT_EQ(WriteSaveFile(path_), "");
    EXPECT_EQ(std::filesystem::status(path_).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
        << "a private save stays private";
}

TEST_F(SaveFileTest, WritesTheGameStateWholeAndReadsItBack) {
    score = 900;
    lives = 4;
    topscore = 2500;
    soundOn = true;
    musicOn = false;
    difficulty = "easy";
    ASSERT_EQ(WriteSaveFile(path_), "");
    EXPECT_EQ(ReadFile(path_), "900\r\n4\r\n2500\r\n1\r\n0\r\n1\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1) << "no temporary file left";
    ResetGameState();
    EXPECT_EQ(LoadSaveFile(path_).outcome, SaveReadOutcome::Read);
    EXPECT_EQ(score, 900);
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(topscore, 2500);
    EXPECT_EQ(difficulty, "easy");
}

TEST_F(SaveFileTest, AFailedWriteSaysSoAndLeavesNoHalfFile) {
    // "save" is a folder with a file in it: the new text cannot take its place.
    std::filesystem::create_directory(path_);
    WriteFile(path_ + "/keep", "mine");
    const std::string failure = WriteSaveFile(path_);
    EXPECT_NE(failure, "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1) << "no temporary file left";
    EXPECT_EQ(ReadFile(path_ + "/keep"), "mine");
    EXPECT_NE(WriteSaveFile(folder_ + "no such folder/save"), "");
}

TEST_F(SaveFileTest, AGameKilledWhileSavingKeepsTheOldSaveAndTheNextSaveLeavesNoStrayFile) {
    score = 300;
    lives = 2;
    ASSERT_EQ(WriteSaveFile(path_), "");
    {
        test::PausedWriter writer(
            [&] {
                score = 4100;
                lives = 9;
                return WriteSaveFile(path_).empty();
            },
            4);
        ASSERT_TRUE(writer.Paused());
        writer.Kill();
    }
    ResetGameState();
    EXPECT_EQ(LoadSaveFile(path_).outcome, SaveReadOutcome::Read) << "the old save reads whole";
    EXPECT_EQ(score, 300);
    EXPECT_EQ(lives, 2);
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 2) << "the crash left its part";

    score = 500;
    ASSERT_EQ(WriteSaveFile(path_), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1) << "no stray file survives";
    ResetGameState();
    EXPECT_EQ(LoadSaveFile(path_).outcome, SaveReadOutcome::Read);
    EXPECT_EQ(score, 500);
}

} // namespace
} // namespace vimbo
