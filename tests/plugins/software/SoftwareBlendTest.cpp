// The CPU renderer's integer pixel maths against the same formulas computed in floating point.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "plugins/software/SoftwareBlend.hpp"

namespace {

using namespace ad::software;

uint32_t RoundDiv255(double x) {
    return static_cast<uint32_t>(std::floor(x / 255.0 + 0.5));
}
uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

// A spread of 8-bit values including both ends and the neighbours of the middle.
constexpr uint32_t kSamples[] = {0, 1, 2, 7, 31, 64, 100, 127, 128, 129, 170, 200, 231, 253, 254, 255};

TEST(SoftwareBlendMaths, Div255RoundsEveryProductOfTwoChannels) {
    for (uint32_t x = 0; x <= 255 * 255; ++x)
        ASSERT_EQ(Div255(x), RoundDiv255(x)) << x;
}

TEST(SoftwareBlendMaths, PackingMatchesBgraByteOrder) {
    const uint32_t p = PackColor(ad::AdColor{10, 20, 30, 40});
    const auto* bytes = reinterpret_cast<const uint8_t*>(&p);
    EXPECT_EQ(bytes[0], 30); // blue
    EXPECT_EQ(bytes[1], 20);
    EXPECT_EQ(bytes[2], 10);
    EXPECT_EQ(bytes[3], 40); // alpha
    EXPECT_EQ(UnpackColor(p), (ad::AdColor{10, 20, 30, 40}));
}

TEST(SoftwareBlendMaths, AlphaBlendFollowsTheDocumentedFormula) {
    for (uint32_t a : kSamples)
        for (uint32_t s : kSamples)
            for (uint32_t d : kSamples)
                for (uint32_t da : {0u, 77u, 255u}) {
                    const uint32_t src = Pack(a, s, 255 - s, s / 2);
                    const uint32_t dst = Pack(da, d, d / 3, 255 - d);
                    const uint32_t expected =
                        Pack(a + RoundDiv255(da * (255.0 - a)), RoundDiv255(s * a + d * (255.0 - a)),
                             RoundDiv255((255 - s) * a + d / 3 * (255.0 - a)),
                             RoundDiv255(s / 2 * a + (255 - d) * (255.0 - a)));
                    ASSERT_EQ(BlendAlpha(src, dst), expected) << std::hex << src << " over " << dst;
                }
}

TEST(SoftwareBlendMaths, AdditiveBlendSaturates) {
    for (uint32_t a : kSamples)
        for (uint32_t s : kSamples)
            for (uint32_t d : kSamples) {
                const uint32_t src = Pack(a, s, s / 2, 255 - s);
                const uint32_t dst = Pack(d, d, 255 - d, d / 4);
                auto add = [](uint32_t x, uint32_t y) { return std::min(255u, x + y); };
                const uint32_t expected =
                    Pack(add(d, a), add(d, RoundDiv255(s * a)), add(255 - d, RoundDiv255(s / 2 * a)),
                         add(d / 4, RoundDiv255((255 - s) * a)));
                ASSERT_EQ(BlendAdd(src, dst), expected) << std::hex << src << " + " << dst;
            }
    EXPECT_EQ(BlendAdd(0xFFFFFFFFu, 0xFFC0C0C0u), 0xFFFFFFFFu);
}

TEST(SoftwareBlendMaths, MultiplyKeepsDestinationAlpha) {
    for (uint32_t s : kSamples)
        for (uint32_t d : kSamples) {
            const uint32_t src = Pack(s, s, 255 - s, s / 3);
            const uint32_t dst = Pack(d, d, d, 255 - d);
            const uint32_t expected =
                Pack(d, RoundDiv255(s * d), RoundDiv255((255 - s) * d), RoundDiv255(s / 3 * (255.0 - d)));
            ASSERT_EQ(BlendMultiply(src, dst), expected);
        }
}

TEST(SoftwareBlendMaths, ModulateIsChannelWiseAndWhiteIsNeutral) {
    EXPECT_EQ(Modulate(0x80FF4020u, 0xFFFFFFFFu), 0x80FF4020u);
    EXPECT_EQ(Modulate(0xFF808080u, 0x80FF0040u),
              Pack(128, RoundDiv255(128 * 255), 0, RoundDiv255(128 * 64)));
    EXPECT_EQ(Modulate(0x12345678u, 0u), 0u);
}

} // namespace
