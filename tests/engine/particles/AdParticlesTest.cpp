// The particle system on a headless surface with the software plugin: emission and hand-over to the
// worker, death at the end of the lifetime, the mesh across a plugin restart, tear-down with a
// running worker, and where the drawn pixels land.
#include "engine/particles/AdParticles.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/platform/Random.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace {

using namespace ad;

constexpr uint32_t kRed = 0xFF0000;

class ParticleSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(surface.draw->Initialized()) << surface.draw->LastError;
        platform::SetRandSeed(1234);
        system = std::make_unique<TAdParticleSystem>(surface.draw.get());
    }

    // One frame's move followed by waiting for the worker, so the next move always finds it done.
    void Step(double seconds) {
        system->Move(seconds);
        system->CalcThread().WaitForCalculation();
    }

    // A still billboard template of constant opaque red on a white texture of w x h pixels.
    void UseStillBillboards(int w, int h) {
        TAd2DBitmap bitmap(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bitmap.SetPixel(x, y, 0xFFFFFFFF);
        texture = std::make_unique<TAdTexture>(surface.draw.get());
        texture->LoadFromBitmap(bitmap, 32);
        system->SetTexture(texture.get());
        billboard = std::make_unique<TAdBillboardParticle>(system.get());
        billboard->xvelocity = {0.0, 0.0, 0.0};
        billboard->yvelocity = {0.0, 0.0, 0.0};
        system->SetTemplate(billboard.get());
        system->Colors() = {{255, 0, 0, 255}, {255, 0, 0, 255}};
    }

    // Draws the system on black and returns the frame's pixel at (x, y) without alpha.
    uint32_t DrawAndRead(int x, int y, int offsetX = 0, int offsetY = 0) {
        surface.draw->ClearSurface(0);
        surface.draw->BeginScene();
        system->Draw(surface.draw.get(), kAdBlendAdd, offsetX, offsetY);
        surface.draw->EndScene();
        surface.draw->Flip();
        return surface.FramePixel(x, y) & 0xFFFFFF;
    }

    const TAdStdParticle& Particle(size_t i) const {
        return static_cast<const TAdStdParticle&>(system->Particles()[i]);
    }

    vimbo::test::HeadlessSurface surface{64, 48};
    std::unique_ptr<TAdTexture> texture;
    std::unique_ptr<TAdBillboardParticle> billboard;
    std::unique_ptr<TAdParticleSystem> system;
};

TEST_F(ParticleSystemTest, EmptySystemHasAMeshButNothingToDrawAndZeroBounds) {
    ASSERT_NE(system->Mesh(), nullptr);
    Step(0.1);
    Step(0.1);
    EXPECT_EQ(system->MeshPrimitiveCount(), 0);
    EXPECT_EQ(system->BoundsRect(), (AdRect{}));
    EXPECT_EQ(DrawAndRead(32, 24), 0u);
}

TEST_F(ParticleSystemTest, EmittedParticlesJoinAtTheNextHandOverAndFlyOutwards) {
    system->CalcThread().WaitForCalculation();
    system->Emit(10, 30, 20);
    EXPECT_EQ(system->NewCount(), 10);
    EXPECT_EQ(system->Particles().Count(), 0u) << "the worker's list only changes at a hand-over";
    Step(0.0);
    EXPECT_EQ(system->NewCount(), 0);
    ASSERT_EQ(system->Particles().Count(), 10u);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_FLOAT_EQ(Particle(i).Position.x, 30.0f);
        EXPECT_FLOAT_EQ(Particle(i).Position.y, 20.0f);
    }
    EXPECT_EQ(system->CalcThread().Geometry().VertexCount, 10);
    Step(0.1);
    EXPECT_EQ(system->MeshPrimitiveCount(), 10) << "the points computed at the hand-over are in the mesh";
    for (size_t i = 0; i < 10; ++i)
        EXPECT_NEAR(std::hypot(Particle(i).Position.x - 30.0, Particle(i).Position.y - 20.0), 10.0, 1e-3);
}

TEST_F(ParticleSystemTest, TimeAccumulatesWhileTheWorkerIsBusy) {
    system->CalcThread().WaitForCalculation();
    system->Emit(1, 0, 0);
    Step(0.0);
    system->CalcThread().StartCalculation(0.0); // keeps the worker's hand-over from being ready
    system->Move(0.25);
    // Either the worker already finished and took 0.25, or the time is pending; none is lost.
    system->CalcThread().WaitForCalculation();
    Step(0.25);
    Step(0.0);
    EXPECT_NEAR(Particle(0).Age, 0.5, 1e-9);
}

TEST_F(ParticleSystemTest, AParticlePastItsLifetimeIsDrawnOnceMoreThenFreed) {
    static_cast<TAdStdParticle*>(system->Template())->lifetime = 0.5;
    system->CalcThread().WaitForCalculation();
    system->Emit(1, 10, 10);
    Step(0.0);
    Step(0.6);
    ASSERT_EQ(system->Particles().Count(), 1u);
    EXPECT_TRUE(system->Particles()[0].Dead());
    EXPECT_EQ(system->CalcThread().Geometry().VertexCount, 1);
    Step(0.0);
    EXPECT_EQ(system->Particles().Count(), 0u);
    EXPECT_EQ(system->MeshPrimitiveCount(), 1) << "the dead particle's last geometry is still shown";
    Step(0.0);
    EXPECT_EQ(system->MeshPrimitiveCount(), 0);
}

TEST_F(ParticleSystemTest, DrawnPixelsLandWhereTheParticlesAre) {
    UseStillBillboards(4, 4);
    system->CalcThread().WaitForCalculation();
    system->Emit(1, 20, 20);
    Step(0.0);
    Step(0.0);
    EXPECT_EQ(system->BoundsRect(), (AdRect{18, 18, 22, 22}));
    EXPECT_EQ(DrawAndRead(19, 19), kRed);
    EXPECT_EQ(DrawAndRead(21, 21), kRed);
    EXPECT_EQ(DrawAndRead(23, 20), 0u);
    EXPECT_EQ(DrawAndRead(40, 40), 0u);
    EXPECT_EQ(DrawAndRead(39, 29, 20, 10), kRed) << "the draw offset moves the whole mesh";
}

TEST_F(ParticleSystemTest, AMovingParticleIsDrawnAtItsNewPlace) {
    UseStillBillboards(2, 2);
    billboard->xvelocity = {100.0, 100.0, 0.0};
    billboard->creationanglerange = 0; // along +x
    system->CalcThread().WaitForCalculation();
    system->Emit(1, 10, 30);
    Step(0.0);
    Step(0.2);
    Step(0.0);
    EXPECT_EQ(DrawAndRead(30, 30), kRed);
    EXPECT_EQ(DrawAndRead(10, 30), 0u);
}

TEST_F(ParticleSystemTest, ColourRampFadesTheDrawnParticle) {
    UseStillBillboards(4, 4);
    billboard->lifetime = 1.0;
    system->Colors() = {{255, 0, 0, 255}, {255, 0, 0, 0}};
    system->CalcThread().WaitForCalculation();
    system->Emit(1, 20, 20);
    Step(0.0);
    Step(0.0);
    EXPECT_EQ(DrawAndRead(20, 20), kRed);
    Step(0.5);
    Step(0.0);
    const uint32_t half = DrawAndRead(20, 20);
    EXPECT_NEAR(static_cast<double>(half >> 16), 128.0, 2.0) << std::hex << half;
    EXPECT_EQ(half & 0xFFFF, 0u);
}

TEST_F(ParticleSystemTest, MeshAndParticlesSurviveAPluginRestartButPendingOnesDoNot) {
    UseStillBillboards(4, 4);
    system->CalcThread().WaitForCalculation();
    system->Emit(1, 20, 20);
    Step(0.0);
    system->Emit(3, 40, 40);
    surface.draw->Finalize();
    EXPECT_EQ(system->Mesh(), nullptr);
    EXPECT_EQ(system->NewCount(), 0);
    system->Move(0.5); // nothing moves without a mesh
    EXPECT_EQ(system->PendingTime(), 0.0);

    ASSERT_TRUE(surface.draw->Initialize()) << surface.draw->LastError;
    ASSERT_NE(system->Mesh(), nullptr);
    Step(0.0);
    Step(0.0);
    EXPECT_EQ(system->Particles().Count(), 1u);
    EXPECT_EQ(DrawAndRead(20, 20), kRed);
    EXPECT_EQ(DrawAndRead(40, 40), 0u);
}

TEST_F(ParticleSystemTest, ChangingTheTemplateClassBetweenHandOversWritesEveryParticle) {
    system->CalcThread().WaitForCalculation();
    system->Emit(3, 10, 10); // points of the default template
    UseStillBillboards(4, 4);
    system->Emit(2, 30, 30);
    Step(0.0);
    EXPECT_EQ(system->CalcThread().Geometry().VertexCount, 3 + 2 * 4);
    EXPECT_EQ(system->CalcThread().Geometry().IndexCount, 2 * 6);
}

TEST_F(ParticleSystemTest, WithoutATemplateNothingIsEmitted) {
    system->SetTemplate(nullptr);
    EXPECT_FALSE(system->OwnsTemplate());
    system->Emit(5, 10, 10);
    EXPECT_EQ(system->NewCount(), 0);
}

TEST_F(ParticleSystemTest, HandOversPerSecondAreCountedOverAccumulatedTime) {
    system->CalcThread().WaitForCalculation();
    for (int i = 0; i < 5; ++i)
        Step(0.25);
    EXPECT_EQ(system->CalcsPerSecond(), 5);
    EXPECT_EQ(system->CalcCount(), 0);
}

TEST_F(ParticleSystemTest, DestroyingASystemWithARunningWorkerStopsItCleanly) {
    system->CalcThread().WaitForCalculation();
    system->Emit(20000, 32, 24);
    Step(0.0);
    system->Move(0.01);
    system->Move(0.01);
    const size_t handlers = surface.draw->SurfaceEventList.Count();
    system.reset(); // joins the worker mid-calculation or idle; the sanitizers check the rest
    EXPECT_EQ(surface.draw->SurfaceEventList.Count(), handlers - 2) << "the system's and its texture's";
}

TEST_F(ParticleSystemTest, NoSleepWorkerStillHandsOverAndStops) {
    system->SetNoSleep(true);
    system->CalcThread().WaitForCalculation();
    system->Emit(4, 5, 5);
    Step(0.0);
    Step(0.0);
    EXPECT_EQ(system->MeshPrimitiveCount(), 4);
    system.reset();
}

TEST_F(ParticleSystemTest, FinalisingWhileTheWorkerRunsWaitsForItAndKeepsTheParticles) {
    system->CalcThread().WaitForCalculation();
    system->Emit(5000, 32, 24);
    Step(0.0);
    system->Move(0.1);
    surface.draw->Finalize();
    EXPECT_FALSE(system->CalcThread().Started());
    EXPECT_EQ(system->Particles().Count(), 5000u);
}

} // namespace
