// Program folder and pattern search over a temporary folder.
#include "engine/platform/Files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TestPaths.hpp"

namespace {

using namespace ad::platform;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { folder = vimbo::test::MakeTempFolder("files"); }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Touch(const std::string& name) { std::ofstream(folder + name) << "x"; }

    std::string folder;
};

TEST_F(FilesTest, FindsRegularFilesMatchingThePatternSortedByName) {
    for (const char* name :
         {"zAdPlugin.so", "OpenGLAdPlugin.so", "AdPlugin.txt", "libother.so", "AdPluginSoft.so"}) {
        Touch(name);
    }
    std::filesystem::create_directory(folder + "dirAdPlugin.so");
    EXPECT_EQ(FindFiles(folder, "*AdPlugin*.so"),
              (std::vector<std::string>{"AdPluginSoft.so", "OpenGLAdPlugin.so", "zAdPlugin.so"}));
}

TEST_F(FilesTest, FolderWithoutTrailingSlashAndMissingFolder) {
    Touch("a.so");
    const std::string bare = folder.substr(0, folder.size() - 1);
    EXPECT_EQ(FindFiles(bare, "*.so"), std::vector<std::string>{"a.so"});
    EXPECT_TRUE(FindFiles(folder + "missing/", "*").empty());
}

TEST_F(FilesTest, FileExistsOnlyForFiles) {
    Touch("save");
    EXPECT_TRUE(FileExists(folder + "save"));
    EXPECT_FALSE(FileExists(folder + "nothing"));
    EXPECT_FALSE(FileExists(folder)) << "a folder is not a file";
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable) {
    const std::string here = ProgramFolder();
    ASSERT_FALSE(here.empty());
    EXPECT_EQ(here.back(), '/');
    EXPECT_TRUE(FileExists(here + "platform_tests"));
}

} // namespace
