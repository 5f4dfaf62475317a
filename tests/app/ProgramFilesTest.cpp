// Where the game keeps its files: a build-folder game beside itself; an installed one in the player's
// folders (a relative XDG_DATA_HOME ignored), never in its program folder, starting even when the
// data folder cannot be written and saying so when it cannot be made.
#include "app/ProgramFiles.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/ChildRun.hpp"
#include "tests/support/TestPaths.hpp"

namespace vimbo {
namespace {

namespace fs = std::filesystem;

class ProgramFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = test::MakeTempFolder("places");
        program_ = root_ + "program/";
        fs::create_directories(program_ + "music");
        home_ = root_ + "home/";
        fs::create_directory(home_);
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            if (const char* value = std::getenv(name))
                saved_.emplace_back(name, value);
        setenv("HOME", home_.c_str(), 1);
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CONFIG_HOME");
        previous_ = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(previous_);
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CONFIG_HOME");
        for (const auto& [name, value] : saved_)
            setenv(name.c_str(), value.c_str(), 1);
        fs::remove_all(root_);
    }
    void Install() { std::ofstream(program_ + kInstalledMarkerName) << "installed"; }

    std::string root_, program_, home_;
    fs::path previous_;
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(ProgramFilesTest, ABuildFolderGameKeepsItsFilesBesideItselfAndTheWorkingFolderAsItIs) {
    const ProgramPlace place = PrepareProgramFiles(program_);
    EXPECT_TRUE(place.problem.empty());
    EXPECT_EQ(place.files.settings, "") << "adsettings.ini beside the program";
    EXPECT_EQ(place.files.save, "save");
    EXPECT_EQ(fs::current_path(), previous_);
    EXPECT_FALSE(fs::exists(home_ + ".local"));
}

TEST_F(ProgramFilesTest, AnInstalledGameKeepsEverythingInThePlayersFoldersWhoeverRunsIt) {
    Install();
    const ProgramPlace place = PrepareProgramFiles(program_);
    ASSERT_TRUE(place.problem.empty()) << place.problem;
    const std::string data = home_ + ".local/share/vimbo2";
    EXPECT_EQ(place.files.settings, home_ + ".config/vimbo2/adsettings.ini")
        << "even when the program folder can be written, as by root";
    EXPECT_TRUE(place.files.keepSettings);
    EXPECT_EQ(fs::current_path(), fs::path(data));
    EXPECT_EQ(place.files.save, "save");
    ASSERT_TRUE(fs::is_symlink(data + "/music"));
    EXPECT_TRUE(fs::equivalent(data + "/music", program_ + "music"));
    EXPECT_EQ(std::distance(fs::directory_iterator(program_), {}), 2) << "nothing new in the program folder";
}

TEST_F(ProgramFilesTest, ARelativeDataOrConfigFolderIsIgnored) {
    Install();
    fs::current_path(root_);
    setenv("XDG_DATA_HOME", "relative/data", 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    const ProgramPlace place = PrepareProgramFiles(program_);
    ASSERT_TRUE(place.problem.empty()) << place.problem;
    EXPECT_EQ(fs::current_path(), fs::path(home_ + ".local/share/vimbo2"));
    EXPECT_EQ(place.files.settings, home_ + ".config/vimbo2/adsettings.ini");
    EXPECT_FALSE(fs::exists(root_ + "relative"));
}

TEST_F(ProgramFilesTest, APlayersOwnMusicFolderIsLeftAloneAndAStaleLinkIsMended) {
    Install();
    const std::string data = root_ + "data/vimbo2/";
    setenv("XDG_DATA_HOME", (root_ + "data").c_str(), 1);
    fs::create_directories(data + "music");
    PrepareProgramFiles(program_);
    EXPECT_FALSE(fs::is_symlink(data + "music"));
    fs::remove(data + "music");
    fs::create_directory_symlink(root_ + "gone", data + "music");
    PrepareProgramFiles(program_);
    EXPECT_TRUE(fs::equivalent(data + "music", program_ + "music"));
    EXPECT_EQ(std::distance(fs::directory_iterator(data), {}), 1) << "no stray link";
}

TEST_F(ProgramFilesTest, ADataFolderThePlayerCannotWriteStillStartsTheGameWhenNothingNeedsChanging) {
    Install();
    const std::string data = root_ + "data/vimbo2/";
    setenv("XDG_DATA_HOME", (root_ + "data").c_str(), 1);
    fs::create_directories(data);
    PrepareProgramFiles(program_);
    ASSERT_TRUE(fs::is_symlink(data + "music"));
    fs::current_path(previous_);
    // As set up by another account: the player may read it but not write into it.
    ::chmod(data.c_str(), 0555);
    test::OpenToPlayer(root_);
    test::OpenToPlayer(home_);
    EXPECT_EQ(test::RunInChild(
                  [&]() -> std::string {
                      const ProgramPlace place = PrepareProgramFiles(program_);
                      if (!place.problem.empty())
                          return place.problem;
                      return fs::equivalent(fs::current_path(), data) ? ""
                                                                      : "the data folder was not entered";
                  },
                  {.asPlayer = true}),
              "");
    ::chmod(data.c_str(), 0755);
}

TEST_F(ProgramFilesTest, ADataFolderThatCannotBeMadeIsToldAndNothingIsKept) {
    Install();
    std::ofstream(root_ + "data") << "a file where the folder should be";
    setenv("XDG_DATA_HOME", (root_ + "data").c_str(), 1);
    const ProgramPlace place = PrepareProgramFiles(program_);
    EXPECT_NE(place.problem.find(root_ + "data/vimbo2/"), std::string::npos) << place.problem;
    EXPECT_NE(place.problem.find("will not be kept"), std::string::npos) << place.problem;
    EXPECT_EQ(place.files.save, "");
    EXPECT_EQ(place.files.log, "");
    EXPECT_EQ(fs::current_path(), previous_) << "no folder of chance takes the player's files";
}

} // namespace
} // namespace vimbo
