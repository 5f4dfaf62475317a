// Reading files that may be anything: a file reads whole, and a folder, a named pipe, a file too
// large or one the player may not read is refused at once, without blocking and without being read.
#include "engine/platform/RegularFiles.hpp"

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/ChildRun.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

using ad::platform::FileReadOutcome;
using ad::platform::ReadRegularFile;

class RegularFilesTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = vimbo::test::MakeTempFolder("regular"); }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string Make(const std::string& name, const std::string& text) {
        std::ofstream(folder_ + name, std::ios::binary) << text;
        return folder_ + name;
    }

    std::string folder_;
};

TEST_F(RegularFilesTest, AFileOrALinkToOneReadsWholeAndAMissingOneIsMissing) {
    const std::string text = std::string(100000, 'x') + "end";
    Make("save", text);
    std::filesystem::create_symlink(folder_ + "save", folder_ + "link");
    std::string content;
    EXPECT_EQ(ReadRegularFile(folder_ + "save", content).outcome, FileReadOutcome::Read);
    EXPECT_EQ(content, text);
    content.clear();
    EXPECT_EQ(ReadRegularFile(folder_ + "link", content).outcome, FileReadOutcome::Read);
    EXPECT_EQ(content, text);
    content = "untouched";
    EXPECT_EQ(ReadRegularFile(folder_ + "none", content).outcome, FileReadOutcome::Missing);
    EXPECT_EQ(ReadRegularFile(folder_ + "save/below", content).outcome, FileReadOutcome::Missing)
        << "a file where a folder should be";
    EXPECT_EQ(content, "untouched");
}

TEST_F(RegularFilesTest, FoldersPipesAndLinksToThemAreRefusedWithoutBlocking) {
    std::filesystem::create_directory(folder_ + "folder");
    ASSERT_EQ(::mkfifo((folder_ + "pipe").c_str(), 0644), 0);
    std::filesystem::create_symlink(folder_ + "pipe", folder_ + "link");
    // A pipe nobody writes into holds a blocking open for good: the check runs where an alarm ends it.
    EXPECT_EQ(vimbo::test::RunInChild([&] {
                  std::string failures;
                  for (const auto& [name, kind] : {std::pair<std::string, std::string>{"folder", "a folder"},
                                                   {"pipe", "a named pipe"},
                                                   {"link", "a named pipe"}}) {
                      std::string content = "untouched";
                      const auto read = ReadRegularFile(folder_ + name, content);
                      if (read.outcome != FileReadOutcome::NotRegular || read.reason != kind ||
                          content != "untouched")
                          failures += name + " was not refused as " + kind + "; ";
                  }
                  return failures;
              }),
              "");
    EXPECT_EQ(vimbo::test::RunInChild([] {
                  ad::platform::FileReadResult result;
                  return ad::platform::OpenRegularFile("/dev/zero", result) < 0 &&
                                 result.outcome == FileReadOutcome::NotRegular && result.reason == "a device"
                             ? ""
                             : "a device was opened";
              }),
              "");
}

TEST_F(RegularFilesTest, AFileOverTheLimitIsRefusedBeforeAnythingIsRead) {
    Make("exact", std::string(64, 'x'));
    Make("over", std::string(65, 'x'));
    std::string content;
    EXPECT_EQ(ReadRegularFile(folder_ + "exact", content, 64).outcome, FileReadOutcome::Read);
    EXPECT_EQ(content.size(), 64u);
    content.clear();
    const auto over = ReadRegularFile(folder_ + "over", content, 64);
    EXPECT_EQ(over.outcome, FileReadOutcome::TooLarge);
    EXPECT_EQ(over.reason, "65 bytes");
    EXPECT_TRUE(content.empty());
    // A huge file costs nothing to refuse: its size alone decides (the file is sparse, so making it
    // costs nothing either).
    const std::string huge = Make("huge", "");
    std::filesystem::resize_file(huge, 1ull << 30);
    EXPECT_EQ(ReadRegularFile(huge, content, 64 * 1024).outcome, FileReadOutcome::TooLarge);
}

TEST_F(RegularFilesTest, AFileThePlayerMayNotReadIsUnreadableWithTheSystemsReason) {
    const std::string path = Make("save", "0\r\n3\r\n");
    ::chmod(path.c_str(), 0);
    vimbo::test::OpenToPlayer(folder_);
    EXPECT_EQ(vimbo::test::RunInChild(
                  [&] {
                      std::string content;
                      const auto read = ReadRegularFile(path, content);
                      return read.outcome == FileReadOutcome::Unreadable && read.reason == "Permission denied"
                                 ? ""
                                 : "read as " + std::to_string(static_cast<int>(read.outcome)) + ": " +
                                       read.reason;
                  },
                  {.asPlayer = true}),
              "");
}

} // namespace
