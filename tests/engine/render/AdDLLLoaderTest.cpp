// Loading renderer plugin libraries: the version check, broken libraries, and the search for
// compatible ones, which survives libraries that crash or hang as they are examined.
#include "engine/render/AdDLLLoader.hpp"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "engine/render/AdMessages.hpp"
#include "tests/support/HeadlessSurface.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

const std::string kFakes = VIMBO_FAKE_PLUGIN_DIR "/";
const std::string kBroken = VIMBO_BROKEN_PLUGIN_DIR "/";

TEST(AdDllLoader, LoadsTheSoftwarePluginAndReadsItsRecord) {
    ad::TAdDllLoader loader;
    loader.LoadLibrary(vimbo::test::SoftwarePluginPath());
    ASSERT_TRUE(loader.LibraryLoaded());
    EXPECT_EQ(loader.Information().Version, "VER 2.0.0.001");
    EXPECT_FALSE(loader.Information().Title.empty());
    EXPECT_NE(loader.CreateApplication, nullptr);
    loader.UnloadLibrary();
    EXPECT_FALSE(loader.LibraryLoaded());
    EXPECT_EQ(loader.CreateApplication, nullptr);
}

TEST(AdDllLoader, AMissingFileLoadsNothingAndRaisesNothing) {
    ad::TAdDllLoader loader;
    EXPECT_NO_THROW(loader.LoadLibrary(kFakes + "NotThereAdPlugin.so"));
    EXPECT_FALSE(loader.LibraryLoaded());
}

TEST(AdDllLoader, AnotherVersionIsRefusedWithBothVersionsAndTheFileName) {
    ad::TAdDllLoader loader;
    try {
        loader.LoadLibrary(kFakes + "OldFakeAdPlugin.so");
        FAIL() << "an old library was accepted";
    } catch (const ad::EAdDllIncompatible& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The version of the library (\"OldFakeAdPlugin.so\", \"VER 1.5.0.000\") is incompatible to the "
                  "current version VER 2.0.0.001.");
    }
    EXPECT_FALSE(loader.LibraryLoaded());
}

TEST(AdDllLoader, ALibraryWithoutInformationIsNotAValidPlugin) {
    ad::TAdDllLoader loader;
    try {
        loader.LoadLibrary(kFakes + "NoInfoFakeAdPlugin.so");
        FAIL() << "a library without information record was accepted";
    } catch (const ad::EAdDllIncompatible& e) {
        EXPECT_EQ(std::string(e.what()), ad::MessageText(ad::kMsgInvalidPlugin));
    }
    EXPECT_FALSE(loader.LibraryLoaded());
}

TEST(AdDllLoader, AFileThatIsNoLibraryRaisesALoaderErrorNamingIt) {
    const std::string folder = vimbo::test::MakeTempFolder("loader");
    std::ofstream(folder + "BrokenAdPlugin.so") << "not a shared library";
    ad::TAdDllLoader loader;
    try {
        loader.LoadLibrary(folder + "BrokenAdPlugin.so");
        FAIL() << "a text file was loaded";
    } catch (const ad::EAdDllIncompatible&) {
        FAIL() << "a load failure is not a version mismatch";
    } catch (const ad::EAdDllLoaderException& e) {
        EXPECT_NE(std::string(e.what()).find("BrokenAdPlugin.so"), std::string::npos);
    }
    EXPECT_FALSE(loader.LibraryLoaded());
    std::filesystem::remove_all(folder);
}

TEST(AdDllLoader, ALoadFailureKeepsNothingOfThePreviousLibrary) {
    ad::TAdDllLoader loader;
    loader.LoadLibrary(kFakes + "GoodFakeAdPlugin.so");
    ASSERT_TRUE(loader.LibraryLoaded());
    EXPECT_THROW(loader.LoadLibrary(kFakes + "OldFakeAdPlugin.so"), ad::EAdDllIncompatible);
    EXPECT_FALSE(loader.LibraryLoaded());
    EXPECT_EQ(loader.CreateApplication, nullptr);
}

TEST(AdDllExplorer, ListsOnlyCompatibleLibrariesMatchingThePatternSortedByName) {
    std::vector<std::string> plugins;
    ad::TAdDLLExplorer::GetPlugins(plugins, kFakes);
    const std::vector<std::string> expected = {
        "FailingFakeAdPlugin=" + kFakes + "FailingFakeAdPlugin.so",
        "GoodFakeAdPlugin=" + kFakes + "GoodFakeAdPlugin.so",
        "NoAppFakeAdPlugin=" + kFakes + "NoAppFakeAdPlugin.so",
        "OptionsFakeAdPlugin=" + kFakes + "OptionsFakeAdPlugin.so",
        "WindowOnlyFakeAdPlugin=" + kFakes + "WindowOnlyFakeAdPlugin.so",
    };
    EXPECT_EQ(plugins, expected);
}

TEST(AdDllExplorer, SaysWhyEachLeftOutLibraryIsLeftOut) {
    std::vector<std::string> plugins, leftOut;
    ad::TAdDLLExplorer::GetPlugins(plugins, kFakes, ".so", &leftOut);
    ASSERT_EQ(leftOut.size(), 2u);
    EXPECT_EQ(
        leftOut[0],
        kFakes +
            "NoInfoFakeAdPlugin.so is left out: The specified graphic plugin is not a valid engine plugin!");
    EXPECT_NE(leftOut[1].find("OldFakeAdPlugin.so is left out: The version of the library"),
              std::string::npos)
        << leftOut[1];
}

TEST(AdDllExplorer, LeavesOutLibrariesThatAbortCrashOrHangAsTheyAreExaminedAndGoesOn) {
    const std::string folder = vimbo::test::MakeTempFolder("broken-plugins");
    for (const std::string name :
         {"AbortingFakeAdPlugin.so", "CrashingFakeAdPlugin.so", "HangingFakeAdPlugin.so"})
        std::filesystem::create_symlink(kBroken + name, folder + name);
    std::filesystem::create_symlink(kFakes + "GoodFakeAdPlugin.so", folder + "GoodFakeAdPlugin.so");
    std::vector<std::string> plugins, leftOut;
    ad::TAdDLLExplorer::GetPlugins(plugins, folder, ".so", &leftOut);
    EXPECT_EQ(plugins, std::vector<std::string>{"GoodFakeAdPlugin=" + folder + "GoodFakeAdPlugin.so"});
    ASSERT_EQ(leftOut.size(), 3u);
    EXPECT_EQ(leftOut[0].rfind(folder + "AbortingFakeAdPlugin.so is left out: it ", 0), 0u) << leftOut[0];
    EXPECT_EQ(leftOut[1].rfind(folder + "CrashingFakeAdPlugin.so is left out: it ", 0), 0u) << leftOut[1];
    EXPECT_EQ(leftOut[2],
              folder +
                  "HangingFakeAdPlugin.so is left out: it did not finish within 10 s while being loaded");
    std::filesystem::remove_all(folder);
}

TEST(AdDllExplorer, FindsTheShippedSoftwarePlugin) {
    std::vector<std::string> plugins;
    ad::TAdDLLExplorer::GetPlugins(plugins, vimbo::test::ProgramFolder());
    bool found = false;
    for (const std::string& entry : plugins)
        found = found || entry.ends_with("/SoftwareAdPlugin.so");
    EXPECT_TRUE(found);
}

} // namespace
