// Tests of the game's particle effects: each event's burst with its system, count and place, the
// bursts of several lives at once, and bursts that go on moving while the game is paused.
#include "app/ParticleEffects.hpp"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/platform/Random.hpp"
#include "engine/platform/VirtualKeys.hpp"
#include "frontend/Digits.hpp"
#include "frontend/HudScreen.hpp"
#include "game/Collectibles.hpp"
#include "game/Effects.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/LevelLoading.hpp"
#include "game/Player.hpp"
#include "game/Tail.hpp"
#include "game/World.hpp"
#include "tests/support/GameDriver.hpp"
#include "tests/support/GameWorld.hpp"

namespace vimbo {
namespace {

using test::TestGameWorld;
using Point = std::pair<int, int>;

// The emission points of the particles a system took in since the last look (new particles stand on
// their emission point until the worker moves them).
std::vector<Point> Emitted(ad::TAdParticleSystem& system) {
    system.CalcThread().WaitForCalculation();
    const int32_t fresh = system.NewCount();
    system.Move(0);
    system.CalcThread().WaitForCalculation();
    std::vector<Point> points;
    const ad::TAdParticleList& particles = system.Particles();
    for (size_t i = particles.Count() - static_cast<size_t>(fresh); i < particles.Count(); ++i) {
        const auto& particle = static_cast<const ad::TAdStdParticle&>(particles[i]);
        points.emplace_back(static_cast<int>(particle.Position.x), static_cast<int>(particle.Position.y));
    }
    return points;
}

std::vector<Point> Burst(int count, Point at) {
    return std::vector<Point>(static_cast<size_t>(count), at);
}

class ParticleEffectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(world_.Ready());
        particles_ = std::make_unique<GameParticles>(world_.Draw(), world_.Images());
        world.EatParticles = particles_->EatParticles();
        world.EnemyParticles = particles_->EnemyParticles();
        world.BonusParticles = particles_->BonusParticles();
        world.GlowParticles = particles_->GlowParticles();
        // The bursts at the display's digits are placed through the front end's screen, as in play.
        world.Screen = &screen_;
        ad::platform::SetRandSeed(5);
        world_.LoadLevel(1);
        loading_level();
        PlayerCreate();
        GameHudCreate();
        EnemyCreate();
        world_.Frame(0.016);
        for (ad::TAdParticleSystem* system : Systems())
            Emitted(*system);
    }
    void TearDown() override {
        world.EatParticles = world.EnemyParticles = world.BonusParticles = world.GlowParticles = nullptr;
        world.Screen = nullptr;
    }

    std::vector<ad::TAdParticleSystem*> Systems() const {
        return {world.EatParticles, world.EnemyParticles, world.BonusParticles, world.GlowParticles};
    }
    // Every system but the named one took in nothing.
    void ExpectOnly(ad::TAdParticleSystem* busy) {
        for (ad::TAdParticleSystem* system : Systems()) {
            if (system != busy) {
                EXPECT_TRUE(Emitted(*system).empty());
            }
        }
    }

    TestGameWorld world_;
    HudScreen screen_;
    std::unique_ptr<GameParticles> particles_;
};

TEST_F(ParticleEffectsTest, TheRunnersMealBurstsOnItAndABigOneAddsTheBonusBurst) {
    vitMode = 0;
    vitCol = 2, vitRow = 1, vitOffX = 48, vitOffY = 24;
    VitCreate();
    vit->AnimPos = 13;
    Emitted(*world.EatParticles);
    player->SetX(player->X() + 0.4);
    bool done = false;
    player->DoCollision(vit.get(), done);
    const Point at{ad::AdRound(player->X()), ad::AdRound(player->Y())};
    std::vector<Point> eat = Emitted(*world.EatParticles);
    // The meal's 8, then the next collectible's 6 (play runs, so it is marked).
    ASSERT_EQ(eat.size(), 14u);
    EXPECT_EQ(std::vector<Point>(eat.begin(), eat.begin() + 8), Burst(8, {at.first + 12, at.second + 12}));
    EXPECT_EQ(std::vector<Point>(eat.begin() + 8, eat.end()),
              Burst(6, {ad::AdTrunc(vit->X()) - 1, ad::AdTrunc(vit->Y()) + 8}));
    EXPECT_EQ(Emitted(*world.BonusParticles), Burst(10, at));
}

TEST_F(ParticleEffectsTest, TheEnemysMealAndCatchBurstOnTheEnemy) {
    nastarte = true; // the next collectible comes unmarked
    vitMode = 1;
    vitCol = 2, vitRow = 4, vitOffX = 48, vitOffY = 96;
    VitCreate();
    bool done = false;
    enemy->DoCollision(vit.get(), done);
    const Point at{ad::AdRound(enemy->X()) + 12, ad::AdRound(enemy->Y()) + 12};
    EXPECT_EQ(Emitted(*world.EnemyParticles), Burst(5, at));
    ExpectOnly(world.EnemyParticles);
    enemy->DoCollision(player.get(), done);
    EXPECT_EQ(Emitted(*world.EnemyParticles), Burst(25, at));
}

TEST_F(ParticleEffectsTest, SeveralLivesAtOnceBurstOncePerLifeAtTheLivesDigit) {
    level = level_c = 16;
    score = 3010;
    checkscore();
    EXPECT_EQ(lives, 6);
    const Point at{ad::AdTrunc(livesDigit->X()) + 5, ad::AdTrunc(livesDigit->Y()) + 8};
    const std::vector<Point> bursts = Emitted(*world.BonusParticles);
    EXPECT_EQ(bursts, Burst(30, at));
}

TEST_F(ParticleEffectsTest, TheBigCollectibleSparklesEveryFrameWhileItShowsItsBigFrames) {
    vitMode = 0;
    vitCol = 2, vitRow = 4, vitOffX = 48, vitOffY = 96;
    VitCreate();
    Emitted(*world.EatParticles);
    world_.Frames(3, 0.016);
    const Point at{ad::AdTrunc(vit->X()) + 12, ad::AdTrunc(vit->Y()) + 12};
    EXPECT_EQ(Emitted(*world.GlowParticles), Burst(3, at));
    vit->AnimPos = 5;
    vit->AnimActive = false;
    world_.Frames(3, 0.016);
    EXPECT_TRUE(Emitted(*world.GlowParticles).empty());
}

TEST_F(ParticleEffectsTest, TheStarsEndBurstsAtTheLevelAndWithTheBonusAtTheScore) {
    level = 12;
    score = 2400;
    levelBonus = 35;
    RefreshDigits();
    SetLevelDigits();
    StartStar();
    SpriteRef<TStar> turning;
    turning = star.get();
    svetleet = true;
    Ireal = 255;
    world_.Frame(0.016);
    svetleet = false;
    for (int i = 0; i < 200 && turning.Usable(); ++i)
        world_.Frame(0.016);
    ASSERT_FALSE(turning.Usable());
    const Point level{ad::AdTrunc(levelDigits[1]->X()) - 1, ad::AdTrunc(levelDigits[1]->Y()) + 8};
    const Point tens{ad::AdTrunc(scoreDigits[1]->X()) - 1, ad::AdTrunc(scoreDigits[1]->Y()) + 8};
    std::vector<Point> expected = Burst(10, level);
    const std::vector<Point> bonus = Burst(10, tens);
    expected.insert(expected.end(), bonus.begin(), bonus.end());
    EXPECT_EQ(Emitted(*world.BonusParticles), expected);
}

TEST(ParticleScenario, ANewGameBurstsAtTheLevelDigitAndPausedBurstsStillFade) {
    test::GameDriver game;
    ASSERT_TRUE(game.StartNewGame());
    ad::TAdParticleSystem& bonus = *world.BonusParticles;
    bonus.CalcThread().WaitForCalculation();
    EXPECT_GT(bonus.Particles().Count(), 0u) << "the level's burst of the new game";
    game.Key(ad::platform::vk::Escape);
    ASSERT_TRUE(paused);
    world.EatParticles->Emit(8, 300, 300);
    game.Frames(3);
    world.EatParticles->CalcThread().WaitForCalculation();
    EXPECT_EQ(world.EatParticles->Particles().Count(), 8u);
    const ad::AdRect spread = world.EatParticles->BoundsRect();
    EXPECT_GT(spread.right - spread.left, 0) << "they fly apart while the game is paused";
    // They live a second.
    game.Frames(60);
    world.EatParticles->CalcThread().WaitForCalculation();
    EXPECT_EQ(world.EatParticles->Particles().Count(), 0u);
    EXPECT_EQ(world.EatParticles->MeshPrimitiveCount(), 0) << "an empty system draws nothing";
}

} // namespace
} // namespace vimbo
