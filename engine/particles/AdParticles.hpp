// The particle system: emits particles copied from a template, hands them to its worker thread each
// frame, takes the worker's finished geometry into one plugin mesh and draws it in one call.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/particles/AdParticleClasses.hpp"
#include "engine/particles/AdParticleThread.hpp"
#include "engine/render/AdDraws.hpp"
#include "engine/render/AdTextures.hpp"

namespace ad {

class TAdParticleSystem {
public:
    explicit TAdParticleSystem(TAdDraw* surface);
    ~TAdParticleSystem();
    TAdParticleSystem(const TAdParticleSystem&) = delete;
    TAdParticleSystem& operator=(const TAdParticleSystem&) = delete;

    TAdDraw* Surface() const { return surface_; }
    // Created on the surface's initialising event, freed on its finalising event.
    AdMesh* Mesh() const { return mesh_.get(); }
    TAdParticleCalculationThread& CalcThread() { return *calcThread_; }
    // Safe to read only while the worker is idle (after CalcThread().WaitForCalculation()).
    const TAdParticleList& Particles() const { return particles_; }

    TAdParticle* Template() const { return template_; }
    bool OwnsTemplate() const { return ownTemplate_ != nullptr; }
    // Frees the own template; the given one (may be null: nothing is emitted) is not owned.
    void SetTemplate(TAdParticle* particle);

    TAdCustomTexture* Texture() const { return texture_; }
    bool OwnsTexture() const { return ownTexture_ != nullptr; }
    // Frees the own texture; the given one is not owned.
    void SetTexture(TAdCustomTexture* texture);

    bool NoSleep() const { return calcThread_->NoSleep(); }
    void SetNoSleep(bool noSleep) { calcThread_->SetNoSleep(noSleep); }

    // The colour ramp over a particle's life; the first entry is age 0. Read at each hand-over.
    std::vector<AdColor>& Colors() { return colors_; }

    double PendingTime() const { return pendingTime_; }
    double SecondTime() const { return secondTime_; }
    int32_t CalcCount() const { return calcCount_; }
    int32_t CalcsPerSecond() const { return calcsPerSecond_; }
    int32_t NewCount() const { return newCount_; }
    // The particles' bounding rectangle as of the last hand-over; all zero without particles.
    AdRect BoundsRect() const { return bounds_; }
    // Primitives the mesh holds since the last hand-over.
    int32_t MeshPrimitiveCount() const { return meshPrimitives_; }

    // Emits `count` copies of the template at (x, y); they reach the worker at the next hand-over.
    void Emit(int32_t count, int32_t x, int32_t y);
    // Adds the time and, when the worker has finished, takes its result and starts the next round.
    void Move(double timeGap);
    // Draws the mesh moved by (x, y) with a blend mode code (the game uses kAdBlendAdd).
    void Draw(TAdRenderingSurface* surface, int blendMode, int32_t x, int32_t y);

private:
    void OnSurfaceEvent(TAdSurfaceEvent event);
    void CreateMesh();
    void FreePending();
    void TakeResult();
    void PrepareCalculation();

    TAdDraw* surface_;
    std::unique_ptr<TAdTexture> ownTexture_;
    TAdCustomTexture* texture_ = nullptr;
    std::unique_ptr<TAdParticle> ownTemplate_;
    TAdParticle* template_ = nullptr;
    std::vector<AdColor> colors_;
    TAdParticleList particles_;
    std::vector<std::unique_ptr<TAdParticle>> newParticles_;
    int32_t newCount_ = 0;
    std::unique_ptr<AdMesh> mesh_;
    int32_t meshPrimitives_ = 0;
    AdRect bounds_{};
    double pendingTime_ = 0.0;
    double secondTime_ = 0.0;
    int32_t calcCount_ = 0;
    int32_t calcsPerSecond_ = 0;
    int handlerId_ = 0;
    // Declared last: it is stopped and joined before anything it works on goes away.
    std::unique_ptr<TAdParticleCalculationThread> calcThread_;
};

} // namespace ad
