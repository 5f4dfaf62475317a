// The pixels one-pixel lines and points cover, in both directions and against the bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugins/common/LineWalk.hpp"

namespace vimbo::test {
namespace {

using ad::plugin::PixelBounds;
using ad::plugin::WindowVertex;

WindowVertex At(float x, float y) {
    WindowVertex v;
    v.x = x;
    v.y = y;
    return v;
}

// The walked pixels as a picture of w x h, each marked with its visiting order (1-9, then '+').
std::string Walk(WindowVertex a, WindowVertex b, int w, int h, PixelBounds bounds = {0, 0, 100, 100}) {
    std::string rows(static_cast<size_t>(w * h), '.');
    int visit = 0;
    std::string outside;
    ad::plugin::WalkLine(a, b, bounds, [&](int px, int py, const WindowVertex&) {
        ++visit;
        if (px < 0 || px >= w || py < 0 || py >= h) {
            outside += " (" + std::to_string(px) + "," + std::to_string(py) + ")";
            return;
        }
        rows[static_cast<size_t>(py * w + px)] = visit <= 9 ? static_cast<char>('0' + visit) : '+';
    });
    std::string picture;
    for (int y = 0; y < h; ++y)
        picture += rows.substr(static_cast<size_t>(y * w), static_cast<size_t>(w)) + (y + 1 < h ? "\n" : "");
    return picture + outside;
}

TEST(LineWalk, HorizontalLineOmitsItsLastPixelInEitherDirection) {
    EXPECT_EQ(Walk(At(1.5f, 1.5f), At(5.5f, 1.5f), 7, 3), ".......\n"
                                                          ".1234..\n"
                                                          ".......");
    EXPECT_EQ(Walk(At(5.5f, 1.5f), At(1.5f, 1.5f), 7, 3), ".......\n"
                                                          "..1234.\n"
                                                          ".......");
}

TEST(LineWalk, ShallowAndSteepSlopesStepAlongTheMajorAxis) {
    EXPECT_EQ(Walk(At(0.5f, 0.5f), At(6.5f, 3.5f), 7, 4), "1......\n"
                                                          ".23....\n"
                                                          "...45..\n"
                                                          ".....6.");
    EXPECT_EQ(Walk(At(0.5f, 0.5f), At(2.5f, 4.5f), 3, 5), "1..\n"
                                                          ".2.\n"
                                                          ".3.\n"
                                                          "..4\n"
                                                          "...");
}

TEST(LineWalk, ExactDiagonalCountsAsXMajorAndIsWalkedAlongIncreasingX) {
    EXPECT_EQ(Walk(At(3.5f, 0.5f), At(0.5f, 3.5f), 4, 4), "...3\n"
                                                          "..2.\n"
                                                          ".1..\n"
                                                          "....");
}

TEST(LineWalk, EndsBetweenCentresCoverOnlyCentresInsideTheSpan) {
    // Centres 1.5 and 2.5 lie in [1.2, 2.8); 0.5 and 3.5 do not.
    EXPECT_EQ(Walk(At(1.2f, 0.5f), At(2.8f, 0.5f), 4, 1), ".12.");
    // A line shorter than a pixel that spans no centre draws nothing.
    EXPECT_EQ(Walk(At(1.6f, 0.5f), At(2.4f, 0.5f), 4, 1), "....");
    EXPECT_EQ(Walk(At(1.5f, 0.5f), At(1.5f, 0.5f), 4, 1), "....");
}

TEST(LineWalk, BoundsCutTheMajorAxisOnly) {
    EXPECT_EQ(Walk(At(0.5f, 0.5f), At(6.5f, 0.5f), 7, 1, {2, 0, 5, 1}), "..123..");
    // The minor axis is the caller's to clip: fragments below the bounds still come through.
    EXPECT_EQ(Walk(At(0.5f, 5.5f), At(3.5f, 5.5f), 4, 1, {0, 0, 10, 2}), ".... (0,5) (1,5) (2,5)");
}

TEST(LineWalk, FarEndpointsAreClampedInsteadOfOverflowing) {
    int visits = 0;
    ad::plugin::WalkLine(At(-1e30f, 0.5f), At(1e30f, 0.5f), {0, 0, 8, 1},
                         [&](int px, int, const WindowVertex&) {
                             EXPECT_GE(px, 0);
                             EXPECT_LT(px, 8);
                             ++visits;
                         });
    EXPECT_EQ(visits, 8);
}

TEST(LineWalk, FragmentsCarryAttributesInterpolatedAtPixelCentres) {
    WindowVertex a = At(0.0f, 0.5f), b = At(4.0f, 0.5f);
    a.s = 0;
    b.s = 8;
    a.color[0] = 0;
    b.color[0] = 200;
    std::vector<float> s, red;
    ad::plugin::WalkLine(a, b, {0, 0, 10, 10}, [&](int, int, const WindowVertex& f) {
        s.push_back(f.s);
        red.push_back(f.color[0]);
    });
    EXPECT_EQ(s, (std::vector<float>{1, 3, 5, 7}));
    EXPECT_EQ(red, (std::vector<float>{25, 75, 125, 175}));
}

TEST(PointRule, PointCoversThePixelContainingItAlsoLeftOfAndAboveTheOrigin) {
    EXPECT_EQ(ad::plugin::PointPixelX(At(2.99f, 0)), 2);
    EXPECT_EQ(ad::plugin::PointPixelY(At(0, 3.0f)), 3);
    EXPECT_EQ(ad::plugin::PointPixelX(At(-0.25f, 0)), -1);
    EXPECT_EQ(ad::plugin::PointPixelY(At(0, -1e20f)), -1073741824);
}

} // namespace
} // namespace vimbo::test
