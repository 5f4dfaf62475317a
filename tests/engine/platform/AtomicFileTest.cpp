// Tests of whole-file writes: no temporary file stays behind, a writer killed part-way leaves the old
// file whole, the next write clears what the crash left, and a write still running keeps its file;
// a rewritten file keeps its permissions, a link is replaced rather than written through, and what is
// no file (a pipe) is neither replaced nor opened.
#include "engine/platform/AtomicFile.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/ChildRun.hpp"
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

    unsigned Mode(const std::string& path) const {
        struct stat info {};
        ::lstat(path.c_str(), &info);
        return info.st_mode & 07777;
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

TEST_F(AtomicFileTest, ARewrittenFileKeepsThePermissionsThePlayerGaveIt) {
    ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, kOld));
    for (const unsigned mode : {0600u, 0640u, 0444u}) {
        ASSERT_EQ(::chmod(path_.c_str(), mode), 0);
        ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, kNew));
        EXPECT_EQ(Mode(path_), mode) << std::oct << mode;
    }
    // A new file follows the creation mask, as any program's new file does.
    const mode_t before = ::umask(077);
    EXPECT_TRUE(ad::platform::WriteFileAtomically(folder_ + "fresh", kNew));
    ::umask(before);
    EXPECT_EQ(Mode(folder_ + "fresh"), 0600u);
}

TEST_F(AtomicFileTest, ALinkIsReplacedNeverWrittenThrough) {
    const std::string elsewhere = folder_ + "elsewhere";
    std::ofstream(elsewhere) << "not the game's";
    ::chmod(elsewhere.c_str(), 0600);
    std::filesystem::create_symlink(elsewhere, path_);
    ASSERT_TRUE(ad::platform::WriteFileAtomically(path_, kNew));
    EXPECT_EQ(ReadFile(elsewhere), "not the game's");
    EXPECT_FALSE(std::filesystem::is_symlink(path_));
    EXPECT_EQ(ReadFile(path_), kNew);
    EXPECT_EQ(Mode(path_), 0600u) << "the file it stood for was private";
    std::filesystem::create_symlink(folder_ + "nowhere", folder_ + "dangling");
    EXPECT_TRUE(ad::platform::WriteFileAtomically(folder_ + "dangling", kNew));
    EXPECT_FALSE(std::filesystem::exists(folder_ + "nowhere"))
        << "a dangling link makes no file where it points";
}

TEST_F(AtomicFileTest, APipeIsNeitherReplacedNorOpenedAndOneUnderAPartsNameIsClearedWithoutOpeningIt) {
    ASSERT_EQ(::mkfifo(path_.c_str(), 0644), 0);
    const std::string part = path_ + ad::platform::kAtomicPartMarker + "Ab12Cd";
    ASSERT_EQ(::mkfifo((folder_ + "inwards.txt" + ad::platform::kAtomicPartMarker + "Ab12Cd").c_str(), 0644),
              0);
    ASSERT_EQ(::mkfifo(part.c_str(), 0644), 0);
    // Opening a pipe that nobody writes into blocks for good: the writes run where an alarm ends them.
    EXPECT_EQ(vimbo::test::RunInChild([&] {
                  if (ad::platform::WriteFileAtomically(path_, kNew))
                      return "the pipe was replaced";
                  if (!ad::platform::WriteFileAtomically(folder_ + "inwards.txt", kNew))
                      return "a write beside a pipe under a part's name failed";
                  return "";
              }),
              "");
    struct stat info {};
    ASSERT_EQ(::lstat(path_.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(Names(), (std::set<std::string>{"save", "inwards.txt"}))
        << "the pipes under parts' names are gone";
}

TEST_F(AtomicFileTest, ACopyIsMadeAPieceAtATimeWithThePermissionsOfWhatItCopies) {
    std::string big(300 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 % 251);
    const std::string from = folder_ + "big";
    std::ofstream(from, std::ios::binary) << big;
    ::chmod(from.c_str(), 0600);
    std::filesystem::create_symlink(folder_ + "victim", folder_ + "copy");
    std::ofstream(folder_ + "victim") << "mine";
    ASSERT_TRUE(ad::platform::CopyFileAtomically(from, folder_ + "copy"));
    EXPECT_EQ(ReadFile(folder_ + "copy"), big);
    EXPECT_EQ(ReadFile(folder_ + "victim"), "mine") << "the link under the copy's name was not followed";
    EXPECT_EQ(Mode(folder_ + "copy"), 0600u) << "a new copy is as private as its original";
    EXPECT_FALSE(ad::platform::CopyFileAtomically(folder_ + "none", folder_ + "copy2"));
    EXPECT_FALSE(std::filesystem::exists(folder_ + "copy2"));
}

} // namespace
