// The sprite tree and engine: Z order, grid upkeep at negative positions, the per-frame move, draw
// with clipping, deferred freeing, the collision scan and the point queries.
#include "engine/sprites/AdSprites.hpp"

#include <algorithm>

#include <gtest/gtest.h>

#include "tests/engine/sprites/SpriteTestSupport.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace {

using vimbo::test::BlockSprite;
using vimbo::test::Names;
using vimbo::test::ProbeSprite;
using vimbo::test::RecordingTester;
using vimbo::test::SpecialBlockSprite;

class SpriteTreeTest : public ::testing::Test {
protected:
    ProbeSprite* Add(const std::string& name, double x, double y, double w = 10, double h = 10) {
        return new ProbeSprite(&engine, name, x, y, w, h, &drawLog);
    }

    std::vector<std::string> drawLog;
    ad::TSpriteEngine engine{nullptr};
};

TEST_F(SpriteTreeTest, EqualZPutsTheNewestFirstDrawnBeneathAndFoundLast) {
    engine.Clipping = false; // the engine has no surface, so nothing would meet its SurfaceRect
    Add("old", 0, 0);
    auto* young = Add("young", 5, 5);
    EXPECT_EQ(Names(engine.Children()), "young old");
    engine.Draw();
    EXPECT_EQ(drawLog, (std::vector<std::string>{"young", "old"}));
    EXPECT_EQ(static_cast<ProbeSprite*>(engine.GetSpriteAt(7, 7))->name, "old");
    EXPECT_EQ(engine.GetSpriteAt(12, 12), young);
    young->SetZ(1);
    EXPECT_EQ(engine.GetSpriteAt(7, 7), young);
}

TEST_F(SpriteTreeTest, SetZWithTheCurrentValueKeepsTheOrder) {
    auto* a = Add("a", 0, 0);
    Add("b", 0, 0);
    a->SetZ(0);
    EXPECT_EQ(Names(engine.Children()), "b a");
    EXPECT_EQ(Names(engine.Grid().Cell(0, 0)), "b a");
    a->SetZ(3);
    a->SetZ(0); // a re-insert puts it first among its equals, in the children and in the cell
    EXPECT_EQ(Names(engine.Children()), "a b");
    EXPECT_EQ(Names(engine.Grid().Cell(0, 0)), "a b");
}

TEST_F(SpriteTreeTest, NegativePositionsGrowTheGridAndLookupsStayRight) {
    auto* mover = Add("mover", 0, 0, 24, 24);
    auto* runner = Add("runner", -290, -20, 24, 24);
    EXPECT_EQ(runner->CellRect(), (ad::TSpriteRect{-3, -1, -2, 1}));
    EXPECT_TRUE(engine.Grid().Unsorted());
    EXPECT_EQ(engine.Grid().MinX(), -3);
    EXPECT_EQ(Names(engine.Grid().Cell(-3, -1)), "runner");
    EXPECT_EQ(Names(engine.Grid().Cell(-3, 0)), "runner");
    EXPECT_EQ(engine.GetSpriteAt(-280, -10), runner);

    // The runner's collision scan must reach the mover through the unsorted keys.
    mover->SetX(-280);
    EXPECT_EQ(runner->Collision(), 1);
    engine.Move(0.01);
    EXPECT_FALSE(engine.Grid().Unsorted());
    EXPECT_EQ(Names(engine.Grid().Cell(-3, 0)), "mover runner");
    EXPECT_EQ(Names(engine.Grid().Cell(-3, -1)), "runner");
    EXPECT_EQ(runner->Collision(), 1);
    EXPECT_EQ(runner->hits, (std::vector<ad::TSprite*>{mover, mover}));
    EXPECT_EQ(runner->GetCollisionCellRect(), (ad::TSpriteRect{-3, -1, -1, 0})); // clamped to the grid
}

TEST_F(SpriteTreeTest, AZeroWidthSpriteIsInNoCellButFoundAtItsEdge) {
    auto* line = Add("line", 0, 0, 0, 20);
    auto* box = Add("box", -5, 0, 10, 10);
    EXPECT_EQ(line->CellRect(), (ad::TSpriteRect{0, 0, 0, 1}));
    EXPECT_EQ(Names(engine.Grid().Cell(0, 0)), "box");
    EXPECT_EQ(engine.GetSpriteAt(0, 15), line);
    RecordingTester tester;
    box->CollisionTester = &tester;
    box->Collision();
    ASSERT_EQ(tester.pairs.size(), 0u); // the box met only itself, which is not handed on
    EXPECT_EQ(tester.flushes, 1);
}

TEST_F(SpriteTreeTest, CountOfClassCountsTheWholeSubtreeByExactClass) {
    auto* block = new BlockSprite(&engine, "block");
    new BlockSprite(block, "inner block");
    new SpecialBlockSprite(&engine, "special");
    new SpecialBlockSprite(block, "inner special");
    Add("probe", 0, 0);
    EXPECT_EQ(engine.CountOfClass<BlockSprite>(), 2);
    EXPECT_EQ(engine.CountOfClass<SpecialBlockSprite>(), 2);
    EXPECT_EQ(engine.CountOfClass<ProbeSprite>(), 1);
    EXPECT_EQ(block->CountOfClass<BlockSprite>(), 1); // itself not counted
}

TEST_F(SpriteTreeTest, GetSpritesAtFiltersByInstanceAndOrdersByZ) {
    auto* block = new BlockSprite(&engine, "block", 0, 0, 10, 10);
    auto* special = new SpecialBlockSprite(&engine, "special", 0, 0, 10, 10);
    Add("probe", 0, 0)->SetZ(-1);
    block->SetZ(2);
    special->SetZ(1);
    ad::TSpriteList list;
    list.Add(block); // emptied first
    engine.GetSpritesAt<BlockSprite>(10, 10, &list);
    EXPECT_EQ(Names(list), "special block");
    engine.GetSpritesAt(0, 0, &list);
    EXPECT_EQ(Names(list), "probe special block");
    engine.GetSpritesAt(10.5, 0, &list);
    EXPECT_EQ(list.Count(), 0);
    engine.GetSpritesAt(0, 0, nullptr);
}

TEST_F(SpriteTreeTest, BoundsRoundHalvesToEven) {
    auto* s = Add("s", 0.5, 1.5, 2.5, 3.5);
    EXPECT_EQ(s->GetBoundsRect(), (ad::TSpriteRect{0, 2, 2, 6}));
    auto* child = new ProbeSprite(s, "child", 2.0, -0.5, 1, 1);
    EXPECT_EQ(child->GetBoundsRect(), (ad::TSpriteRect{2, 1, 3, 2})); // absolute 2.5 and 1.0
}

class CollisionTest : public SpriteTreeTest {
protected:
    void SetUp() override {
        hero = Add("hero", 0, 0, 20, 20);
        for (int i = 0; i < 3; ++i)
            others.push_back(Add(std::to_string(i).insert(0, "o"), 5.0 + i, 5.0 + i));
    }
    ProbeSprite* hero = nullptr;
    std::vector<ProbeSprite*> others;
};

TEST_F(CollisionTest, CountsEveryOverlapOnce) {
    auto* far = Add("far", 300, 300);
    (void)far;
    Add("touching", 20, 0); // shares only the edge
    EXPECT_EQ(hero->Collision(), 3);
    EXPECT_EQ(hero->hits.size(), 3u);
    EXPECT_EQ(engine.CollisionSprite(), nullptr);
}

TEST_F(CollisionTest, APointSizedSpriteMeetsOnlySpritesItLiesStrictlyInside) {
    auto* pointer = Add("pointer", 4, 4, 0, 0);
    EXPECT_EQ(pointer->Collision(), 1);
    EXPECT_EQ(pointer->hits, (std::vector<ad::TSprite*>{hero}));
    pointer->SetX(6); // inside the hero and the first of the others, on the second one's corner
    pointer->SetY(6);
    pointer->hits.clear();
    EXPECT_EQ(pointer->Collision(), 2);
    EXPECT_EQ(std::count(pointer->hits.begin(), pointer->hits.end(), others[0]), 1);
    EXPECT_EQ(std::count(pointer->hits.begin(), pointer->hits.end(), hero), 1);
    pointer->SetX(0); // on the hero's left edge
    pointer->SetY(10);
    EXPECT_EQ(pointer->Collision(), 0);
}

TEST_F(CollisionTest, DoneStopsTheScan) {
    hero->onCollision = [](ProbeSprite&, ad::TSprite*, bool& done) { done = true; };
    EXPECT_EQ(hero->Collision(), 1);
    EXPECT_EQ(hero->hits.size(), 1u);
}

TEST_F(CollisionTest, DyingStopsTheScanAndTheDeadStartNoScan) {
    hero->onCollision = [](ProbeSprite& self, ad::TSprite*, bool&) { self.Dead(); };
    EXPECT_EQ(hero->Collision(), 1);
    EXPECT_EQ(hero->Collision(), 0);
    // A dead-marked sprite can still be hit until the engine frees it.
    EXPECT_EQ(others[0]->Collision(), 3);
    engine.Dead();
    EXPECT_EQ(engine.Children().IndexOf(hero), -1);
    EXPECT_EQ(others[0]->Collision(), 2);
}

TEST_F(CollisionTest, CandidatesThatCannotCollideAreSkipped) {
    others[1]->CanDoCollisions = false;
    EXPECT_EQ(hero->Collision(), 2);
    hero->CanDoCollisions = false;
    EXPECT_EQ(hero->Collision(), 0);
}

// A sprite that answers blocks alone: other candidates reach neither its response nor its tester.
class BlockHunter : public ProbeSprite {
public:
    using ProbeSprite::ProbeSprite;
    bool CollidesWith(const ad::TSprite& other) const override {
        return dynamic_cast<const BlockSprite*>(&other) != nullptr;
    }
};

TEST_F(CollisionTest, CandidatesTheCollidingSpriteRulesOutAreNeitherTestedNorAnswered) {
    auto* hunter = new BlockHunter(&engine, "hunter", 0, 0, 20, 20);
    auto* block = new BlockSprite(&engine, "block", 10, 10, 5, 5);
    EXPECT_EQ(hunter->Collision(), 1);
    ASSERT_EQ(hunter->hits.size(), 1u);
    EXPECT_EQ(hunter->hits[0], block);
    RecordingTester tester;
    hunter->CollisionTester = &tester;
    hunter->Collision();
    ASSERT_EQ(tester.pairs.size(), 1u) << "the hero and the others are not even tested";
    EXPECT_EQ(tester.pairs[0].second, block);
}

TEST_F(CollisionTest, ACandidateMovedAwayByAResponseIsHitAgainLater) {
    hero->onCollision = [](ProbeSprite&, ad::TSprite* other, bool& done) {
        other->SetX(1000);
        done = true;
    };
    EXPECT_EQ(hero->Collision(), 1);
    hero->SetX(1000);
    hero->onCollision = nullptr;
    EXPECT_EQ(hero->Collision(), 1);
    EXPECT_EQ(hero->hits[0], hero->hits[1]);
    for (ProbeSprite* other : others)
        EXPECT_FALSE(other->Visited());
}

TEST_F(CollisionTest, CandidatesKilledDuringTheScanAreFreedOnceByTheEngine) {
    hero->onCollision = [](ProbeSprite&, ad::TSprite* other, bool&) {
        other->Dead();
        other->Dead();
    };
    EXPECT_EQ(hero->Collision(), 3);
    EXPECT_EQ(engine.DeadList().size(), 3u);
    engine.Dead();
    EXPECT_EQ(engine.Children().Count(), 1);
    EXPECT_EQ(Names(engine.Grid().Cell(0, 0)), "hero");
}

TEST_F(CollisionTest, ANestedScanIsRefused) {
    int nested = -1;
    hero->onCollision = [&](ProbeSprite&, ad::TSprite* other, bool&) { nested = other->Collision(); };
    EXPECT_EQ(hero->Collision(), 3);
    EXPECT_EQ(nested, 0);
}

TEST_F(CollisionTest, BruteForceReachesChildrenOfSpritesOutsideTheScannedCells) {
    auto* parent = Add("parent", 500, 500);
    new ProbeSprite(parent, "kid", -495, -495, 5, 5); // absolutely at (5, 5)
    auto* hidden = new ProbeSprite(others[0], "hidden", 0, 0, 5, 5);
    hidden->CanDoCollisions = false;
    EXPECT_EQ(hero->Collision(), 3); // the parent's cells are far away
    engine.BruteForceCollision = true;
    EXPECT_EQ(hero->Collision(), 4); // three others and the kid; the hidden one is skipped
}

TEST_F(SpriteTreeTest, DeadFreesMarkedSpritesAndTheirSubtreesOnce) {
    auto* parent = Add("parent", 0, 0);
    auto* kid = new ProbeSprite(parent, "kid", 1, 1, 2, 2);
    kid->Dead();
    parent->Dead();
    EXPECT_EQ(engine.DeadList().size(), 2u);
    engine.Dead();
    EXPECT_EQ(engine.Children().Count(), 0);
    EXPECT_TRUE(engine.DeadList().empty());
    EXPECT_TRUE(engine.Grid().Cell(0, 0).Empty());

    // A marked sprite that its parent frees first also leaves the dead list.
    auto* other = Add("other", 0, 0);
    auto* orphan = new ProbeSprite(other, "orphan", 1, 1, 2, 2);
    orphan->Dead();
    other->Clear();
    EXPECT_TRUE(engine.DeadList().empty());
    engine.Dead();
    EXPECT_EQ(engine.Children().Count(), 1);
}

TEST_F(SpriteTreeTest, MoveVisitsTheChildrenPresentAtItsStart) {
    auto* spawner = Add("spawner", 0, 0);
    ProbeSprite* spawned = nullptr;
    spawner->onMove = [&](ProbeSprite& self) {
        if (spawned == nullptr) {
            spawned = new ProbeSprite(&engine, "spawned");
            spawned->SetZ(9); // lands behind the end of the loop
        }
        (void)self;
    };
    auto* frozen = Add("frozen", 0, 0);
    frozen->CanMove = false;
    new ProbeSprite(frozen, "frozen kid");
    engine.Move(0.1);
    ASSERT_NE(spawned, nullptr);
    EXPECT_EQ(spawned->moves, 0);
    EXPECT_EQ(frozen->moves, 0);
    EXPECT_EQ(static_cast<ProbeSprite*>(frozen->Children().Items(0))->moves, 0);
    engine.Move(0.1);
    EXPECT_EQ(spawned->moves, 1);
    EXPECT_EQ(spawner->moves, 2);
}

class DrawTest : public SpriteTreeTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(surface.draw->Initialized()) << surface.draw->LastError;
        engine.SetSurface(surface.draw.get());
    }
    vimbo::test::HeadlessSurface surface{128, 96};
};

TEST_F(DrawTest, ClippingSkipsSpritesOutsideTheSurfaceWithTheirChildren) {
    EXPECT_EQ(engine.SurfaceRect(), (ad::TSpriteRect{0, 0, 128, 96}));
    auto* outside = Add("outside", 128, 10);
    new ProbeSprite(outside, "inside kid", -100, 0, 10, 10, &drawLog);
    auto* edge = Add("edge", -9, -9);
    auto* invisible = Add("invisible", 0, 0);
    invisible->Visible = false;
    new ProbeSprite(invisible, "invisible kid", 0, 0, 10, 10, &drawLog);
    engine.Draw();
    EXPECT_EQ(drawLog, (std::vector<std::string>{"edge"}));
    edge->SetX(-10);
    drawLog.clear();
    engine.Clipping = false;
    engine.Draw();
    EXPECT_EQ(drawLog, (std::vector<std::string>{"edge", "inside kid", "outside"}));
}

} // namespace
