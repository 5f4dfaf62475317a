// Tests of whole-file writes: no temporary file stays behind, a writer killed part-way leaves the old
// file whole, the next write clears what the crash left, and a write still running keeps its file.
#include "engine/platform/AtomicFile.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/InterruptedWrite.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

using vimbo::test::PausedWriter;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = vimbo::test::MakeTempFolder("atomic");
        path_ = folder_ + "save";
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            names.insert(entry.path().filename().string());
        return names;
    }

    std::string folder_;
    std::string path_;
};

const std::string kOld = "0\r\n3\r\n1250\r\n1\r\n0\r\n2\r\n";
const std::string kNew = "4800\r\n7\r\n4800\r\n0\r\n1\r\n3\r\n";

TEST_F(AtomicFileTest, ReplacesTheFileAndLeavesNothingElseInTheFolder) {
    ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, kOld));
    ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, kNew));
    EXPECT_EQ(ReadFile(path_), kNew);
    EXPECT_EQ(Names(), std::set<std::string>{"save"});
    EXPECT_EQ(std::filesystem::status(path_).permissions() & std::filesystem::perms::others_read,
              std::filesystem::perms::others_read)
        << "an ordinary user's file, not a private temporary one";
}

TEST_F(AtomicFileTest, AWriterKilledPartWayLeavesTheOldFileWholeAndTheNextWriteClearsItsRemains) {
    ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, kOld));
    {
        PausedWriter writer([&] { return ad::platform::WriteFileAtomically(path_, kNew); }, 5);
        ASSERT_TRUE(writer.Paused());
        EXPECT_EQ(ReadFile(writer.TemporaryPath()), kNew.substr(0, 5));
        EXPECT_EQ(ReadFile(path_), kOld) << "readers see the old file while the new one is written";
        writer.Kill();
        EXPECT_EQ(ReadFile(path_), kOld) << "the crash leaves the old file whole";
        EXPECT_TRUE(std::filesystem::exists(writer.TemporaryPath())) << "and its half-written part";
    }
    ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, kNew));
    EXPECT_EQ(ReadFile(path_), kNew);
    EXPECT_EQ(Names(), std::set<std::string>{"save"}) << "the next write removed the crashed write's part";
}

TEST_F(AtomicFileTest, AWriteStillRunningKeepsItsPartWhileAnotherWriteFinishes) {
    ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, kOld));
    PausedWriter writer([&] { return ad::platform::WriteFileAtomically(path_, kNew); }, 3);
    ASSERT_TRUE(writer.Paused());
    ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, "between\r\n"));
    EXPECT_EQ(ReadFile(path_), "between\r\n");
    EXPECT_TRUE(std::filesystem::exists(writer.TemporaryPath())) << "a live writer's part is not abandoned";
    EXPECT_TRUE(writer.Resume()) << "the paused write completes";
    EXPECT_EQ(ReadFile(path_), kNew) << "the later rename wins";
    EXPECT_EQ(Names(), std::set<std::string>{"save"});
}

TEST_F(AtomicFileTest, OnlyPartsOfTheSameFileAreClearedNeverOtherFiles) {
    // Crashed parts of "save" and of another file, and files whose names only look alike.
    for (const std::string name :
         {"save.partial-Ab12Cd", "save.partial-zz", "save.partial-toolong", "save.damaged",
          "saved.partial-Ab12Cd", "inwards.txt.partial-Ab12Cd", "keep"})
        std::ofstream(folder_ + name) << "x";
    ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, kNew));
    EXPECT_EQ(Names(),
              (std::set<std::string>{"save", "save.partial-zz", "save.partial-toolong", "save.damaged",
                                     "saved.partial-Ab12Cd", "inwards.txt.partial-Ab12Cd", "keep"}));
}

TEST_F(AtomicFileTest, AWriteThatCannotTakeThePlaceOfTheTargetLeavesNoPart) {
    std::filesystem::create_directory(path_);
    EXPECT_FALSE(ad::platform::WriteFileAtomically(path_, kNew));
    EXPECT_EQ(Names(), std::set<std::string>{"save"});
    EXPECT_TRUE(std::filesystem::is_directory(path_));
}

} // namespace
