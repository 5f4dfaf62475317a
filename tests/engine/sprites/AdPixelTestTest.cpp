// Pixel-exact collisions through a renderer plugin (the software one, or the OpenGL one when built
// as the display variant): rectangles that only touch, overlapping rectangles with disjoint opaque
// pixels, delivery order and Done, invisible sprites, the item pool and its loss when the plugin
// restarts.
#include "engine/sprites/AdPixelTest.hpp"

#include <gtest/gtest.h>

#include "tests/engine/sprites/SpriteTestSupport.hpp"
#include "tests/support/DisplayTests.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace {

using vimbo::test::PictureImage;
using vimbo::test::SolidImage;

class HitSprite : public ad::TImageSpriteEx {
public:
    HitSprite(ad::TSprite* parent, ad::TAdImage* image, double x, double y) : ad::TImageSpriteEx(parent) {
        SetImage(image);
        SetX(x);
        SetY(y);
    }
    void DoCollision(ad::TSprite* sprite, bool& done) override {
        hits.push_back(sprite);
        if (onCollision)
            onCollision(*this, done);
    }
    std::vector<ad::TSprite*> hits;
    std::function<void(HitSprite&, bool&)> onCollision;
};

class PixelCollisionTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef VIMBO_PIXEL_TESTS_ON_OPENGL
        if (!surface.reason.empty()) GTEST_SKIP() << surface.reason;
#endif
        ASSERT_TRUE(surface.draw->Initialized()) << surface.draw->LastError;
        engine.SetSurface(surface.draw.get());
    }

    HitSprite* Add(ad::TAdImage* image, double x, double y, bool pixelTested = false) {
        auto* sprite = new HitSprite(&engine, image, x, y);
        if (pixelTested)
            sprite->CollisionTester = &tester;
        sprite->AnimActive = false;
        engine.Move(0); // the bounds of an image sprite exist from its first move
        return sprite;
    }

#ifdef VIMBO_PIXEL_TESTS_ON_OPENGL
    vimbo::test::OpenGLSurface surface{64, 48};
#else
    vimbo::test::HeadlessSurface surface{64, 48};
#endif
    ad::TAdImageList list{surface.draw.get()};
    ad::TAdSpritePixelCollisionTester tester{surface.draw.get()};
    ad::TSpriteEngine engine{nullptr};
    ad::TAdImage* solid = SolidImage(list, 8, 8, 0xFFFFFFFF);
    // Opaque on the left half only.
    ad::TAdImage* leftHalf = PictureImage(list, {"####....", "####....", "####....", "####...."});
};

TEST_F(PixelCollisionTest, TouchingEdgesMakeNoItemAndNoCollision) {
    auto* hero = Add(solid, 0, 0, true);
    Add(solid, 8, 0);
    Add(solid, 0, 8);
    EXPECT_EQ(hero->Collision(), 0);
    EXPECT_TRUE(hero->hits.empty());
    EXPECT_EQ(tester.PixelTester()->PoolSize(), 0);
}

TEST_F(PixelCollisionTest, OverlappingRectanglesWithDisjointPixelsDoNotCollide) {
    auto* hero = Add(leftHalf, 0, 0, true);
    auto* other = Add(leftHalf, 4, 0); // its opaque half lies on the hero's clear half
    EXPECT_EQ(hero->Collision(), 0);
    EXPECT_TRUE(hero->hits.empty());
    EXPECT_EQ(tester.PixelTester()->PoolSize(), 1);
    other->SetX(3); // one opaque column now lies on the hero's
    EXPECT_EQ(hero->Collision(), 0);
    EXPECT_EQ(hero->hits, (std::vector<ad::TSprite*>{other}));
}

TEST_F(PixelCollisionTest, ASinglePixelOfOverlapOnALargeIntersectionCounts) {
    ad::TAdImage* big = SolidImage(list, 64, 64, 0xFFFFFFFF);
    ad::TAdImage* corner = PictureImage(list, {"#..", "...", "..."}, 0, 0);
    auto* hero = Add(big, 0, 0, true);
    auto* other = Add(corner, 63, 63);
    hero->Collision();
    EXPECT_EQ(hero->hits, (std::vector<ad::TSprite*>{other}));
    hero->hits.clear();
    other->SetX(64);
    hero->Collision();
    EXPECT_TRUE(hero->hits.empty());
}

TEST_F(PixelCollisionTest, DeliversInScanOrderReturnsZeroAndStopsAtDone) {
    auto* hero = Add(solid, 0, 0, true);
    auto* a = Add(solid, 2, 2);
    auto* b = Add(solid, 4, 4);
    auto* c = Add(solid, 6, 6);
    EXPECT_EQ(hero->Collision(), 0);
    EXPECT_EQ(hero->hits, (std::vector<ad::TSprite*>{c, b, a})); // the newest stands first in the cell
    EXPECT_EQ(tester.PixelTester()->ItemCount(), 0);

    hero->hits.clear();
    hero->onCollision = [](HitSprite& self, bool& done) {
        if (self.hits.size() == 2)
            done = true;
    };
    hero->Collision();
    EXPECT_EQ(hero->hits.size(), 2u);

    hero->hits.clear();
    hero->onCollision = [](HitSprite& self, bool&) { self.Dead(); }; // dying does not stop the delivery
    hero->Collision();
    EXPECT_EQ(hero->hits.size(), 3u);
    EXPECT_EQ(tester.PixelTester()->PoolSize(), 3); // pooled: no growth over three scans
}

TEST_F(PixelCollisionTest, AnInvisibleSpriteNeverCollidesByPixels) {
    auto* hero = Add(solid, 0, 0, true);
    auto* ghost = Add(solid, 2, 2);
    ghost->Visible = false;
    hero->Collision();
    EXPECT_TRUE(hero->hits.empty());
    ghost->Visible = true;
    hero->Visible = false;
    hero->Collision();
    EXPECT_TRUE(hero->hits.empty());
}

TEST_F(PixelCollisionTest, TheTestLeavesSpritesAndEngineAsTheyWere) {
    auto* hero = Add(solid, 100.25, 20.5, true);
    auto* other = Add(solid, 104, 22);
    const ad::TSpriteRect heroCells = hero->CellRect(), otherCells = other->CellRect();
    hero->Collision();
    EXPECT_EQ(hero->hits.size(), 1u);
    EXPECT_EQ(hero->X(), 100.25);
    EXPECT_EQ(hero->Y(), 20.5);
    EXPECT_EQ(other->X(), 104);
    EXPECT_EQ(hero->CellRect(), heroCells);
    EXPECT_EQ(other->CellRect(), otherCells);
    EXPECT_EQ(engine.Surface(), surface.draw.get());
    EXPECT_EQ(engine.SurfaceRect(), (ad::TSpriteRect{0, 0, 64, 48}));
}

TEST_F(PixelCollisionTest, ARestartOfThePluginDropsThePool) {
    auto* hero = Add(solid, 0, 0, true);
    Add(solid, 4, 4);
    hero->Collision();
    ASSERT_EQ(tester.PixelTester()->PoolSize(), 1);
    surface.draw->Finalize();
    EXPECT_EQ(tester.PixelTester()->PoolSize(), 0);
    hero->Collision(); // nothing to draw with: no item, no callback
    EXPECT_EQ(hero->hits.size(), 1u);
    ASSERT_TRUE(surface.draw->Initialize());
    EXPECT_EQ(tester.PixelTester()->PoolSize(), 0);
    hero->Collision();
    EXPECT_EQ(tester.PixelTester()->PoolSize(), 1);
    EXPECT_EQ(hero->hits.size(), 2u);
}

} // namespace
