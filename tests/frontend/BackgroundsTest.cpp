// Tests of the two background layers: their colours, their layout, the endless scrolling in the
// menus and the parallax drift against the runner in play.
#include "frontend/Backgrounds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "frontend/GameFlow.hpp"
#include "game/Player.hpp"
#include "tests/frontend/FrontendFixture.hpp"

namespace vimbo {
namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

// The layer's positions, X values then Y values.
template <typename T> std::vector<double> Place(const std::array<SpriteRef<T>, 3>& layer) {
    std::vector<double> place;
    for (const SpriteRef<T>& sprite : layer)
        place.push_back(sprite->X());
    for (const SpriteRef<T>& sprite : layer)
        place.push_back(sprite->Y());
    return place;
}

std::vector<double> Moved(std::vector<double> place, double dx, double dy) {
    for (size_t i = 0; i < place.size(); ++i)
        place[i] += i < 3 ? dx : dy;
    return place;
}

void ExpectPlace(const std::vector<double>& actual, const std::vector<double>& expected) {
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-9) << (i < 3 ? "X" : "Y") << " of sprite " << i % 3 + 1;
}

// The layer's drawn rectangles, joined, cover the whole screen.
template <typename T> bool CoversScreen(const std::array<SpriteRef<T>, 3>& layer, int w, int h) {
    std::vector<ad::TSpriteRect> boxes;
    for (const SpriteRef<T>& sprite : layer)
        boxes.push_back(sprite->GetBoundsRect());
    std::sort(boxes.begin(), boxes.end(), [](auto& a, auto& b) { return a.left < b.left; });
    int32_t covered = 0;
    for (const ad::TSpriteRect& box : boxes)
        if (box.left <= covered && box.top <= 0 && box.bottom >= h)
            covered = std::max(covered, box.right);
    return covered >= w;
}

class BackgroundsTest : public test::FrontendFixture {
protected:
    void BuildLayers() {
        bgScroll = true;
        LevelFonCreate();
        Fon2Create();
    }
    // Play has begun: the runner stands on its start cell and the first key was pressed.
    void StartPlay() {
        PlayerCreate();
        BuildLayers();
        nastarte = false;
    }
    // One move of the six layer sprites alone, after a runner's step of (dx, dy).
    void MoveLayersAfterStep(double vx, double vy, double dx, double dy) {
        if (player.Usable()) {
            player->vx = vx, player->vy = vy, player->dx = dx, player->dy = dy;
        }
        for (const SpriteRef<TFon>& sprite : fonSprites)
            sprite->Move(1.0 / 60);
        for (const SpriteRef<TFon2>& sprite : fon2Sprites)
            sprite->Move(1.0 / 60);
    }
};

TEST_F(BackgroundsTest, ColoursFollowTheMenuAndTheLevelAndShowInTheNextFrame) {
    MainMenuE = true;
    level = 1;
    BuildLayers();
    EXPECT_EQ(fon2Color, Rgb(135, 206, 250));
    EXPECT_EQ(fonColor, Rgb(0, 255, 0));
    MainMenuE = false;
    level = 17;
    LevelFonCreate();
    EXPECT_EQ(fon2Color, Rgb(250, 250, 100));
    EXPECT_EQ(fonColor, Rgb(150, 150, 250));
    level = 20;
    LevelFonCreate();
    EXPECT_EQ(fon2Color, Rgb(0, 80, 0));
    EXPECT_EQ(fonColor, Rgb(220, 150, 30));

    fonColor = Rgb(1, 2, 3);
    Frame();
    EXPECT_EQ(fonSprites[2]->Color, fonColor);
    EXPECT_EQ(fon2Sprites[2]->Color, fon2Color);
}

TEST_F(BackgroundsTest, LayersAreThreeOverlappingSpritesRebuiltInPlaceAfterATeardown) {
    BuildLayers();
    const TFon2* upper = fon2Sprites[0].get();
    const double w = kScreenW;
    ExpectPlace(Place(fonSprites), {-10, w - 20, 2 * w - 30, -20, -20, -20});
    EXPECT_EQ(fonSprites[1]->Height(), kScreenH + 50);
    EXPECT_EQ(fon2Sprites[1]->Alpha(), 200);
    EXPECT_LT(fonSprites[0]->Z(), fon2Sprites[0]->Z());

    fon2Sprites[0]->SetX(-300);
    deleteLevel();
    Frame();
    Fon2Create();
    EXPECT_EQ(fon2Sprites[0].get(), upper);
    ExpectPlace(Place(fon2Sprites), {-10, w - 20, 2 * w - 30, -20, -20, -20});
    EXPECT_EQ(engine_.CountOfClass<TFon2>(), 3);
}

TEST_F(BackgroundsTest, InTheMenuTheUpperLayerScrollsTwiceAsFastAndNeitherEverShowsAGap) {
    MainMenuE = true;
    BuildLayers();
    const std::vector<double> lower = Moved(Place(fonSprites), -25, 0);
    const std::vector<double> upper = Moved(Place(fon2Sprites), -50, 0);
    for (int frame = 0; frame < 25; ++frame)
        Frame(0.02);
    ExpectPlace(Place(fonSprites), lower);
    ExpectPlace(Place(fon2Sprites), upper);
    // Frames from 1 to 250 ms (a busy machine): sprites often cross the left edge well past it.
    std::minstd_rand frameTimes(7);
    for (int frame = 0; frame < 20000; ++frame) {
        Frame(static_cast<double>(1 + frameTimes() % 250) / 1000);
        ASSERT_TRUE(CoversScreen(fonSprites, kScreenW, kScreenH)) << "lower layer, frame " << frame;
        ASSERT_TRUE(CoversScreen(fon2Sprites, kScreenW, kScreenH)) << "upper layer, frame " << frame;
    }
    bgScroll = false;
    const std::vector<double> stopped = Place(fon2Sprites);
    Frame(0.02);
    EXPECT_EQ(Place(fon2Sprites), stopped);
}

TEST_F(BackgroundsTest, DuringPlayTheLayersDriftAgainstTheRunnersStep) {
    StartPlay();
    const std::vector<double> lower = Place(fonSprites), upper = Place(fon2Sprites);
    MoveLayersAfterStep(360, 0, 6, 0);
    ExpectPlace(Place(fonSprites), Moved(lower, -0.12, 0));
    ExpectPlace(Place(fon2Sprites), Moved(upper, -0.3, 0));
    MoveLayersAfterStep(-360, 0, -6, 0);
    ExpectPlace(Place(fonSprites), lower);
    ExpectPlace(Place(fon2Sprites), upper);
    MoveLayersAfterStep(0, 360, 0, 6);
    ExpectPlace(Place(fon2Sprites), Moved(upper, 0, -0.3));
    // A stopped runner keeps its last step: the layers must not follow it.
    MoveLayersAfterStep(0, 0, 6, 6);
    ExpectPlace(Place(fon2Sprites), Moved(upper, 0, -0.3));
}

TEST_F(BackgroundsTest, TheLayersStandStillWhilePausedBeforeTheFirstKeyAndWithoutARunner) {
    StartPlay();
    const std::vector<double> lower = Place(fonSprites), upper = Place(fon2Sprites);
    const auto expectStill = [&](const char* when) {
        MoveLayersAfterStep(360, 360, 6, 6);
        EXPECT_EQ(Place(fonSprites), lower) << when;
        EXPECT_EQ(Place(fon2Sprites), upper) << when;
    };
    paused = true;
    expectStill("paused");
    paused = false;
    nastarte = true;
    expectStill("before the first key");
    nastarte = false;
    player.Remove();
    expectStill("runner marked dead");
    Frame();
    expectStill("no runner");
}

} // namespace
} // namespace vimbo
