// Choice of the full-screen mode from a screen's mode list.
#include "engine/platform/DisplayModes.hpp"

#include <gtest/gtest.h>

namespace {

using namespace ad::platform;

TEST(FindFullScreenMode, TakesTheFirstExactMatchInListOrder) {
    const std::vector<ScreenMode> modes{{800, 600, 32, 60}, {1024, 768, 32, 60}, {1024, 768, 32, 85}};
    const auto found = FindFullScreenMode(modes, 1024, 768, 32);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->frequency, 60);
}

TEST(FindFullScreenMode, EveryDimensionAndTheBitDepthMustMatch) {
    const std::vector<ScreenMode> modes{{1024, 768, 16, 60}, {800, 600, 32, 60}};
    EXPECT_FALSE(FindFullScreenMode(modes, 1024, 768, 32).has_value());
    EXPECT_FALSE(FindFullScreenMode(modes, 1024, 600, 16).has_value());
    EXPECT_FALSE(FindFullScreenMode(modes, 800, 768, 32).has_value());
    EXPECT_TRUE(FindFullScreenMode(modes, 1024, 768, 16).has_value());
    EXPECT_FALSE(FindFullScreenMode({}, 800, 600, 32).has_value());
}

} // namespace
