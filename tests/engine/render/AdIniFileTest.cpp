// The settings file reader and writer, and the start-up choices read from it.
#include "engine/render/AdIniFile.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "engine/render/AdSetupSettings.hpp"
#include "tests/support/ChildRun.hpp"
#include "tests/support/InterruptedWrite.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = vimbo::test::MakeTempFolder("ini"); }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string Write(const std::string& text) {
        std::ofstream(folder_ + "adsettings.ini", std::ios::binary) << text;
        return folder_ + "adsettings.ini";
    }
    std::string folder_;
};

TEST_F(IniFileTest, ReadsKeysOfItsSectionIgnoringCaseAndLineEnds) {
    const ad::TAdIniFile ini(Write("[other]\r\nplugin=wrong\r\n[AD2DSetup]\r\nPlugin = /x/SoftwareAdPlugin.so\r\n"
                                   "fullscreen=1\r\n"));
    EXPECT_EQ(ini.ReadString("ad2dsetup", "plugin", ""), "/x/SoftwareAdPlugin.so");
    EXPECT_TRUE(ini.ReadBool("ad2dsetup", "fullscreen", false));
    EXPECT_EQ(ini.ReadString("ad2dsetup", "missing", "def"), "def");
}

TEST_F(IniFileTest, MalformedLinesAndValuesFallBackToDefaults) {
    const ad::TAdIniFile ini(Write("garbage without equals\nkey=before any section\n[ad2dsetup]\n=\nfullscreen=yes\n"
                                   "\x01\x02\xff\n"));
    EXPECT_TRUE(ini.ReadBool("ad2dsetup", "fullscreen", true));
    EXPECT_FALSE(ini.ReadBool("ad2dsetup", "fullscreen", false));
    EXPECT_EQ(ini.ReadString("ad2dsetup", "key", "none"), "none");
}

TEST_F(IniFileTest, AMissingFileYieldsDefaultsAndWritingCreatesIt) {
    ad::TAdIniFile ini(folder_ + "adsettings.ini");
    EXPECT_EQ(ReadSetupChoice(ini).Resolution, "1024x768x32");
    ini.WriteString("ad2dsetup", "resolution", "800x600x16");
    ini.WriteBool("ad2dsetup", "curres", true);
    ASSERT_TRUE(ini.UpdateFile());
    const ad::TAdIniFile again(folder_ + "adsettings.ini");
    EXPECT_EQ(again.ReadString("ad2dsetup", "resolution", ""), "800x600x16");
    EXPECT_TRUE(again.ReadBool("ad2dsetup", "curres", false));
}

TEST_F(IniFileTest, AValueWrittenIntoASectionThatAppearsTwiceIsTheOneReadBack) {
    ad::TAdIniFile ini(Write("[ad2dsetup]\nresolution=800x600x16\n[other]\nx=1\n[AD2DSETUP]\nplugin=/a.so\n"));
    ini.WriteString("ad2dsetup", "resolution", "1280x1024x32");
    ini.WriteString("ad2dsetup", "plugin", "/b.so");
    ini.WriteBool("ad2dsetup", "fullscreen", true);
    EXPECT_EQ(ini.ReadString("ad2dsetup", "resolution", ""), "1280x1024x32");
    EXPECT_EQ(ini.ReadString("ad2dsetup", "plugin", ""), "/b.so");
    ASSERT_TRUE(ini.UpdateFile());
    const ad::TAdIniFile again(ini.FileName());
    EXPECT_EQ(ReadSetupChoice(again).Resolution, "1280x1024x32") << "the setup's choice survives the next start";
    EXPECT_EQ(ReadSetupChoice(again).Plugin, "/b.so");
    EXPECT_TRUE(ReadSetupChoice(again).Fullscreen);
}

TEST_F(IniFileTest, ASetupKilledWhileWritingKeepsTheOldSettingsAndTheNextWriteLeavesNoStrayFile) {
    const std::string path = Write("[ad2dsetup]\nresolution=800x600x16\n");
    {
        vimbo::test::PausedWriter writer(
            [&] {
                ad::TAdIniFile ini(path);
                ini.WriteString("ad2dsetup", "resolution", "1280x1024x32");
                return ini.UpdateFile();
            },
            12);
        ASSERT_TRUE(writer.Paused());
        writer.Kill();
    }
    EXPECT_EQ(ad::TAdIniFile(path).ReadString("ad2dsetup", "resolution", ""), "800x600x16");
    ad::TAdIniFile ini(path);
    ini.WriteBool("ad2dsetup", "fullscreen", true);
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1) << "no stray file survives";
    EXPECT_TRUE(ad::TAdIniFile(path).ReadBool("ad2dsetup", "fullscreen", false));
}

TEST_F(IniFileTest, AFileFarTooLargeIsNotReadAndItsPlaceTakesTheNewChoices) {
    // Its first lines would read, so only a reader that never got that far gives the defaults.
    const std::string path = Write("[ad2dsetup]\nfullscreen=1\n" + std::string(ad::kAdIniFileLimit, ';'));
    ad::TAdIniFile ini(path);
    EXPECT_FALSE(ini.ReadBool("ad2dsetup", "fullscreen", false));
    EXPECT_NE(ini.ReadProblem().find("too large"), std::string::npos) << ini.ReadProblem();
    ini.WriteBool("ad2dsetup", "fullscreen", true);
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_LT(std::filesystem::file_size(path), 100u);
}

TEST_F(IniFileTest, APipeIsReadAsNoFileWithoutBlockingAndIsNotReplaced) {
    const std::string path = folder_ + "adsettings.ini";
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    // A pipe nobody writes into holds a blocking open for good: the reads run where an alarm ends them.
    EXPECT_EQ(vimbo::test::RunInChild([&]() -> std::string {
                  ad::TAdIniFile ini(path);
                  if (ini.ReadProblem().find("named pipe") == std::string::npos)
                      return "not reported as a pipe: " + ini.ReadProblem();
                  ini.WriteBool("ad2dsetup", "fullscreen", true);
                  return ini.UpdateFile() ? "the pipe was replaced" : "";
              }),
              "");
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(IniFileTest, AFileThePlayerMayNotReadIsNeverReplaced) {
    const std::string path = Write("[ad2dsetup]\nplugin=/mine\n");
    ::chmod(path.c_str(), 0);
    vimbo::test::OpenToPlayer(folder_);
    EXPECT_EQ(vimbo::test::RunInChild(
                  [&]() -> std::string {
                      ad::TAdIniFile ini(path);
                      if (ini.ReadProblem().find("Permission denied") == std::string::npos)
                          return "not reported: " + ini.ReadProblem();
                      ini.WriteString("ad2dsetup", "plugin", "/other");
                      return ini.UpdateFile() ? "an unreadable file was replaced" : "";
                  },
                  {.asPlayer = true}),
              "");
    ::chmod(path.c_str(), 0600);
    std::ifstream file(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "[ad2dsetup]\nplugin=/mine\n");
}

} // namespace
