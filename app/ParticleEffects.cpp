// Setting up, moving and drawing the game's particle effects.
#include "app/ParticleEffects.hpp"

#include <string>

#include "app/ImageLoading.hpp"

namespace vimbo {

namespace {

struct EffectSettings {
    const char* image;
    uint32_t transparentColor;
    ad::TAdParticleParameter size;
    double lifetime;
    ad::AdColor from, to;
};

// In the order the systems are created, moved and drawn.
const EffectSettings kEffects[4] = {
    {"particle1", kKeyBlack, {1, 0, 1}, 1, {100, 149, 237, 255}, {218, 165, 32, 0}},
    {"particle5", kKeyMagenta, {0.2, 1, 0.05}, 5, {100, 149, 237, 255}, {218, 165, 32, 0}},
    {"particle3", kKeyBlack, {0.5, 0, 1}, 5, {255, 255, 255, 255}, {165, 42, 42, 0}},
    {"particle4", kKeyBlack, {0, 0.3, 0.01}, 0.5, {255, 255, 255, 255}, {165, 42, 42, 0}},
};

} // namespace

GameParticles::GameParticles(ad::TAdDraw& surface, ad::TAdImageList& images) {
    for (size_t i = 0; i < systems_.size(); ++i) {
        const EffectSettings& effect = kEffects[i];
        // The picture keeps its full size as one frame.
        LoadImageRes(images, effect.image, 0, 0, true, effect.transparentColor);
        ad::TAdImage* image = images.Find(effect.image);
        image->Restore();
        systems_[i] = std::make_unique<ad::TAdParticleSystem>(&surface);
        systems_[i]->SetTexture(image->Texture());
        templates_[i] = std::make_unique<ad::TAdBillboardParticle>(systems_[i].get());
        systems_[i]->SetTemplate(templates_[i].get());
        templates_[i]->size = effect.size;
        templates_[i]->lifetime = effect.lifetime;
        systems_[i]->Colors() = {effect.from, effect.to};
    }
}

GameParticles::~GameParticles() {
    for (auto& system : systems_)
        system.reset();
    for (auto& particle : templates_)
        particle.reset();
}

void GameParticles::WaitForCalculations() const {
    for (const auto& system : systems_)
        if (system)
            system->CalcThread().WaitForCalculation();
}

void GameParticles::MoveAndDraw(ad::TAdRenderingSurface& surface, double timeGap) {
    for (const auto& system : systems_) {
        system->Move(timeGap);
        system->Draw(&surface, ad::kAdBlendAdd, 0, 0);
    }
}

} // namespace vimbo
