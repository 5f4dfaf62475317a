// The particles on their own, without a surface or a worker: variation of parameters, emission
// directions, movement and death, the colour ramp, billboard corners, bounds and the index limit.
#include "engine/particles/AdParticleClasses.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/platform/Random.hpp"

namespace {

using namespace ad;

TEST(ParticleParameterTest, InterpolatesFromStartToStopOverTheLifetime) {
    const TAdParticleParameter p{2.0, 6.0, 0.0};
    EXPECT_DOUBLE_EQ(p.ValueAt(0.0, 2.0), 2.0);
    EXPECT_DOUBLE_EQ(p.ValueAt(1.0, 2.0), 4.0);
    EXPECT_DOUBLE_EQ(p.ValueAt(2.0, 2.0), 6.0);
    EXPECT_DOUBLE_EQ(p.ValueAt(1.0, 0.0), 2.0) << "no lifetime must not divide by zero";
}

TEST(ParticleParameterTest, VariationOfOneShrinksByExactlyOnePercent) {
    platform::SetRandSeed(5);
    for (int i = 0; i < 20; ++i) {
        TAdParticleParameter p{100.0, 50.0, 1.0};
        p.Vary();
        EXPECT_DOUBLE_EQ(p.start, 99.0);
        EXPECT_DOUBLE_EQ(p.stop, 49.5);
    }
}

TEST(ParticleParameterTest, VariationBelowOneHalfShrinksByTheVariationItself) {
    TAdParticleParameter p{100.0, 200.0, 0.05};
    p.Vary();
    EXPECT_NEAR(p.start, 99.95, 1e-9);
    EXPECT_NEAR(p.stop, 199.9, 1e-9);
}

TEST(ParticleParameterTest, LargerVariationShrinksByWholePercentsWithinItsRange) {
    platform::SetRandSeed(11);
    std::vector<bool> seen(10, false);
    for (int i = 0; i < 500; ++i) {
        TAdParticleParameter p{100.0, 100.0, 10.0};
        p.Vary();
        const double percent = 100.0 - p.start;
        ASSERT_GE(percent, 1.0 - 1e-9);
        ASSERT_LE(percent, 10.0 + 1e-9);
        ASSERT_NEAR(percent, std::round(percent), 1e-9);
        seen[static_cast<size_t>(std::lround(percent)) - 1] = true;
    }
    for (bool s : seen)
        EXPECT_TRUE(s);
}

TEST(StdParticleTest, DefaultEmissionFliesOutwardsAt100PixelsPerSecondInSpreadDirections) {
    platform::SetRandSeed(2024);
    TAdStdParticle templ(nullptr);
    int quadrants[4] = {};
    for (int i = 0; i < 400; ++i) {
        TAdStdParticle p(nullptr);
        p.Assign(templ);
        p.Setup(50, 40);
        EXPECT_FLOAT_EQ(p.Position.x, 50.0f);
        EXPECT_FLOAT_EQ(p.Position.y, 40.0f);
        p.Move(0.5);
        const double dx = p.Position.x - 50.0, dy = p.Position.y - 40.0;
        ASSERT_NEAR(std::hypot(dx, dy), 50.0, 1e-3);
        ++quadrants[(dx >= 0 ? 0 : 1) + (dy >= 0 ? 0 : 2)];
    }
    for (int q : quadrants) {
        EXPECT_GT(q, 70);
        EXPECT_LT(q, 130);
    }
}

TEST(StdParticleTest, CreationConeLimitsTheDirection) {
    platform::SetRandSeed(8);
    TAdStdParticle templ(nullptr);
    templ.creationangle = 90;
    templ.creationanglerange = 20;
    for (int i = 0; i < 100; ++i) {
        TAdStdParticle p(nullptr);
        p.Assign(templ);
        p.Setup(0, 0);
        const double degrees = std::atan2(p.Direction.y, p.Direction.x) * 180.0 / std::numbers::pi;
        EXPECT_GE(degrees, 80.0 - 1e-4);
        EXPECT_LT(degrees, 100.0 + 1e-4);
    }
}

TEST(StdParticleTest, VelocityFollowsItsParameterByTheAgeBeforeEachStep) {
    TAdStdParticle p(nullptr);
    p.creationanglerange = 0; // straight along +x
    p.xvelocity = {100.0, 0.0, 0.0};
    p.Setup(0, 0);
    p.Move(0.5); // speed at age 0: 100
    EXPECT_NEAR(p.Position.x, 50.0, 1e-4);
    p.Move(0.25); // speed at age 0.5: 50
    EXPECT_NEAR(p.Position.x, 62.5, 1e-4);
    EXPECT_NEAR(p.Position.y, 0.0, 1e-4);
}

TEST(StdParticleTest, DiesOnlyOnceItsAgePassesTheLifetime) {
    TAdStdParticle p(nullptr);
    p.lifetime = 0.5;
    p.Setup(0, 0);
    p.Move(0.5);
    EXPECT_FALSE(p.Dead()) << "an age equal to the lifetime is still alive";
    p.Move(0.01);
    EXPECT_TRUE(p.Dead());
}

TEST(StdParticleTest, LifetimeVariationSpreadsTheLifetimeAndAZeroLifetimeDiesAtOnce) {
    platform::SetRandSeed(4);
    TAdStdParticle templ(nullptr);
    templ.lifetimevariation = 50.0; // +-25 %
    double low = 10.0, high = 0.0;
    for (int i = 0; i < 200; ++i) {
        TAdStdParticle p(nullptr);
        p.Assign(templ);
        p.Setup(0, 0);
        low = std::min(low, p.lifetime);
        high = std::max(high, p.lifetime);
    }
    EXPECT_GE(low, 0.75);
    EXPECT_LT(low, 0.8);
    EXPECT_LT(high, 1.25);
    EXPECT_GT(high, 1.2);

    TAdStdParticle none(nullptr);
    none.lifetime = 0.0;
    none.Setup(10, 10);
    none.Move(0.0);
    EXPECT_TRUE(none.Dead());
    EXPECT_FLOAT_EQ(none.Position.x, 10.0f);
}

TEST(ParticleRampTest, ColourAtTheStartMiddleAndEndOfLife) {
    const std::vector<AdColor> ramp = {{0, 0, 255, 255}, {255, 215, 0, 0}};
    EXPECT_EQ(AdParticleRampColor(ramp, 0.0, 2.0), (AdColor{0, 0, 255, 255}));
    EXPECT_EQ(AdParticleRampColor(ramp, 1.0, 2.0), (AdColor{128, 108, 128, 128}));
    EXPECT_EQ(AdParticleRampColor(ramp, 2.0, 2.0), (AdColor{255, 215, 0, 0}));
    EXPECT_EQ(AdParticleRampColor(ramp, 3.0, 2.0), (AdColor{255, 215, 0, 0}));
    EXPECT_EQ(AdParticleRampColor(ramp, -1.0, 2.0), (AdColor{0, 0, 255, 255}));
}

TEST(ParticleRampTest, LongerRampsAndDegenerateOnes) {
    const std::vector<AdColor> ramp = {{0, 0, 0, 0}, {200, 100, 0, 255}, {0, 0, 200, 55}};
    EXPECT_EQ(AdParticleRampColor(ramp, 0.5, 1.0), (AdColor{200, 100, 0, 255}));
    EXPECT_EQ(AdParticleRampColor(ramp, 0.25, 1.0), (AdColor{100, 50, 0, 128}));
    EXPECT_EQ(AdParticleRampColor(ramp, 0.75, 1.0), (AdColor{100, 50, 100, 155}));
    EXPECT_EQ(AdParticleRampColor({}, 0.5, 1.0), (AdColor{}));
    EXPECT_EQ(AdParticleRampColor({{1, 2, 3, 4}}, 0.5, 1.0), (AdColor{1, 2, 3, 4}));
}

class BillboardTest : public ::testing::Test {
protected:
    BillboardTest() {
        geometry.TextureWidth = 8;
        geometry.TextureHeight = 4;
        geometry.Colors = {{255, 0, 0, 255}, {255, 0, 0, 255}};
        particle.creationanglerange = 0;
        particle.xvelocity = {0.0, 0.0, 0.0};
        particle.yvelocity = {0.0, 0.0, 0.0};
    }
    TAdParticleGeometry geometry;
    TAdBillboardParticle particle{nullptr};
};

TEST_F(BillboardTest, WritesFourCornersTwoTrianglesAndTheTextureCoordinates) {
    particle.Setup(20, 10);
    geometry.Reset(4, 6);
    particle.WriteGeometry(geometry);
    ASSERT_EQ(geometry.VertexCount, 4);
    ASSERT_EQ(geometry.IndexCount, 6);
    EXPECT_EQ(geometry.PrimitiveCount, 2);
    const float xs[4] = {16, 24, 16, 24}, ys[4] = {8, 8, 12, 12}, us[4] = {0, 1, 0, 1}, vs[4] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
        const AdVertex& v = geometry.Vertices[static_cast<size_t>(i)];
        EXPECT_FLOAT_EQ(v.x, xs[i]) << i;
        EXPECT_FLOAT_EQ(v.y, ys[i]) << i;
        EXPECT_FLOAT_EQ(v.u, us[i]);
        EXPECT_FLOAT_EQ(v.v, vs[i]);
        EXPECT_FLOAT_EQ(v.nz, -1.0f);
        EXPECT_EQ(v.color, (AdColor{255, 0, 0, 255}));
    }
    const std::vector<uint16_t> indices(geometry.Indices.begin(), geometry.Indices.begin() + 6);
    EXPECT_EQ(indices, (std::vector<uint16_t>{0, 1, 2, 1, 3, 2}));
}

TEST_F(BillboardTest, SizeGoingFromOneToZeroHalvesTheQuadAtHalfLife) {
    particle.size = {1.0, 0.0, 0.0};
    particle.Setup(20, 10);
    particle.Move(0.5);
    EXPECT_DOUBLE_EQ(particle.CurrentSize, 0.5);
    geometry.Reset(4, 6);
    particle.WriteGeometry(geometry);
    EXPECT_FLOAT_EQ(geometry.Vertices[0].x, 18.0f);
    EXPECT_FLOAT_EQ(geometry.Vertices[3].x, 22.0f);
    EXPECT_FLOAT_EQ(geometry.Vertices[0].y, 9.0f);
    EXPECT_FLOAT_EQ(geometry.Vertices[3].y, 11.0f);
}

TEST_F(BillboardTest, RotatedCornersStayOnTheCircleAroundThePosition) {
    particle.angle = {std::numbers::pi / 4.0, std::numbers::pi / 4.0, 0.0};
    particle.Setup(20, 10);
    particle.Move(0.1);
    geometry.Reset(4, 6);
    particle.WriteGeometry(geometry);
    const double r = std::sqrt(4.0 * 4.0 + 2.0 * 2.0);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(std::hypot(geometry.Vertices[static_cast<size_t>(i)].x - 20.0,
                               geometry.Vertices[static_cast<size_t>(i)].y - 10.0),
                    r, 1e-4);
    // 1/4 pi + 5/4 pi points straight up (y grows downwards): the first corner.
    EXPECT_NEAR(geometry.Vertices[0].x, 20.0, 1e-4);
    EXPECT_NEAR(geometry.Vertices[0].y, 10.0 - r, 1e-4);
}

TEST_F(BillboardTest, BoundsCoverTheQuadAndAPointCoversItsPixel) {
    particle.Setup(20, 10);
    geometry.Reset(4, 6);
    particle.UpdateBounds(geometry);
    geometry.FinishBounds();
    EXPECT_EQ(geometry.Bounds, (AdRect{16, 8, 24, 12}));

    TAdStdParticle point(nullptr);
    point.Position = {10.3f, 20.7f, 0.0f};
    geometry.Reset(1, 0);
    point.UpdateBounds(geometry);
    geometry.FinishBounds();
    EXPECT_EQ(geometry.Bounds, (AdRect{10, 20, 11, 21}));

    geometry.Reset(1, 0);
    geometry.FinishBounds();
    EXPECT_EQ(geometry.Bounds, (AdRect{}));
}

TEST_F(BillboardTest, ParticlesBeyondTheSixteenBitIndexRangeAreNotWritten) {
    const int capacity = kAdParticleMaxVertices / 4;
    geometry.Reset(static_cast<size_t>(kAdParticleMaxVertices), static_cast<size_t>(capacity) * 6);
    particle.Setup(5, 5);
    for (int i = 0; i < capacity + 3; ++i)
        particle.WriteGeometry(geometry);
    EXPECT_EQ(geometry.VertexCount, kAdParticleMaxVertices);
    EXPECT_EQ(geometry.IndexCount, capacity * 6);
    EXPECT_EQ(geometry.Indices[static_cast<size_t>(capacity * 6 - 2)], kAdParticleMaxVertices - 1);
}

TEST(ParticleAssignTest, BillboardCopiesItsOwnSettingsOnlyFromABillboard) {
    TAdBillboardParticle source(nullptr);
    source.lifetime = 5.0;
    source.size = {0.2, 1.0, 0.05};
    TAdBillboardParticle copy(nullptr);
    copy.Assign(source);
    EXPECT_DOUBLE_EQ(copy.lifetime, 5.0);
    EXPECT_DOUBLE_EQ(copy.size.stop, 1.0);

    TAdStdParticle plain(nullptr);
    plain.lifetime = 0.5;
    copy.Assign(plain);
    EXPECT_DOUBLE_EQ(copy.lifetime, 0.5);
    EXPECT_DOUBLE_EQ(copy.size.stop, 1.0) << "a plain source leaves the size alone";
}

TEST(ParticleListTest, RemovingTheDeadKeepsTheOrderOfTheLiving) {
    TAdParticleList list;
    for (int i = 0; i < 5; ++i) {
        auto p = std::make_unique<TAdStdParticle>(nullptr);
        p->Position.x = static_cast<float>(i);
        if (i % 2 == 1)
            p->Kill();
        list.Add(std::move(p));
    }
    list.RemoveDead();
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_FLOAT_EQ(static_cast<TAdStdParticle&>(list[0]).Position.x, 0.0f);
    EXPECT_FLOAT_EQ(static_cast<TAdStdParticle&>(list[1]).Position.x, 2.0f);
    EXPECT_FLOAT_EQ(static_cast<TAdStdParticle&>(list[2]).Position.x, 4.0f);
}

} // namespace
