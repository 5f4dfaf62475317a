// The settings file reader and writer, and the start-up choices read from it.
#include "engine/render/AdIniFile.hpp"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "engine/render/AdSetupSettings.hpp"
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

} // namespace
