// The grid of sprite cells and the Z-ordered lists: growth to negative keys, lookups while the keys
// are unsorted and after Optimize, and the place of equal Z.
#include "engine/sprites/AdSpriteLists.hpp"

#include <gtest/gtest.h>

#include "tests/engine/sprites/SpriteTestSupport.hpp"

namespace {

using vimbo::test::Names;
using vimbo::test::ProbeSprite;

TEST(TSpriteListTest, InsertsBeforeTheFirstOfEqualOrGreaterZ) {
    ad::TSpriteEngine engine(nullptr);
    auto* a = new ProbeSprite(&engine, "a");
    auto* b = new ProbeSprite(&engine, "b");
    auto* c = new ProbeSprite(&engine, "c");
    auto* d = new ProbeSprite(&engine, "d");
    c->SetZ(5);
    d->SetZ(-1);
    ad::TSpriteList list;
    for (ad::TSprite* s : {static_cast<ad::TSprite*>(a), static_cast<ad::TSprite*>(c),
                           static_cast<ad::TSprite*>(b), static_cast<ad::TSprite*>(d)})
        list.Add(s);
    EXPECT_EQ(Names(list), "d b a c");
    EXPECT_EQ(list.Extract(b), b);
    EXPECT_EQ(list.Extract(b), nullptr);
    EXPECT_EQ(Names(list), "d a c");
}

class GridTest : public ::testing::Test {
protected:
    ad::TSpriteEngine engine{nullptr};
    ad::TSprite* s1 = new ProbeSprite(&engine, "s1");
    ad::TSprite* s2 = new ProbeSprite(&engine, "s2");
    ad::TAd2DSpriteList grid;
};

TEST_F(GridTest, GrowsToNegativeKeysAndFindsCellsBeforeAndAfterOptimize) {
    EXPECT_EQ(grid.XKeys(), std::vector<int32_t>{0});
    grid.Add(s1, -2, 1, 1, 2); // column -2, rows 1..2
    grid.Add(s2, 1, -1, 2, 1); // columns 1..2, row -1
    EXPECT_TRUE(grid.Unsorted());
    EXPECT_EQ(grid.XKeys(), (std::vector<int32_t>{0, -1, -2, 1, 2}));
    EXPECT_EQ(grid.YKeys(), (std::vector<int32_t>{0, 1, 2, -1}));
    EXPECT_EQ((std::vector<int32_t>{grid.MinX(), grid.MinY(), grid.MaxX(), grid.MaxY()}),
              (std::vector<int32_t>{-2, -1, 2, 2}));

    auto occupied = [&] {
        std::string picture;
        for (int32_t y = grid.MinY(); y <= grid.MaxY(); ++y) {
            for (int32_t x = grid.MinX(); x <= grid.MaxX(); ++x) {
                const ad::TSpriteList& cell = grid.Cell(x, y);
                picture += cell.Empty() ? '.' : cell.Items(0) == s1 ? '1' : '2';
            }
            picture += '\n';
        }
        return picture;
    };
    const std::string expected = "...22\n"
                                 ".....\n"
                                 "1....\n"
                                 "1....\n";
    EXPECT_EQ(occupied(), expected);
    grid.Optimize();
    EXPECT_FALSE(grid.Unsorted());
    EXPECT_EQ(grid.XKeys(), (std::vector<int32_t>{-2, -1, 0, 1, 2}));
    EXPECT_EQ(grid.YKeys(), (std::vector<int32_t>{-1, 0, 1, 2}));
    EXPECT_EQ(occupied(), expected);

    grid.Remove(s1, -2, 1, 1, 2);
    grid.Remove(s2, 1, -1, 2, 1);
    EXPECT_EQ(occupied(), ".....\n.....\n.....\n.....\n");
}

TEST_F(GridTest, AnEmptyRangeNeitherGrowsNorEnters) {
    grid.Add(s1, -5, -5, 0, 3);
    EXPECT_EQ(grid.MinX(), 0);
    EXPECT_EQ(grid.MinY(), 0);
    EXPECT_TRUE(grid.Cell(0, 0).Empty());
}

} // namespace
