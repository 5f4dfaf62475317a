// The game's four particle effects: bursts when something is eaten, when the enemy catches the
// runner, for extra lives and level starts, and the big collectible's sparkle. Each is a particle
// system with its picture, a billboard template and a two-colour ramp.
#pragma once

#include <array>
#include <memory>

#include "engine/particles/AdParticleClasses.hpp"
#include "engine/particles/AdParticles.hpp"
#include "engine/render/AdImages.hpp"

namespace vimbo {

class GameParticles {
public:
    // Loads the four particle pictures into the image list and sets up the systems on the surface.
    GameParticles(ad::TAdDraw& surface, ad::TAdImageList& images);
    // Frees the systems, then the templates.
    ~GameParticles();
    GameParticles(const GameParticles&) = delete;
    GameParticles& operator=(const GameParticles&) = delete;

    ad::TAdParticleSystem* EatParticles() const { return systems_[0].get(); }
    ad::TAdParticleSystem* EnemyParticles() const { return systems_[1].get(); }
    ad::TAdParticleSystem* BonusParticles() const { return systems_[2].get(); }
    ad::TAdParticleSystem* GlowParticles() const { return systems_[3].get(); }

    // Every frame, after the sprites: each system moves by the frame time and draws with additive
    // blending, in a fixed order.
    void MoveAndDraw(ad::TAdRenderingSurface& surface, double timeGap);
    // Blocks until no system's worker calculates. A frame never waits; a scripted run does after each
    // frame, so that the next one takes this one's result whatever the machine's load.
    void WaitForCalculations() const;

private:
    std::array<std::unique_ptr<ad::TAdParticleSystem>, 4> systems_;
    std::array<std::unique_ptr<ad::TAdBillboardParticle>, 4> templates_;
};

} // namespace vimbo
