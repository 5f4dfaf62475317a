// Loading shared libraries: a real one with its exports, and files that are not libraries.
#include "engine/platform/DynamicLibrary.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TestPaths.hpp"

namespace {

using ad::platform::DynamicLibrary;

TEST(DynamicLibrary, LoadsALibraryAndLooksUpItsExports) {
    std::string error = "stale";
    auto library = DynamicLibrary::Open("libm.so.6", error);
    ASSERT_NE(library, nullptr) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(library->Path(), "libm.so.6");
    using Cosine = double (*)(double);
    auto cosine = reinterpret_cast<Cosine>(library->Symbol("cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(library->Symbol("CreateApplication"), nullptr);
}

TEST(DynamicLibrary, NonLibraryFileFailsWithTheLoadersReason) {
    const std::string folder = vimbo::test::MakeTempFolder("dl");
    const std::string path = folder + "FakeAdPlugin.so";
    std::ofstream(path) << "this is not a shared library";
    std::string error;
    auto library = DynamicLibrary::Open(path, error);
    std::filesystem::remove_all(folder);
    EXPECT_EQ(library, nullptr);
    EXPECT_NE(error.find("FakeAdPlugin.so"), std::string::npos) << error;
    EXPECT_GT(error.size(), path.size()) << "the reason, not only the name";
}

TEST(DynamicLibrary, MissingFileFails) {
    std::string error;
    EXPECT_EQ(DynamicLibrary::Open("/nonexistent/NoAdPlugin.so", error), nullptr);
    EXPECT_FALSE(error.empty());
}

} // namespace
