// The particle system's emission, hand-over to the worker, mesh upkeep and draw.
#include "engine/particles/AdParticles.hpp"

namespace ad {

TAdParticleSystem::TAdParticleSystem(TAdDraw* surface) : surface_(surface) {
    // The texture registers for surface events before the system does, so on finalising the system's
    // mesh (which references the texture) goes first.
    ownTexture_ = std::make_unique<TAdTexture>(surface_);
    texture_ = ownTexture_.get();
    ownTemplate_ = std::make_unique<TAdStdParticle>(this);
    template_ = ownTemplate_.get();
    colors_ = {AdColor{255, 255, 255, 255}, AdColor{255, 255, 255, 0}};
    handlerId_ = surface_->SurfaceEventList.Add([this](TAdSurfaceEvent event) { OnSurfaceEvent(event); });
    calcThread_ = std::make_unique<TAdParticleCalculationThread>(&particles_, template_->Class());
    CreateMesh();
}

TAdParticleSystem::~TAdParticleSystem() {
    calcThread_.reset();
    surface_->SurfaceEventList.Remove(handlerId_);
    particles_.Clear();
    mesh_.reset();
    newParticles_.clear();
}

void TAdParticleSystem::SetTemplate(TAdParticle* particle) {
    ownTemplate_.reset();
    template_ = particle;
}

void TAdParticleSystem::SetTexture(TAdCustomTexture* texture) {
    // The own texture goes whether or not a mesh exists; the mesh is told at the next hand-over,
    // and until then it is not drawn with the freed texture.
    if (ownTexture_ != nullptr && mesh_ != nullptr)
        mesh_->SetTexture(nullptr);
    ownTexture_.reset();
    texture_ = texture;
}

void TAdParticleSystem::CreateMesh() {
    mesh_.reset(surface_->CanDraw() ? surface_->AppObject()->CreateMesh() : nullptr);
    meshPrimitives_ = 0;
}

void TAdParticleSystem::FreePending() {
    newParticles_.clear();
    newCount_ = 0;
}

void TAdParticleSystem::OnSurfaceEvent(TAdSurfaceEvent event) {
    switch (event) {
    case seInitialize:
        mesh_.reset();
        FreePending();
        CreateMesh();
        pendingTime_ = 0.0;
        break;
    case seFinalize:
        // Nothing is in flight while the plugin goes down; the worker itself stays for the restart.
        calcThread_->WaitForCalculation();
        mesh_.reset();
        meshPrimitives_ = 0;
        FreePending();
        calcsPerSecond_ = 0;
        secondTime_ = 0.0;
        calcCount_ = 0;
        break;
    default:
        break;
    }
}

void TAdParticleSystem::Emit(int32_t count, int32_t x, int32_t y) {
    if (template_ == nullptr)
        return;
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<TAdParticle> particle = template_->CreateSame(this);
        particle->Assign(*template_);
        particle->Setup(x, y);
        const size_t slot = static_cast<size_t>(newCount_);
        if (slot < newParticles_.size())
            newParticles_[slot] = std::move(particle);
        else
            newParticles_.push_back(std::move(particle));
        ++newCount_;
    }
}

void TAdParticleSystem::TakeResult() {
    const TAdParticleGeometry& result = calcThread_->Geometry();
    meshPrimitives_ = result.PrimitiveCount;
    mesh_->SetPrimitiveCount(result.PrimitiveCount);
    if (result.PrimitiveCount > 0) {
        mesh_->SetVertices(result.Vertices.data(), result.VertexCount);
        mesh_->SetIndices(result.Indices.data(), result.IndexCount);
        // An empty texture would make the plugin skip the draw; untextured particles still show.
        const bool textured = texture_ != nullptr && texture_->Loaded();
        mesh_->SetTexture(textured ? texture_->Texture() : nullptr);
        mesh_->SetMatrix(AdMatrix::Identity());
        mesh_->Update();
    }
    bounds_ = result.Bounds;
}

void TAdParticleSystem::PrepareCalculation() {
    if (template_ != nullptr)
        calcThread_->ParticleClass = template_->Class();
    particles_.RemoveDead();
    for (int32_t i = 0; i < newCount_; ++i)
        particles_.Add(std::move(newParticles_[static_cast<size_t>(i)]));
    newCount_ = 0;
    TAdParticleGeometry& input = calcThread_->Geometry();
    input.Colors = colors_;
    input.TextureWidth = texture_ != nullptr ? texture_->Width() : 0;
    input.TextureHeight = texture_ != nullptr ? texture_->Height() : 0;
}

void TAdParticleSystem::Move(double timeGap) {
    if (mesh_ == nullptr)
        return;
    pendingTime_ += timeGap;
    if (!calcThread_->Finished())
        return;
    TakeResult();
    PrepareCalculation();
    calcThread_->StartCalculation(pendingTime_);
    ++calcCount_;
    secondTime_ += pendingTime_;
    if (secondTime_ > 1.0) {
        calcsPerSecond_ = calcCount_;
        secondTime_ = 0.0;
        calcCount_ = 0;
    }
    pendingTime_ = 0.0;
}

void TAdParticleSystem::Draw(TAdRenderingSurface* surface, int blendMode, int32_t x, int32_t y) {
    if (mesh_ == nullptr || surface == nullptr)
        return;
    surface->Activate();
    if (!surface->CanDraw() || meshPrimitives_ <= 0)
        return;
    const int primitiveType =
        template_ != nullptr ? template_->PrimitiveType() : calcThread_->ParticleClass.PrimitiveType;
    mesh_->SetMatrix(AdMatrix::Translation(static_cast<float>(x), static_cast<float>(y), 0.0f));
    mesh_->Draw(blendMode, primitiveType);
}

} // namespace ad
